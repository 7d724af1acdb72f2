#include "simmodule.h"

#include <QtTest>

using namespace vornsim;

class tst_SimModel : public QObject
{
    Q_OBJECT

private slots:
    void setAndReadBack_data();
    void setAndReadBack();
    void refusedValues_data();
    void refusedValues();
    void rampsAtRampSpeed();
    void absoluteRampSpeed();
    void channelControlBits();
    void loadAndRegulation();
    void tripLatchesUntilCleared();
    void eventMaskDrivesEventActive();
    void moduleEvents();
    void filamentDevice();
    void noiseStaysSmall();
};

static std::unique_ptr<SimModule> quiet(const char *preset)
{
    auto m = SimModule::fromPreset(QString::fromLatin1(preset));
    m->setNoise(false);
    return m;
}

static QByteArray ask(SimModule &m, const QByteArray &line)
{
    QByteArray a = m.handleLine(line);
    a.chop(2);
    return a;
}

void tst_SimModel::setAndReadBack_data()
{
    QTest::addColumn<QString>("preset");
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QByteArray>("answer");
    QTest::newRow("voltage") << "KA2F" << QByteArray(":VOLT 1000,(@2);:READ:VOLT? (@0-3)")
                             << QByteArray("0.00000E0V,0.00000E0V,1.00000E3V,0.00000E0V");
    QTest::newRow("current all") << "KA2F" << QByteArray(":CURR 0.0005,(@0-3);:READ:CURR? (@1)")
                                 << QByteArray("5.00000E-4A");
    QTest::newRow("current, no list")
        << "TX01B0" << QByteArray(":CURR 0.0005;:READ:CURR?") << QByteArray("5.00000E-4A");
    QTest::newRow("voltage bounds")
        << "KA2F" << QByteArray(":VOLT:BOU 10,(@0);:READ:VOLT:BOU? (@0)")
        << QByteArray("1.00000E1V");
    QTest::newRow("current bounds")
        << "DRSB" << QByteArray(":CURR:BOU 1e-5,(@0);:READ:CURR:BOU? (@0-0)")
        << QByteArray("1.00000E-5A");
    QTest::newRow("channel mask") << "KA2F"
                                  << QByteArray(
                                         ":CONF:CHAN:EV:MASK 24,(@0-3);:READ:CHAN:EV:MASK? (@0-3)")
                                  << QByteArray("24,24,24,24");
    QTest::newRow("percent ramp") << "KA2F"
                                  << QByteArray(":CONF:RAMP:VOLT 10;:READ:RAMP:VOLT?;CURR?")
                                  << QByteArray("1.000E+01%/s;5.000E+00%/s");
    QTest::newRow("absolute ramp")
        << "TX01B1" << QByteArray(":CONF:RAMP:CURR 2e-5;:READ:RAMP:VOLT?;CURR?")
        << QByteArray("3.000E+01V/s;2.000E-05A/s");
    QTest::newRow("module mask") << "KA2F" << QByteArray(":CONF:EV:MASK 16384;:READ:MOD:EV:MASK?")
                                 << QByteArray("16384");
    QTest::newRow("average") << "KA2F" << QByteArray(":CONF:AVER 256;:CONF:AVER?")
                             << QByteArray("256");
    QTest::newRow("interface mode")
        << "TX01B1" << QByteArray(":CONF:INTER:MODE 1;MODE?") << QByteArray("1");
    QTest::newRow("module control")
        << "KA2F" << QByteArray(":CONF:ADJ ENABLE;KILL ENABLE;*CLS;:READ:MOD:CONT?")
        << QByteArray("20480");
    QTest::newRow("module control off")
        << "KA2F" << QByteArray(":CONF:ADJ DISABLE;KILL DISABLE;:READ:MOD:CONT?")
        << QByteArray("0");
    QTest::newRow("negative module")
        << "TX01B0" << QByteArray(":VOLT -1000;:READ:VOLT?") << QByteArray("-1.00000E3V");
    QTest::newRow("bipolar module")
        << "DRSB" << QByteArray(":VOLT -1000,(@0);:READ:VOLT? (@0-0)") << QByteArray("-1.00000E3V");
    QTest::newRow("value with unit")
        << "KA2F" << QByteArray(":VOLT 1.5E3V,(@0);:READ:VOLT? (@0)") << QByteArray("1.50000E3V");
}

