#include "model/simmodule.h"

#include <QtTest>

using namespace vornsim;

class tst_SimModel : public QObject
{
    Q_OBJECT

private slots:
    void setAndReadBack_data();
    void setAndReadBack();
    void rampsAtRampSpeed();
    void absoluteRampSpeed();
    void channelControlBits();
    void loadAndRegulation();
    void tripLatchesUntilCleared();
    void eventMasksDriveEventActive();
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
    const auto row
        = [](const char *name, const char *preset, const char *line, const char *answer) {
              QTest::newRow(name) << QString::fromLatin1(preset) << QByteArray(line)
                                  << QByteArray(answer);
          };
    // Plain voltage, current and percent-ramp settings are proved end to end with the engine.
    row("value with unit", "KA2F", ":VOLT 1.5E3V,(@0);:READ:VOLT? (@0)", "1.50000E3V");
    row("no list means every channel", "KA2F", ":VOLT 5;:READ:VOLT?",
        "5.00000E0V,5.00000E0V,5.00000E0V,5.00000E0V");
    row("voltage bounds", "KA2F", ":VOLT:BOU 10,(@0);:READ:VOLT:BOU? (@0)", "1.00000E1V");
    row("current bounds", "DRSB", ":CURR:BOU 1e-5,(@0);:READ:CURR:BOU? (@0-0)", "1.00000E-5A");
    row("absolute ramp", "TX01B1", ":CONF:RAMP:CURR 2e-5;:READ:RAMP:VOLT?;CURR?",
        "3.000E+01V/s;2.000E-05A/s");
    row("interface mode", "TX01B1", ":CONF:INTER:MODE 1;MODE?", "1");
    row("module control", "KA2F", ":CONF:ADJ ENABLE;KILL ENABLE;*CLS;:READ:MOD:CONT?", "20480");
    row("module control off", "KA2F", ":CONF:ADJ ENABLE;ADJ DISABLE;KILL DISABLE;:READ:MOD:CONT?",
        "0");
    row("negative module, list accepted", "TX01B0", ":VOLT -1000;:READ:VOLT? (@0)", "-1.00000E3V");
    row("bipolar module", "DRSB", ":VOLT -1000,(@0);:READ:VOLT? (@0-0)", "-1.00000E3V");
    // Outputs are addressed like channels; the digital one takes 0 to 7, the others 0 to 3.
    row("outputs", "TQ88812p0000", ":CONF:OUTP 2,(@1);OUTP 5,(@2);OUTP? (@0-2)", "0,2,5");
    row("emission", "TQ88812p0000",
        ":CONF:FILA:EMI:P 0.5;I 0.25;D 0;P?;I?;D?;:CONF:FILA:CURR:MIN 0.1;MAX 2;MIN?;MAX?",
        "5.00000E-1;2.50000E-1;0.00000E0;1.00000E-1A;2.00000E0A");
}

void tst_SimModel::setAndReadBack()
{
    QFETCH(QString, preset);
    QFETCH(QByteArray, line);
    QFETCH(QByteArray, answer);
    auto m = SimModule::fromPreset(preset);
    QCOMPARE(ask(*m, line), answer);
}

void tst_SimModel::rampsAtRampSpeed()
{
    using namespace channelbit;
    const auto bits = [](SimModule &m, quint16 mask) { return m.channel(0).status & mask; };
    // KA2F: 5 %/s of 6000 V is 300 V/s.
    auto m = quiet("KA2F");
    ask(*m, ":VOLT 600,(@0);:VOLT ON,(@0)");
    QCOMPARE(bits(*m, On | Ramp | ConstantVoltage), On | Ramp);
    QVERIFY(!(m->status() & modulebit::NoRamp));
    m->advance(1000);
    QCOMPARE(ask(*m, ":MEAS:VOLT? (@0)"), QByteArray("3.00000E2V"));
    QCOMPARE(m->channel(0).eventStatus & Ramp, 0);
    m->advance(1000);
    QCOMPARE(ask(*m, ":MEAS:VOLT? (@0)"), QByteArray("6.00000E2V"));
    QCOMPARE(bits(*m, On | Ramp | ConstantVoltage), On | ConstantVoltage);
    QCOMPARE(
        m->status() & (modulebit::NoRamp | modulebit::HvOn), modulebit::NoRamp | modulebit::HvOn);
    // End of ramp and constant voltage latched.
    QCOMPARE(ask(*m, ":READ:CHAN:EV:STAT? (@0)").toInt(), int(Ramp | ConstantVoltage));
    ask(*m, ":EVENT CLEAR,(@0);:VOLT OFF,(@0)");
    m->advance(1000);
    QCOMPARE(m->voltageMeasure(0), 300.0);
    m->advance(5000);
    QCOMPARE(m->voltageMeasure(0), 0.0);
    QCOMPARE(m->channel(0).eventStatus & (On | Ramp), On | Ramp); // on-to-off, end of ramp
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
    using namespace channelbit;
    auto m = quiet("KA2F");
    QCOMPARE(ask(*m, ":VOLT ON,(@1);:VOLT EMCY OFF,(@1);:READ:CHAN:CONT? (@0-3)"),
        QByteArray("0,40,0,0"));
    QCOMPARE(m->channel(1).status & (Emergency | On), Emergency);
    QVERIFY(m->channel(1).eventStatus & Emergency);
    QCOMPARE(ask(*m, ":VOLT OFF,(@1);:VOLT EMCY CLR,(@1);:READ:CHAN:CONT? (@0-3)"),
        QByteArray("0,0,0,0"));
}

