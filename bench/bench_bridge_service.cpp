// The runs of bench_bridge with the bridge program as a process of its own, as a service runs
// it, read through its metrics:
//
//   latency [tries, 200] [modules, 1000]
//         that many simulated modules at cycle = 1s: an emergency off published for a random
//         channel until it reaches the module's wire (the simulator's trace), and a trip at the
//         module until its entry reaches a subscriber of "events"; p50, p99 and the longest;
//   chaos [seconds, 300] [period s, 15] [modules, 100]
//         a broker with persistence killed and started again every period while trips are made
//         at random through the control port: trips received by a persistent QoS 1 subscriber
//         (mosquitto_sub) against trips made, how soon the bridge is back after each start of
//         the broker, its memory, and whether it ever restarted.
#include "bench_bridge.h"
#include "bridgerun.h"

#include "brokerprocess.h"
#include "eventsubscriber.h"
#include "metricsprobe.h"
#include "mqttprobe.h"
#include "simcontrol.h"
#include "simprocess.h"
#include "spin.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRandomGenerator>
#include <QSet>
#include <QTemporaryDir>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <mutex>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double msBetween(Clock::time_point from, Clock::time_point to)
{
    return std::chrono::duration<double, std::milli>(to - from).count();
}

/// "p50 1.2 ms, p99 3.4 ms, longest 5.6 ms (n = 200)".
QByteArray percentiles(std::vector<double> values)
{
    if (values.empty())
        return "no values";
    std::sort(values.begin(), values.end());
    const auto at = [&values](double q) {
        return values[std::min(values.size() - 1, size_t(q * double(values.size() - 1) + 0.5))];
    };
    return QStringLiteral("p50 %1 ms, p99 %2 ms, longest %3 ms (n = %4)")
        .arg(at(0.5), 0, 'f', 1)
        .arg(at(0.99), 0, 'f', 1)
        .arg(values.back(), 0, 'f', 1)
        .arg(values.size())
        .toLatin1();
}

/// Follows a file that grows (the simulator's trace) on a thread of its own, and notes when
/// each line holding a pattern came, to a fraction of a millisecond.
class TraceWatch
{
public:
    TraceWatch(const QString &path, const QByteArray &pattern)
        : m_pattern(pattern)
    {
        m_fd = ::open(path.toLocal8Bit().constData(), O_RDONLY | O_CLOEXEC);
        ::lseek(m_fd, 0, SEEK_END);
        m_thread = std::thread([this] { run(); });
    }
    ~TraceWatch()
    {
        m_stop = true;
        m_thread.join();
        ::close(m_fd);
    }

    /// Lines with the pattern seen so far, with when.
    std::vector<std::pair<Clock::time_point, QByteArray>> seen()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_seen;
    }

private:
    void run()
    {
        QByteArray pending;
        char buffer[65536];
        while (!m_stop) {
            const ssize_t size = ::read(m_fd, buffer, sizeof buffer);
            if (size <= 0) {
                std::this_thread::sleep_for(std::chrono::microseconds(100));
                continue;
            }
            const Clock::time_point now = Clock::now();
            pending.append(buffer, int(size));
            qsizetype end = 0;
            while ((end = pending.indexOf('\n')) >= 0) {
                const QByteArray line = pending.left(end);
                pending.remove(0, end + 1);
                if (line.contains(m_pattern)) {
                    std::lock_guard<std::mutex> lock(m_mutex);
                    m_seen.emplace_back(now, line);
                }
            }
        }
    }

    QByteArray m_pattern;
    int m_fd = -1;
    std::atomic<bool> m_stop { false };
    std::thread m_thread;
    std::mutex m_mutex;
    std::vector<std::pair<Clock::time_point, QByteArray>> m_seen;
};

} // namespace