void tst_SimModel::setAndReadBack()
{
    QFETCH(QString, preset);
    QFETCH(QByteArray, line);
    QFETCH(QByteArray, answer);
    auto m = SimModule::fromPreset(preset);
    QCOMPARE(ask(*m, line), answer);
}

void tst_SimModel::refusedValues_data()
{
    QTest::addColumn<QString>("preset");
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QByteArray>("answer");
    QTest::newRow("above nominal")
        << "KA2F" << QByteArray(":VOLT 7000,(@0);:READ:VOLT? (@0)") << QByteArray("0.00000E0V");
    QTest::newRow("negative on positive")
        << "KA2F" << QByteArray(":VOLT -5,(@0);:READ:VOLT? (@0)") << QByteArray("0.00000E0V");
    QTest::newRow("positive on negative")
        << "TX01B0" << QByteArray(":VOLT 5;:READ:VOLT?") << QByteArray("0.00000E0V");
    QTest::newRow("current above nominal")
        << "KA2F" << QByteArray(":CURR 1,(@0);:READ:CURR? (@0)") << QByteArray("4.00000E-3A");
    QTest::newRow("filter steps") << "KA2F" << QByteArray(":CONF:AVER 17;:CONF:AVER?")
                                  << QByteArray("64");
    QTest::newRow("interface mode")
        << "KA2F" << QByteArray(":CONF:INTER:MODE 7;MODE?") << QByteArray("0");
    QTest::newRow("ramp negative") << "KA2F" << QByteArray(":CONF:RAMP:VOLT -1;:READ:RAMP:VOLT?")
                                   << QByteArray("5.000E+00%/s");
}

void tst_SimModel::refusedValues()
{
    QFETCH(QString, preset);
    QFETCH(QByteArray, line);
    QFETCH(QByteArray, answer);
    auto m = SimModule::fromPreset(preset);
    QCOMPARE(ask(*m, line), answer);
    QVERIFY(m->status() & modulebit::InputError);
    QVERIFY(ask(*m, ":SYS:ERR?").startsWith('-'));
}

void tst_SimModel::rampsAtRampSpeed()
{
    // KA2F: 5 %/s of 6000 V is 300 V/s.
    auto m = quiet("KA2F");
    ask(*m, ":VOLT 600,(@0);:VOLT ON,(@0)");
    QVERIFY(m->channel(0).status & channelbit::Ramp);
    QVERIFY(!(m->status() & modulebit::NoRamp));
    m->advance(1000);
    QCOMPARE(ask(*m, ":MEAS:VOLT? (@0)"), QByteArray("3.00000E2V"));
    QCOMPARE(m->channel(0).eventStatus & channelbit::Ramp, 0);
    m->advance(1000);
    QCOMPARE(ask(*m, ":MEAS:VOLT? (@0)"), QByteArray("6.00000E2V"));
    const quint16 s = m->channel(0).status;
    QVERIFY(s & channelbit::On);
    QVERIFY(s & channelbit::ConstantVoltage);
    QVERIFY(!(s & channelbit::Ramp));
    QVERIFY(m->status() & modulebit::NoRamp);
    QVERIFY(m->status() & modulebit::HvOn);
    // End of ramp and constant voltage latched.
    QCOMPARE(ask(*m, ":READ:CHAN:EV:STAT? (@0)").toInt(),
        int(channelbit::Ramp | channelbit::ConstantVoltage));
    ask(*m, ":EVENT CLEAR,(@0)");
    ask(*m, ":VOLT OFF,(@0)");
    m->advance(1000);
    QCOMPARE(m->voltageMeasure(0), 300.0);
    m->advance(5000);
    QCOMPARE(m->voltageMeasure(0), 0.0);
    QVERIFY(m->channel(0).eventStatus & channelbit::On); // on-to-off
    QVERIFY(m->channel(0).eventStatus & channelbit::Ramp);
    QVERIFY(!(m->status() & modulebit::HvOn));
    // The other channels never moved.
    QCOMPARE(ask(*m, ":READ:CHAN:EV:STAT? (@1-3)"), QByteArray("0,0,0"));
}

