// How one bridge polls: a module with a cycle period pauses between its cycles while one
// without polls as fast as it answers, and the engines of GPIB modules run on the worker
// thread of their board, through the stand-in driver, where a silent address holds up no TCP
// module and a command and a ramp sequence from the broker still reach a GPIB module (whose
// runner ends, said on "events", when the bridge stops).
#include "bridge.h"
#include "brokerprocess.h"
#include "modulepoller.h"
#include "mqttprobe.h"
#include "sequencecore.h"
#include "simprocess.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>
#include <QThread>

class TestBridgePolling : public QObject
{
    Q_OBJECT

    static constexpr int PeriodMs = 400;

private slots:
    void initTestCase()
    {
        QVERIFY2(!BrokerProcess::program().isEmpty(), "mosquitto is missing; run scripts/deps.sh");
        QVERIFY(broker.start());
        QVERIFY(tcp.start(
            { QStringLiteral("--tcp"), QStringLiteral("0"), QStringLiteral("--modules"),
                QStringLiteral("2"), QStringLiteral("--serial-number"), QStringLiteral("3001") },
            "tcp"));
        const QString socket = dir.filePath(QStringLiteral("bus.sock"));
        QVERIFY(gpib.start(
            { QStringLiteral("--gpib"), QStringLiteral("5"), QStringLiteral("--gpib-silent"),
                QStringLiteral("9"), QStringLiteral("--gpib-socket"), socket,
                QStringLiteral("--serial-number"), QStringLiteral("3005") },
            "gpib"));
        qputenv("VORN_GPIB_SOCKET", socket.toLocal8Bit());
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("sequences")));
        QFile file(dir.filePath(QStringLiteral("sequences/short.json")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(R"({ "version": 1, "name": "short", "channels": "all",
                        "steps": [ { "voltage": 200, "rampSpeed": 3000, "hold": 0 },
                                   { "voltage": 300, "hold": 120 } ],
                        "safety": { "rampDownSpeed": 3000, "abort": "rampDown" } })");
        file.close();
        const quint16 first = quint16(
            tcp.endpoint().section(QLatin1Char(':'), -1).section(QLatin1Char('-'), 0, 0).toUInt());
        BridgeSettings settings;
        QString error;
        QVERIFY2(parseBridgeSettings(QStringLiteral("[broker]\nport = %1\nrate = 50\n"
                                                    "insecure-commands = local-only\n"
                                                    "[defaults]\ncycle = %2ms\n"
                                                    "[module fast]\ntcp = 127.0.0.1:%3\ncycle = 0\n"
                                                    "[module paced]\ntcp = 127.0.0.1:%4\n"
                                                    "[module bus]\ngpib = 5\ncommands = on\n"
                                                    "sequences = %5\n"
                                                    "[module silent]\ngpib = 9\n")
                                         .arg(broker.port())
                                         .arg(PeriodMs)
                                         .arg(first)
                                         .arg(first + 1)
                                         .arg(dir.filePath(QStringLiteral("sequences")))
                                         .toLatin1(),
                     &settings, &error),
            qPrintable(error));
        probe = std::make_unique<MqttProbe>(broker.port(), "vorn/#");
        bridge = std::make_unique<Bridge>(settings);
        QVERIFY(bridge->start());
        QVERIFY(
            spinUntil([this] { return poller(0)->isOnline() && poller(1)->isOnline(); }, Patience));
        QVERIFY(spinUntil([this] { return poller(2)->isOnline(); }, Patience));
    }
    void cleanupTestCase()
    {
        // Ends the engines on the worker thread before the thread.
        bridge.reset();
    }

    void pacedModulePausesBetweenCycles()
    {
        const quint64 fast = poller(0)->cycleCount();
        const quint64 paced = poller(1)->cycleCount();
        const quint64 bus = poller(2)->cycleCount();
        const int spanMs = 5 * PeriodMs;
        spinFor(spanMs);
        const quint64 pacedCycles = poller(1)->cycleCount() - paced;
        const quint64 busCycles = poller(2)->cycleCount() - bus;
        // At most one cycle a period (and one begun before the span), and they go on.
        for (const quint64 cycles : { pacedCycles, busCycles }) {
            QVERIFY2(cycles >= 1 && cycles <= quint64(spanMs / PeriodMs + 1),
                qPrintable(QString::number(cycles)));
        }
        QVERIFY(poller(0)->cycleCount() - fast > quint64(spanMs / PeriodMs + 1));
    }
    void gpibEnginesRunOnTheirBoardsThread()
    {
        QThread *here = QThread::currentThread();
        QCOMPARE(poller(0)->engineThread(), here);
        QVERIFY(poller(2)->engineThread() != here);
        QCOMPARE(poller(3)->engineThread(), poller(2)->engineThread());
        // The silent address never comes online, and the others go on meanwhile.
        QVERIFY(!poller(3)->isOnline());
        QVERIFY(poller(0)->isOnline());
        QCOMPARE(poller(2)->state()->serialNumber, 3005);
        QCOMPARE(probe->last.value("vorn/3005/channels"), QByteArray("4"));
    }
    void commandReachesAGpibModule()
    {
        QVERIFY(probe->waitFor("vorn/3005/state", "online", Patience));
        QVERIFY(probe->client->publish("vorn/3005/ch/1/set/voltage", "123", 1, false));
        QVERIFY(probe->waitFor("vorn/3005/ch/1/voltage/set", "123", Patience));
        QCOMPARE(poller(2)->state()->channels[1].voltageSet(), 123.0f);
    }

    void sequenceRunsOnAGpibModule()
    {
        // The runner drives the engine, so it lives on the engine's thread.
        QCOMPARE(poller(2)->sequenceCore()->thread(), poller(2)->engineThread());
        const auto state = [this]() {
            return QJsonDocument::fromJson(probe->last.value("vorn/3005/sequence/state")).object();
        };
        probe->last.remove("vorn/3005/error");
        QVERIFY(probe->client->publish("vorn/3005/sequence/pause", "", 1, false));
        QVERIFY(spinUntil([this] { return probe->last.contains("vorn/3005/error"); }, Patience));
        QVERIFY(probe->last.value("vorn/3005/error").contains("no sequence is running"));
        QVERIFY(probe->client->publish("vorn/3005/sequence/run", "short.json", 1, false));
        QVERIFY2(spinUntil(
                     [&] {
                         return state().value("phase") == QLatin1String("holding")
                             && state().value("step") == 2;
                     },
                     Patience),
            probe->last.value("vorn/3005/sequence/state").constData());
        QCOMPARE(poller(2)->state()->channels[1].voltageSet(), 300.0f);
        QVERIFY(probe->client->publish("vorn/3005/sequence/abort", "", 1, false));
        QVERIFY(spinUntil(
            [&] { return state().value("state") == QLatin1String("aborted"); }, Patience));
        QCOMPARE(poller(2)->state()->channels[1].voltageSet(), 0.0f);
        QVERIFY(spinUntil(
            [this] {
                return probe->payloads("vorn/3005/events")
                    .join()
                    .contains("Sequence: Sequence aborted at step 2 of 2");
            },
            Patience));
    }

    void sequenceEndsWithTheBridge()
    {
        QVERIFY(probe->client->publish("vorn/3005/sequence/run", "short.json", 1, false));
        QVERIFY(spinUntil(
            [this] { return probe->last.value("vorn/3005/sequence/state").contains("running"); },
            Patience));
        // Stopped outside the event loop, as at the program's end: the entry still goes out.
        bridge->stop();
        QVERIFY(spinUntil(
            [this] {
                return probe->payloads("vorn/3005/events").join().contains("the bridge stopped");
            },
            Patience));
    }

private:
    ModulePoller *poller(int index) const { return bridge->pollers().at(index); }

    QTemporaryDir dir;
    BrokerProcess broker;
    SimProcess tcp; // two modules, serial numbers 3001 and 3002
    SimProcess gpib; // a module at address 5, serial number 3005, and a silent listener at 9
    std::unique_ptr<MqttProbe> probe;
    std::unique_ptr<Bridge> bridge;
};

QTEST_GUILESS_MAIN(TestBridgePolling)
#include "tst_bridgepolling.moc"
