#include "enginedriver.h"

#include <QMetaMethod>
#include <QSignalSpy>
#include <QTest>

using Request = QPair<quint16, QString>;

class tst_RequestCycle : public QObject
{
    Q_OBJECT

private slots:
    void channelList_data();
    void channelList();
    void familyTests_data();
    void familyTests();
    void sequence_data();
    void sequence();
    void stepElevenStartsOver();
    void queuedCommandsResumeConfiguration();
    void commandQueuedDuringConfigurationWaits();
    void identityGate_data();
    void identityGate();
    void stopSendsOneQueuedCommandAndNothingMore();
    void signalsAndSlotsAsDeclared();
};

void tst_RequestCycle::channelList_data()
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
    QTest::newRow("64ch all") << "KA2F" << 64 << 64 << false << " (@0-63)";
}

void tst_RequestCycle::channelList()
{
    QFETCH(QString, firmware);
    QFETCH(int, channels);
    QFETCH(int, channel);
    QFETCH(bool, comma);
    QFETCH(QString, expected);
    FakeLink link;
    link.module().setFirmwareName(firmware);
    link.module().setChannelCount(channels);
    QCOMPARE(link.channelList(channel, comma), expected);
}

void tst_RequestCycle::familyTests_data()
{
    QTest::addColumn<QString>("device");
    QTest::addColumn<QString>("firmware");
    QTest::addColumn<QString>("release");
    QTest::addColumn<bool>("percentLimits");
    QTest::addColumn<bool>("unitLimits");
    QTest::addColumn<bool>("inputOutput");
    QTest::addColumn<bool>("emission");
    QTest::addColumn<bool>("interfaceMode");
    QTest::addColumn<QString>("epu");

    const QString oldEpu = ":SYS:USER:READ:EPU?%1\r\n";
    const QString newEpu = ":SYS:USER:EPU?%1\r\n";
    QTest::newRow("KA3F1 0.99") << "X"
                                << "KA3F1"
                                << "0.99" << false << false << false << false << false << oldEpu;
    QTest::newRow("KA3F1 1.0") << "X"
                               << "KA3F1"
                               << "1.0" << true << false << false << false << false << oldEpu;
    QTest::newRow("KA2F8 2.04") << "X"
                                << "KA2F8"
                                << "2.04" << false << false << false << false << false << oldEpu;
    QTest::newRow("KA2F8 2.05") << "X"
                                << "KA2F8"
                                << "2.05" << true << false << false << false << false << oldEpu;
    QTest::newRow("KA2F8X 3.0 not equal")
        << "X"
        << "KA2F8X"
        << "3.0" << false << false << false << false << false << oldEpu;
    QTest::newRow("DRSB 3.99") << "X"
                               << "DRSB"
                               << "3.99" << false << false << false << false << false << oldEpu;
    QTest::newRow("DRSB 4.00") << "X"
                               << "DRSB"
                               << "4.00" << false << false << false << false << false << newEpu;
    QTest::newRow("DRSB 4.07") << "X"
                               << "DRSB"
                               << "4.07" << false << false << false << false << false << newEpu;
    QTest::newRow("DRSB 4.08") << "X"
                               << "DRSB"
                               << "4.08" << true << false << false << false << false << newEpu;
    QTest::newRow("DRS release no number")
        << "X"
        << "DRSB"
        << "v5" << false << false << false << false << false << oldEpu;
    QTest::newRow("GLW802 2.09") << "X"
                                 << "GLW802"
                                 << "2.09" << false << true << false << false << false << oldEpu;
    QTest::newRow("GLW802 2.1") << "X"
                                << "GLW802"
                                << "2.1" << false << true << false << false << true << oldEpu;
    QTest::newRow("TX01B1 2.25") << "X"
                                 << "TX01B1"
                                 << "2.25" << false << true << false << false << false << oldEpu;
    QTest::newRow("TX01B1 2.26") << "X"
                                 << "TX01B1"
                                 << "2.26" << false << true << false << false << true << oldEpu;
    QTest::newRow("TX02B0 3.09") << "X"
                                 << "TX02B0"
                                 << "3.09" << false << true << false << false << false << oldEpu;
    QTest::newRow("TX02B0 3.1") << "X"
                                << "TX02B0"
                                << "3.1" << false << true << false << false << true << oldEpu;
    QTest::newRow("TX01B0") << "X"
                            << "TX01B0"
                            << "5.0" << false << true << false << false << false << newEpu;
    QTest::newRow("lower-case tx01b0")
        << "X"
        << "tx01b0"
        << "3.0" << false << false << false << false << false << oldEpu;
    QTest::newRow("TQ88812p00") << "TQ88812p0010"
                                << "F"
                                << "1" << false << false << true << false << false << oldEpu;
    QTest::newRow("TQ88812p0000") << "TQ88812p0000"
                                  << "F"
                                  << "1" << false << false << true << true << false << oldEpu;
    QTest::newRow("TQ88812P0000") << "TQ88812P0000"
                                  << "F"
                                  << "1" << false << false << false << false << false << oldEpu;
}