void tst_SimModel::absoluteRampSpeed()
{
    auto m = quiet("TX01B1");
    ask(*m, ":CONF:RAMP:VOLT 100;:VOLT 1000;:VOLT ON");
    m->advance(2500);
    QCOMPARE(m->voltageMeasure(0), 250.0);
    m->advance(10000);
    QCOMPARE(m->voltageMeasure(0), 1000.0);
}

void tst_SimModel::channelControlBits()
{
    auto m = quiet("KA2F");
    QCOMPARE(ask(*m, ":VOLT ON,(@1);:VOLT EMCY OFF,(@1);:READ:CHAN:CONT? (@0-3)"),
        QByteArray("0,40,0,0"));
    QVERIFY(m->channel(1).status & channelbit::Emergency);
    QVERIFY(!(m->channel(1).status & channelbit::On));
    QVERIFY(m->channel(1).eventStatus & channelbit::Emergency);
    QCOMPARE(ask(*m, ":VOLT OFF,(@1);:VOLT EMCY CLR,(@1);:READ:CHAN:CONT? (@0-3)"),
        QByteArray("0,0,0,0"));
    QCOMPARE(ask(*m, ":VOLT ON,(@0-3);:READ:CHAN:CONT? (@0-3)"), QByteArray("8,8,8,8"));
}

void tst_SimModel::loadAndRegulation()
{
    auto m = quiet("KA2F");
    ask(*m, ":VOLT 1000,(@0);:CURR 0.002,(@0);:VOLT ON,(@0)");
    m->advance(10000);
    m->setLoadCurrent(0, 0.001);
    QCOMPARE(ask(*m, ":MEAS:CURR? (@0)"), QByteArray("1.00000E-3A"));
    QVERIFY(m->channel(0).status & channelbit::ConstantVoltage);
    // More load than the current set: constant-current regulation, the voltage falls.
    m->setLoadCurrent(0, 0.004);
    QVERIFY(m->channel(0).status & channelbit::ConstantCurrent);
    QCOMPARE(ask(*m, ":MEAS:CURR? (@0)"), QByteArray("2.00000E-3A"));
    QCOMPARE(ask(*m, ":MEAS:VOLT? (@0)"), QByteArray("5.00000E2V"));
    QVERIFY(m->channel(0).eventStatus & channelbit::ConstantCurrent);
    // With kill enabled the same load trips the channel.
    ask(*m, ":CONF:KILL ENABLE");
    m->advance(10);
    QVERIFY(m->channel(0).status & channelbit::Trip);
    QCOMPARE(m->voltageMeasure(0), 0.0);
    QVERIFY(!(m->status() & modulebit::NoSumError));
}

void tst_SimModel::tripLatchesUntilCleared()
{
    auto m = quiet("KA2F");
    ask(*m, ":VOLT 100,(@2);:VOLT ON,(@2)");
    m->trip(2);
    QCOMPARE(ask(*m, ":READ:CHAN:EV:STAT? (@2)").toInt() & channelbit::Trip, int(channelbit::Trip));
    QCOMPARE(ask(*m, ":READ:CHAN:CONT? (@2)"), QByteArray("0"));
    ask(*m, ":EVENT CLEAR,(@2)");
    QCOMPARE(ask(*m, ":READ:CHAN:EV:STAT? (@2)"), QByteArray("0"));
    // The status keeps the trip until the channel is switched on again.
    QVERIFY(m->channel(2).status & channelbit::Trip);
    ask(*m, ":VOLT ON,(@2)");
    QVERIFY(!(m->channel(2).status & channelbit::Trip));
}

