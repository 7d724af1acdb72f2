// The engine on the TCP link against the module simulator, both in this process's event loop.
#include "frontends/tcpfrontend.h"
#include "model/simmodule.h"
#include "scpi_eth.h"
#include "spin.h"

#include <QRegularExpression>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTest>

#include <cmath>
#include <memory>

namespace {

/// The TCP link with the engine's protected parts opened up for the test.
class TestEth : public SCPI_Eth
{
public:
    using SCPI_Eth::SCPI_Eth;
    int bufferedAnswerSize() const { return answerBuffer.size(); }
    void stop() { onStopRefresh(); }
    int answers() const { return answerCount; }
};

bool near(double actual, double expected, double relative = 1e-5)
{
    return std::fabs(actual - expected) <= relative * std::max(1.0, std::fabs(expected));
}

struct Bench
{
    std::unique_ptr<vornsim::SimModule> sim;
    std::unique_ptr<vornsim::TcpFrontEnd> server;
    std::unique_ptr<TestEth> link;

    bool start(const QString &preset, const vornsim::FaultOptions &faults = {})
    {
        sim = vornsim::SimModule::fromPreset(preset);
        if (!sim)
            return false;
        sim->setNoise(false);
        server = std::make_unique<vornsim::TcpFrontEnd>(sim.get());
        server->setFaults(faults);
        if (!server->listen(QHostAddress::LocalHost, 0))
            return false;
        link = std::make_unique<TestEth>();
        link->setPort(server->serverPort());
        link->setHostAddress(QStringLiteral("127.0.0.1"));
        return true;
    }

    /// Opens the link, identifies and configures, and polls until \a answers answers are in.
    bool poll(int answers)
    {
        if (!link->connectDevice())
            return false;
        link->requestIdentity();
        link->restartFullRead();
        return spinUntil([&] { return link->answers() >= answers; }, 20000);
    }
};

} // namespace

class tst_TcpLink : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void pollsAndMirrorsTheModule_data();
    void pollsAndMirrorsTheModule();
    void setCommandsReachTheModule();
    void filamentCommandsReachTheModule();
    void closedConnectionReopensOnNextRequest();
    void splitAnswersAreProcessedOnce();
    void endlessAnswerIsCapped();
    void garbageAnswersDoNotStopPolling();
    void silentModuleLeavesRequestPending();
    void unreachableHostOnlyMissesAnswers();
    void rawExchange_data();
    void rawExchange();
};

void tst_TcpLink::initTestCase()
{
    // The engine's traces are expected here; keep the log readable.
    QLoggingCategory::setFilterRules(QStringLiteral("vorn.*.debug=true\nvorn.sim.*=false"));
}

void tst_TcpLink::pollsAndMirrorsTheModule_data()
{
    QTest::addColumn<QString>("preset");
    for (const char *preset :
        { "KA2F", "TX01B0", "DRSB", "TQ88812p0000", "TX01B1", "TX02B0", "GLW802", "WD7A0" })
        QTest::newRow(preset) << QString::fromLatin1(preset);
}

