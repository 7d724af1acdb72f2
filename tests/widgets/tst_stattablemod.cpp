#include "stattablemod.h"
#include "stattestsupport.h"
#include "tablestatitem.h"

#include <QLineEdit>
#include <QtTest>

class tst_StatTableMod : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void fill_data();
    void fill();
    void statusZeroShowsFaultsOfHealthBits();
    void statusLeavesBits157Alone();
    void controlLeavesOtherBitsAlone();
    void eventStatusKeepsUnnamedBits();
    void eventMaskTouchesFourBitsOnly();
    void isToggleable_data();
    void isToggleable();
    void doubleClickFlipsCellNoFillColours();

private:
    std::unique_ptr<StatTableMod> table;
};

void tst_StatTableMod::init()
{
    table = std::make_unique<StatTableMod>();
    table->setEditTriggers(QAbstractItemView::DoubleClicked);
    table->setSelectionMode(QAbstractItemView::NoSelection);
    table->setTabKeyNavigation(false);
    table->resize(1200, 300);
    table->initTable();
}

void tst_StatTableMod::cleanup()
{
    table.reset();
}

void tst_StatTableMod::fill_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("word");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QColor>("colour");
    QTest::addColumn<QString>("toolTip");

    QTest::newRow("control ilk") << 0 << 0x0020 << 6 << "setILK" << StatColour::red()
                                 << "Set Interlock";
    QTest::newRow("control no ilk")
        << 0 << 0x0000 << 6 << "noILK" << StatColour::lightGray() << "Unset Interlock";
    QTest::newRow("control clear")
        << 0 << 0x0040 << 7 << "doCLEAR" << StatColour::green() << "Clear all Events";
    QTest::newRow("control little endian") << 0 << 0x0000 << 12 << "little ENDN"
                                           << StatColour::lightGray() << "Set Little Endian order";
    QTest::newRow("control adj off")
        << 0 << 0x0000 << 13 << "ADJ off" << StatColour::lightGray() << "Set Fine Adjustment off";
    QTest::newRow("control kill") << 0 << 0x4000 << 15 << "setKILena" << StatColour::red()
                                  << "Set Kill Enable";
    QTest::newRow("control no kill")
        << 0 << 0x0000 << 15 << "noKILL" << StatColour::lightGray() << "Set Kill Disable";
    QTest::newRow("status adj") << 1 << 0x0001 << 1 << "isADJ" << StatColour::green()
                                << "is in Fine Adjustment state";
    QTest::newRow("status hv on") << 1 << 0x0008 << 4 << "isHVon" << StatColour::green()
                                  << "High Voltage is on";
    QTest::newRow("status hv off") << 1 << 0x0000 << 4 << "" << StatColour::lightGray() << "";
    QTest::newRow("status service") << 1 << 0x0010 << 5 << "isSrvc" << StatColour::red()
                                    << "Device in bad condition, service is needed!";
    QTest::newRow("status no sum error")
        << 1 << 0x0100 << 9 << "isnoSERR" << StatColour::lightGray() << "no Sum Error";
    QTest::newRow("status sum error")
        << 1 << 0x0000 << 9 << "SERR" << StatColour::red() << "Sum Error occured!";
    QTest::newRow("status ramping")
        << 1 << 0x0000 << 10 << "RAMP" << StatColour::yellow() << "at least one Channel is ramping";
    QTest::newRow("status events") << 1 << 0x0800 << 12 << "isEVNTact" << StatColour::green()
                                   << "one or more Events are active";
    QTest::newRow("status kill") << 1 << 0x8000 << 16 << "isKILena" << StatColour::red()
                                 << "Kill Enable active!";
    QTest::newRow("event live insertion")
        << 2 << 0x0004 << 3 << "ELVINS" << StatColour::orange() << "Event Live Insertion";
    QTest::newRow("event service")
        << 2 << 0x0010 << 5 << "ESrvc" << StatColour::red() << "Event Service Needed";
    QTest::newRow("event temperature")
        << 2 << 0x4000 << 15 << "ETMPngd" << StatColour::red() << "Event Temperature not good";
    QTest::newRow("event none") << 2 << 0x0000 << 15 << "" << StatColour::lightGray() << "";
    QTest::newRow("mask ierr on") << 3 << 0x0040 << 7 << "MEIERR" << StatColour::white()
                                  << "Mask Event Input Error is active";
    QTest::newRow("mask ierr off") << 3 << 0x0000 << 7 << "MEIERR" << StatColour::lightGray()
                                   << "Mask Event Input Error is inactive";
    QTest::newRow("mask temperature off")
        << 3 << 0x0000 << 15 << "METMPngd" << StatColour::lightGray()
        << "Mask Event Temperature not good is inactive";
}

