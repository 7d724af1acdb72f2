#include "enginedriver.h"

#include <QMetaMethod>
#include <QSignalSpy>
#include <QTest>

using Line = QPair<quint16, QString>;
using Sent = QList<Line>;

class tst_RequestCycle : public QObject
{
    Q_OBJECT

private slots:
    void channelList_data()
    {
        QTest::addColumn<QString>("firmware");
        QTest::addColumn<int>("channels");
        QTest::addColumn<int>("channel");
        QTest::addColumn<bool>("comma");
        QTest::addColumn<QString>("expected");
        QTest::newRow("4ch all blank") << "KA2F" << 4 << 4 << false << " (@0-3)";
        QTest::newRow("4ch one comma") << "KA2F" << 4 << 2 << true << ",(@2)";
        QTest::newRow("4ch first blank") << "KA2F" << 4 << 0 << false << " (@0)";
        QTest::newRow("4ch out of range") << "KA2F" << 4 << 7 << true << "";
        QTest::newRow("4ch negative") << "KA2F" << 4 << -1 << true << "";
        QTest::newRow("1ch TX01B0 all") << "TX01B0" << 1 << 1 << false << "";
        QTest::newRow("1ch TX01B0 single") << "TX01B0" << 1 << 0 << true << "";
        QTest::newRow("1ch DRSB all") << "DRSB" << 1 << 1 << false << " (@0-0)";
        QTest::newRow("1ch DRSB single") << "DRSB" << 1 << 0 << true << ",(@0)";
    }
    void channelList()
    {
        QFETCH(QString, firmware);
        QFETCH(int, channels);
        QFETCH(int, channel);
        QFETCH(bool, comma);
        FakeLink link;
        link.module().setFirmwareName(firmware);
        link.module().setChannelCount(channels);
        QTEST(link.channelList(channel, comma), "expected");
    }

