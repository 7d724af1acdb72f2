#include "czelkchannelstatusbits.h"
#include "czelkmodulestatusbits.h"

#include <QtTest>

class tst_StatusBits : public QObject
{
    Q_OBJECT

private slots:
    void namesSitAtTheirBit_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<int>("bit");
        QTest::addColumn<QString>("name");
        using Ch = CZelkChannelStatusBits;
        using Mod = CZelkModuleStatusBits;
        QTest::newRow("channel status") << Ch::statusNames() << 15 << "isVLIM";
        QTest::newRow("channel event status") << Ch::eventStatusNames() << 8 << "res";
        QTest::newRow("channel event mask") << Ch::eventMaskNames() << 9 << "MEARCERR";
        QTest::newRow("channel control") << Ch::controlNames() << 5 << "setEMCY";
        QTest::newRow("module status") << Mod::statusNames() << 15 << "isKILena";
        QTest::newRow("module event status") << Mod::eventStatusNames() << 13 << "ESPLYngd";
        QTest::newRow("module event mask") << Mod::eventMaskNames() << 14 << "METMPngd";
        QTest::newRow("module control") << Mod::controlNames() << 14 << "setKILena";
    }
    // Entry i names bit i: one name too many or too few shifts every following bit.
    void namesSitAtTheirBit()
    {
        QFETCH(QStringList, names);
        QFETCH(int, bit);
        QCOMPARE(names.size(), 16);
        for (const QString &name : std::as_const(names))
            QVERIFY2(!name.isEmpty() && !name.contains(QLatin1Char(' ')), qPrintable(name));
        QTEST(names.at(bit), "name");
    }

    void masksSitAtTheirName_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<quint16>("mask");
        QTest::addColumn<QString>("name");
        using Ch = CZelkChannelStatusBits;
        using Mod = CZelkModuleStatusBits;
        QTest::newRow("channel status") << Ch::statusNames() << quint16(Ch::Trip) << "isTRP";
        QTest::newRow("channel event")
            << Ch::eventStatusNames() << quint16(Ch::EventSwitchedOff) << "EOn2Off";
        QTest::newRow("channel control") << Ch::controlNames() << quint16(Ch::SetOn) << "setON";
        QTest::newRow("module status")
            << Mod::statusNames() << quint16(Mod::SafetyLoopGood) << "isSFLPgd";
        QTest::newRow("module event")
            << Mod::eventStatusNames() << quint16(Mod::EventTemperatureNotGood) << "ETMPngd";
        QTest::newRow("module control")
            << Mod::controlNames() << quint16(Mod::SetKillEnable) << "setKILena";
    }
    void masksSitAtTheirName()
    {
        QFETCH(QStringList, names);
        QFETCH(quint16, mask);
        QFETCH(QString, name);
        QCOMPARE(quint16(1u << names.indexOf(name)), mask);
    }
};

QTEST_APPLESS_MAIN(tst_StatusBits)
#include "tst_statusbits.moc"
