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
    QTest::newRow("ch event 0") << CZelkChannelStatusBits::eventStatusNames() << 0 << "res";
    QTest::newRow("ch event 8") << CZelkChannelStatusBits::eventStatusNames() << 8 << "res";
    QTest::newRow("ch control 3") << CZelkChannelStatusBits::controlNames() << 3 << "setON";
    QTest::newRow("mod status 3") << CZelkModuleStatusBits::statusNames() << 3 << "isHVon";
    QTest::newRow("mod event 2") << CZelkModuleStatusBits::eventStatusNames() << 2 << "ELVINS";
    QTest::newRow("mod mask 13") << CZelkModuleStatusBits::eventMaskNames() << 13 << "MESPLYngd";
    QTest::newRow("mod control 11") << CZelkModuleStatusBits::controlNames() << 11 << "setENDN";
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
