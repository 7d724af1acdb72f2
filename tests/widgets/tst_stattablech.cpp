#include "stattablech.h"
#include "stattestsupport.h"
#include "tablestatitem.h"

#include <QHeaderView>
#include <QtTest>

using namespace StatColour;

class tst_StatTableCh : public QObject, StatTableTest
{
    Q_OBJECT

private slots:
    void init() { table = make<StatTableCh>(); }
    void cleanup() { table.reset(); }

    void initTableGivesCaptionsAndGreyCells();
    void fill_data();
    void fill() { checkFill(*table); }
    void fillPaintsOnlyItsBits_data();
    void fillPaintsOnlyItsBits() { checkPainted(*table); }
    void onlyMaskBitsAreToggleable();
    void doubleClickFlipsOnlyToggleableCells();
    void fillWithoutInitWarnsAndSurvives();

private:
    std::unique_ptr<StatTableCh> table;
};

void tst_StatTableCh::initTableGivesCaptionsAndGreyCells()
{
    QCOMPARE(table->rowCount(), 4);
    QCOMPARE(table->columnCount(), 17);
    const QStringList captions = { "Control", "Status ", "Event Status", "Event Mask" };
    for (int row = 0; row < 4; ++row) {
        QCOMPARE(cellText(*table, row, 0), captions.at(row));
        QCOMPARE(table->item(row, 0)->background().style(), Qt::NoBrush);
        for (int column = 1; column < 17; ++column) {
            QVERIFY(dynamic_cast<TableStatItem *>(table->item(row, column)));
            QCOMPARE(cellText(*table, row, column), QString());
            QCOMPARE(cellColour(*table, row, column), lightGray);
        }
    }
    QCOMPARE(table->horizontalHeader()->sectionResizeMode(0), QHeaderView::Stretch);
}

void tst_StatTableCh::fill_data()
{
    addFillColumns();
    QTest::newRow("control on") << 0 << 0x0008 << 4 << "setON" << green << "set Channel on";
    QTest::newRow("control off") << 0 << 0x0000 << 4 << "Ch. off" << lightGray << "set Channel off";
    QTest::newRow("control emcy") << 0 << 0x0020 << 6 << "setEMCY" << red
                                  << "set Channel Emergency";
    QTest::newRow("status positive")
        << 1 << 0x0001 << 1 << "isPos" << lightGray << "Channel is positive";
    QTest::newRow("status negative")
        << 1 << 0x0000 << 1 << "isNEG" << lightGray << "Channel is negative";
    QTest::newRow("status on") << 1 << 0x0008 << 4 << "isON" << green << "Channel is on";
    QTest::newRow("status off") << 1 << 0x0000 << 4 << "isOFF" << lightGray << "Channel is off";
    QTest::newRow("status arc") << 1 << 0x0002 << 2 << "isARC" << orange << "an Arc is detected";
    QTest::newRow("status vlim") << 1 << 0x8000 << 16 << "isVLIM" << red
                                 << "Voltage limit is exceeded";
    QTest::newRow("event arc") << 2 << 0x0002 << 2 << "EARC" << orange << "Event Arc Detected";
    QTest::newRow("event vlim") << 2 << 0x8000 << 16 << "EVLIM" << red
                                << "Event Voltage Limit exceeded";
    QTest::newRow("event none") << 2 << 0x0000 << 4 << "" << lightGray << "";
    QTest::newRow("mask arc on") << 3 << 0x0002 << 2 << "MEARC" << white
                                 << "Mask Event Arc is active";
    QTest::newRow("mask arc off") << 3 << 0x0000 << 2 << "MEARC" << lightGray
                                  << "Mask Event Arc is inactive";
}

void tst_StatTableCh::fillPaintsOnlyItsBits_data()
{
    addPaintedColumns();
    QTest::newRow("control") << 0 << 0xFFFF << 0x0028 << QColor();
    QTest::newRow("status zero is all grey") << 1 << 0x0000 << 0xFFFF << lightGray;
    // Bits 0 and 8 are reserved: a 1 there is no event.
    QTest::newRow("event reserved bits") << 2 << 0x0101 << 0xFEFE << lightGray;
    QTest::newRow("event none") << 2 << 0x0000 << 0xFFFF << lightGray;
    QTest::newRow("mask all") << 3 << 0xFFFF << 0xFEFE << white;
    QTest::newRow("mask none") << 3 << 0x0000 << 0xFEFE << lightGray;
}

void tst_StatTableCh::onlyMaskBitsAreToggleable()
{
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 17; ++column) {
            const bool expected = row == 3 && column != 0 && column != 1 && column != 9;
            QVERIFY2(table->isToggleable(table->item(row, column)) == expected,
                qPrintable(QStringLiteral("row %1 column %2").arg(row).arg(column)));
        }
    }
}

void tst_StatTableCh::doubleClickFlipsOnlyToggleableCells()
{
    table->updateEventMask(0x0000);
    doubleClick(*table, 3, 1);
    QCOMPARE(cellColour(*table, 3, 1), lightGray);
    QVERIFY(!table->findChild<QLineEdit *>());

    doubleClick(*table, 3, 2);
    QCOMPARE(table->currentItem(), table->item(3, 2));
    QCOMPARE(cellColour(*table, 3, 2), white);
    QCOMPARE(cellText(*table, 3, 2), QStringLiteral("MEARC"));
    QCOMPARE(table->item(3, 2)->toolTip(), QStringLiteral("Mask Event Arc is inactive"));
    QVERIFY(!table->findChild<QLineEdit *>());
    doubleClick(*table, 3, 2);
    QCOMPARE(cellColour(*table, 3, 2), lightGray);

    // A flip is only a local mark: the next fill shows the module's real mask again.
    doubleClick(*table, 3, 2);
    QCOMPARE(cellColour(*table, 3, 2), white);
    table->updateEventMask(0x0000);
    QCOMPARE(cellColour(*table, 3, 2), lightGray);
}

void tst_StatTableCh::fillWithoutInitWarnsAndSurvives()
{
    StatTableCh bare;
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("StatTableCh has no cell items"));
    bare.updateStatus(0x0008);
    QVERIFY(!bare.item(1, 4));
}

QTEST_MAIN(tst_StatTableCh)
#include "tst_stattablech.moc"
