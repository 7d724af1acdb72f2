// The bridge polling many simulated modules over loopback TCP and publishing to a mosquitto
// broker of its own, beside the same bridge polling one module: answers per second in total
// and per module, publishes per second, CPU time of the bridge per answer, and its memory.
//
// Usage: bench_bridge [seconds with one module, default 60] [seconds with many, default 600]
//                     [modules, default 16] [memory sample after seconds, default 60]
#include "bridge.h"
#include "brokerprocess.h"
#include "modulepoller.h"
#include "mqttclient.h"
#include "simprocess.h"
#include "spin.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLoggingCategory>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <sys/resource.h>
#include <vector>

namespace {

double cpuSeconds()
{
    rusage usage = {};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
        + double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

long rssKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    }
    return -1;
}

/// Runs one bridge over \a sims for \a seconds once all modules are online and prints its
/// figures; samples memory after \a sampleSeconds too when the run is longer.
bool run(const char *label, quint16 brokerPort, const std::vector<quint16> &ports, int seconds,
    int sampleSeconds)
{
    BridgeSettings settings;
    settings.broker.port = brokerPort;
    settings.broker.clientId = QStringLiteral("bench-%1").arg(ports.size());
    for (size_t i = 0; i < ports.size(); ++i) {
        ModuleSettings m;
        m.name = QStringLiteral("m%1").arg(i);
        m.host = QStringLiteral("127.0.0.1");
        m.port = ports[i];
        settings.modules.append(m);
    }
    Bridge bridge(settings);
    if (!bridge.start())
        return false;
    const auto allOnline = [&bridge]() {
        return std::all_of(bridge.pollers().begin(), bridge.pollers().end(),
            [](const ModulePoller *p) { return p->isOnline(); });
    };
    if (!spinUntil(allOnline, 60000)) {
        std::fprintf(stderr, "%s: not all modules came online\n", label);
        return false;
    }
    std::vector<quint64> start;
    for (const ModulePoller *p : bridge.pollers())
        start.push_back(p->answerCount());
    const quint64 published = bridge.client()->publishCount();
    const double cpu = cpuSeconds();
    QElapsedTimer clock;
    clock.start();
    long rssSample = -1;
    const long rssStart = rssKiB();
    if (sampleSeconds < seconds) {
        spinFor(sampleSeconds * 1000);
        rssSample = rssKiB();
    }
    spinFor(int(qMax<qint64>(0, seconds * 1000 - clock.elapsed())));
    const double elapsed = double(clock.elapsed()) / 1000.0;
    const double cpuUsed = cpuSeconds() - cpu;
    std::vector<double> rates;
    double total = 0;
    for (size_t i = 0; i < start.size(); ++i) {
        const double answers = double(bridge.pollers()[int(i)]->answerCount() - start[i]);
        rates.push_back(answers / elapsed);
        total += answers;
    }
    const auto [slow, fast] = std::minmax_element(rates.begin(), rates.end());
    std::printf("%s: %zu module(s), %.0f s\n", label, ports.size(), elapsed);
    std::printf(
        "  answers/s total %.0f, per module slowest %.0f fastest %.0f (slowest %.1f %% below)\n",
        total / elapsed, *slow, *fast, 100.0 * (*fast - *slow) / *fast);
    if (rates.size() > 1) {
        std::printf("  per module:");
        for (double r : rates)
            std::printf(" %.0f", r);
        std::printf("\n");
    }
    std::printf(
        "  publishes/s %.0f\n", double(bridge.client()->publishCount() - published) / elapsed);
    std::printf("  bridge CPU %.1f %% of one core, %.1f us per answer\n", 100.0 * cpuUsed / elapsed,
        1e6 * cpuUsed / total);
    if (rssSample >= 0)
        std::printf("  memory (RSS) at start %ld KiB, after %d s %ld KiB, after %.0f s %ld KiB\n",
            rssStart, sampleSeconds, rssSample, elapsed, rssKiB());
    else
        std::printf("  memory (RSS) at start %ld KiB, at end %ld KiB\n", rssStart, rssKiB());
    std::fflush(stdout);
    bridge.stop();
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QLoggingCategory::setFilterRules(QStringLiteral("vorn.*.info=false"));
    const QStringList args = app.arguments();
    const auto arg
        = [&args](int i, int fallback) { return args.size() > i ? args.at(i).toInt() : fallback; };
    const int singleSeconds = arg(1, 60);
    const int manySeconds = arg(2, 600);
    const int modules = arg(3, 16);
    const int sampleSeconds = arg(4, 60);

    BrokerProcess broker;
    if (!broker.start()) {
        std::fprintf(stderr, "mosquitto does not start (scripts/deps.sh installs it)\n");
        return 1;
    }
    std::vector<std::unique_ptr<SimProcess>> sims;
    std::vector<quint16> ports;
    for (int i = 0; i <= modules; ++i) {
        auto sim = std::make_unique<SimProcess>();
        if (!sim->start({ QStringLiteral("--tcp"), QStringLiteral("0"),
                            QStringLiteral("--channels"), QStringLiteral("4"),
                            QStringLiteral("--serial-number"), QString::number(2000 + i) },
                "tcp")) {
            std::fprintf(stderr, "simulator %d does not start\n", i);
            return 1;
        }
        ports.push_back(quint16(sim->endpoint().section(QLatin1Char(':'), -1).toUInt()));
        sims.push_back(std::move(sim));
    }
    const std::vector<quint16> one(ports.end() - 1, ports.end());
    const std::vector<quint16> many(ports.begin(), ports.end() - 1);
    if (!run("one module", broker.port(), one, singleSeconds, singleSeconds))
        return 1;
    if (!run("many modules", broker.port(), many, manySeconds, sampleSeconds))
        return 1;
    return 0;
}
