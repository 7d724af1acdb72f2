#include "enginedriver.h"

#include <QTest>

#include <functional>

using Builder = std::function<void(SCPI_Parser &)>;
Q_DECLARE_METATYPE(Builder)

class tst_SetCommands : public QObject
{
    Q_OBJECT

private slots:
    void line_data()
    {
        // The firmware name also serves as device name, so the filament rows get their outputs.
        QTest::addColumn<QString>("firmware");
        QTest::addColumn<int>("channels");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<int>("code");
        QTest::addColumn<Builder>("build");
        auto row = [](const char *name, const char *firmware, int channels, const char *line,
                       int code, Builder build) {
            QTest::newRow(name) << firmware << channels << line << code << build;
        };
        const char *ka = "KA2F";
        const char *tx = "TX01B0";
        const char *tq = "TQ88812p0000";

        row("voltage one channel", ka, 4, ":VOLT 1000,(@2);:READ:VOLT? (@0-3)\r\n", 81,
            [](SCPI_Parser &p) { p.setVoltage(1000, 2); });
        row("voltage exponent all channels", ka, 4,
            ":VOLT 1.23457e+06,(@0-3);:READ:VOLT? (@0-3)\r\n", 81,
            [](SCPI_Parser &p) { p.setVoltage(1234567, 4); });
        row("voltage tie rounds like C", ka, 4, ":VOLT 123456,(@0);:READ:VOLT? (@0-3)\r\n", 81,
            [](SCPI_Parser &p) { p.setVoltage(123456.5f, 0); });
        row("voltage tie above like C", ka, 4, ":VOLT -7.99952e+06,(@1);:READ:VOLT? (@0-3)\r\n", 81,
            [](SCPI_Parser &p) { p.setVoltage(-7999525, 1); });
        // Regression: the sign of -0 was lost.
        row("voltage negative zero", ka, 4, ":VOLT -0,(@0);:READ:VOLT? (@0-3)\r\n", 81,
            [](SCPI_Parser &p) { p.setVoltage(-0.0f, 0); });
        row("voltage channel out of range", ka, 4, ":VOLT 5;:READ:VOLT? (@0-3)\r\n", 81,
            [](SCPI_Parser &p) { p.setVoltage(5, 9); });
        row("current one-channel module", tx, 1, ":CURR 0.0005;:READ:CURR?\r\n", 90,
            [](SCPI_Parser &p) { p.setCurrent(0.0005f, 0); });
        row("voltage small exponent", ka, 4, ":VOLT 1.234e-05,(@0);:READ:VOLT? (@0-3)\r\n", 81,
            [](SCPI_Parser &p) { p.setVoltage(0.00001234f, 0); });
        row("current DRS module", "DRSB", 1, ":CURR 0.0005,(@0);:READ:CURR? (@0-0)\r\n", 90,
            [](SCPI_Parser &p) { p.setCurrent(0.0005f, 0); });
        row("voltage DRS all channels", "DRSB", 1, ":VOLT 3000,(@0-0);:READ:VOLT? (@0-0)\r\n", 81,
            [](SCPI_Parser &p) { p.setVoltage(3000, 1); });
        row("channel on DRS", "DRSB", 1, ":VOLT ON,(@0);:READ:CHAN:CONT? (@0-0)\r\n", 122,
            [](SCPI_Parser &p) { p.setChannelOn(true, 0); });
        row("voltage bounds", ka, 4, ":VOLT:BOU 10,(@0);:READ:VOLT:BOU? (@0-3)\r\n", 84,
            [](SCPI_Parser &p) { p.setVoltageBounds(10, 0); });
        row("current bounds", tx, 1, ":CURR:BOU 1e-06;:READ:CURR:BOU?\r\n", 93,
            [](SCPI_Parser &p) { p.setCurrentBounds(1e-6f, 0); });
        row("channel event mask", ka, 4,
            ":CONF:CHAN:EV:MASK 65535,(@0-3);:READ:CHAN:EV:MASK? (@0-3)\r\n", 126,
            [](SCPI_Parser &p) { p.setChannelEventMask(65535, 4); });
        row("channel on", ka, 4, ":VOLT ON,(@1);:READ:CHAN:CONT? (@0-3)\r\n", 122,
            [](SCPI_Parser &p) { p.setChannelOn(true, 1); });
        row("channel off one-channel", tx, 1, ":VOLT OFF;:READ:CHAN:CONT?\r\n", 122,
            [](SCPI_Parser &p) { p.setChannelOn(false, 0); });
        row("emergency off", ka, 4, ":VOLT EMCY OFF,(@0-3);:READ:CHAN:CONT? (@0-3)\r\n", 122,
            [](SCPI_Parser &p) { p.setChannelEmergencyOff(true, 4); });
        row("emergency clear", ka, 4, ":VOLT EMCY CLR,(@2);:READ:CHAN:CONT? (@0-3)\r\n", 122,
            [](SCPI_Parser &p) { p.setChannelEmergencyOff(false, 2); });
        row("control on and emergency", ka, 4,
            ":VOLT ON,(@1);:VOLT EMCY OFF,(@1);:READ:CHAN:CONT? (@0-3)\r\n", 122,
            [](SCPI_Parser &p) { p.setChannelControl(0x0028, 1); });
        row("control zero", ka, 4, ":VOLT OFF,(@1);:VOLT EMCY CLR,(@1);:READ:CHAN:CONT? (@0-3)\r\n",
            122, [](SCPI_Parser &p) { p.setChannelControl(0, 1); });
        row("clear channel events", ka, 4, ":EVENT CLEAR,(@0-3);:READ:CHAN:EV:STAT? (@0-3)\r\n",
            125, [](SCPI_Parser &p) { p.clearChannelEvents(4); });
        row("voltage ramp", ka, 4, ":CONF:RAMP:VOLT 5;:READ:RAMP:VOLT?;CURR?\r\n", 96,
            [](SCPI_Parser &p) { p.setVoltageRamp(5); });
        row("current ramp", ka, 4, ":CONF:RAMP:CURR 0.0001;:READ:RAMP:VOLT?;CURR?\r\n", 96,
            [](SCPI_Parser &p) { p.setCurrentRamp(0.0001f); });
        row("clear module events", ka, 4, ":CONF:EV CLEAR;:READ:MOD:EV:STAT?\r\n", 104,
            [](SCPI_Parser &p) { p.clearModuleEvents(); });
        row("clear status", ka, 4, "*CLS;:READ:MOD:EV:STAT?\r\n", 104,
            [](SCPI_Parser &p) { p.clearStatus(); });
        row("module control all bits", ka, 4,
            ":CONF:ADJ ENABLE;KILL ENABLE;*CLS;:READ:MOD:CONT?\r\n", 212,
            [](SCPI_Parser &p) { p.setModuleControl(0x5040); });
        row("module control other bits only", ka, 4,
            ":CONF:ADJ DISABLE;KILL DISABLE;:READ:MOD:CONT?\r\n", 212,
            [](SCPI_Parser &p) { p.setModuleControl(0xA0BF); });
        row("module event mask", ka, 4, ":CONF:EV:MASK 32769;:READ:MOD:EV:MASK?\r\n", 105,
            [](SCPI_Parser &p) { p.setModuleEventMask(0x8001); });
        row("average", ka, 4, ":CONF:AVER 256;:CONF:AVER?\r\n", 200,
            [](SCPI_Parser &p) { p.setAverage(256); });
        row("interface mode", "TX01B1", 1, ":CONF:INTER:MODE 1;MODE?\r\n", 204,
            [](SCPI_Parser &p) { p.setInterfaceMode(1); });
        row("save configuration", ka, 4, ":SYS:USER:CONFIG SAVE;*OPC?\r\n", 179,
            [](SCPI_Parser &p) { p.saveConfiguration(); });
        row("module output", tq, 1, ":CONF:OUTP 2,(@1);OUTP? (@0-2)\r\n", 245,
            [](SCPI_Parser &p) { p.setModuleOutput(Module::FilamentOutput, 2); });
        row("emission parameters", tq, 1,
            ":CONF:FILA:EMI:P 0.5;I 0.01;D 0;P?;I?;D?;:CONF:FILA:CURR:MIN 1.5;MAX "
            "2.25;MIN?;MAX?\r\n",
            247, [](SCPI_Parser &p) { p.setModuleEmissionParameter(0.5f, 0.01f, 0, 1.5f, 2.25f); });
    }