    void sequence_data()
    {
        QTest::addColumn<QByteArray>("device");
        QTest::addColumn<QByteArray>("firmware");
        QTest::addColumn<QByteArray>("release");
        QTest::addColumn<int>("channels");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<bool>("interfaceMode");
        auto add = [](const char *device, const char *firmware, const char *release, int channels,
                       const QStringList &expected, bool interfaceMode = false) {
            QTest::addRow("%s %s", device, release)
                << QByteArray(device) << QByteArray(firmware) << QByteArray(release) << channels
                << expected << interfaceMode;
        };
        // Every request from the firmware query on, as "<code> <text>" without the CR LF.
        auto configuration = [](const QString &list) {
            return QStringList { "99 :READ:FIRM:NAME?;REL?", "84 :READ:VOLT:BOU?" + list,
                "83 :READ:VOLT:NOM?" + list, "93 :READ:CURR:BOU?" + list,
                "92 :READ:CURR:NOM?" + list, "96 :READ:RAMP:VOLT?;CURR?",
                "126 :READ:CHAN:EV:MASK?" + list, "122 :READ:CHAN:CONT?" + list,
                "200 :CONF:AVER?" };
        };
        auto cycle = [](const QString &list) {
            return QStringList { "81 :READ:VOLT?" + list, "90 :READ:CURR?" + list,
                "141 :MEAS:VOLT?" + list, "142 :MEAS:CURR?" + list, "123 :READ:CHAN:STAT?" + list,
                "125 :READ:CHAN:EV:STAT?" + list, "101 :READ:MOD:CONT?;STAT?;EV:STAT?;MASK?",
                "108 :READ:MOD:TEMP?;SUP:P24V?;P5V?;P12V?;N12V?" };
        };
        const QString limits = " :READ:VOLT:LIM?;:READ:CURR:LIM?";

        QString l = " (@0-3)";
        add("KA2F", "KA2F", "2.05", 4,
            configuration(l) + QStringList { "83 :READ:VOLT:NOM?" + l } + cycle(l)
                + QStringList { "81 :READ:VOLT?" + l });
        add("TX01B0", "TX01B0", "5.12", 1,
            configuration("") + QStringList { "83 :READ:VOLT:NOM?" } + cycle("")
                + QStringList { "134" + limits, "81 :READ:VOLT?" });
        // DRS modules read the EPU flags last; from 4.08 on they have percent limits.
        l = " (@0-0)";
        QStringList drs = configuration(l);
        drs[1] = "84 :CONF:HVDRSB HV_OK;:READ:VOLT:BOU?" + l;
        add("DRSB", "DRSB", "3.99", 1,
            drs + QStringList { "174 :SYS:USER:READ:EPU?" + l } + cycle(l)
                + QStringList { "81 :READ:VOLT?" + l });
        add("DRSB", "DRSB", "4.00", 1,
            drs + QStringList { "174 :SYS:USER:EPU?" + l } + cycle(l)
                + QStringList { "81 :READ:VOLT?" + l });
        add("DRSB", "DRSB", "4.08", 1,
            drs + QStringList { "174 :SYS:USER:EPU?" + l } + cycle(l)
                + QStringList { "133" + limits, "81 :READ:VOLT?" + l });
        l = " (@0-1)";
        add("TX01B1", "TX01B1", "2.25", 2,
            configuration(l) + QStringList { "83 :READ:VOLT:NOM?" + l } + cycle(l)
                + QStringList { "134" + limits, "81 :READ:VOLT?" + l });
        // With interface mode the last step comes one answer later.
        add("TX01B1", "TX01B1", "2.26", 2,
            configuration(l) + QStringList { "204 :CONF:INTER:MODE?", "83 :READ:VOLT:NOM?" + l }
                + cycle(l) + QStringList { "134" + limits, "81 :READ:VOLT?" + l },
            true);
        // A filament supply: the emission query is due at step 10 right after configuring, and
        // outputs are read at steps 7 and 8 because it has no limits.
        const QString emission = "247 :CONF:FILA:EMI:P?;I?;D?;:CONF:FILA:CURR:MIN?;MAX?";
        add("TQ88812p0000", "TQF1", "3.02", 1,
            configuration("") + QStringList { "83 :READ:VOLT:NOM?", emission } + cycle("")
                + QStringList { "245 :CONF:OUTP? (@0-2)", "245 :CONF:OUTP? (@0-2)",
                    "246 :READ:MOD:STATUS:INTERLOCK?", emission, "81 :READ:VOLT?" });
    }
    void sequence()
    {
        QFETCH(QByteArray, device);
        QFETCH(QByteArray, firmware);
        QFETCH(QByteArray, release);
        QFETCH(int, channels);
        QFETCH(QStringList, expected);
        FakeLink link;
        QSignalSpy modeSpy(&link, &SCPI_Parser::interfaceModeSupported);
        QVERIFY(modeSpy.isValid());
        link.connectDevice();
        link.requestIdentity();
        QCOMPARE(link.sent, (Sent { { 132, "*IDN?;:READ:MOD:CHAN?\r\n" } }));
        link.restartFullRead();
        link.feed(EngineDriver::identity(device, release, channels));
        QStringList sent;
        while (sent.size() < expected.size()) {
            QVERIFY(link.lastSent().endsWith("\r\n"));
            sent << QString::number(link.lastCode()) + " " + link.lastSent().chopped(2);
            if (link.lastCode() == SCPI_Parser::ReadFirmware)
                link.feed(firmware + ";" + release + "\r\n");
            else
                EngineDriver::answer(link);
        }
        QCOMPARE(sent, expected);
        QCOMPARE(modeSpy.count(), 1);
        QTEST(modeSpy.at(0).at(0).toBool(), "interfaceMode");
        QCOMPARE(link.lastCode(), quint16(SCPI_Parser::ReadCurrentSet)); // the cycle goes on
    }

    void queuedCommandsResumeConfiguration()
    {
        FakeLink link;
        EngineDriver::start(link, "KA2F", "KA2F", "2.05", 4);
        for (int i = 0; i < 3; ++i)
            EngineDriver::answer(link); // up to step 3 of the cycle
        link.setVoltage(1000, 2);
        link.setCurrent(0.001f, 1);
        QCOMPARE(link.queuedCommandCount(), 2);
        EngineDriver::answer(link);
        QCOMPARE(link.sent.last(), Line(81, ":VOLT 1000,(@2);:READ:VOLT? (@0-3)\r\n"));
        QVERIFY(!link.isFullRead());
        link.feed("1000V,0V,1000V,0V\r\n");
        QCOMPARE(link.lastSent(), QStringLiteral(":CURR 0.001,(@1);:READ:CURR? (@0-3)\r\n"));
        QVERIFY(link.isFullRead());
        QCOMPARE(link.module().channel(2).voltageSet(), 1000.0f);
        // The configuration resumes at the current step: its remaining entries only.
        EngineDriver::answer(link);
        QCOMPARE(link.sent.last(), Line(93, ":READ:CURR:BOU? (@0-3)\r\n"));
    }