void tst_TcpLink::pollsAndMirrorsTheModule()
{
    QFETCH(QString, preset);
    Bench b;
    QVERIFY(b.start(preset));
    vornsim::SimModule &sim = *b.sim;
    // Give the model some state worth reading back.
    for (int i = 0; i < sim.channelCount(); ++i) {
        sim.setVoltageSet(i, std::fabs(sim.channel(i).voltageNominal) / (i + 2));
        sim.setCurrentSet(i, sim.channel(i).currentNominal / 2);
    }
    sim.setChannelOn(0, true);
    sim.advance(600000);
    sim.setInterlock(5);

    QVERIFY(b.poll(60));
    b.link->stop();
    spinFor(100); // until the last request has been answered

    const Module &m = b.link->module();
    QCOMPARE(m.channelCount(), sim.channelCount());
    QCOMPARE(m.deviceName(), sim.identity().deviceName);
    QCOMPARE(m.serialNumber(), sim.identity().serialNumber);
    QCOMPARE(m.firmwareName(), sim.identity().firmwareName);
    QCOMPARE(m.firmwareRelease(), sim.identity().firmwareRelease);
    for (int i = 0; i < sim.channelCount(); ++i) {
        const vornsim::SimChannel &s = sim.channel(i);
        const Channel &c = m.channel(i);
        QVERIFY2(near(c.voltageSet(), s.voltageSet), qPrintable(QString::number(c.voltageSet())));
        QVERIFY(near(c.currentSet(), s.currentSet));
        QVERIFY(near(c.voltageBounds(), s.voltageBounds));
        QVERIFY(near(c.currentBounds(), s.currentBounds));
        QVERIFY(near(c.voltageNominal(), s.voltageNominal));
        QVERIFY(near(c.currentNominal(), s.currentNominal));
        QVERIFY2(near(c.voltageMeasure(), sim.voltageMeasure(i), 1e-4),
            qPrintable(QString::number(c.voltageMeasure())));
        QCOMPARE(c.status(), s.status);
        QCOMPARE(c.eventStatus(), s.eventStatus);
        QCOMPARE(c.eventMask(), s.eventMask);
        QCOMPARE(c.control(), s.control());
    }
    QCOMPARE(m.control(), sim.control());
    QCOMPARE(m.status(), sim.status());
    QCOMPARE(m.eventMask(), quint32(sim.eventMask()));
    QVERIFY(near(m.temperature(), sim.temperature(), 1e-3));
    QVERIFY(near(m.supplyP24(), sim.supply(vornsim::SimModule::P24), 1e-3));
    QVERIFY(near(m.supplyN12(), sim.supply(vornsim::SimModule::N12), 1e-3));
    QVERIFY(near(m.voltageRamp(), sim.voltageRamp(), 1e-3));
    QVERIFY(near(m.currentRamp(), sim.currentRamp(), 1e-3));
    QCOMPARE(m.average(), sim.average());
    if (b.link->supportsPercentLimits() || b.link->supportsUnitLimits()) {
        QVERIFY2(near(m.voltageLimit(), sim.voltageLimit(), 1e-3),
            qPrintable(QString::number(m.voltageLimit())));
        QVERIFY(near(m.currentLimit(), sim.currentLimit(), 1e-3));
    }
    if (b.link->hasInputOutput()) {
        QCOMPARE(m.interlock(), 5);
        QCOMPARE(m.output(Module::FilamentOutput), sim.output(vornsim::SimModule::FilamentOutput));
    }
    if (b.link->hasEmissionControl()) {
        QVERIFY(near(m.emissionParameterP(), sim.emissionP()));
        QVERIFY(near(m.filamentMaximum(), sim.filamentMaximum()));
    }
}

void tst_TcpLink::setCommandsReachTheModule()
{
    Bench b;
    QVERIFY(b.start("KA2F"));
    QVERIFY(b.poll(30));
    TestEth &link = *b.link;
    vornsim::SimModule &sim = *b.sim;
    link.setVoltage(1000, 2);
    link.setCurrent(0.001f, 4);
    link.setChannelOn(true, 1);
    link.setVoltageRamp(2.5f);
    link.setAverage(16);
    link.setChannelEventMask(0x0018, 3);
    QTRY_VERIFY_WITH_TIMEOUT(link.queuedCommandCount() == 0, 5000);
    QTRY_COMPARE_WITH_TIMEOUT(link.module().channel(2).voltageSet(), 1000.0f, 5000);
    QCOMPARE(sim.channel(2).voltageSet, 1000.0);
    for (int i = 0; i < 4; ++i)
        QVERIFY(near(sim.channel(i).currentSet, 0.001));
    QVERIFY(sim.channel(1).on);
    QVERIFY(near(sim.voltageRamp(), 2.5));
    QCOMPARE(sim.average(), 16);
    QCOMPARE(sim.channel(3).eventMask, quint32(0x18));

    // The read-backs land in the model once the polling has come round.
    QTRY_VERIFY_WITH_TIMEOUT(near(link.module().channel(0).currentSet(), 0.001), 5000);
    QTRY_COMPARE_WITH_TIMEOUT(link.module().channel(3).eventMask(), quint32(0x18), 5000);

    // Saving the configuration gets an answer, so the cycle goes on.
    const int before = link.answers();
    link.saveConfiguration();
    QTRY_COMPARE_WITH_TIMEOUT(sim.configurationSaves(), 1, 5000);
    QVERIFY(spinUntil([&] { return link.answers() > before + 20; }, 5000));
}

