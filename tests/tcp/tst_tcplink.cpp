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
    void aim(quint16 port, const QString &host = QStringLiteral("127.0.0.1"))
    {
        setPort(port);
        setHostAddress(host);
    }
};

bool near(double actual, double expected, double relative = 1e-5)
{
    return std::fabs(actual - expected) <= relative * std::max(1.0, std::fabs(expected));
}

struct Bench
{
    std::unique_ptr<vornsim::SimModule> sim;
    std::unique_ptr<vornsim::TcpFrontEnd> server;
    TestEth link;

    explicit Bench(const char *preset, const vornsim::FaultOptions &faults = {})
        : sim(vornsim::SimModule::fromPreset(QString::fromLatin1(preset)))
        , server(std::make_unique<vornsim::TcpFrontEnd>(sim.get()))
    {
        sim->setNoise(false);
        server->setFaults(faults);
        if (server->listen(QHostAddress::LocalHost, 0))
            link.aim(server->serverPort());
    }
    /// Opens the link, identifies and configures, and polls until \a answers answers are in.
    bool poll(int answers)
    {
        if (server->serverPort() == 0 || !link.connectDevice())
            return false;
        link.requestIdentity();
        link.restartFullRead();
        return spinUntil([&] { return link.answers() >= answers; }, 20000);
    }
};

} // namespace

