#include "hvtable.h"

#include <QLineEdit>
#include <QResizeEvent>
#include <QtTest>

class tst_HvTable : public QObject
{
    Q_OBJECT

    std::unique_ptr<HvTable> table;

    void fillAll(const QString &suffix)
    {
        for (int row = 0; row < table->rowCount(); ++row)
            for (int column = 0; column < 12; ++column)
                table->setCell(row, column,
                    QStringLiteral("%1.%2%3").arg(row).arg(column).arg(suffix), Qt::white);
    }
    QLineEdit *openEditor(int row, int column, bool byKey)
    {
        table->show();
        if (!QTest::qWaitForWindowExposed(table.get()))
            return nullptr;
        table->setCurrentCell(row, column);
        if (byKey) {
            QTest::keyClick(table.get(), Qt::Key_F2);
        } else {
            // A real double-click starts with a press; QtTest's widget double-click does not.
            const QPoint centre = table->visualItemRect(table->item(row, column)).center();
            QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, centre);
            QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, centre);
        }
        return visibleEditor();
    }
    QLineEdit *visibleEditor() const
    {
        const QList<QLineEdit *> editors = table->findChildren<QLineEdit *>();
        for (QLineEdit *editor : editors) {
            if (editor->isVisible())
                return editor;
        }
        return nullptr;
    }
    QImage cellImage(int row, int column)
    {
        table->show();
        if (!QTest::qWaitForWindowExposed(table.get()))
            return {};
        table->scrollToItem(table->item(row, column));
        const QRect rect = table->visualItemRect(table->item(row, column));
        if (!table->viewport()->rect().contains(rect))
            return {};
        return table->viewport()->grab().toImage().copy(rect);
    }
    int blueishPixels(const QImage &image, const QRect &area)
    {
        int count = 0;
        const QRect clipped = area.intersected(image.rect());
        for (int y = clipped.top(); y <= clipped.bottom(); ++y) {
            for (int x = clipped.left(); x <= clipped.right(); ++x) {
                const QColor c = image.pixelColor(x, y);
                if (c.blue() > 150 && c.red() < 120 && c.green() < 120)
                    ++count;
            }
        }
        return count;
    }

