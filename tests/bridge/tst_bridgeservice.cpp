// The bridge program as a service: what it tells the service manager, its metrics checked and
// scraped by a real monitoring server, a payload far beyond its maximum packet size, the
// events of a chattering module, trips that reach a persistent subscriber while the broker is
// killed and started again, and commands the broker kept for the bridge while the network
// between them was lost.
#include "bridgeprocess.h"
#include "brokerprocess.h"
#include "eventsubscriber.h"
#include "metricsprobe.h"
#include "mqttprobe.h"
#include "simcontrol.h"
#include "simprocess.h"
#include "tcprelay.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <QSocketNotifier>
#include <QTest>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

constexpr int Modules = 4;
constexpr int FirstSerial = 3001;

/// A datagram socket standing in for the service manager's notification socket. It reads
/// whenever a message comes, as the service manager does: a sender to a full socket would wait.
class NotifySocket
{
public:
    ~NotifySocket()
    {
        delete m_notifier;
        if (m_fd >= 0)
            ::close(m_fd);
    }

    bool bind(const QString &path)
    {
        m_fd = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        sockaddr_un address = {};
        address.sun_family = AF_UNIX;
        const QByteArray name = path.toLocal8Bit();
        if (m_fd < 0 || size_t(name.size()) >= sizeof address.sun_path)
            return false;
        qstrcpy(address.sun_path, name.constData());
        if (::bind(m_fd, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0)
            return false;
        m_notifier = new QSocketNotifier(m_fd, QSocketNotifier::Read);
        QObject::connect(m_notifier, &QSocketNotifier::activated, m_notifier, [this] { read(); });
        return true;
    }

    const QByteArrayList &messages()
    {
        read();
        return m_messages;
    }

private:
    void read()
    {
        char buffer[4096];
        ssize_t size = 0;
        while ((size = ::recv(m_fd, buffer, sizeof buffer, 0)) > 0)
            m_messages << QByteArray(buffer, int(size));
    }

    int m_fd = -1;
    QSocketNotifier *m_notifier = nullptr;
    QByteArrayList m_messages;
};

} // namespace