void tst_RequestCycle::familyTests()
{
    QFETCH(QString, device);
    QFETCH(QString, firmware);
    QFETCH(QString, release);
    FakeLink link;
    link.module().setDeviceName(device);
    link.module().setFirmwareName(firmware);
    link.module().setFirmwareRelease(release);
    QTEST(link.supportsPercentLimits(), "percentLimits");
    QTEST(link.supportsUnitLimits(), "unitLimits");
    QTEST(link.hasInputOutput(), "inputOutput");
    QTEST(link.hasEmissionControl(), "emission");
    QTEST(link.supportsInterfaceMode(), "interfaceMode");
    QTEST(link.epuQuery(), "epu");
}

void tst_RequestCycle::sequence_data()
{
    QTest::addColumn<QByteArray>("device");
    QTest::addColumn<QByteArray>("firmware");
    QTest::addColumn<QByteArray>("release");
    QTest::addColumn<int>("channels");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<QList<bool>>("interfaceSignal");

    // Every request from the firmware query on, as "<code> <text>" without the CR LF.
    auto perChannel = [](const QString &list) {
        return QStringList { "84 :READ:VOLT:BOU?" + list, "83 :READ:VOLT:NOM?" + list,
            "93 :READ:CURR:BOU?" + list, "92 :READ:CURR:NOM?" + list, "96 :READ:RAMP:VOLT?;CURR?",
            "126 :READ:CHAN:EV:MASK?" + list, "122 :READ:CHAN:CONT?" + list, "200 :CONF:AVER?" };
    };
    auto cycle = [](const QString &list) {
        return QStringList { "81 :READ:VOLT?" + list, "90 :READ:CURR?" + list,
            "141 :MEAS:VOLT?" + list, "142 :MEAS:CURR?" + list, "123 :READ:CHAN:STAT?" + list,
            "125 :READ:CHAN:EV:STAT?" + list, "101 :READ:MOD:CONT?;STAT?;EV:STAT?;MASK?",
            "108 :READ:MOD:TEMP?;SUP:P24V?;P5V?;P12V?;N12V?" };
    };
    const QString firmwareQuery = "99 :READ:FIRM:NAME?;REL?";
    const QString limits133 = "133 :READ:VOLT:LIM?;:READ:CURR:LIM?";
    const QString limits134 = "134 :READ:VOLT:LIM?;:READ:CURR:LIM?";

    {
        const QString l = " (@0-3)";
        QStringList e = QStringList { firmwareQuery } + perChannel(l);
        e << "83 :READ:VOLT:NOM?" + l;
        e += cycle(l);
        e << "81 :READ:VOLT?" + l;
        QTest::newRow("KA2F 4 channels") << QByteArray("KA2F") << QByteArray("KA2F")
                                         << QByteArray("2.05") << 4 << e << QList<bool> { false };
    }
    {
        QStringList e = QStringList { firmwareQuery } + perChannel("");
        e << "83 :READ:VOLT:NOM?";
        e += cycle("");
        e << limits134 << "81 :READ:VOLT?";
        QTest::newRow("TX01B0 1 channel") << QByteArray("TX01B0") << QByteArray("TX01B0")
                                          << QByteArray("5.12") << 1 << e << QList<bool> { false };
    }
    for (const char *release : { "3.99", "4.00", "4.08" }) {
        const QString l = " (@0-0)";
        QStringList e = QStringList { firmwareQuery } + perChannel(l);
        e[1] = "84 :CONF:HVDRSB HV_OK;:READ:VOLT:BOU?" + l;
        e << (QByteArray(release) == "3.99" ? "174 :SYS:USER:READ:EPU?" + l
                                            : "174 :SYS:USER:EPU?" + l);
        e += cycle(l);
        if (QByteArray(release) == "4.08")
            e << limits133;
        e << "81 :READ:VOLT?" + l;
        QTest::addRow("DRSB %s", release) << QByteArray("DRSB") << QByteArray("DRSB")
                                          << QByteArray(release) << 1 << e << QList<bool> { false };
    }
    {
        QStringList e = QStringList { firmwareQuery } + perChannel(" (@0-1)");
        e << "83 :READ:VOLT:NOM? (@0-1)";
        e += cycle(" (@0-1)");
        e << limits134 << "81 :READ:VOLT? (@0-1)";
        QTest::newRow("TX01B1 2.25") << QByteArray("TX01B1") << QByteArray("TX01B1")
                                     << QByteArray("2.25") << 2 << e << QList<bool> { false };
    }
    {
        // With interface mode the last step comes one answer later, and the cycle starts over.
        QStringList e = QStringList { firmwareQuery } + perChannel(" (@0-1)");
        e << "204 :CONF:INTER:MODE?"
          << "83 :READ:VOLT:NOM? (@0-1)";
        e += cycle(" (@0-1)");
        e << limits134 << "81 :READ:VOLT? (@0-1)";
        QTest::newRow("TX01B1 2.26") << QByteArray("TX01B1") << QByteArray("TX01B1")
                                     << QByteArray("2.26") << 2 << e << QList<bool> { true };
    }
    {
        // A filament supply: the emission query is due at step 10 right after configuring,
        // and outputs are read at steps 7 and 8 because it has no limits.
        QStringList e = QStringList { firmwareQuery } + perChannel("");
        e << "83 :READ:VOLT:NOM?"
          << "247 :CONF:FILA:EMI:P?;I?;D?;:CONF:FILA:CURR:MIN?;MAX?";
        e += cycle("");
        e << "245 :CONF:OUTP? (@0-2)"
          << "245 :CONF:OUTP? (@0-2)"
          << "246 :READ:MOD:STATUS:INTERLOCK?"
          << "247 :CONF:FILA:EMI:P?;I?;D?;:CONF:FILA:CURR:MIN?;MAX?"
          << "81 :READ:VOLT?";
        QTest::newRow("TQ88812p0000") << QByteArray("TQ88812p0000") << QByteArray("TQF1")
                                      << QByteArray("3.02") << 1 << e << QList<bool> { false };
    }
}