void tst_StatTableMod::fill()
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
        table->updateStatus(quint16(~word));
        table->updateStatus(quint16(word));
        break;
    case 2:
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
}

void tst_StatTableMod::statusZeroShowsFaultsOfHealthBits()
{
    table->updateStatus(0x0000);
    const struct
    {
        int bit;
        const char *text;
        QColor colour;
    } expected[] = {
        { 8, "SERR", StatColour::red() },
        { 9, "RAMP", StatColour::yellow() },
        { 10, "SFLPngd", StatColour::red() },
        { 12, "MODngd", StatColour::red() },
        { 13, "SPLYngd", StatColour::red() },
        { 14, "TMPngd", StatColour::red() },
    };
    for (const auto &e : expected) {
        QCOMPARE(cellText(*table, 1, e.bit + 1), QString::fromLatin1(e.text));
        QCOMPARE(cellColour(*table, 1, e.bit + 1), e.colour);
    }
    QCOMPARE(cellText(*table, 1, 4), QString());
    QCOMPARE(cellToolTip(*table, 1, 4), QString());
}

void tst_StatTableMod::statusLeavesBits157Alone()
{
    table->updateStatus(0xFFFF);
    table->updateStatus(0x0000);
    for (int bit : { 1, 5, 7 }) {
        QCOMPARE(cellText(*table, 1, bit + 1), QString());
        QCOMPARE(cellColour(*table, 1, bit + 1), StatColour::lightGray());
    }
}

void tst_StatTableMod::controlLeavesOtherBitsAlone()
{
    table->updateControl(0xFFFF);
    table->updateControl(0x0000);
    for (int bit = 0; bit < 16; ++bit) {
        if (bit == 5 || bit == 6 || bit == 11 || bit == 12 || bit == 14)
            continue;
        QCOMPARE(cellText(*table, 0, bit + 1), QString());
    }
}

void tst_StatTableMod::eventStatusKeepsUnnamedBits()
{
    table->item(2, 1)->setText(QStringLiteral("before"));
    table->item(2, 6)->setText(QStringLiteral("before"));
    // Bits 0 and 5 are 1 but name no event the operator is shown.
    table->updateEventStatus(0x0021);
    QCOMPARE(cellText(*table, 2, 1), QStringLiteral("before"));
    QCOMPARE(cellText(*table, 2, 6), QStringLiteral("before"));
    table->updateEventStatus(0x0000);
    QCOMPARE(cellText(*table, 2, 1), QString());
    QCOMPARE(cellText(*table, 2, 6), QString());
}

void tst_StatTableMod::eventMaskTouchesFourBitsOnly()
{
    table->updateEventMask(0xFFFF);
    for (int bit = 0; bit < 16; ++bit) {
        const bool painted = bit == 6 || bit == 10 || bit == 13 || bit == 14;
        QCOMPARE(cellColour(*table, 3, bit + 1),
            painted ? StatColour::white() : StatColour::lightGray());
    }
}

void tst_StatTableMod::isToggleable_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<bool>("toggleable");
    for (int column = 0; column < 17; ++column) {
        const bool yes = column == 5 || column == 6 || column == 7 || column == 11 || column == 14
            || column == 15;
        QTest::addRow("mask column %d", column) << 3 << column << yes;
    }
    QTest::newRow("event status column 5") << 2 << 5 << false;
    QTest::newRow("status column 7") << 1 << 7 << false;
}

void tst_StatTableMod::isToggleable()
{
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(bool, toggleable);
    QCOMPARE(table->isToggleable(table->item(row, column)), toggleable);
}

void tst_StatTableMod::doubleClickFlipsCellNoFillColours()
{
    table->show();
    QVERIFY(QTest::qWaitForWindowExposed(table.get()));
    const QRect rect = table->visualItemRect(table->item(3, 5));
    // A real double-click starts with a press, which makes the cell current; QtTest's
    // widget double-click sends the double-click event alone.
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, rect.center());
    QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, rect.center());
    QCOMPARE(cellColour(*table, 3, 5), StatColour::white());
    QVERIFY(!table->findChild<QLineEdit *>());
}

QTEST_MAIN(tst_StatTableMod)
#include "tst_stattablemod.moc"