class TestBridgeService : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY2(!BrokerProcess::program().isEmpty(), "mosquitto is missing; run scripts/deps.sh");
        broker.setPersistent(true);
        QVERIFY(broker.start());
        QVERIFY(
            sim.start({ QStringLiteral("--tcp"), QStringLiteral("0"), QStringLiteral("--modules"),
                          QString::number(Modules), QStringLiteral("--serial-number"),
                          QString::number(FirstSerial), QStringLiteral("--control"),
                          QStringLiteral("0"), QStringLiteral("--no-noise") },
                "tcp"));
        controlPort = controlPortOf(sim);
        QVERIFY(controlPort != 0);
        // Every channel on, so that it can trip.
        QVERIFY(switchAllOn(portOf(sim), Modules, 100));
        QVERIFY(subscriber.start(
            broker.port(), QStringLiteral("tst-service-events"), QStringLiteral("vorn/+/events")));

        metricsPort = freeLoopbackPort();
        QByteArray text = QStringLiteral("[broker]\nport = %1\nclient-id = service\n"
                                         "insecure-commands = local-only\n"
                                         "[bridge]\nmetrics = %2\n[defaults]\ncycle = 50ms\n")
                              .arg(broker.port())
                              .arg(metricsPort)
                              .toLatin1();
        for (int m = 0; m < Modules; ++m)
            text += QStringLiteral("[module m%1]\ntcp = 127.0.0.1:%2\ncommands = on\n")
                        .arg(m)
                        .arg(portOf(sim) + m)
                        .toLatin1();
        const QString config = dir.filePath(QStringLiteral("bridge.conf"));
        QFile file(config);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(text) == text.size());
        file.close();
        QVERIFY(file.setPermissions(QFile::ReadOwner | QFile::WriteOwner));
        const QString socket = dir.filePath(QStringLiteral("notify"));
        QVERIFY(notify.bind(socket));
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("NOTIFY_SOCKET"), socket);
        environment.insert(QStringLiteral("WATCHDOG_USEC"), QStringLiteral("1500000"));
        bridge.process.setProcessEnvironment(environment);
        bridge.start(config);
        QVERIFY2(
            spinUntil(
                [&]() { return metricValue("vorn_bridge_modules{state=\"online\"}") == Modules; },
                Patience),
            bridge.read().constData());
        bridgePid = bridge.process.processId();
    }
    void cleanupTestCase()
    {
        bridge.stop();
        subscriber.stop();
    }

    void tellsTheServiceManager()
    {
        const QByteArray status = QStringLiteral("STATUS=%1 of %1 modules online, broker "
                                                 "127.0.0.1:%2 connected")
                                      .arg(Modules)
                                      .arg(broker.port())
                                      .toLatin1();
        QVERIFY2(spinUntil(
                     [&]() {
                         const QByteArrayList &said = notify.messages();
                         return said.contains("READY=1") && said.contains(status)
                             && said.count("WATCHDOG=1") >= 2;
                     },
                     Patience),
            notify.messages().join('\n').constData());
    }

    void metricsForAMonitoringServer()
    {
        const auto [status, text] = httpRequest(metricsPort, "/metrics");
        QCOMPARE(status, 200);
        QProcess promtool;
        promtool.setProcessChannelMode(QProcess::MergedChannels);
        promtool.start(
            QStringLiteral("promtool"), { QStringLiteral("check"), QStringLiteral("metrics") });
        promtool.write(text);
        promtool.closeWriteChannel();
        QVERIFY2(promtool.waitForFinished(30000) && promtool.exitCode() == 0,
            (promtool.readAll() + '\n' + text).constData());
        QCOMPARE(metricIn(text, "vorn_bridge_broker_connected"), 1.0);
        QCOMPARE(httpRequest(metricsPort, "/healthz"), qMakePair(200, QByteArray("ok\n")));
        // Read-only: nothing else is served.
        QCOMPARE(httpRequest(metricsPort, "/metrics", "POST").first, 405);
        QCOMPARE(httpRequest(metricsPort, "/m0/ch/0/set/on").first, 404);

        // A monitoring server of its own scrapes it every second.
        const QString folder = dir.filePath(QStringLiteral("prometheus"));
        QVERIFY(QDir().mkpath(folder));
        QFile config(folder + QStringLiteral("/prometheus.yml"));
        QVERIFY(config.open(QIODevice::WriteOnly));
        config.write(QStringLiteral("global:\n  scrape_interval: 1s\nscrape_configs:\n"
                                    "  - job_name: bridge\n    static_configs:\n"
                                    "      - targets: ['127.0.0.1:%1']\n")
                         .arg(metricsPort)
                         .toLatin1());
        config.close();
        const quint16 webPort = freeLoopbackPort();
        QProcess prometheus;
        prometheus.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        prometheus.start(QStringLiteral("prometheus"),
            { QStringLiteral("--config.file=") + config.fileName(),
                QStringLiteral("--storage.tsdb.path=") + folder + QStringLiteral("/data"),
                QStringLiteral("--web.listen-address=127.0.0.1:%1").arg(webPort),
                QStringLiteral("--log.level=warn") });
        QVERIFY(prometheus.waitForStarted(10000));
        QByteArray answer;
        const bool scraped = spinUntil(
            [&]() {
                spinFor(200);
                answer = httpRequest(
                    webPort, "/api/v1/query?query=vorn_bridge_modules%7Bstate%3D%22online%22%7D")
                             .second;
                return answer.contains("\"job\":\"bridge\"")
                    && answer.contains(",\"" + QByteArray::number(Modules) + "\"]");
            },
            60000);
        prometheus.terminate();
        prometheus.waitForFinished(10000);
        QVERIFY2(scraped, answer.constData());
    }

    void largePayloadCostsNothing()
    {
        const long before = residentKiB(QString::number(bridgePid));
        const double refused
            = metricValue("vorn_bridge_commands_refused_total{reason=\"invalid\"}");
        const double connections = metricValue("vorn_bridge_broker_connections_total");
        // Before, libmosquitto read all of it before the bridge could refuse it: 16 MB grew to
        // 113 MB. Now the broker drops it for the bridge, which announced 4 KiB at most.
        const QString big = dir.filePath(QStringLiteral("big"));
        QFile file(big);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.resize(50 * 1024 * 1024));
        file.close();
        const QString topic = QStringLiteral("vorn/%1/ch/0/set/voltage").arg(FirstSerial);
        QCOMPARE(
            QProcess::execute(QStringLiteral("mosquitto_pub"),
                { QStringLiteral("-p"), QString::number(broker.port()), QStringLiteral("-q"),
                    QStringLiteral("1"), QStringLiteral("-t"), topic, QStringLiteral("-f"), big }),
            0);
        QFile::remove(big);
        // A small one after it arrives and is refused: the big one has been passed over.
        QCOMPARE(QProcess::execute(QStringLiteral("mosquitto_pub"),
                     { QStringLiteral("-p"), QString::number(broker.port()), QStringLiteral("-q"),
                         QStringLiteral("1"), QStringLiteral("-t"), topic, QStringLiteral("-m"),
                         QStringLiteral("lots") }),
            0);
        QVERIFY(spinUntil(
            [&]() {
                return metricValue("vorn_bridge_commands_refused_total{reason=\"invalid\"}")
                    == refused + 1;
            },
            Patience));
        QCOMPARE(metricValue("vorn_bridge_broker_connections_total"), connections);
        const long after = residentKiB(QString::number(bridgePid));
        QVERIFY2(after < before + 5 * 1024,
            qPrintable(QStringLiteral("%1 KiB before, %2 KiB after").arg(before).arg(after)));
    }

    void chatteringModuleIsRateLimited()
    {
        // Module 1's channel 0 goes in and out of constant current, faster than the bridge may
        // publish its entries.
        const QByteArray topic
            = QByteArray("vorn/") + QByteArray::number(FirstSerial + 1) + "/events";
        MqttProbe probe(broker.port(), topic);
        QVERIFY(spinUntil([&]() { return probe.client->isConnected(); }, Patience));
        spinFor(500); // subscribed
        for (int i = 0; i < 60; ++i) {
            QCOMPARE(exchange(controlPort, "@1 load 0 1e3"), QByteArray("ok"));
            spinFor(40);
            QCOMPARE(exchange(controlPort, "@1 load 0 off"), QByteArray("ok"));
            spinFor(40);
        }
        // Each summary says what it left out: in all, what the bridge counts as dropped.
        int said = 0;
        int summaries = 0;
        int warnings = 0;
        QVERIFY2(spinUntil(
                     [&]() {
                         said = summaries = warnings = 0;
                         for (const QByteArray &payload : probe.payloads(topic)) {
                             const QJsonObject entry = QJsonDocument::fromJson(payload).object();
                             if (!entry["text"].toString().contains(
                                     QLatin1String("events not published: more than 5 a second")))
                                 continue;
                             warnings += int(entry["severity"] == QStringLiteral("warning"));
                             ++summaries;
                             said += entry["dropped"]["info"].toInt()
                                 + entry["dropped"]["warning"].toInt();
                         }
                         const double dropped
                             = metricValue("vorn_bridge_events_dropped_total{cause=\"rate\"}");
                         return said > 0 && said == dropped;
                     },
                     Patience),
            qPrintable(QStringLiteral("%1 said dropped").arg(said)));
        QCOMPARE(warnings, summaries);
        QCOMPARE(exchange(controlPort, "@1 load 0 off"), QByteArray("ok"));
    }

    void tripsReachAPersistentSubscriberThroughBrokerKills()
    {
        // Channels nobody else uses here, one trip each.
        QList<QPair<int, int>> channels;
        for (int m = 0; m < Modules; ++m) {
            for (int c = 0; c < 4; ++c) {
                if (m != 1 || c != 0)
                    channels.append({ m, c });
            }
        }
        int injected = 0;
        QStringList made;
        const auto trip = [&]() {
            const auto [module, channel] = channels.at(injected++);
            made << QStringLiteral("%1/%2").arg(FirstSerial + module).arg(channel);
            return exchange(
                controlPort, QStringLiteral("@%1 trip %2").arg(module).arg(channel).toLatin1());
        };
        for (int outage = 0; outage < 2; ++outage) {
            const double connections = metricValue("vorn_bridge_broker_connections_total");
            QCOMPARE(trip(), QByteArray("ok"));
            QCOMPARE(trip(), QByteArray("ok"));
            broker.kill();
            // Seen by the bridge while the broker is away: held until it is back.
            QCOMPARE(trip(), QByteArray("ok"));
            QCOMPARE(trip(), QByteArray("ok"));
            spinFor(500);
            QVERIFY(broker.start(broker.port()));
            QVERIFY2(spinUntil(
                         [&]() {
                             return metricValue("vorn_bridge_broker_connections_total")
                                 == connections + 1
                                 && metricValue("vorn_bridge_modules{state=\"online\"}") == Modules;
                         },
                         Patience),
                bridge.read().constData());
            // However many losses came before, the broker is asked for again within seconds.
            QVERIFY(metricValue("vorn_bridge_broker_reconnect_pause_seconds") <= 2.0);
            QCOMPARE(trip(), QByteArray("ok"));
            // What the broker has taken but not yet handed to the subscriber is in its memory
            // alone until it saves: the next outage after the subscriber is back and a save.
            QVERIFY(
                spinUntil([&]() { return subscriber.subscriptions() == outage + 2; }, Patience));
            spinFor(BrokerProcess::AutosaveMs + 500);
        }
        QSet<QByteArray> trips;
        QVERIFY2(spinUntil(
                     [&]() {
                         for (const QByteArray &line : subscriber.read().split('\n')) {
                             if (const QByteArray trip = tripOf(line); !trip.isEmpty())
                                 trips.insert(trip);
                         }
                         return trips.size() >= injected;
                     },
                     Patience),
            qPrintable(QStringLiteral("%1 of %2 trips received; made %3, received %4")
                           .arg(trips.size())
                           .arg(injected)
                           .arg(made.join(QLatin1Char(' ')),
                               QString::fromLatin1(
                                   QByteArrayList(trips.begin(), trips.end()).join(' ')))));
        QCOMPARE(trips.size(), injected);
        // The same bridge all along, which never took the broker's absence for a refusal.
        QCOMPARE(bridge.process.processId(), bridgePid);
        QCOMPARE(metricValue("vorn_bridge_broker_losses_total{kind=\"kicked\"}"), 0.0);
        QCOMPARE(metricValue("vorn_bridge_broker_losses_total{kind=\"refused\"}"), 0.0);
    }

    void commandsKeptDuringANetworkLossOnlySwitchOff()
    {
        // A bridge of its own for module 2 under "late", through a relay that can lose the
        // network while the broker keeps running and keeps the bridge's session.
        TcpRelay relay(broker.port());
        QVERIFY(relay.open());
        const quint16 port = quint16(portOf(sim) + 2);
        const QString config = dir.filePath(QStringLiteral("late.conf"));
        QVERIFY(writeFile(config,
            QStringLiteral("[broker]\nport = %1\nprefix = late\nclient-id = late\n"
                           "insecure-commands = local-only\n"
                           "[module m2]\ntcp = 127.0.0.1:%2\ncommands = on\n")
                .arg(relay.port())
                .arg(port)
                .toLatin1(),
            QFile::ReadOwner | QFile::WriteOwner));
        QVERIFY(switchAllOn(port, 1, 100));
        // The channels' on bits, straight from the module.
        const auto onBits = [port]() {
            QList<double> on;
            for (const double word : ask(port, ":READ:CHAN:STAT? (@0-3)"))
                on << double((int(word) >> 3) & 1);
            return on;
        };
        MqttProbe probe(broker.port(), "late/#");
        BridgeProcess late;
        late.start(config);
        const QByteArray base = "late/" + QByteArray::number(FirstSerial + 2) + '/';
        QVERIFY2(probe.waitFor(base + "state", "online", Patience), late.read().constData());
        QVERIFY(probe.waitFor(base + "ch/3/voltage/set", "100", Patience));

        relay.cut();
        QVERIFY(probe.waitFor("late/bridge/late/state", "offline", Patience)); // its will
        QVERIFY(probe.client->publish(base + "ch/1/set/voltage", "321", 1, false));
        QVERIFY(probe.client->publish(base + "ch/2/set/on", "0", 1, false));
        QVERIFY(probe.client->publish(base + "ch/3/set/emergency-off", "1", 1, false));
        QVERIFY(probe.client->publish(base + "ch/0/set/voltage", "222", 1, false));
        spinFor(300);
        QVERIFY(relay.reopen());
        QVERIFY2(probe.waitFor("late/bridge/late/state", "online", Patience),
            late.read().constData());
        QVERIFY(spinUntil(
            [&]() { return onBits() == QList<double>({ 1, 1, 0, 0 }); },
            Patience));
        QVERIFY2(late.waitForLog("only an off or an abort is carried out late", Patience, 2),
            late.read().constData());
        QCOMPARE(ask(port, ":READ:VOLT? (@0-1)"), QList<double>({ 100, 100 }));
        // The backlog is over: what is sent now is carried out.
        QVERIFY(probe.client->publish(base + "ch/1/set/voltage", "123", 1, false));
        QVERIFY(spinUntil([&]() { return ask(port, ":READ:VOLT? (@1)").value(0) == 123; },
            Patience));
        late.stop();
    }

private:
    double metricValue(const QByteArray &name) { return scrapeMetric(metricsPort, name); }

    QTemporaryDir dir;
    BrokerProcess broker;
    SimProcess sim;
    quint16 controlPort = 0;
    quint16 metricsPort = 0;
    NotifySocket notify;
    BridgeProcess bridge;
    qint64 bridgePid = 0;
    PersistentSubscriber subscriber;
};

QTEST_GUILESS_MAIN(TestBridgeService)
#include "tst_bridgeservice.moc"