void tst_RequestCycle::sequence()
{
    QFETCH(QByteArray, device);
    QFETCH(QByteArray, firmware);
    QFETCH(QByteArray, release);
    QFETCH(int, channels);
    QFETCH(QStringList, expected);
    QFETCH(QList<bool>, interfaceSignal);

    FakeLink link;
    QSignalSpy modeSpy(&link, &SCPI_Parser::interfaceModeSupported);
    QVERIFY(modeSpy.isValid());
    link.connectDevice();
    link.requestIdentity();
    QCOMPARE(link.lastSent(), QStringLiteral("*IDN?;:READ:MOD:CHAN?\r\n"));
    QCOMPARE(link.lastCode(), quint16(132));
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
    QCOMPARE(modeSpy.count(), interfaceSignal.size());
    QCOMPARE(modeSpy.at(0).at(0).toBool(), interfaceSignal.at(0));
}

void tst_RequestCycle::stepElevenStartsOver()
{
    FakeLink link;
    EngineDriver::start(link, "KA2F", "KA2F", "2.05", 4);
    for (int i = 0; i < 7; ++i)
        EngineDriver::answer(link); // up to the supplies query, step 7
    QCOMPARE(link.currentStep(), 7);
    // A module without any optional query falls through from step 7 to the set voltages.
    EngineDriver::answer(link);
    QCOMPARE(link.lastCode(), quint16(81));
    QCOMPARE(link.currentStep(), 0);
    EngineDriver::answer(link);
    QCOMPARE(link.lastSent(), QStringLiteral(":READ:CURR? (@0-3)\r\n"));
}

void tst_RequestCycle::queuedCommandsResumeConfiguration()
{
    FakeLink link;
    EngineDriver::start(link, "KA2F", "KA2F", "2.05", 4);
    EngineDriver::answer(link); // 81 answered, 90 pending
    EngineDriver::answer(link); // 141 pending
    EngineDriver::answer(link); // 142 pending, step 3
    link.setVoltage(1000, 2);
    link.setCurrent(0.001f, 1);
    QCOMPARE(link.queuedCommandCount(), 2);

    EngineDriver::answer(link);
    QCOMPARE(link.lastSent(), QStringLiteral(":VOLT 1000,(@2);:READ:VOLT? (@0-3)\r\n"));
    QCOMPARE(link.lastCode(), quint16(81));
    QVERIFY(!link.isFullRead());
    link.feed("1000V,0V,1000V,0V\r\n");
    QCOMPARE(link.lastSent(), QStringLiteral(":CURR 0.001,(@1);:READ:CURR? (@0-3)\r\n"));
    QVERIFY(link.isFullRead());
    QCOMPARE(link.module().channel(2).voltageSet(), 1000.0f);

    // The configuration resumes at the current step: its remaining entries only.
    EngineDriver::answer(link);
    QCOMPARE(link.lastCode(), quint16(93));
    QCOMPARE(link.lastSent(), QStringLiteral(":READ:CURR:BOU? (@0-3)\r\n"));
}