    void commandQueuedDuringConfigurationWaits()
    {
        FakeLink link;
        link.connectDevice();
        link.requestIdentity();
        link.restartFullRead();
        link.feed(EngineDriver::identity("KA2F", "2.05", 4));
        link.feed("KA2F;2.05\r\n");
        link.setVoltage(5, 4);
        while (link.isFullRead()) {
            QVERIFY(!link.lastSent().startsWith(":VOLT "));
            EngineDriver::answer(link);
        }
        EngineDriver::answer(link);
        QCOMPARE(link.lastSent(), QStringLiteral(":VOLT 5,(@0-3);:READ:VOLT? (@0-3)\r\n"));
    }

    void promotedCommandOvertakesQueueAndConfiguration()
    {
        FakeLink link;
        EngineDriver::start(link, "KA2F", "KA2F", "2.05", 4);
        link.setVoltage(100, 0);
        link.setChannelOn(false, 1);
        QCOMPARE(link.promoteLastCommand(), 1);
        link.setVoltage(200, 0);
        link.setVoltage(300, 0);
        link.setChannelEmergencyOff(true, 2);
        QCOMPARE(link.promoteLastCommand(), 2); // the off stays ahead
        QCOMPARE(link.promoteLastCommand(), 0);
        link.restartFullRead(); // a changed event status starts the configuration again
        EngineDriver::answer(link);
        QCOMPARE(link.lastSent(), QStringLiteral(":VOLT OFF,(@1);:READ:CHAN:CONT? (@0-3)\r\n"));
        EngineDriver::answer(link);
        QCOMPARE(
            link.lastSent(), QStringLiteral(":VOLT EMCY OFF,(@2);:READ:CHAN:CONT? (@0-3)\r\n"));
        QCOMPARE(link.queuedCommandCount(), 0);
        EngineDriver::answer(link);
        QCOMPARE(link.lastCode(), quint16(SCPI_Parser::ReadFirmware)); // the configuration goes on
    }

    void identity_data()
    {
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<int>("channels"); // below 1: refused; -1: the count is not looked at
        const QByteArray maker = "Vornwerk GmbH,KA2F,4711,2.0;";
        QTest::newRow("other maker") << QByteArray("Other Corp,KA2F,1,2.0;4\r\n") << -1;
        QTest::newRow("maker case differs") << QByteArray("VORNWERK GMBH,KA2F,1,2.0;4\r\n") << -1;
        QTest::newRow("three fields") << QByteArray("Vornwerk GmbH,KA2F,1;4\r\n") << -1;
        QTest::newRow("no channel part") << QByteArray("Vornwerk GmbH,KA2F,1,2.0\r\n") << -1;
        QTest::newRow("garbage") << QByteArray("\x01\xff;;;,,\r\n", 9) << -1;
        QTest::newRow("empty line") << QByteArray("\r\n") << -1;
        QTest::newRow("int min") << maker + "-2147483648\r\n" << 0;
        QTest::newRow("minus five") << maker + "-5\r\n" << 0;
        QTest::newRow("zero") << maker + "0\r\n" << 0;
        QTest::newRow("one") << maker + "1\r\n" << 1;
        QTest::newRow("65") << maker + "65\r\n" << 64;
        QTest::newRow("int max") << maker + "2147483647\r\n" << 64;
    }
    // A refused identity is asked again; a module without channels gets no set command, not
    // even one that would address every channel for want of a channel list.
    void identity()
    {
        QFETCH(QByteArray, answer);
        QFETCH(int, channels);
        FakeLink link;
        QSignalSpy name(&link, &SCPI_Parser::updateDeviceName);
        QSignalSpy serial(&link, &SCPI_Parser::updateSerialNumber);
        QVERIFY(name.isValid() && serial.isValid());
        link.connectDevice();
        link.requestIdentity();
        link.restartFullRead();
        for (int i = 0; i < (channels > 0 ? 1 : 3); ++i) {
            if (channels < 1)
                QTest::ignoreMessage(QtDebugMsg, "identity wrong");
            link.feed(answer);
        }
        QCOMPARE(link.lastCode(), quint16(channels > 0 ? 99 : 132));
        if (channels >= 0) {
            QCOMPARE(link.module().channelCount(), channels);
            const qsizetype sent = link.sent.size();
            link.setVoltage(1, 0);
            link.setVoltage(1, channels);
            QCOMPARE(link.queuedCommandCount(), channels ? 2 : 0);
            QCOMPARE(link.sent.size(), sent);
        }
        if (channels > 0) {
            QCOMPARE(name.at(0).at(0).toString(), QStringLiteral("KA2F"));
            QCOMPARE(serial.at(0).at(0).toInt(), 4711);
            return;
        }
        QCOMPARE(link.sent.size(), 4);
        QCOMPARE(link.currentStep(), 0);
        link.feed(EngineDriver::identity("KA2F", "2.05", 4)); // a right answer later goes on
        QCOMPARE(link.lastCode(), quint16(99));
    }