private slots:
    void init()
    {
        // The form's channel table: twelve columns, four channels here.
        table = std::make_unique<HvTable>();
        table->setColumnCount(12);
        table->setLocale(QLocale(QLocale::English, QLocale::UnitedStates));
        table->resize(900, 300);
        table->setChannelCount(4);
    }

    void cleanup() { table.reset(); }

    void channelCountAddsHeadedRowsKeepsFlags()
    {
        table->setChannelCount(8);
        QCOMPARE(table->rowCount(), 8);
        for (int row = 0; row < 8; ++row) {
            QCOMPARE(table->verticalHeaderItem(row)->text(), QStringLiteral("Channel %1").arg(row));
            QCOMPARE(table->rowHeight(row), 20);
        }
        // Fewer channels remove rows, but a channel's flag survives until it returns.
        table->setLowCurrentRange(6, true);
        table->setChannelCount(4);
        QCOMPARE(table->rowCount(), 4);
        table->setChannelCount(8);
        table->setCell(6, 5, QStringLiteral("1.0"), Qt::white);
        QVERIFY(table->item(6, 5)->data(Qt::UserRole + 1).toBool());
        for (const QPoint cell : { QPoint(8, 0), QPoint(0, 12) }) {
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression("setCell outside"));
            table->setCell(cell.x(), cell.y(), QStringLiteral("x"), Qt::white);
        }
        QCOMPARE(table->rowCount(), 8);
    }

    void nonEditableColumnsIgnoreEditRequests_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<bool>("byKey");
        for (int column : { 1, 3, 5, 7, 8, 9, 10, 11 }) {
            QTest::addRow("F2 column %d", column) << column << true;
            QTest::addRow("double-click column %d", column) << column << false;
        }
    }

    void nonEditableColumnsIgnoreEditRequests()
    {
        QFETCH(int, column);
        QFETCH(bool, byKey);
        table->setCell(1, column, QStringLiteral("1,234.50"), Qt::white);
        QVERIFY(!openEditor(1, column, byKey));
        QCOMPARE(table->editingRow(), -1);
        QCOMPARE(table->item(1, column)->text(), QStringLiteral("1,234.50"));
    }

    void editEndsAsTyped_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("column");
        QTest::addColumn<bool>("byKey");
        QTest::addColumn<QString>("edited"); // what the editor opens with
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("key"); // that ends the edit
        const QLocale english(QLocale::English, QLocale::UnitedStates);
        const QLocale german(QLocale::German, QLocale::Germany);
        const int enter = Qt::Key_Return;
        // The group separator goes, so that the number reader of the set command reads it all.
        QTest::newRow("English F2") << english << "12,345.00" << 0 << true << "12345.00"
                                    << "12345.00" << enter;
        QTest::newRow("English double-click")
            << english << "1,234,567.5" << 2 << false << "1234567.5"
            << "1234567.5" << enter;
        QTest::newRow("German F2") << german << "12.345,00" << 4 << true << "12345,00"
                                   << "12345,00" << enter;
        QTest::newRow("German double-click") << german << "12.345,00" << 6 << false << "12345,00"
                                             << "12345,00" << enter;
        // Bad operator input is passed on unchecked; the main window reads the number.
        QTest::newRow("not a number") << english << "0.10" << 6 << true << "0.10"
                                      << "abc" << enter;
        QTest::newRow("empty") << english << "0.10" << 6 << true << "0.10"
                               << "" << enter;
        QTest::newRow("Escape") << english << "1.50" << 4 << true << "1.50"
                                << "7" << int(Qt::Key_Escape);
        // Regression: Tab committed the value and then opened an editor in the display-only
        // neighbour column, whose input the refresh overwrote and the main window ignored.
        QTest::newRow("Tab from Vset") << english << "1.0" << 0 << true << "1.0"
                                       << "42" << int(Qt::Key_Tab);
        QTest::newRow("Backtab from Ibounds") << english << "1.0" << 6 << true << "1.0"
                                              << "42" << int(Qt::Key_Backtab);
    }

    void editEndsAsTyped()
    {
        QFETCH(QLocale, locale);
        QFETCH(QString, shown);
        QFETCH(int, column);
        QFETCH(bool, byKey);
        QFETCH(QString, edited);
        QFETCH(QString, typed);
        QFETCH(int, key);
        fillAll(QString());
        table->setLocale(locale);
        table->setCell(2, column, shown, Qt::white);
        QSignalSpy changed(table.get(), &HvTable::cellDataChanged);
        QVERIFY(changed.isValid());

        QLineEdit *editor = openEditor(2, column, byKey);
        QVERIFY(editor);
        QCOMPARE(editor->text(), edited);
        QCOMPARE(table->editingRow(), 2);
        QCOMPARE(table->editingColumn(), column);

        editor->setText(typed);
        QTest::keyClick(editor, Qt::Key(key));
        if (key == Qt::Key_Escape) {
            QTRY_COMPARE(table->editingRow(), -1);
            QCOMPARE(changed.count(), 0);
            QCOMPARE(table->item(2, column)->text(), edited);
        } else {
            // The editor commits through a queued call.
            QTRY_COMPARE(changed.count(), 1);
            QCOMPARE(changed.at(0), QVariantList({ 2, column, typed }));
            QCOMPARE(table->item(2, column)->text(), typed);
        }
        QCOMPARE(table->editingRow(), -1);
        QCOMPARE(table->editingColumn(), -1);
        QCoreApplication::processEvents();
        QVERIFY(!visibleEditor());
    }

    void editedCellSurvivesRefresh()
    {
        fillAll(QString());
        QLineEdit *editor = openEditor(2, 0, true);
        QVERIFY(editor);
        editor->setText(QStringLiteral("99"));

        fillAll(QStringLiteral("new"));
        QCOMPARE(table->item(2, 0)->text(), QStringLiteral("2.0"));
        QCOMPARE(table->item(2, 1)->text(), QStringLiteral("2.1new"));
        QCOMPARE(table->item(1, 0)->text(), QStringLiteral("1.0new"));
        QCOMPARE(editor->text(), QStringLiteral("99"));

        QSignalSpy changed(table.get(), &HvTable::cellDataChanged);
        QVERIFY(changed.isValid());
        QTest::keyClick(editor, Qt::Key_Enter);
        QTRY_COMPARE(changed.count(), 1);
        QCOMPARE(changed.at(0).at(2).toString(), QStringLiteral("99"));

        // Once committed the cell belongs to the refresh again.
        fillAll(QStringLiteral("again"));
        QCOMPARE(table->item(2, 0)->text(), QStringLiteral("2.0again"));
    }

    void doubleClickBesideCellsLeavesRefreshAlone()
    {
        // Regression: a double-click on the empty area below the last row marked the current Vset
        // cell as under edit although no editor opened, and the refresh never wrote it again.
        fillAll(QString());
        table->show();
        QVERIFY(QTest::qWaitForWindowExposed(table.get()));
        table->setCurrentCell(1, 0);
        const QRect lastRow = table->visualItemRect(table->item(3, 0));
        const QPoint below(lastRow.center().x(), lastRow.bottom() + 40);
        QVERIFY(table->viewport()->rect().contains(below));
        QVERIFY(!table->indexAt(below).isValid());
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, below);
        QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, below);
        QVERIFY(!visibleEditor());
        QCOMPARE(table->editingRow(), -1);
        QCOMPARE(table->editingColumn(), -1);
        fillAll(QStringLiteral("new"));
        QCOMPARE(table->item(1, 0)->text(), QStringLiteral("1.0new"));
    }

    void removingEditedRowEndsEdit()
    {
        // Regression: fewer channels removed the row under edit together with its editor, but the
        // row stayed marked, so once the channels came back that cell was never refreshed again.
        fillAll(QString());
        QVERIFY(openEditor(3, 2, true));
        QCOMPARE(table->editingRow(), 3);
        table->setChannelCount(2);
        QCOMPARE(table->editingRow(), -1);
        QCOMPARE(table->editingColumn(), -1);
        table->setChannelCount(4);
        table->setCell(3, 2, QStringLiteral("new"), Qt::white);
        QCOMPARE(table->item(3, 2)->text(), QStringLiteral("new"));
        QVERIFY(openEditor(0, 0, true));
        table.reset(); // the window may close while the operator edits a cell
    }

    void widthRule_data()
    {
        QTest::addColumn<QList<int>>("hidden");
        QTest::addColumn<int>("valueWidth");
        QTest::newRow("all visible") << QList<int>() << 60;
        QTest::newRow("Vbounds, Ibounds, Power hidden") << QList<int>({ 2, 6, 8 }) << 85;
        QTest::newRow("no value column") << QList<int>({ 0, 1, 2, 3, 4, 5, 6, 7, 8, 9 }) << 0;
    }

    void widthRule()
    {
        QFETCH(QList<int>, hidden);
        QFETCH(int, valueWidth);
        for (int column : std::as_const(hidden))
            table->setColumnHidden(column, true);
        QResizeEvent event(QSize(650, 300), QSize(900, 300));
        table->resizeEvent(&event);
        for (int column = 0; column < 10; ++column) {
            if (!hidden.contains(column))
                QCOMPARE(table->columnWidth(column), valueWidth);
        }
        QCOMPARE(table->columnWidth(10), 25);
        QCOMPARE(table->columnWidth(11), 25);
    }

    void statusColumnHoldsItsWord_data()
    {
        QTest::addColumn<int>("width");
        QTest::newRow("narrow") << 650;
        QTest::newRow("default window") << 1100;
    }

    void statusColumnHoldsItsWord()
    {
        QFETCH(int, width);
        const QString word = QStringLiteral("Constant Voltage");
        QResizeEvent event(QSize(width, 300), QSize(900, 300));
        table->resizeEvent(&event);
        // A wider state word arriving with a refresh widens the column at once.
        table->setCell(1, 9, word, Qt::green);
        QVERIFY(table->columnWidth(9) >= table->fontMetrics().horizontalAdvance(word) + 3);
        int total = 0;
        for (int column = 0; column < 12; ++column)
            total += table->columnWidth(column);
        QVERIFY(total <= width);
        QVERIFY(total > width - 10);
        // Narrower words do not give the width back until the next resize.
        table->setCell(1, 9, QStringLiteral("Off"), Qt::lightGray);
        table->resizeEvent(&event);
        QCOMPARE(table->columnWidth(0), table->columnWidth(9));
    }

    void markersAndToolTips()
    {
        const QString tripTip = QStringLiteral("Channel is configured for Delayed Trip.");
        table->setLowCurrentRange(0, true);
        table->setDelayedTrip(1, true);
        fillAll(QString());
        table->clearSelection();
        table->setCurrentItem(nullptr);
        QCOMPARE(table->item(0, 5)->toolTip(), QStringLiteral("Channel is in Low Current Range."));
        QCOMPARE(table->item(1, 4)->toolTip(), tripTip);
        QCOMPARE(table->item(1, 5)->toolTip(), QString());

        // The marker sits at the cell's left edge, the right-aligned value far from it.
        const QRect markerArea(5, 0, 12, 20);
        const QImage lowCurrent = cellImage(0, 5);
        QVERIFY(!lowCurrent.isNull());
        QVERIFY(blueishPixels(lowCurrent, markerArea) > 0);
        QVERIFY(blueishPixels(cellImage(1, 5), markerArea) == 0);
        QVERIFY(blueishPixels(cellImage(1, 4), markerArea) > 0);
        QVERIFY(blueishPixels(cellImage(0, 4), markerArea) == 0);
        // After a marker the value text is blue too.
        const QRect valueArea(lowCurrent.width() - 30, 0, 30, lowCurrent.height());
        QVERIFY(blueishPixels(lowCurrent, valueArea) > 0);
        QVERIFY(blueishPixels(cellImage(1, 5), valueArea) == 0);

        // A cleared flag takes the marker away at the next refresh; the tooltip stays.
        table->setDelayedTrip(1, false);
        fillAll(QStringLiteral("new"));
        const QImage cleared = cellImage(1, 4);
        QCOMPARE(blueishPixels(cleared, cleared.rect()), 0);
        QCOMPARE(table->item(1, 4)->toolTip(), tripTip);
    }

    void backgroundOfColouredColumnsAndSelection()
    {
        for (int column = 0; column < 12; ++column)
            table->setCell(0, column, QString(), Qt::yellow);
        table->setCurrentCell(0, 9);
        QVERIFY(table->item(0, 9)->isSelected());
        for (int column = 0; column < 12; ++column) {
            const QImage image = cellImage(0, column);
            QVERIFY(!image.isNull());
            const QColor middle = image.pixelColor(image.width() / 2, image.height() / 2);
            const bool coloured = column == 4 || column == 10 || column == 11;
            QCOMPARE(middle == QColor(Qt::yellow), coloured);
        }
        // The selected cell shows a blue gradient that darkens toward the bottom edge instead.
        const QImage image = cellImage(0, 9);
        const QColor top = image.pixelColor(2, 1);
        const QColor bottom = image.pixelColor(2, image.height() - 2);
        QVERIFY2(top.blue() > 200 && top.red() < 160, qPrintable(top.name()));
        QVERIFY2(
            bottom.red() < top.red() && bottom.green() < top.green(), qPrintable(bottom.name()));
    }
};

QTEST_MAIN(tst_HvTable)
#include "tst_hvtable.moc"
