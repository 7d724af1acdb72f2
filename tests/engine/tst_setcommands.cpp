#include "enginedriver.h"

#include <QTest>

#include <functional>

using Builder = std::function<void(SCPI_Parser &)>;
Q_DECLARE_METATYPE(Builder)

namespace {

void configure(FakeLink &link, const QString &device, const QString &firmware, int channels)
{
    link.module().setDeviceName(device);
    link.module().setFirmwareName(firmware);
    link.module().setChannelCount(channels);
}

} // namespace

class tst_SetCommands : public QObject
{
    Q_OBJECT

private slots:
    void line_data();
    void line();
    void immediateUpdates();
    void outputNeedsInputOutput();
    void queuedLinesLeaveInCallOrder();
};

void tst_SetCommands::line_data()
{
    QTest::addColumn<QString>("device");
    QTest::addColumn<QString>("firmware");
    QTest::addColumn<int>("channels");
    QTest::addColumn<Builder>("build");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("code");

    const QString ka = "KA2F";
    auto row = [&](const char *name, const QString &firmware, int channels, Builder b,
                   const QString &line, int code) {
        QTest::newRow(name) << QStringLiteral("HV") << firmware << channels << b << line << code;
    };
    row(
        "voltage one channel", ka, 4, [](SCPI_Parser &p) { p.setVoltage(1000, 2); },
        ":VOLT 1000,(@2);:READ:VOLT? (@0-3)\r\n", 81);
    row(
        "voltage exponent all channels", ka, 4, [](SCPI_Parser &p) { p.setVoltage(1234567, 4); },
        ":VOLT 1.23457e+06,(@0-3);:READ:VOLT? (@0-3)\r\n", 81);
    row(
        "voltage small exponent", ka, 4, [](SCPI_Parser &p) { p.setVoltage(0.00001234f, 0); },
        ":VOLT 1.234e-05,(@0);:READ:VOLT? (@0-3)\r\n", 81);
    row(
        "voltage fraction", ka, 4, [](SCPI_Parser &p) { p.setVoltage(12.5f, 1); },
        ":VOLT 12.5,(@1);:READ:VOLT? (@0-3)\r\n", 81);
    row(
        "voltage negative", ka, 4, [](SCPI_Parser &p) { p.setVoltage(-250.75f, 3); },
        ":VOLT -250.75,(@3);:READ:VOLT? (@0-3)\r\n", 81);
    // Regression: a tie at the sixth digit was rounded away from zero ("123457"), unlike C.
    row(
        "voltage tie rounds like C", ka, 4, [](SCPI_Parser &p) { p.setVoltage(123456.5f, 0); },
        ":VOLT 123456,(@0);:READ:VOLT? (@0-3)\r\n", 81);
    row(
        "voltage tie above like C", ka, 4, [](SCPI_Parser &p) { p.setVoltage(-7999525, 1); },
        ":VOLT -7.99952e+06,(@1);:READ:VOLT? (@0-3)\r\n", 81);
    // Regression: the sign of -0 was lost.
    row(
        "voltage negative zero", ka, 4, [](SCPI_Parser &p) { p.setVoltage(-0.0f, 0); },
        ":VOLT -0,(@0);:READ:VOLT? (@0-3)\r\n", 81);
    row(
        "voltage channel out of range", ka, 4, [](SCPI_Parser &p) { p.setVoltage(5, 9); },
        ":VOLT 5;:READ:VOLT? (@0-3)\r\n", 81);
    row(
        "current one-channel module", "TX01B0", 1, [](SCPI_Parser &p) { p.setCurrent(0.0005f, 0); },
        ":CURR 0.0005;:READ:CURR?\r\n", 90);
    row(
        "current DRS module", "DRSB", 1, [](SCPI_Parser &p) { p.setCurrent(0.0005f, 0); },
        ":CURR 0.0005,(@0);:READ:CURR? (@0-0)\r\n", 90);
    row(
        "voltage DRS all", "DRSB", 1, [](SCPI_Parser &p) { p.setVoltage(3000, 1); },
        ":VOLT 3000,(@0-0);:READ:VOLT? (@0-0)\r\n", 81);
    row(
        "voltage bounds", ka, 4, [](SCPI_Parser &p) { p.setVoltageBounds(10, 0); },
        ":VOLT:BOU 10,(@0);:READ:VOLT:BOU? (@0-3)\r\n", 84);
    row(
        "current bounds", "TX01B0", 1, [](SCPI_Parser &p) { p.setCurrentBounds(1e-6f, 0); },
        ":CURR:BOU 1e-06;:READ:CURR:BOU?\r\n", 93);
    row(
        "channel event mask", ka, 4, [](SCPI_Parser &p) { p.setChannelEventMask(65535, 4); },
        ":CONF:CHAN:EV:MASK 65535,(@0-3);:READ:CHAN:EV:MASK? (@0-3)\r\n", 126);
    row(
        "channel on", ka, 4, [](SCPI_Parser &p) { p.setChannelOn(true, 1); },
        ":VOLT ON,(@1);:READ:CHAN:CONT? (@0-3)\r\n", 122);
    row(
        "channel off one-channel", "TX01B0", 1, [](SCPI_Parser &p) { p.setChannelOn(false, 0); },
        ":VOLT OFF;:READ:CHAN:CONT?\r\n", 122);
    row(
        "emergency off", ka, 4, [](SCPI_Parser &p) { p.setChannelEmergencyOff(true, 4); },
        ":VOLT EMCY OFF,(@0-3);:READ:CHAN:CONT? (@0-3)\r\n", 122);
    row(
        "emergency clear", ka, 4, [](SCPI_Parser &p) { p.setChannelEmergencyOff(false, 2); },
        ":VOLT EMCY CLR,(@2);:READ:CHAN:CONT? (@0-3)\r\n", 122);
    row(
        "control on and emergency", ka, 4, [](SCPI_Parser &p) { p.setChannelControl(0x0028, 1); },
        ":VOLT ON,(@1);:VOLT EMCY OFF,(@1);:READ:CHAN:CONT? (@0-3)\r\n", 122);
    row(
        "control zero", ka, 4, [](SCPI_Parser &p) { p.setChannelControl(0, 1); },
        ":VOLT OFF,(@1);:VOLT EMCY CLR,(@1);:READ:CHAN:CONT? (@0-3)\r\n", 122);
    row(
        "clear channel events", ka, 4, [](SCPI_Parser &p) { p.clearChannelEvents(4); },
        ":EVENT CLEAR,(@0-3);:READ:CHAN:EV:STAT? (@0-3)\r\n", 125);
    row(
        "clear events one-channel", "TX01B0", 1, [](SCPI_Parser &p) { p.clearChannelEvents(0); },
        ":EVENT CLEAR;:READ:CHAN:EV:STAT?\r\n", 125);
    row(
        "voltage ramp", ka, 4, [](SCPI_Parser &p) { p.setVoltageRamp(5); },
        ":CONF:RAMP:VOLT 5;:READ:RAMP:VOLT?;CURR?\r\n", 96);
    row(
        "current ramp", ka, 4, [](SCPI_Parser &p) { p.setCurrentRamp(0.0001f); },
        ":CONF:RAMP:CURR 0.0001;:READ:RAMP:VOLT?;CURR?\r\n", 96);
    row(
        "clear module events", ka, 4, [](SCPI_Parser &p) { p.clearModuleEvents(); },
        ":CONF:EV CLEAR;:READ:MOD:EV:STAT?\r\n", 104);
    row(
        "clear status", ka, 4, [](SCPI_Parser &p) { p.clearStatus(); },
        "*CLS;:READ:MOD:EV:STAT?\r\n", 104);
    row(
        "module control all bits", ka, 4, [](SCPI_Parser &p) { p.setModuleControl(0x5040); },
        ":CONF:ADJ ENABLE;KILL ENABLE;*CLS;:READ:MOD:CONT?\r\n", 212);
    row(
        "module control zero", ka, 4, [](SCPI_Parser &p) { p.setModuleControl(0); },
        ":CONF:ADJ DISABLE;KILL DISABLE;:READ:MOD:CONT?\r\n", 212);
    row(
        "module control other bits only", ka, 4, [](SCPI_Parser &p) { p.setModuleControl(0xA0BF); },
        ":CONF:ADJ DISABLE;KILL DISABLE;:READ:MOD:CONT?\r\n", 212);
    row(
        "module event mask", ka, 4, [](SCPI_Parser &p) { p.setModuleEventMask(0x8001); },
        ":CONF:EV:MASK 32769;:READ:MOD:EV:MASK?\r\n", 105);
    row(
        "average", ka, 4, [](SCPI_Parser &p) { p.setAverage(256); },
        ":CONF:AVER 256;:CONF:AVER?\r\n", 200);
    row(
        "interface mode", "TX01B1", 1, [](SCPI_Parser &p) { p.setInterfaceMode(1); },
        ":CONF:INTER:MODE 1;MODE?\r\n", 204);
    row(
        "save configuration", ka, 4, [](SCPI_Parser &p) { p.saveConfiguration(); },
        ":SYS:USER:CONFIG SAVE;*OPC?\r\n", 179);
    QTest::newRow("module output")
        << "TQ88812p0000"
        << "F" << 1 << Builder([](SCPI_Parser &p) { p.setModuleOutput(Module::FilamentOutput, 2); })
        << ":CONF:OUTP 2,(@1);OUTP? (@0-2)\r\n"
        << 245;
    QTest::newRow("emission parameters")
        << "TQ88812p0000"
        << "F" << 1 << Builder([](SCPI_Parser &p) {
               p.setModuleEmissionParameter(0.5f, 0.01f, 0, 1.5f, 2.25f);
           })
        << ":CONF:FILA:EMI:P 0.5;I 0.01;D 0;P?;I?;D?;:CONF:FILA:CURR:MIN 1.5;MAX 2.25;MIN?;MAX?\r\n"
        << 247;
}