class tst_TcpLink : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // The engine's traces are expected here; keep the log readable.
        QLoggingCategory::setFilterRules(QStringLiteral("vorn.*.debug=true\nvorn.sim.*=false"));
    }

    void pollsAndMirrorsTheModule_data()
    {
        QTest::addColumn<QByteArray>("preset");
        for (const char *preset :
            { "KA2F", "TX01B0", "DRSB", "TQ88812p0000", "TX01B1", "TX02B0", "GLW802", "WD7A0" })
            QTest::newRow(preset) << QByteArray(preset);
    }
    void pollsAndMirrorsTheModule()
    {
        QFETCH(QByteArray, preset);
        Bench b(preset.constData());
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
        b.link.stop();
        spinFor(100); // until the last request has been answered

        const Module &m = b.link.module();
        QCOMPARE(m.channelCount(), sim.channelCount());
        QCOMPARE(m.deviceName(), sim.identity().deviceName);
        QCOMPARE(m.serialNumber(), sim.identity().serialNumber);
        QCOMPARE(m.firmwareName(), sim.identity().firmwareName);
        QCOMPARE(m.firmwareRelease(), sim.identity().firmwareRelease);
        QStringList wrong;
        const auto same = [&](const char *what, double got, double want, double relative = 1e-5) {
            if (!near(got, want, relative))
                wrong
                    << QStringLiteral("%1: %2, not %3").arg(QLatin1String(what)).arg(got).arg(want);
        };
        for (int i = 0; i < sim.channelCount(); ++i) {
            const vornsim::SimChannel &s = sim.channel(i);
            const Channel &c = m.channel(i);
            same("voltage set", c.voltageSet(), s.voltageSet);
            same("current set", c.currentSet(), s.currentSet);
            same("voltage bounds", c.voltageBounds(), s.voltageBounds);
            same("current bounds", c.currentBounds(), s.currentBounds);
            same("voltage nominal", c.voltageNominal(), s.voltageNominal);
            same("current nominal", c.currentNominal(), s.currentNominal);
            same("voltage measured", c.voltageMeasure(), sim.voltageMeasure(i), 1e-4);
            same("status", c.status(), s.status, 0);
            same("event status", c.eventStatus(), s.eventStatus, 0);
            same("event mask", c.eventMask(), s.eventMask, 0);
            same("control", c.control(), s.control(), 0);
        }
        same("module control", m.control(), sim.control(), 0);
        same("module status", m.status(), sim.status(), 0);
        same("module event mask", m.eventMask(), sim.eventMask(), 0);
        same("temperature", m.temperature(), sim.temperature(), 1e-3);
        same("+24 V", m.supplyP24(), sim.supply(vornsim::SimModule::P24), 1e-3);
        same("-12 V", m.supplyN12(), sim.supply(vornsim::SimModule::N12), 1e-3);
        same("voltage ramp", m.voltageRamp(), sim.voltageRamp(), 1e-3);
        same("current ramp", m.currentRamp(), sim.currentRamp(), 1e-3);
        same("average", m.average(), sim.average(), 0);
        if (b.link.supportsPercentLimits() || b.link.supportsUnitLimits()) {
            same("voltage limit", m.voltageLimit(), sim.voltageLimit(), 1e-3);
            same("current limit", m.currentLimit(), sim.currentLimit(), 1e-3);
        }
        if (b.link.hasInputOutput()) {
            same("interlock", m.interlock(), 5, 0);
            same("filament output", m.output(Module::FilamentOutput),
                sim.output(vornsim::SimModule::FilamentOutput), 0);
        }
        if (b.link.hasEmissionControl()) {
            same("emission P", m.emissionParameterP(), sim.emissionP());
            same("filament maximum", m.filamentMaximum(), sim.filamentMaximum());
        }
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(QStringLiteral("; "))));
    }

    void closedConnectionReopensOnNextRequest()
    {
        vornsim::FaultOptions faults;
        faults.closeAfter = 1;
        Bench b("KA2F", faults);
        QSignalSpy received(&b.link, &SCPI_Parser::dataReceived);
        QTest::ignoreMessage(QtDebugMsg, "stop refresh");
        b.link.stop(); // requests are sent by hand below
        QVERIFY(b.link.connectDevice());
        b.link.requestIdentity();
        QTRY_COMPARE_WITH_TIMEOUT(received.count(), 1, 5000);
        // The module hangs up after its answer; the link notices only on the next request.
        QTRY_VERIFY_WITH_TIMEOUT(!b.link.isConnected(), 5000);
        b.link.requestIdentity();
        QTRY_COMPARE_WITH_TIMEOUT(received.count(), 2, 5000);
        QCOMPARE(b.link.module().channelCount(), 4);
    }

    void splitAnswersAreProcessedOnce()
    {
        vornsim::FaultOptions faults;
        faults.splitParts = 4;
        faults.splitDelayMs = 2;
        Bench b("KA2F", faults);
        QSignalSpy lines(b.server.get(), &vornsim::TcpFrontEnd::lineReceived);
        QVERIFY(b.poll(40));
        b.link.stop();
        spinFor(100);
        // One processed answer per request line, however many segments each came in.
        QCOMPARE(b.link.answers(), lines.count());
        QVERIFY(
            near(b.link.module().channel(3).voltageNominal(), b.sim->channel(3).voltageNominal));
    }

    void endlessAnswerIsCapped()
    {
        vornsim::FaultOptions faults;
        faults.endlessAfter = 5;
        faults.endlessBytes = 2 * 1024 * 1024;
        Bench b("KA2F", faults);
        QTest::ignoreMessage(QtDebugMsg, "answer too long");
        int largest = 0;
        b.poll(1);
        spinUntil([&] { return (largest = qMax(largest, b.link.bufferedAnswerSize())) < 0; }, 3000);
        QVERIFY2(largest <= SCPI_Parser::MaxAnswerSize + 256 * 1024,
            qPrintable(QString::number(largest)));
        QCOMPARE(b.link.answers(), 4);
        QVERIFY(b.link.pendingRequest() != 0);
    }

    void garbageAnswersDoNotStopPolling()
    {
        vornsim::FaultOptions faults;
        // Not a divisor of the nine requests of this module's cycle, so that every request gets
        // good answers between the junk.
        faults.garbageEvery = 4;
        Bench b("KA2F", faults);
        b.sim->setVoltageSet(1, 1234);
        QVERIFY(b.poll(200));
        QCOMPARE(b.link.module().channelCount(), 4);
        QTRY_COMPARE_WITH_TIMEOUT(b.link.module().channel(1).voltageSet(), 1234.0f, 5000);
    }

    void silentModuleLeavesRequestPending()
    {
        vornsim::FaultOptions faults;
        faults.dropEvery = 10;
        Bench b("KA2F", faults);
        QVERIFY(b.poll(9));
        spinFor(400);
        QCOMPARE(b.link.answers(), 9);
        QVERIFY(b.link.pendingRequest() != 0);
        QVERIFY(b.link.isConnected());
    }

    void unreachableHostOnlyMissesAnswers()
    {
        QTest::failOnWarning(QRegularExpression(QStringLiteral(".")));
        QTcpServer probe;
        QVERIFY(probe.listen(QHostAddress::LocalHost, 0));
        const quint16 port = probe.serverPort();
        TestEth link;
        QTest::ignoreMessage(QtDebugMsg, "stop refresh");
        link.stop(); // only the requests made by hand below go out
        link.aim(port);
        probe.close(); // nothing listens there now
        QVERIFY(link.connectDevice());
        // Each request tries again without complaint.
        for (int i = 0; i < 2; ++i) {
            link.requestIdentity();
            QTest::qWait(200);
        }
        QVERIFY(!link.isConnected());
        QCOMPARE(link.answers(), 0);
        QCOMPARE(link.pendingRequest(), quint16(SCPI_Parser::ReadIdentity));

        // Once the module listens, the next request reaches it alone: nothing of the refused
        // attempts is left behind.
        QVERIFY(probe.listen(QHostAddress::LocalHost, port));
        link.requestIdentity();
        QVERIFY(spinUntil([&] { return probe.hasPendingConnections(); }, 5000));
        QTcpSocket *peer = probe.nextPendingConnection();
        QByteArray request;
        QVERIFY(spinUntil([&] { return (request += peer->readAll()).endsWith("\r\n"); }, 5000));
        spinFor(100);
        request += peer->readAll();
        QCOMPARE(request, QByteArray("*IDN?;:READ:MOD:CHAN?\r\n"));
        link.disconnectDevice();
    }

    void rawExchange_data()
    {
        QTest::addColumn<QString>("host");
        QTest::newRow("address") << "127.0.0.1";
        QTest::newRow("name to look up") << "localhost";
    }
    // Against a bare server the test writes to by hand.
    void rawExchange()
    {
        QFETCH(QString, host);
        // A second connect while the first still looks up or connects only draws a warning.
        QTest::failOnWarning(QRegularExpression(QStringLiteral(".")));
        QTcpServer server;
        QVERIFY(server.listen(QHostAddress::LocalHost, 0));
        TestEth link;
        QSignalSpy received(&link, &SCPI_Parser::dataReceived);
        QTest::ignoreMessage(QtDebugMsg, "stop refresh");
        link.stop(); // only the request sent by hand below goes out
        link.aim(server.serverPort(), host);
        QVERIFY(link.connectDevice());
        link.requestIdentity(); // written while the name is looked up or the socket connects
        QVERIFY(spinUntil([&] { return server.hasPendingConnections(); }, 5000));
        QTcpSocket *peer = server.nextPendingConnection();
        QByteArray request;
        QVERIFY(spinUntil([&] { return (request += peer->readAll()).endsWith("\r\n"); }, 5000));
        QCOMPARE(request, QByteArray("*IDN?;:READ:MOD:CHAN?\r\n"));

        // A CR LF inside the buffer does not end the answer; only the buffer's end does.
        peer->write("Vornwerk GmbH,KA2F,4711,2.05;4\r\nmore");
        QVERIFY(spinUntil([&] { return link.bufferedAnswerSize() > 0; }, 5000));
        spinFor(50);
        QCOMPARE(received.count(), 0);
        peer->write("\r\n");
        QVERIFY(spinUntil([&] { return received.count() == 1; }, 5000));
        QCOMPARE(link.bufferedAnswerSize(), 0);
        spinFor(50);
        QCOMPARE(received.count(), 1);
        QCOMPARE(link.interfaceName(), host); // as entered, not as looked up
        link.disconnectDevice();
    }
};

QTEST_GUILESS_MAIN(tst_TcpLink)
#include "tst_tcplink.moc"