int latencyRun(const QStringList &args, quint16 brokerPort)
{
    const int tries = args.size() > 0 ? args.at(0).toInt() : 200;
    const int modules = args.size() > 1 ? args.at(1).toInt() : 1000;
    constexpr int FirstSerial = 10001;
    QTemporaryDir dir;
    const QString trace = dir.filePath(QStringLiteral("wire.trace"));
    SimProcess sim;
    const quint16 control
        = startModules(sim, modules, FirstSerial, { QStringLiteral("--trace"), trace });
    if (control == 0)
        return 1;
    const quint16 first = portOf(sim);
    BridgeRun bridge;
    if (!bridge.start(brokerPort, moduleSections(first, modules), "cycle = 1s\n")
        || !spinUntil([&]() { return bridge.allOnline(modules); }, 300000)) {
        std::fprintf(stderr, "latency: not all modules came online\n");
        return 1;
    }
    spinFor(3000);
    MqttProbe probe(brokerPort, "vorn/+/events");
    QHash<QByteArray, Clock::time_point> tripsSeen;
    QHash<QByteArray, qint64> tripsNoted; // the entry's own time, ms since 1970
    QHash<QByteArray, QByteArrayList> entriesOf; // by topic, for a trip that does not come
    QObject::connect(probe.client, &MqttClient::messageReceived, probe.client,
        [&](const QByteArray &topic, const QByteArray &payload, bool) {
            entriesOf[topic].append(payload);
            const QByteArray trip = tripOf(payload);
            if (!trip.isEmpty() && !tripsSeen.contains(trip)) {
                tripsSeen.insert(trip, Clock::now());
                tripsNoted.insert(trip,
                    qint64(QJsonDocument::fromJson(payload)
                               .object()
                               .value(QLatin1String("time"))
                               .toDouble()));
            }
        });
    if (!spinUntil([&]() { return probe.client->isConnected(); }, 10000))
        return 1;
    spinFor(1000);
    QRandomGenerator random(20251206);

    // Emergency off: publish, until the module's wire has it; cleared again after each, on the
    // first half of the modules.
    std::vector<double> offs;
    {
        TraceWatch wire(trace, "EMCY");
        for (int i = 0; i < tries; ++i) {
            const int module = int(random.bounded(modules / 2));
            const int channel = int(random.bounded(4));
            const QByteArray topic = "vorn/" + QByteArray::number(FirstSerial + module) + "/ch/"
                + QByteArray::number(channel) + "/set/emergency-off";
            const size_t before = wire.seen().size();
            const Clock::time_point sent = Clock::now();
            probe.client->publish(topic, "1", 1, false);
            if (!spinUntil([&]() { return wire.seen().size() > before; }, 10000)) {
                std::fprintf(stderr, "latency: emergency off %d never reached the wire\n", i);
                return 1;
            }
            offs.push_back(msBetween(sent, wire.seen().at(before).first));
            probe.client->publish(topic, "0", 1, false);
            spinUntil([&]() { return wire.seen().size() > before + 1; }, 10000);
            // At a random moment of the module's cycle.
            spinFor(int(random.bounded(100, 1100)));
        }
    }
    std::printf("latency: %d modules of 4 channels at cycle = 1s\n", modules);
    std::printf(
        "  emergency off, publish to the module's wire: %s\n", percentiles(offs).constData());
    std::fflush(stdout);

    // Trips on the other half, each on a channel of its own.
    std::vector<double> trips;
    std::vector<double> noted; // made to the entry's time, by the wall clock
    QSet<QByteArray> used;
    for (int i = 0; i < tries; ++i) {
        int module = 0;
        int channel = 0;
        QByteArray key;
        do {
            module = modules / 2 + int(random.bounded(modules - modules / 2));
            channel = int(random.bounded(4));
            key = QByteArray::number(FirstSerial + module) + '/' + QByteArray::number(channel);
        } while (used.contains(key));
        used.insert(key);
        const Clock::time_point made = Clock::now();
        const qint64 madeAt = QDateTime::currentMSecsSinceEpoch();
        const QByteArray answer
            = exchange(control, QStringLiteral("@%1 trip %2").arg(module).arg(channel).toLatin1());
        if (answer != "ok") {
            std::fprintf(stderr, "latency: trip %s: %s\n", key.constData(), answer.constData());
            return 1;
        }
        if (!spinUntil([&]() { return tripsSeen.contains(key); }, 10000)) {
            std::fprintf(stderr,
                "latency: trip %s never reached events; the module's entries:\n%s\n",
                key.constData(),
                entriesOf.value("vorn/" + key.left(key.indexOf('/')) + "/events")
                    .join('\n')
                    .constData());
            std::fprintf(
                stderr, "%s\n", httpRequest(bridge.metricsPort, "/metrics").second.constData());
            return 1;
        }
        trips.push_back(msBetween(made, tripsSeen.value(key)));
        noted.push_back(double(tripsNoted.value(key) - madeAt));
        spinFor(int(random.bounded(0, 300)));
    }
    std::printf(
        "  trip at the module to its entry on events: %s\n", percentiles(trips).constData());
    std::printf("    of which until the bridge noted it (the entry's time): %s\n",
        percentiles(noted).constData());
    std::printf("  bridge memory (RSS) at the end %ld KiB; module links lost meanwhile: %.0f\n",
        bridge.rss(), bridge.metric("vorn_bridge_module_watchdog_expiries_total"));
    std::fflush(stdout);
    return 0;
}

