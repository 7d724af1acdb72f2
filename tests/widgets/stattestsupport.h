#pragma once

#include <QColor>
#include <QLineEdit>
#include <QTableWidget>
#include <QtTest>

#include <memory>

// Colours every status table test speaks of.
namespace StatColour {
inline const QColor lightGray(192, 192, 192);
inline const QColor white(255, 255, 255);
inline const QColor red(255, 0, 0);
inline const QColor green(0, 255, 0);
inline const QColor yellow(255, 255, 0);
inline const QColor orange(255, 160, 60);
} // namespace StatColour

// Shared by the channel and the module table tests: both tables fill their four rows through
// the same operations and differ only in their rules.
struct StatTableTest
{
    // Set up as the main window's form does: a double-click would open an editor if the table
    // let the base handling run.
    template <typename Table> static std::unique_ptr<Table> make()
    {
        auto table = std::make_unique<Table>();
        table->setEditTriggers(QAbstractItemView::DoubleClicked);
        table->setSelectionMode(QAbstractItemView::NoSelection);
        table->setTabKeyNavigation(false);
        table->resize(1200, 300);
        table->initTable();
        return table;
    }

    template <typename Table> static void fillRow(Table &table, int row, quint16 word)
    {
        switch (row) {
        case 0:
            return table.updateControl(word);
        case 1:
            return table.updateStatus(word);
        case 2:
            return table.updateEventStatus(word);
        default:
            return table.updateEventMask(word);
        }
    }

    static QString cellText(const QTableWidget &table, int row, int column)
    {
        const QTableWidgetItem *item = table.item(row, column);
        return item ? item->text() : QStringLiteral("<no item>");
    }
    static QColor cellColour(const QTableWidget &table, int row, int column)
    {
        const QTableWidgetItem *item = table.item(row, column);
        return item ? item->background().color() : QColor();
    }

    static void addFillColumns()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("word");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QColor>("colour");
        QTest::addColumn<QString>("toolTip");
    }

    // The row is filled with the opposite word first, so that the cell must change.
    template <typename Table> static void checkFill(Table &table)
    {
        QFETCH(int, row);
        QFETCH(int, word);
        QFETCH(int, column);
        QFETCH(QString, text);
        QFETCH(QColor, colour);
        QFETCH(QString, toolTip);
        fillRow(table, row, quint16(~word));
        fillRow(table, row, quint16(word));
        const QTableWidgetItem *cell = table.item(row, column);
        QCOMPARE(cell->text(), text);
        QCOMPARE(cell->background().color(), colour);
        QCOMPARE(cell->background().style(), Qt::SolidPattern);
        QCOMPARE(cell->toolTip(), toolTip);
    }

    static void addPaintedColumns()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("word");
        QTest::addColumn<int>("painted"); // bit i set: the fill writes the cell of bit i
        QTest::addColumn<QColor>("colour"); // of every painted cell; invalid: not checked
    }

    // Every bit cell starts marked; the fill must rewrite exactly the painted ones.
    template <typename Table> static void checkPainted(Table &table)
    {
        QFETCH(int, row);
        QFETCH(int, word);
        QFETCH(int, painted);
        QFETCH(QColor, colour);
        const QString mark = QStringLiteral("before");
        for (int bit = 0; bit < 16; ++bit)
            table.item(row, bit + 1)->setText(mark);
        fillRow(table, row, quint16(word));
        for (int bit = 0; bit < 16; ++bit) {
            const bool expected = painted & (1 << bit);
            QVERIFY2((cellText(table, row, bit + 1) != mark) == expected,
                qPrintable(QString::number(bit)));
            if (expected && colour.isValid())
                QVERIFY2(
                    cellColour(table, row, bit + 1) == colour, qPrintable(QString::number(bit)));
        }
    }

    // A real double-click starts with a press, which makes the cell current; QtTest's widget
    // double-click sends the double-click event alone.
    static void doubleClick(QTableWidget &table, int row, int column)
    {
        table.show();
        QVERIFY(QTest::qWaitForWindowExposed(&table));
        const QPoint centre = table.visualItemRect(table.item(row, column)).center();
        QTest::mouseClick(table.viewport(), Qt::LeftButton, {}, centre);
        QTest::mouseDClick(table.viewport(), Qt::LeftButton, {}, centre);
    }
};