void tst_SetCommands::line()
{
    QFETCH(QString, device);
    QFETCH(QString, firmware);
    QFETCH(int, channels);
    QFETCH(Builder, build);
    QFETCH(int, code);

    FakeLink link;
    EngineDriver::start(link, device.toLatin1(), firmware.toLatin1(), "2.05", channels);
    configure(link, device, firmware, channels);
    build(link);
    QCOMPARE(link.queuedCommandCount(), 1);

    // The line leaves with the next answer, under its own code.
    EngineDriver::answer(link);
    QTEST(link.lastSent(), "expected");
    QCOMPARE(int(link.lastCode()), code);
}

void tst_SetCommands::immediateUpdates()
{
    FakeLink link;
    configure(link, "HV", "KA2F", 4);
    Module &m = link.module();

    m.channel(1).setControl(0x0020);
    link.setChannelOn(true, 1);
    QCOMPARE(m.channel(1).control(), quint16(0x0028));
    link.setChannelEmergencyOff(false, 1);
    QCOMPARE(m.channel(1).control(), quint16(0x0008));
    m.channel(2).setControl(0x0008);
    link.setChannelOn(false, 4); // all channels: the read-back brings the words
    QCOMPARE(m.channel(2).control(), quint16(0x0008));
    link.setChannelControl(0x0028, 3);
    QCOMPARE(m.channel(3).control(), quint16(0x0028));

    m.channel(0).setEventStatus(16);
    link.clearChannelEvents(0);
    QCOMPARE(m.channel(0).eventStatus(), quint16(0));

    link.setVoltageRamp(12);
    link.setCurrentRamp(3);
    QCOMPARE(m.voltageRamp(), 12.0f);
    QCOMPARE(m.currentRamp(), 3.0f);
    m.setEventStatus(5);
    link.clearModuleEvents();
    QCOMPARE(m.eventStatus(), quint16(0));
    link.setModuleControl(0x1040);
    QCOMPARE(m.control(), quint16(0x1040));
    link.setModuleEventMask(0x0101);
    QCOMPARE(m.eventMask(), quint32(0x0101));
    link.setAverage(16);
    QCOMPARE(m.average(), 16);
}