    void noChannelsDropsQueuedCommands()
    {
        FakeLink link;
        EngineDriver::start(link, "KA2F", "KA2F", "2.05", 4);
        link.setVoltage(100, 0);
        QCOMPARE(link.queuedCommandCount(), 1);
        link.requestIdentity();
        link.feed(EngineDriver::identity("KA2F", "2.05", 0));
        QCOMPARE(link.queuedCommandCount(), 0);
    }

    void stopSendsOneQueuedCommandAndNothingMore()
    {
        FakeLink link;
        EngineDriver::start(link, "KA2F", "KA2F", "2.05", 4);
        QSignalSpy received(&link, &SCPI_Parser::dataReceived);
        QVERIFY(received.isValid());
        for (int i = 0; i < 3; ++i)
            link.setVoltage(100 * (i + 1), i);
        const int before = link.sent.size();
        QTest::ignoreMessage(QtDebugMsg, "stop refresh");
        link.callStopRefresh();
        QCOMPARE(link.sent.size(), before + 1);
        QCOMPARE(link.lastSent(), QStringLiteral(":VOLT 100,(@0);:READ:VOLT? (@0-3)\r\n"));
        QCOMPARE(link.pendingRequest(), quint16(0));
        QVERIFY(link.isStopped());
        // The read-back is counted but not parsed, and nothing follows it.
        link.feed("100V,200V,300V,0V\r\n");
        QCOMPARE(received.count(), 1);
        QCOMPARE(link.sent.size(), before + 1);
        QCOMPARE(link.module().channel(0).voltageSet(), 0.0f);
    }

    void moduleSignalsOnlyOnChange()
    {
        // The filament dialogs rewrite their controls on these signals, so a value polled
        // again unchanged must not emit.
        Module module(1);
        QSignalSpy interlock(&module, &Module::interlockChanged);
        QSignalSpy output(&module, &Module::outputChanged);
        QSignalSpy maximum(&module, &Module::filamentMaximumChanged);
        QVERIFY(interlock.isValid() && output.isValid() && maximum.isValid());
        float seen = 0;
        connect(&module, &Module::filamentMaximumChanged, &module,
            [&] { seen = module.filamentMaximum(); });
        module.setInterlock(0); // the initial values
        module.setFilamentMaximum(0.0f);
        for (int i = 0; i < 2; ++i) {
            module.setInterlock(5);
            module.setOutput(Module::FilamentOutput, 2);
            module.setOutput(static_cast<Module::Output>(3), 7); // no such output: ignored
            module.setFilamentMaximum(2.5f);
        }
        QCOMPARE(interlock.count(), 1);
        QCOMPARE(interlock.at(0).at(0).toInt(), 5);
        QCOMPARE(output.count(), 1);
        QCOMPARE(module.output(Module::FilamentOutput), 2);
        QCOMPARE(module.output(static_cast<Module::Output>(3)), 0);
        QCOMPARE(maximum.count(), 1);
        QCOMPARE(seen, 2.5f); // a receiver already reads the new value
    }

    void signalsAndSlotsAsDeclared()
    {
        // Regression: updateSerialNumber carried a parameter name the interface does not have.
        const QMetaObject &meta = SCPI_Parser::staticMetaObject;
        QStringList methods;
        for (int i = meta.methodOffset(); i < meta.methodCount(); ++i) {
            const QMetaMethod m = meta.method(i);
            if (m.methodType() == QMetaMethod::Signal || m.methodType() == QMetaMethod::Slot)
                methods << QString::fromLatin1(m.methodSignature() + " ["
                    + m.parameterNames().join(',')
                    + (m.access() == QMetaMethod::Public ? "] public" : "] protected"));
        }
        QCOMPARE(methods,
            QStringList({ "updateFirmwareName(QString) [s] public",
                "updateSerialNumber(int) [] public", "updateDeviceName(QString) [s] public",
                "dataReceived(int) [count] public", "updateDisplay() [] public",
                "interfaceModeSupported(bool) [supported] public", "cycleStarting() [] public",
                "setModuleEmissionParameter(float,float,float,float,float) "
                "[p,i,d,minimum,maximum] public",
                "onAnswerReady() [] protected", "refreshData() [] protected",
                "onStopRefresh() [] protected" }));
    }
};

QTEST_GUILESS_MAIN(tst_RequestCycle)
#include "tst_requestcycle.moc"
