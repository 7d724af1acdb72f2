#include "stattablech.h"
#include "stattestsupport.h"
#include "tablestatitem.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QtTest>

class tst_StatTableCh : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void initTableGivesCaptionsAndGreyCells();
    void fill_data();
    void fill();
    void controlLeavesOtherBitsAlone();
    void reservedEventBitsLeftAlone();
    void eventMaskNeverTouchesReservedBits();
    void statusZeroIsAllGrey();
    void doubleClickFlipsToggleableMaskCell();
    void doubleClickElsewhereDoesNothing_data();
    void doubleClickElsewhereDoesNothing();
    void fillWithoutInitWarnsAndSurvives();

private:
    void doubleClick(int row, int column);
    std::unique_ptr<StatTableCh> table;
};

void tst_StatTableCh::init()
{
    table = std::make_unique<StatTableCh>();
    // As the main window's form sets it up: a double-click would open an editor if the
    // table let the base handling run.
    table->setEditTriggers(QAbstractItemView::DoubleClicked);
    table->setSelectionMode(QAbstractItemView::NoSelection);
    table->setTabKeyNavigation(false);
    table->resize(1200, 300);
    table->initTable();
}

void tst_StatTableCh::cleanup()
{
    table.reset();
}

void tst_StatTableCh::initTableGivesCaptionsAndGreyCells()
{
    QCOMPARE(table->rowCount(), 4);
    QCOMPARE(table->columnCount(), 17);
    QCOMPARE(cellText(*table, 0, 0), QStringLiteral("Control"));
    QCOMPARE(cellText(*table, 1, 0), QStringLiteral("Status "));
    QCOMPARE(cellText(*table, 2, 0), QStringLiteral("Event Status"));
    QCOMPARE(cellText(*table, 3, 0), QStringLiteral("Event Mask"));
    for (int row = 0; row < 4; ++row) {
        QCOMPARE(table->item(row, 0)->background().style(), Qt::NoBrush);
        for (int column = 1; column < 17; ++column) {
            QVERIFY(dynamic_cast<TableStatItem *>(table->item(row, column)));
            QCOMPARE(cellText(*table, row, column), QString());
            QCOMPARE(cellColour(*table, row, column), StatColour::lightGray());
        }
    }
    QCOMPARE(table->horizontalHeader()->sectionResizeMode(0), QHeaderView::Stretch);
}

void tst_StatTableCh::fill_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("word");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QColor>("colour");
    QTest::addColumn<QString>("toolTip");

    QTest::newRow("control on") << 0 << 0x0008 << 4 << "setON" << StatColour::green()
                                << "set Channel on";
    QTest::newRow("control off") << 0 << 0x0000 << 4 << "Ch. off" << StatColour::lightGray()
                                 << "set Channel off";
    QTest::newRow("control emcy") << 0 << 0x0020 << 6 << "setEMCY" << StatColour::red()
                                  << "set Channel Emergency";
    QTest::newRow("status 0 negative")
        << 1 << 0x0000 << 1 << "isNEG" << StatColour::lightGray() << "Channel is negative";
    QTest::newRow("status off") << 1 << 0x0000 << 4 << "isOFF" << StatColour::lightGray()
                                << "Channel is off";
    QTest::newRow("status on") << 1 << 0x0008 << 4 << "isON" << StatColour::green()
                               << "Channel is on";
    QTest::newRow("status arc") << 1 << 0x0002 << 2 << "isARC" << StatColour::orange()
                                << "an Arc is detected";
    QTest::newRow("status emcy") << 1 << 0x0020 << 6 << "isEMCY" << StatColour::red()
                                 << "Channel is in Emergency state";
    QTest::newRow("status arc error")
        << 1 << 0x0200 << 10 << "isARCERR" << StatColour::red() << "Arc Error switched off the HV";
    QTest::newRow("status trip") << 1 << 0x2000 << 14 << "isTRP" << StatColour::orange()
                                 << "Channel is on Trip";
    QTest::newRow("status vlim") << 1 << 0x8000 << 16 << "isVLIM" << StatColour::red()
                                 << "Voltage limit is exceeded";
    QTest::newRow("event arc") << 2 << 0x0002 << 2 << "EARC" << StatColour::orange()
                               << "Event Arc Detected";
    QTest::newRow("event vlim") << 2 << 0x8000 << 16 << "EVLIM" << StatColour::red()
                                << "Event Voltage Limit exceeded";
    QTest::newRow("event none") << 2 << 0x0000 << 4 << "" << StatColour::lightGray() << "";
    QTest::newRow("mask arc on") << 3 << 0x0002 << 2 << "MEARC" << StatColour::white()
                                 << "Mask Event Arc is active";
    QTest::newRow("mask arc off") << 3 << 0x0000 << 2 << "MEARC" << StatColour::lightGray()
                                  << "Mask Event Arc is inactive";
    QTest::newRow("mask cbnd off") << 3 << 0x0000 << 11 << "MECBND" << StatColour::lightGray()
                                   << "Mask Event Current Bound is inactive";
}