void tst_SetCommands::outputNeedsInputOutput()
{
    FakeLink link;
    configure(link, "TQ88812", "F", 1);
    link.setModuleOutput(Module::FilamentOutput, 2);
    QCOMPARE(link.queuedCommandCount(), 0);
    configure(link, "TQ88812p0010", "F", 1);
    link.setModuleOutput(static_cast<Module::Output>(3), 2);
    QCOMPARE(link.queuedCommandCount(), 0);
    link.setModuleOutput(Module::DigitalOutput, 5);
    QCOMPARE(link.queuedCommandCount(), 1);
}

void tst_SetCommands::queuedLinesLeaveInCallOrder()
{
    FakeLink link;
    EngineDriver::start(link, "KA2F", "KA2F", "2.05", 4);
    link.setVoltage(1, 0);
    link.setCurrent(2, 1);
    EngineDriver::answer(link);
    QCOMPARE(link.lastSent(), QStringLiteral(":VOLT 1,(@0);:READ:VOLT? (@0-3)\r\n"));
    EngineDriver::answer(link);
    QCOMPARE(link.lastSent(), QStringLiteral(":CURR 2,(@1);:READ:CURR? (@0-3)\r\n"));
}

QTEST_GUILESS_MAIN(tst_SetCommands)
#include "tst_setcommands.moc"