int chaosRun(const QStringList &args)
{
    const int seconds = args.size() > 0 ? args.at(0).toInt() : 300;
    const int period = args.size() > 1 ? args.at(1).toInt() : 15;
    const int modules = args.size() > 2 ? args.at(2).toInt() : 100;
    constexpr int FirstSerial = 30001;
    constexpr int DownMs = 1000;
    BrokerProcess broker;
    broker.setPersistent(true);
    if (!broker.start()) {
        std::fprintf(stderr, "mosquitto does not start\n");
        return 1;
    }
    SimProcess sim;
    const quint16 control = startModules(sim, modules, FirstSerial);
    if (control == 0)
        return 1;
    const quint16 first = portOf(sim);
    PersistentSubscriber subscriber;
    if (!subscriber.start(
            broker.port(), QStringLiteral("bench-chaos-events"), QStringLiteral("vorn/+/events"))) {
        std::fprintf(stderr, "mosquitto_sub does not subscribe (scripts/deps.sh installs it)\n");
        return 1;
    }
    // A trip shows in two entries (its status bit, then its event): a duplicate is the same
    // entry delivered again.
    QSet<QByteArray> received;
    QSet<QByteArray> entries;
    int duplicates = 0;
    qsizetype readUpTo = 0;
    const auto readEvents = [&]() {
        const QByteArray &log = subscriber.read();
        qsizetype end = 0;
        while ((end = log.indexOf('\n', readUpTo)) >= 0) {
            const QByteArray line = log.mid(readUpTo, end - readUpTo);
            const QByteArray trip = tripOf(line);
            readUpTo = end + 1;
            if (trip.isEmpty())
                continue;
            if (entries.contains(line))
                ++duplicates;
            entries.insert(line);
            received.insert(trip);
        }
    };

    BridgeRun bridge;
    if (!bridge.start(broker.port(), moduleSections(first, modules), "cycle = 1s\n")
        || !spinUntil([&]() { return bridge.allOnline(modules); }, 120000)) {
        std::fprintf(stderr, "chaos: not all modules came online\n");
        return 1;
    }
    const qint64 pid = bridge.process.processId();
    spinFor(3000);
    const long rssStart = bridge.rss();
    long rssMax = rssStart;
    QRandomGenerator random(20251206);
    QList<QPair<int, int>> channels;
    for (int m = 0; m < modules; ++m)
        for (int c = 0; c < 4; ++c)
            channels.append({ m, c });
    std::shuffle(channels.begin(), channels.end(), random);
    int injected = 0;
    int outages = 0;
    std::vector<double> backAfter;
    QElapsedTimer clock;
    clock.start();
    qint64 nextTrip = random.bounded(500, 3500);
    qint64 nextKill = qint64(period) * 1000;
    while (clock.elapsed() < qint64(seconds) * 1000) {
        readEvents();
        if (clock.elapsed() >= nextTrip && injected < channels.size()) {
            const auto [module, channel] = channels.at(injected);
            if (exchange(control, QStringLiteral("@%1 trip %2").arg(module).arg(channel).toLatin1())
                == "ok")
                ++injected;
            nextTrip = clock.elapsed() + random.bounded(500, 3500);
        }
        if (clock.elapsed() >= nextKill) {
            broker.kill();
            ++outages;
            const double connections = bridge.metric("vorn_bridge_broker_connections_total");
            spinFor(DownMs);
            if (!broker.start(broker.port())) {
                std::fprintf(stderr, "chaos: the broker does not start again\n");
                return 1;
            }
            const Clock::time_point started = Clock::now();
            // The bridge is back once it has connected again and published everything anew.
            if (!spinUntil(
                    [&]() {
                        return bridge.metric("vorn_bridge_broker_connections_total") > connections
                            && bridge.allOnline(modules);
                    },
                    60000)) {
                std::fprintf(stderr, "chaos: the bridge did not come back within a minute\n");
                return 1;
            }
            backAfter.push_back(msBetween(started, Clock::now()));
            rssMax = std::max(rssMax, bridge.rss());
            nextKill += qint64(period) * 1000;
        }
        spinFor(20);
    }
    spinUntil(
        [&]() {
            readEvents();
            return received.size() >= injected;
        },
        60000);
    const long rssEnd = bridge.rss();
    const bool same
        = bridge.process.state() == QProcess::Running && bridge.process.processId() == pid;
    std::printf("chaos: %d modules at cycle = 1s, %d s, the broker (persistence, autosave every "
                "1 s) killed every %d s and started again after %d ms: %d outages\n",
        modules, seconds, period, DownMs, outages);
    std::printf("  trips made %d, received by a persistent QoS 1 subscriber %lld (%d duplicates)"
                "%s\n",
        injected, qlonglong(received.size()), duplicates,
        received.size() == injected ? ": all" : ": SOME LOST");
    std::printf("  bridge back online after each start of the broker: %s\n",
        percentiles(backAfter).constData());
    std::printf("  bridge memory (RSS): %ld KiB at the start, %ld KiB at most, %ld KiB at the "
                "end; restarted: %s\n",
        rssStart, rssMax, rssEnd, same ? "no" : "YES");
    std::printf("  broker losses: gone %.0f, refused %.0f, kicked %.0f\n",
        bridge.metric("vorn_bridge_broker_losses_total{kind=\"gone\"}"),
        bridge.metric("vorn_bridge_broker_losses_total{kind=\"refused\"}"),
        bridge.metric("vorn_bridge_broker_losses_total{kind=\"kicked\"}"));
    std::fflush(stdout);
    return received.size() == injected && same ? 0 : 1;
}