void tst_TcpLink::filamentCommandsReachTheModule()
{
    Bench b;
    QVERIFY(b.start("TQ88812p0000"));
    QVERIFY(b.poll(30));
    TestEth &link = *b.link;
    link.setModuleOutput(Module::VoltageOutput, 3);
    link.setModuleEmissionParameter(0.75f, 0.05f, 0.01f, 0.5f, 2.0f);
    QTRY_COMPARE_WITH_TIMEOUT(b.sim->output(vornsim::SimModule::VoltageOutput), 3, 5000);
    QTRY_COMPARE_WITH_TIMEOUT(link.module().output(Module::VoltageOutput), 3, 5000);
    QTRY_COMPARE_WITH_TIMEOUT(link.module().filamentMaximum(), 2.0f, 5000);
    QVERIFY(near(b.sim->emissionP(), 0.75));
}

void tst_TcpLink::closedConnectionReopensOnNextRequest()
{
    vornsim::FaultOptions faults;
    faults.closeAfter = 1;
    Bench b;
    QVERIFY(b.start("KA2F", faults));
    TestEth &link = *b.link;
    QSignalSpy received(&link, &SCPI_Parser::dataReceived);
    QVERIFY(received.isValid());
    QTest::ignoreMessage(QtDebugMsg, "stop refresh");
    link.stop(); // requests are sent by hand below

    QVERIFY(link.connectDevice());
    link.requestIdentity();
    QTRY_COMPARE_WITH_TIMEOUT(received.count(), 1, 5000);
    // The module hangs up after its answer; the link notices only on the next request.
    QTRY_VERIFY_WITH_TIMEOUT(!link.isConnected(), 5000);
    link.requestIdentity();
    QTRY_COMPARE_WITH_TIMEOUT(received.count(), 2, 5000);
    QCOMPARE(link.module().channelCount(), 4);
}

void tst_TcpLink::splitAnswersAreProcessedOnce()
{
    vornsim::FaultOptions faults;
    faults.splitParts = 4;
    faults.splitDelayMs = 2;
    Bench b;
    QVERIFY(b.start("KA2F", faults));
    QSignalSpy lines(b.server.get(), &vornsim::TcpFrontEnd::lineReceived);
    QVERIFY(lines.isValid());
    QVERIFY(b.poll(40));
    b.link->stop();
    spinFor(100);
    // One processed answer per request line, however many segments each came in.
    QCOMPARE(b.link->answers(), lines.count());
    QCOMPARE(b.link->module().channelCount(), 4);
    QVERIFY(near(b.link->module().channel(3).voltageNominal(), b.sim->channel(3).voltageNominal));
}

void tst_TcpLink::endlessAnswerIsCapped()
{
    vornsim::FaultOptions faults;
    faults.endlessAfter = 5;
    faults.endlessBytes = 2 * 1024 * 1024;
    Bench b;
    QVERIFY(b.start("KA2F", faults));
    QTest::ignoreMessage(QtDebugMsg, "answer too long");
    QVERIFY(b.link->connectDevice());
    b.link->requestIdentity();
    b.link->restartFullRead();

    int largest = 0;
    spinUntil(
        [&] {
            largest = qMax(largest, b.link->bufferedAnswerSize());
            return false;
        },
        3000);
    QVERIFY2(
        largest <= SCPI_Parser::MaxAnswerSize + 256 * 1024, qPrintable(QString::number(largest)));
    QCOMPARE(b.link->answers(), 4);
    QVERIFY(b.link->pendingRequest() != 0);
}

void tst_TcpLink::garbageAnswersDoNotStopPolling()
{
    vornsim::FaultOptions faults;
    // Not a divisor of the nine requests of this module's cycle, so that every request gets
    // good answers between the junk.
    faults.garbageEvery = 4;
    Bench b;
    QVERIFY(b.start("KA2F", faults));
    b.sim->setVoltageSet(1, 1234);
    QVERIFY(b.poll(200));
    QCOMPARE(b.link->module().channelCount(), 4);
    QTRY_COMPARE_WITH_TIMEOUT(b.link->module().channel(1).voltageSet(), 1234.0f, 5000);
}