void tst_RequestCycle::commandQueuedDuringConfigurationWaits()
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

void tst_RequestCycle::identityGate_data()
{
    QTest::addColumn<QByteArray>("answer");
    QTest::newRow("other maker") << QByteArray("Other Corp,KA2F,1,2.0;4\r\n");
    QTest::newRow("no channels") << QByteArray("Vornwerk GmbH,KA2F,1,2.0;0\r\n");
    QTest::newRow("negative channels") << QByteArray("Vornwerk GmbH,KA2F,1,2.0;-4\r\n");
    QTest::newRow("maker case differs") << QByteArray("VORNWERK GMBH,KA2F,1,2.0;4\r\n");
    QTest::newRow("three fields") << QByteArray("Vornwerk GmbH,KA2F,1;4\r\n");
    QTest::newRow("no channel part") << QByteArray("Vornwerk GmbH,KA2F,1,2.0\r\n");
    QTest::newRow("garbage") << QByteArray("\x01\xff;;;,,\r\n", 9);
    QTest::newRow("empty line") << QByteArray("\r\n");
}

void tst_RequestCycle::identityGate()
{
    QFETCH(QByteArray, answer);
    FakeLink link;
    link.connectDevice();
    link.requestIdentity();
    link.restartFullRead();
    for (int i = 0; i < 3; ++i) {
        QTest::ignoreMessage(QtDebugMsg, "identity wrong");
        link.feed(answer);
        QCOMPARE(link.lastCode(), quint16(132));
        QCOMPARE(link.currentStep(), 0);
    }
    QCOMPARE(link.sent.size(), 4);
    QVERIFY(link.isFullRead());

    // A right answer later starts the configuration.
    link.feed(EngineDriver::identity("KA2F", "2.05", 4));
    QCOMPARE(link.lastCode(), quint16(99));
}

void tst_RequestCycle::stopSendsOneQueuedCommandAndNothingMore()
{
    FakeLink link;
    EngineDriver::start(link, "KA2F", "KA2F", "2.05", 4);
    QSignalSpy received(&link, &SCPI_Parser::dataReceived);
    QVERIFY(received.isValid());
    link.setVoltage(100, 0);
    link.setVoltage(200, 1);
    link.setVoltage(300, 2);
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

void tst_RequestCycle::signalsAndSlotsAsDeclared()
{
    // Receivers and the main window rely on these signatures, parameter names and their order.
    // Regression: updateSerialNumber carried a parameter name the interface does not have.
    const QMetaObject &meta = SCPI_Parser::staticMetaObject;
    QStringList methods;
    for (int i = meta.methodOffset(); i < meta.methodCount(); ++i) {
        const QMetaMethod m = meta.method(i);
        if (m.methodType() != QMetaMethod::Signal && m.methodType() != QMetaMethod::Slot)
            continue;
        QStringList names;
        for (const QByteArray &name : m.parameterNames())
            names << QString::fromLatin1(name);
        methods << QString::fromLatin1(m.methodSignature()) + " [" + names.join(",") + "]"
                + (m.access() == QMetaMethod::Public ? " public" : " protected");
    }
    const QStringList expected {
        "updateFirmwareName(QString) [s] public",
        "updateSerialNumber(int) [] public",
        "updateDeviceName(QString) [s] public",
        "dataReceived(int) [count] public",
        "updateDisplay() [] public",
        "interfaceModeSupported(bool) [supported] public",
        "setModuleEmissionParameter(float,float,float,float,float) [p,i,d,minimum,maximum] public",
        "onAnswerReady() [] protected",
        "refreshData() [] protected",
        "onStopRefresh() [] protected",
    };
    QCOMPARE(methods, expected);
}

QTEST_GUILESS_MAIN(tst_RequestCycle)
#include "tst_requestcycle.moc"
