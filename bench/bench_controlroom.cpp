// bench_controlroom [seconds, 30] [modules, 1000]: the control room's side of a bridge's full
// output. A simulator of that many modules of 8 channels, every channel on, polled by the real
// bridge at cycle = 1s through a mosquitto broker of the bench's own; the control room's broker
// client, roster and overview in this process with the overview shown in a tree view
// (offscreen). A probe module published from a thread of its own ten times a second gives the
// time from a publish to the overview's change. Prints the messages handled per second, the
// processor time (share of one core and per message), the latency's p50 and p99, and the
// memory.
#include "bridgerun.h"
#include "brokerprocess.h"
#include "mqttclient.h"
#include "overviewfilter.h"
#include "overviewmodel.h"
#include "roomclient.h"
#include "spin.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QSettings>
#include <QThread>
#include <QTreeView>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <mutex>
#include <vector>

namespace {

constexpr int ProbeSerial = 99999;

double processorSeconds()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
        + double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

/// Send times of the probe's values, by value.
struct ProbeTimes
{
    std::mutex mutex;
    std::vector<qint64> sentNs;
};

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_LOGGING_RULES", "vorn.*.info=false");
    QApplication application(argc, argv);
    const QStringList args = application.arguments();
    const int seconds = args.value(1, QStringLiteral("30")).toInt();
    const int modules = args.value(2, QStringLiteral("1000")).toInt();

    BrokerProcess broker;
    if (!broker.start()) {
        std::fprintf(stderr, "mosquitto does not start\n");
        return 1;
    }
    SimProcess sim;
    if (startModules(sim, modules, 8001, { QStringLiteral("--channels"), QStringLiteral("8") })
        == 0)
        return 1;
    BridgeRun bridge;
    if (!bridge.start(broker.port(), moduleSections(portOf(sim), modules), "cycle = 1s\n")
        || !spinUntil([&]() { return bridge.allOnline(modules); }, 180000)) {
        std::fprintf(stderr, "not all modules came online\n");
        return 1;
    }

    QTemporaryDir dir;
    QSettings store(dir.filePath(QStringLiteral("room.ini")), QSettings::IniFormat);
    BrokerSettings settings;
    settings.port = broker.port();
    settings.clientId = QStringLiteral("bench-room");
    RoomClient room(settings, "vorn", &store, QStringLiteral("bench"));
    OverviewModel model(room.roster());
    // As the window shows it: searched, of a kind and sorted by serial number.
    OverviewFilter filter(room.roster());
    filter.setSourceModel(&model);
    QTreeView view;
    view.setModel(&filter);
    view.setSortingEnabled(true);
    view.sortByColumn(OverviewModel::Serial, Qt::AscendingOrder);
    view.resize(1400, 900);
    view.show();
    room.start();

    // The probe: a value a tenth of a second from a client on a thread of its own.
    ProbeTimes times;
    QElapsedTimer clock;
    clock.start();
    QThread probeThread;
    probeThread.start();
    BrokerSettings probeSettings = settings;
    probeSettings.clientId = QStringLiteral("bench-probe");
    QObject home;
    home.moveToThread(&probeThread);
    MqttClient *probe = nullptr;
    QTimer *tick = nullptr;
    // Made on the probe's thread, so that its timers live there too.
    QMetaObject::invokeMethod(&home, [&]() {
        probe = new MqttClient(probeSettings, QByteArray(), QByteArray());
        tick = new QTimer;
        tick->setInterval(100);
        QObject::connect(tick, &QTimer::timeout, probe, [&times, &clock, &probe]() {
            std::lock_guard<std::mutex> lock(times.mutex);
            const qint64 value = qint64(times.sentNs.size());
            if (probe->publish("vorn/" + QByteArray::number(ProbeSerial) + "/temperature",
                    QByteArray::number(value), 0, false))
                times.sentNs.push_back(clock.nsecsElapsed());
        });
        probe->start();
        tick->start();
    }, Qt::BlockingQueuedConnection);

    std::vector<double> latencies;
    qint64 lastSeen = -1;
    bool measuring = false;
    QObject::connect(&model, &QAbstractItemModel::dataChanged, &model,
        [&](const QModelIndex &topLeft) {
            if (!measuring || topLeft.parent().isValid() || model.serialAt(topLeft) != ProbeSerial)
                return;
            const RoomModule *module = room.roster()->module(ProbeSerial);
            const qint64 value = qint64(module->state.temperature);
            if (value == lastSeen)
                return;
            lastSeen = value;
            std::lock_guard<std::mutex> lock(times.mutex);
            if (value >= 0 && size_t(value) < times.sentNs.size())
                latencies.push_back(double(clock.nsecsElapsed() - times.sentNs[size_t(value)]) / 1e6);
        });

    // Until every module is in the overview and its retained topics are read.
    spinUntil([&]() { return model.rowCount() >= modules + 1; }, 60000);
    spinFor(5000);
    measuring = true;
    const quint64 messagesBefore = room.messageCount();
    const double processorBefore = processorSeconds();
    QElapsedTimer run;
    run.start();
    spinFor(seconds * 1000);
    const double elapsed = double(run.elapsed()) / 1000.0;
    const double processor = processorSeconds() - processorBefore;
    const quint64 messages = room.messageCount() - messagesBefore;

    QMetaObject::invokeMethod(&home, [&]() {
        delete tick;
        probe->stop();
        delete probe;
    }, Qt::BlockingQueuedConnection);
    probeThread.quit();
    probeThread.wait();

    std::sort(latencies.begin(), latencies.end());
    const auto at = [&latencies](double q) {
        return latencies.empty()
            ? 0.0
            : latencies[std::min(latencies.size() - 1, size_t(q * double(latencies.size() - 1) + 0.5))];
    };
    std::printf("control room: %d modules of 8 channels at cycle = 1s through the bridge, %d s\n",
        modules, seconds);
    std::printf("  messages handled: %.0f/s; processor %.1f %% of one core, %.1f us per message\n",
        double(messages) / elapsed, 100.0 * processor / elapsed,
        messages ? 1e6 * processor / double(messages) : 0.0);
    std::printf("  publish to overview: p50 %.1f ms, p99 %.1f ms, longest %.1f ms (n = %zu)\n",
        at(0.5), at(0.99), latencies.empty() ? 0.0 : latencies.back(), latencies.size());
    std::printf("  memory (RSS): %ld KiB\n", residentKiB(QString::number(application.applicationPid())));
    return 0;
}
