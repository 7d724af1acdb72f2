#include "stattablemod.h"
#include "stattestsupport.h"

#include <QtTest>

using namespace StatColour;

class tst_StatTableMod : public QObject, StatTableTest
{
    Q_OBJECT

private slots:
    void init() { table = make<StatTableMod>(); }
    void cleanup() { table.reset(); }

    void fill_data();
    void fill() { checkFill(*table); }
    void fillPaintsOnlyItsBits_data();
    void fillPaintsOnlyItsBits() { checkPainted(*table); }
    void onlySixMaskBitsAreToggleable();

private:
    std::unique_ptr<StatTableMod> table;
};

void tst_StatTableMod::fill_data()
{
    addFillColumns();
    QTest::newRow("control ilk") << 0 << 0x0020 << 6 << "setILK" << red << "Set Interlock";
    QTest::newRow("control no ilk")
        << 0 << 0x0000 << 6 << "noILK" << lightGray << "Unset Interlock";
    QTest::newRow("control clear") << 0 << 0x0040 << 7 << "doCLEAR" << green << "Clear all Events";
    QTest::newRow("control little endian")
        << 0 << 0x0000 << 12 << "little ENDN" << lightGray << "Set Little Endian order";
    QTest::newRow("control adj off")
        << 0 << 0x0000 << 13 << "ADJ off" << lightGray << "Set Fine Adjustment off";
    QTest::newRow("status hv on") << 1 << 0x0008 << 4 << "isHVon" << green << "High Voltage is on";
    QTest::newRow("status hv off") << 1 << 0x0000 << 4 << "" << lightGray << "";
    QTest::newRow("status service")
        << 1 << 0x0010 << 5 << "isSrvc" << red << "Device in bad condition, service is needed!";
    // The health bits are 1 when healthy.
    QTest::newRow("status no sum error")
        << 1 << 0x0100 << 9 << "isnoSERR" << lightGray << "no Sum Error";
    QTest::newRow("status sum error") << 1 << 0x0000 << 9 << "SERR" << red << "Sum Error occured!";
    QTest::newRow("status ramping")
        << 1 << 0x0000 << 10 << "RAMP" << yellow << "at least one Channel is ramping";
    QTest::newRow("status temperature")
        << 1 << 0x0000 << 15 << "TMPngd" << red << "Temperature not good!";
    QTest::newRow("status events")
        << 1 << 0x0800 << 12 << "isEVNTact" << green << "one or more Events are active";
    QTest::newRow("status kill") << 1 << 0x8000 << 16 << "isKILena" << red << "Kill Enable active!";
    QTest::newRow("event live insertion")
        << 2 << 0x0004 << 3 << "ELVINS" << orange << "Event Live Insertion";
    QTest::newRow("event service") << 2 << 0x0010 << 5 << "ESrvc" << red << "Event Service Needed";
    QTest::newRow("event none") << 2 << 0x0000 << 15 << "" << lightGray << "";
    QTest::newRow("mask ierr on") << 3 << 0x0040 << 7 << "MEIERR" << white
                                  << "Mask Event Input Error is active";
    QTest::newRow("mask ierr off")
        << 3 << 0x0000 << 7 << "MEIERR" << lightGray << "Mask Event Input Error is inactive";
}

void tst_StatTableMod::fillPaintsOnlyItsBits_data()
{
    addPaintedColumns();
    QTest::newRow("control") << 0 << 0x0000 << 0x5860 << QColor();
    // Bits 1, 5 and 7 are never touched.
    QTest::newRow("status zero") << 1 << 0x0000 << 0xFF5D << QColor();
    QTest::newRow("status all") << 1 << 0xFFFF << 0xFF5D << QColor();
    // Only six bits name events the operator is shown; any other 1 keeps its cell.
    QTest::newRow("event unnamed bits") << 2 << 0x0021 << 0xFFDE << lightGray;
    QTest::newRow("event all") << 2 << 0xFFFF << 0x6454 << QColor();
    QTest::newRow("event none") << 2 << 0x0000 << 0xFFFF << lightGray;
    QTest::newRow("mask all") << 3 << 0xFFFF << 0x6440 << white;
}

void tst_StatTableMod::onlySixMaskBitsAreToggleable()
{
    const QList<int> toggleable = { 5, 6, 7, 11, 14, 15 };
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 17; ++column) {
            const bool expected = row == 3 && toggleable.contains(column);
            QVERIFY2(table->isToggleable(table->item(row, column)) == expected,
                qPrintable(QStringLiteral("row %1 column %2").arg(row).arg(column)));
        }
    }
}

QTEST_MAIN(tst_StatTableMod)
#include "tst_stattablemod.moc"