void tst_TcpLink::silentModuleLeavesRequestPending()
{
    vornsim::FaultOptions faults;
    faults.dropEvery = 10;
    Bench b;
    QVERIFY(b.start("KA2F", faults));
    QVERIFY(b.poll(9));
    spinFor(400);
    QCOMPARE(b.link->answers(), 9);
    QVERIFY(b.link->pendingRequest() != 0);
    QVERIFY(b.link->isConnected());
}

void tst_TcpLink::unreachableHostOnlyMissesAnswers()
{
    QTcpServer probe;
    QVERIFY(probe.listen(QHostAddress::LocalHost, 0));
    const quint16 port = probe.serverPort();
    probe.close(); // nothing listens there now

    TestEth link;
    link.setPort(port);
    link.setHostAddress(QStringLiteral("127.0.0.1"));
    QVERIFY(link.connectDevice());
    // Each request tries again without complaint; closing works after all of this.
    for (int i = 0; i < 2; ++i) {
        link.requestIdentity();
        QTest::qWait(200);
    }
    QVERIFY(!link.isConnected());
    QCOMPARE(link.answers(), 0);
    QCOMPARE(link.pendingRequest(), quint16(SCPI_Parser::ReadIdentity));
    link.disconnectDevice();
}

namespace {

/// A bare server whose first accepted connection the test writes to by hand.
struct RawServer
{
    QTcpServer server;
    QTcpSocket *peer = nullptr;
    QByteArray received;

    bool accept(int timeoutMs)
    {
        const bool ok = spinUntil([&] { return server.hasPendingConnections(); }, timeoutMs);
        if (ok)
            peer = server.nextPendingConnection();
        return ok;
    }
    bool readLine(int timeoutMs)
    {
        return spinUntil(
            [&] {
                received += peer->readAll();
                return received.endsWith("\r\n");
            },
            timeoutMs);
    }
};

} // namespace

void tst_TcpLink::rawExchange_data()
{
    QTest::addColumn<QString>("host");
    QTest::newRow("address") << "127.0.0.1";
    QTest::newRow("name to look up") << "localhost";
}

void tst_TcpLink::rawExchange()
{
    QFETCH(QString, host);
    // A second connect while the first still looks up or connects only draws a warning.
    QTest::failOnWarning(QRegularExpression(QStringLiteral(".")));
    RawServer raw;
    QVERIFY(raw.server.listen(QHostAddress::LocalHost, 0));
    TestEth link;
    QSignalSpy received(&link, &SCPI_Parser::dataReceived);
    QVERIFY(received.isValid());
    QTest::ignoreMessage(QtDebugMsg, "stop refresh");
    link.stop(); // only the request sent by hand below goes out
    link.setPort(raw.server.serverPort());
    link.setHostAddress(host);
    QVERIFY(link.connectDevice());
    link.requestIdentity(); // written while the name is looked up or the socket connects
    QVERIFY(raw.accept(5000));
    QVERIFY(raw.readLine(5000));
    QCOMPARE(raw.received, QByteArray("*IDN?;:READ:MOD:CHAN?\r\n"));

    // A CR LF inside the buffer does not end the answer; only the buffer's end does.
    raw.peer->write("Vornwerk GmbH,KA2F,4711,2.05;4\r\nmore");
    QVERIFY(spinUntil([&] { return link.bufferedAnswerSize() > 0; }, 5000));
    spinFor(50);
    QCOMPARE(received.count(), 0);
    raw.peer->write("\r\n");
    QVERIFY(spinUntil([&] { return received.count() == 1; }, 5000));
    QCOMPARE(link.bufferedAnswerSize(), 0);
    spinFor(50);
    QCOMPARE(received.count(), 1);
    QCOMPARE(link.interfaceName(), host); // as entered, not as looked up
    link.disconnectDevice();
}

QTEST_GUILESS_MAIN(tst_TcpLink)
#include "tst_tcplink.moc"