    void line()
    {
        QFETCH(QString, firmware);
        QFETCH(int, channels);
        QFETCH(Builder, build);

        FakeLink link;
        EngineDriver::start(link, firmware.toLatin1(), firmware.toLatin1(), "2.05", channels);
        build(link);
        QCOMPARE(link.queuedCommandCount(), 1);

        // The line leaves with the next answer, under its own code.
        EngineDriver::answer(link);
        QTEST(link.lastSent(), "expected");
        QTEST(int(link.lastCode()), "code");
    }

    void immediateUpdates()
    {
        FakeLink link;
        Module &m = link.module();
        m.setFirmwareName("KA2F");
        m.setChannelCount(4);

        // Only the on or emergency bit changes at once; the read-back brings the rest.
        m.channel(1).setControl(0x0120);
        link.setChannelOn(true, 1);
        QCOMPARE(m.channel(1).control(), quint16(0x0128));
        link.setChannelEmergencyOff(false, 1);
        QCOMPARE(m.channel(1).control(), quint16(0x0108));
        link.setChannelOn(false, 1);
        link.setChannelEmergencyOff(true, 1);
        QCOMPARE(m.channel(1).control(), quint16(0x0120));
        m.channel(2).setControl(0x0008);
        link.setChannelOn(false, 4); // all channels: the read-back brings the words
        QCOMPARE(m.channel(2).control(), quint16(0x0008));
        link.setChannelControl(0x0028, 3);
        QCOMPARE(m.channel(3).control(), quint16(0x0028));

        m.channel(0).setEventStatus(16);
        link.clearChannelEvents(0);
        QCOMPARE(m.channel(0).eventStatus(), quint16(0));
        m.setEventStatus(5);
        link.clearModuleEvents();
        QCOMPARE(m.eventStatus(), quint16(0));
    }

    void outputNeedsInputOutput()
    {
        FakeLink link;
        link.module().setChannelCount(1);
        link.module().setDeviceName("TQ88812");
        link.setModuleOutput(Module::FilamentOutput, 2);
        QCOMPARE(link.queuedCommandCount(), 0);
        link.module().setDeviceName("TQ88812p0010");
        link.setModuleOutput(static_cast<Module::Output>(3), 2);
        QCOMPARE(link.queuedCommandCount(), 0);
        link.setModuleOutput(Module::DigitalOutput, 5);
        QCOMPARE(link.queuedCommandCount(), 1);
    }
};

QTEST_GUILESS_MAIN(tst_SetCommands)
#include "tst_setcommands.moc"