void tst_SimModel::eventMaskDrivesEventActive()
{
    auto m = quiet("KA2F");
    m->raiseChannelEvent(3, channelbit::Arc);
    QVERIFY(!(m->status() & modulebit::EventActive));
    ask(*m, ":CONF:CHAN:EV:MASK 2,(@3)");
    QVERIFY(m->status() & modulebit::EventActive);
    ask(*m, "*CLS");
    QCOMPARE(m->channel(3).eventStatus, quint16(0));
    QVERIFY(!(m->status() & modulebit::EventActive));
}

void tst_SimModel::moduleEvents()
{
    auto m = quiet("KA2F");
    QVERIFY(m->status() & modulebit::TemperatureGood);
    m->setTemperature(70.0);
    QVERIFY(!(m->status() & modulebit::TemperatureGood));
    QVERIFY(!(m->status() & modulebit::ModuleGood));
    QStringList words = QString::fromLatin1(ask(*m, ":READ:MOD:CONT?;STAT?;EV:STAT?;MASK?"))
                            .split(QLatin1Char(';'));
    QCOMPARE(words.size(), 4);
    QCOMPARE(words.at(2).toInt(), 1 << 14);
    QVERIFY(!(words.at(1).toInt() & modulebit::EventActive));
    ask(*m, ":CONF:EV:MASK 16384");
    QVERIFY(m->status() & modulebit::EventActive);
    m->setTemperature(30.0);
    ask(*m, ":CONF:EV CLEAR");
    QCOMPARE(m->eventStatus(), quint16(0));
    m->setSupply(SimModule::P24, 18.0);
    QVERIFY(m->eventStatus() & (1u << 13));
}

void tst_SimModel::filamentDevice()
{
    auto m = quiet("TQ88812p0000");
    QCOMPARE(ask(*m, ":CONF:OUTP 2,(@1);OUTP? (@0-2)"), QByteArray("0,2,0"));
    QCOMPARE(ask(*m, ":CONF:OUTP 9,(@0);OUTP? (@0-2)"), QByteArray("0,2,0"));
    QCOMPARE(ask(*m, ":CONF:OUTP 5,(@2);OUTP? (@0-2)"), QByteArray("0,2,5"));
    m->setInterlock(5);
    QCOMPARE(ask(*m, ":READ:MOD:STATUS:INTERLOCK?"), QByteArray("5"));
    QCOMPARE(
        ask(*m, ":CONF:FILA:EMI:P 0.5;I 0.25;D 0;P?;I?;D?;:CONF:FILA:CURR:MIN 0.1;MAX 2;MIN?;MAX?"),
        QByteArray("5.00000E-1;2.50000E-1;0.00000E0;1.00000E-1A;2.00000E0A"));
    QCOMPARE(m->emissionP(), 0.5);
    QCOMPARE(m->filamentMaximum(), 2.0);

    auto plain = quiet("KA2F");
    QCOMPARE(ask(*plain, ":CONF:OUTP? (@0-2)"), QByteArray("ERROR"));
    QCOMPARE(ask(*plain, ":READ:MOD:STATUS:INTERLOCK?"), QByteArray("ERROR"));
}

void tst_SimModel::noiseStaysSmall()
{
    auto m = SimModule::fromPreset(QStringLiteral("KA2F"));
    ask(*m, ":VOLT 1000,(@0);:VOLT ON,(@0)");
    m->advance(10000);
    for (int i = 0; i < 20; ++i) {
        const double v = ask(*m, ":MEAS:VOLT? (@0)").chopped(1).toDouble();
        QVERIFY(qAbs(v - 1000.0) < 1.0);
        m->advance(500);
    }
    const double t = ask(*m, ":READ:MOD:TEMP?").chopped(1).toDouble();
    QVERIFY(t > 30.0 && t < 34.0);
}

QTEST_GUILESS_MAIN(tst_SimModel)
#include "tst_simmodel.moc"