void tst_SimModel::loadAndRegulation()
{
    using namespace channelbit;
    auto m = quiet("KA2F");
    ask(*m, ":VOLT 1000,(@0);:CURR 0.002,(@0);:VOLT ON,(@0)");
    m->advance(10000);
    m->setLoadCurrent(0, 0.001);
    QCOMPARE(ask(*m, ":MEAS:CURR? (@0)"), QByteArray("1.00000E-3A"));
    QVERIFY(m->channel(0).status & ConstantVoltage);
    // More load than the current set: constant-current regulation, the voltage falls.
    m->setLoadCurrent(0, 0.004);
    QCOMPARE(m->channel(0).status & (ConstantCurrent | ConstantVoltage), ConstantCurrent);
    QCOMPARE(ask(*m, ":MEAS:CURR? (@0);:MEAS:VOLT? (@0)"), QByteArray("2.00000E-3A;5.00000E2V"));
    QVERIFY(m->channel(0).eventStatus & ConstantCurrent);
    // With kill enabled the same load trips the channel.
    ask(*m, ":CONF:KILL ENABLE");
    m->advance(10);
    QVERIFY(m->channel(0).status & Trip);
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

void tst_SimModel::eventMasksDriveEventActive()
{
    using namespace modulebit;
    auto m = quiet("KA2F");
    m->raiseChannelEvent(3, channelbit::Arc);
    QVERIFY(!(m->status() & EventActive));
    ask(*m, ":CONF:CHAN:EV:MASK 2,(@3)");
    QVERIFY(m->status() & EventActive);
    ask(*m, "*CLS");
    QCOMPARE(m->channel(3).eventStatus, quint16(0));
    QVERIFY(!(m->status() & EventActive));
    // Module events latch on falling "good" bits and count once the module mask has them.
    QCOMPARE(m->status() & (TemperatureGood | ModuleGood), TemperatureGood | ModuleGood);
    m->setTemperature(70.0);
    QCOMPARE(m->status() & (TemperatureGood | ModuleGood | EventActive), 0);
    QCOMPARE(ask(*m, ":READ:MOD:EV:STAT?").toInt(), 1 << 14);
    ask(*m, ":CONF:EV:MASK 16384");
    QVERIFY(m->status() & EventActive);
    m->setTemperature(31.96);
    QCOMPARE(ask(*m, ":READ:MOD:TEMP?"), QByteArray("32.0C"));
    ask(*m, ":CONF:EV CLEAR");
    QCOMPARE(m->eventStatus(), quint16(0));
    m->setSupply(SimModule::P24, 18.0);
    QCOMPARE(m->eventStatus(), quint16(1u << 13));
}

void tst_SimModel::noiseStaysSmall()
{
    auto m = SimModule::fromPreset(QStringLiteral("KA2F"));
    ask(*m, ":VOLT 1000,(@0);:VOLT ON,(@0)");
    for (int i = 0; i < 20; ++i) {
        m->advance(i == 0 ? 10000 : 500);
        QVERIFY(qAbs(ask(*m, ":MEAS:VOLT? (@0)").chopped(1).toDouble() - 1000.0) < 1.0);
    }
    const double t = ask(*m, ":READ:MOD:TEMP?").chopped(1).toDouble();
    QVERIFY(t > 30.0 && t < 34.0);
}

QTEST_GUILESS_MAIN(tst_SimModel)
#include "tst_simmodel.moc"