void tst_StatTableCh::fill()
{
    QFETCH(int, row);
    QFETCH(int, word);
    QFETCH(int, column);
    QFETCH(QString, text);
    QFETCH(QColor, colour);
    QFETCH(QString, toolTip);

    switch (row) {
    case 0:
        table->updateControl(quint16(word));
        break;
    case 1:
        table->updateStatus(quint16(word));
        break;
    case 2:
        // Paint the cell first so that clearing it is seen.
        table->updateEventStatus(0xFFFF);
        table->updateEventStatus(quint16(word));
        break;
    default:
        table->updateEventMask(quint16(word));
        break;
    }
    QCOMPARE(cellText(*table, row, column), text);
    QCOMPARE(cellColour(*table, row, column), colour);
    QCOMPARE(cellToolTip(*table, row, column), toolTip);
    QCOMPARE(table->item(row, column)->background().style(), Qt::SolidPattern);
}

void tst_StatTableCh::controlLeavesOtherBitsAlone()
{
    table->updateControl(0xFFFF);
    for (int bit = 0; bit < 16; ++bit) {
        if (bit == 3 || bit == 5)
            continue;
        QCOMPARE(cellText(*table, 0, bit + 1), QString());
        QCOMPARE(cellColour(*table, 0, bit + 1), StatColour::lightGray());
    }
}

void tst_StatTableCh::reservedEventBitsLeftAlone()
{
    table->item(2, 1)->setText(QStringLiteral("before"));
    static_cast<TableStatItem *>(table->item(2, 9))->setOrange();

    table->updateEventStatus(0x0101);
    QCOMPARE(cellText(*table, 2, 1), QStringLiteral("before"));
    QCOMPARE(cellColour(*table, 2, 9), StatColour::orange());

    table->updateEventStatus(0x0000);
    for (int column = 1; column < 17; ++column) {
        QCOMPARE(cellText(*table, 2, column), QString());
        QCOMPARE(cellColour(*table, 2, column), StatColour::lightGray());
        QCOMPARE(cellToolTip(*table, 2, column), QString());
    }
}

void tst_StatTableCh::eventMaskNeverTouchesReservedBits()
{
    table->updateEventMask(0xFFFF);
    QCOMPARE(cellText(*table, 3, 1), QString());
    QCOMPARE(cellText(*table, 3, 9), QString());
    QCOMPARE(cellColour(*table, 3, 1), StatColour::lightGray());
    QCOMPARE(cellColour(*table, 3, 9), StatColour::lightGray());
    QCOMPARE(cellColour(*table, 3, 16), StatColour::white());
}

void tst_StatTableCh::statusZeroIsAllGrey()
{
    table->updateStatus(0xFFFF);
    table->updateStatus(0x0000);
    for (int column = 1; column < 17; ++column)
        QCOMPARE(cellColour(*table, 1, column), StatColour::lightGray());
}

void tst_StatTableCh::doubleClick(int row, int column)
{
    table->show();
    QVERIFY(QTest::qWaitForWindowExposed(table.get()));
    const QRect rect = table->visualItemRect(table->item(row, column));
    QVERIFY(table->viewport()->rect().contains(rect.center()));
    // A real double-click starts with a press, which makes the cell current; QtTest's
    // widget double-click sends the double-click event alone.
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, rect.center());
    QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, rect.center());
}

void tst_StatTableCh::doubleClickFlipsToggleableMaskCell()
{
    table->updateEventMask(0x0000);
    doubleClick(3, 2);
    QCOMPARE(table->currentItem(), table->item(3, 2));
    QCOMPARE(cellColour(*table, 3, 2), StatColour::white());
    QCOMPARE(cellText(*table, 3, 2), QStringLiteral("MEARC"));
    QCOMPARE(cellToolTip(*table, 3, 2), QStringLiteral("Mask Event Arc is inactive"));
    QVERIFY(!table->findChild<QLineEdit *>());

    doubleClick(3, 2);
    QCOMPARE(cellColour(*table, 3, 2), StatColour::lightGray());

    // A flip is only a local mark: the next fill shows the module's real mask again.
    doubleClick(3, 2);
    QCOMPARE(cellColour(*table, 3, 2), StatColour::white());
    table->updateEventMask(0x0000);
    QCOMPARE(cellColour(*table, 3, 2), StatColour::lightGray());
}

void tst_StatTableCh::doubleClickElsewhereDoesNothing_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::newRow("mask bit 0") << 3 << 1;
    QTest::newRow("mask bit 8") << 3 << 9;
    QTest::newRow("mask caption") << 3 << 0;
    QTest::newRow("event status") << 2 << 2;
    QTest::newRow("status") << 1 << 5;
    QTest::newRow("control") << 0 << 4;
}

void tst_StatTableCh::doubleClickElsewhereDoesNothing()
{
    QFETCH(int, row);
    QFETCH(int, column);
    const QColor before = cellColour(*table, row, column);
    doubleClick(row, column);
    QCOMPARE(cellColour(*table, row, column), before);
    QVERIFY(!table->findChild<QLineEdit *>());
}

void tst_StatTableCh::fillWithoutInitWarnsAndSurvives()
{
    StatTableCh bare;
    QTest::ignoreMessage(
        QtWarningMsg, QRegularExpression(QStringLiteral("StatTableCh has no cell items")));
    bare.updateStatus(0x0008);
    QVERIFY(!bare.item(1, 4));
}

QTEST_MAIN(tst_StatTableCh)
#include "tst_stattablech.moc"
