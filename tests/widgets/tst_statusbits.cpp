#include "czelkchannelstatusbits.h"
#include "czelkmodulestatusbits.h"

#include <QtTest>

class tst_StatusBits : public QObject
{
    Q_OBJECT

private slots:
    void everyListHasSixteenNames_data();
    void everyListHasSixteenNames();
    void namesSitAtTheirBit_data();
    void namesSitAtTheirBit();
};

void tst_StatusBits::everyListHasSixteenNames_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::newRow("channel status") << CZelkChannelStatusBits::statusNames();
    QTest::newRow("channel event status") << CZelkChannelStatusBits::eventStatusNames();
    QTest::newRow("channel event mask") << CZelkChannelStatusBits::eventMaskNames();
    QTest::newRow("channel control") << CZelkChannelStatusBits::controlNames();
    QTest::newRow("module status") << CZelkModuleStatusBits::statusNames();
    QTest::newRow("module event status") << CZelkModuleStatusBits::eventStatusNames();
    QTest::newRow("module event mask") << CZelkModuleStatusBits::eventMaskNames();
    QTest::newRow("module control") << CZelkModuleStatusBits::controlNames();
}

void tst_StatusBits::everyListHasSixteenNames()
{
    QFETCH(QStringList, names);
    QCOMPARE(names.size(), 16);
    for (const QString &name : std::as_const(names)) {
        QVERIFY2(!name.isEmpty(), "an empty name would shift every following bit");
        QVERIFY2(!name.contains(QLatin1Char(' ')), qPrintable(name));
    }
}

void tst_StatusBits::namesSitAtTheirBit_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<int>("bit");
    QTest::addColumn<QString>("name");
    QTest::newRow("ch status 0") << CZelkChannelStatusBits::statusNames() << 0 << "isPos";
    QTest::newRow("ch status 8") << CZelkChannelStatusBits::statusNames() << 8 << "isLCR";
    QTest::newRow("ch status 15") << CZelkChannelStatusBits::statusNames() << 15 << "isVLIM";
    QTest::newRow("ch event 0") << CZelkChannelStatusBits::eventStatusNames() << 0 << "res";
    QTest::newRow("ch event 3") << CZelkChannelStatusBits::eventStatusNames() << 3 << "EOn2Off";
    QTest::newRow("ch event 8") << CZelkChannelStatusBits::eventStatusNames() << 8 << "res";
    QTest::newRow("ch mask 9") << CZelkChannelStatusBits::eventMaskNames() << 9 << "MEARCERR";
    QTest::newRow("ch control 3") << CZelkChannelStatusBits::controlNames() << 3 << "setON";
    QTest::newRow("ch control 5") << CZelkChannelStatusBits::controlNames() << 5 << "setEMCY";
    QTest::newRow("ch control 15") << CZelkChannelStatusBits::controlNames() << 15 << "res";
    QTest::newRow("mod status 1") << CZelkModuleStatusBits::statusNames() << 1 << "res";
    QTest::newRow("mod status 3") << CZelkModuleStatusBits::statusNames() << 3 << "isHVon";
    QTest::newRow("mod status 15") << CZelkModuleStatusBits::statusNames() << 15 << "isKILena";
    QTest::newRow("mod event 2") << CZelkModuleStatusBits::eventStatusNames() << 2 << "ELVINS";
    QTest::newRow("mod event 14") << CZelkModuleStatusBits::eventStatusNames() << 14 << "ETMPngd";
    QTest::newRow("mod mask 2") << CZelkModuleStatusBits::eventMaskNames() << 2 << "res";
    QTest::newRow("mod mask 13") << CZelkModuleStatusBits::eventMaskNames() << 13 << "MESPLYngd";
    QTest::newRow("mod control 11") << CZelkModuleStatusBits::controlNames() << 11 << "setENDN";
    QTest::newRow("mod control 14") << CZelkModuleStatusBits::controlNames() << 14 << "setKILena";
}

void tst_StatusBits::namesSitAtTheirBit()
{
    QFETCH(QStringList, names);
    QFETCH(int, bit);
    QFETCH(QString, name);
    QCOMPARE(names.at(bit), name);
}

QTEST_APPLESS_MAIN(tst_StatusBits)
#include "tst_statusbits.moc"
