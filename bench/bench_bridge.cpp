// The bridge and a mosquitto broker of its own over loopback, in three runs:
//
//   many  [s with one module, 60] [s with many, 600] [modules, 16] [memory sample after s, 60]
//         one module and then many, each a simulator process, polled as fast as they answer:
//         answers per second in total and per module, publishes per second, CPU time per
//         answer, memory;
//   scale [seconds, 180] [modules, 1000]
//         that many simulated 4-channel modules (one simulator process) at cycle = 1s: polling
//         cycles per module and second against the configured rate, for every module, the
//         bridge's CPU, its memory at the start, after a minute and at the end, publishes per
//         second;
//   gpib  [seconds of each kind, 60] [TCP modules, 15]
//         TCP modules polled as fast as they answer, alone and beside a silent GPIB address
//         (stand-in driver), in runs of 10 s taking turns: the TCP modules' answers per second
//         with and without it;
//   cpu   [seconds per run, 30] [modules, 1000] [runs of each kind, 3]
//         that many modules at cycle = 1s, polled by their engines alone (as the bridge keeps
//         them, without the broker) and by the whole bridge, in runs taking turns: processor
//         time per answer of each and their ratio;
//   latency, chaos: see bench_bridge_service.cpp.
//
// Usage: bench_bridge [many|scale|gpib|cpu|latency|chaos] [numbers as above]; without a run
// name: many.
#include "bench_bridge.h"
#include "bridge.h"
#include "brokerprocess.h"
#include "gpib488loader.h"
#include "loopbatching.h"
#include "metricsprobe.h"
#include "modulepoller.h"
#include "mqttclient.h"
#include "simprocess.h"
#include "spin.h"
#include "writeround.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLoggingCategory>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

namespace {

double cpuSeconds()
{
    rusage usage = {};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
        + double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

/// Processor time of another process of this bench (the broker, a simulator), in seconds.
double cpuSecondsOf(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return 0.0;
    // The fields after the command name in parentheses; utime and stime are the 12th and 13th.
    const QByteArray text = stat.readAll();
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    if (fields.size() < 13)
        return 0.0;
    return double(fields.at(11).toLongLong() + fields.at(12).toLongLong())
        / double(sysconf(_SC_CLK_TCK));
}

/// One module of the bridge's file for each port.
BridgeSettings settingsFor(quint16 brokerPort, const std::vector<quint16> &ports, int cycleMs)
{
    BridgeSettings settings;
    settings.broker.port = brokerPort;
    settings.broker.clientId = QStringLiteral("bench-%1").arg(ports.size());
    for (size_t i = 0; i < ports.size(); ++i) {
        ModuleSettings m;
        m.name = QStringLiteral("m%1").arg(i);
        m.link.host = QStringLiteral("127.0.0.1");
        m.link.port = ports[i];
        m.cycleMs = cycleMs;
        settings.modules.append(m);
    }
    return settings;
}

/// The engines of many modules alone, kept as the bridge keeps them (write round, gathered
/// passes of the event loop), with nothing of the broker.
class BareEngines : public QObject
{
public:
    explicit BareEngines(const BridgeSettings &settings)
    {
        auto *round = new WriteRound(this);
        if (settings.modules.size() >= Bridge::BatchedModules)
            new LoopBatching(Bridge::BatchIntervalUs, this);
        for (const ModuleSettings &m : settings.modules)
            m_pollers.append(new ModulePoller(m, round, nullptr, this));
    }
    void start()
    {
        for (ModulePoller *poller : std::as_const(m_pollers))
            poller->start();
    }
    const QList<ModulePoller *> &pollers() const { return m_pollers; }

private:
    QList<ModulePoller *> m_pollers;
};

/// What a bridge has done so far.
struct Sample
{
    std::vector<quint64> answers;
    std::vector<quint64> cycles;
    quint64 published = 0;
    double cpu = 0.0;
    qint64 ms = 0;

    static Sample of(const QList<ModulePoller *> &pollers, const QElapsedTimer &clock,
        const MqttClient *client = nullptr)
    {
        Sample s;
        for (const ModulePoller *p : pollers) {
            s.answers.push_back(p->answerCount());
            s.cycles.push_back(p->cycleCount());
        }
        s.published = client ? client->publishCount() : 0;
        s.cpu = cpuSeconds();
        s.ms = clock.elapsed();
        return s;
    }
    static Sample of(const Bridge &bridge, const QElapsedTimer &clock)
    {
        return of(bridge.pollers(), clock, bridge.client());
    }
    /// Per module (the first \a modules) and second, from \a from to this sample.
    std::vector<double> rates(
        const Sample &from, std::vector<quint64> Sample::*counts, size_t modules) const
    {
        std::vector<double> r;
        const double seconds = double(ms - from.ms) / 1000.0;
        for (size_t i = 0; i < modules; ++i)
            r.push_back(double((this->*counts)[i] - (from.*counts)[i]) / seconds);
        return r;
    }
};

double sum(const std::vector<double> &values)
{
    double total = 0.0;
    for (double v : values)
        total += v;
    return total;
}

/// Waits until the first \a modules of \a pollers are online.
bool waitOnline(const QList<ModulePoller *> &pollers, const char *label, int modules, int timeoutMs)
{
    const bool online = spinUntil(
        [&pollers, modules]() {
            return std::all_of(pollers.begin(), pollers.begin() + modules,
                [](const ModulePoller *p) { return p->isOnline(); });
        },
        timeoutMs);
    if (!online)
        std::fprintf(stderr, "%s: not all modules came online\n", label);
    return online;
}

/// Starts \a bridge and waits until the first \a modules of its modules are online.
bool startAndWait(Bridge &bridge, const char *label, int modules, int timeoutMs)
{
    return bridge.start() && waitOnline(bridge.pollers(), label, modules, timeoutMs);
}

/// Runs one bridge over \a ports, each polled as fast as it answers, for \a seconds once all
/// modules are online and prints its figures; samples memory after \a sampleSeconds too when
/// the run is longer.
bool runMany(const char *label, quint16 brokerPort, const std::vector<quint16> &ports, int seconds,
    int sampleSeconds)
{
    Bridge bridge(settingsFor(brokerPort, ports, 0));
    if (!startAndWait(bridge, label, int(ports.size()), 60000))
        return false;
    QElapsedTimer clock;
    clock.start();
    const Sample start = Sample::of(bridge, clock);
    long rssSample = -1;
    const long rssStart = residentKiB(QStringLiteral("self"));
    if (sampleSeconds < seconds) {
        spinFor(sampleSeconds * 1000);
        rssSample = residentKiB(QStringLiteral("self"));
    }
    spinFor(int(qMax<qint64>(0, seconds * 1000 - clock.elapsed())));
    const Sample end = Sample::of(bridge, clock);
    const double elapsed = double(end.ms - start.ms) / 1000.0;
    const std::vector<double> rates = end.rates(start, &Sample::answers, ports.size());
    const double total = sum(rates) * elapsed;
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
    std::printf("  publishes/s %.0f\n", double(end.published - start.published) / elapsed);
    std::printf("  bridge CPU %.1f %% of one core, %.1f us per answer\n",
        100.0 * (end.cpu - start.cpu) / elapsed, 1e6 * (end.cpu - start.cpu) / total);
    if (rssSample >= 0)
        std::printf("  memory (RSS) at start %ld KiB, after %d s %ld KiB, after %.0f s %ld KiB\n",
            rssStart, sampleSeconds, rssSample, elapsed, residentKiB(QStringLiteral("self")));
    else
        std::printf("  memory (RSS) at start %ld KiB, at end %ld KiB\n", rssStart,
            residentKiB(QStringLiteral("self")));
    std::fflush(stdout);
    bridge.stop();
    return true;
}

/// The simulator serving \a modules 4-channel modules on consecutive ports; their ports.
std::vector<quint16> startSimulator(SimProcess &sim, int modules, int firstSerial)
{
    std::vector<quint16> ports;
    if (!sim.start({ QStringLiteral("--tcp"), QStringLiteral("0"), QStringLiteral("--channels"),
                       QStringLiteral("4"), QStringLiteral("--modules"), QString::number(modules),
                       QStringLiteral("--serial-number"), QString::number(firstSerial) },
            "tcp")) {
        std::fprintf(stderr, "the simulator does not start\n");
        return ports;
    }
    const quint16 first = quint16(
        sim.endpoint().section(QLatin1Char(':'), -1).section(QLatin1Char('-'), 0, 0).toUInt());
    for (int i = 0; i < modules; ++i)
        ports.push_back(quint16(first + i));
    return ports;
}

int many(const QStringList &args, quint16 brokerPort)
{
    const auto arg
        = [&args](int i, int fallback) { return args.size() > i ? args.at(i).toInt() : fallback; };
    const int singleSeconds = arg(0, 60);
    const int manySeconds = arg(1, 600);
    const int modules = arg(2, 16);
    const int sampleSeconds = arg(3, 60);
    std::vector<std::unique_ptr<SimProcess>> sims;
    std::vector<quint16> ports;
    for (int i = 0; i <= modules; ++i) {
        auto sim = std::make_unique<SimProcess>();
        const std::vector<quint16> port = startSimulator(*sim, 1, 2000 + i);
        if (port.empty())
            return 1;
        ports.push_back(port.front());
        sims.push_back(std::move(sim));
    }
    const std::vector<quint16> one(ports.end() - 1, ports.end());
    const std::vector<quint16> several(ports.begin(), ports.end() - 1);
    if (!runMany("one module", brokerPort, one, singleSeconds, singleSeconds))
        return 1;
    return runMany("many modules", brokerPort, several, manySeconds, sampleSeconds) ? 0 : 1;
}

int scale(const QStringList &args, const BrokerProcess &broker)
{
    const quint16 brokerPort = broker.port();
    const int seconds = args.size() > 0 ? args.at(0).toInt() : 180;
    const int modules = args.size() > 1 ? args.at(1).toInt() : 1000;
    constexpr int CycleMs = 1000;
    SimProcess sim;
    const std::vector<quint16> ports = startSimulator(sim, modules, 10001);
    if (ports.empty())
        return 1;
    const long rssBefore = residentKiB(QStringLiteral("self"));
    Bridge bridge(settingsFor(brokerPort, ports, CycleMs));
    QElapsedTimer clock;
    clock.start();
    if (!startAndWait(bridge, "scale", modules, 300000))
        return 1;
    std::printf("scale: %d modules of 4 channels at cycle = 1s, all online after %.1f s\n", modules,
        double(clock.elapsed()) / 1000.0);
    // A cycle or two for the last ones to find their step.
    spinFor(2 * CycleMs);
    const Sample start = Sample::of(bridge, clock);
    const double brokerCpu = cpuSecondsOf(broker.processId());
    const double simCpu = cpuSecondsOf(sim.processId());
    const long rssStart = residentKiB(QStringLiteral("self"));
    spinFor(60000);
    const long rssMinute = residentKiB(QStringLiteral("self"));
    spinFor(int(qMax<qint64>(0, start.ms + seconds * 1000 - clock.elapsed())));
    const Sample end = Sample::of(bridge, clock);
    const double brokerUsed = cpuSecondsOf(broker.processId()) - brokerCpu;
    const double simUsed = cpuSecondsOf(sim.processId()) - simCpu;
    const long rssEnd = residentKiB(QStringLiteral("self"));
    const double elapsed = double(end.ms - start.ms) / 1000.0;
    std::vector<double> ratios = end.rates(start, &Sample::cycles, ports.size());
    for (double &r : ratios)
        r *= CycleMs / 1000.0;
    std::sort(ratios.begin(), ratios.end());
    const auto below
        = std::count_if(ratios.begin(), ratios.end(), [](double r) { return r < 0.95; });
    const double answers = sum(end.rates(start, &Sample::answers, ports.size()));
    std::printf("  over %.0f s: cycles per module and second against the configured 1/s: lowest "
                "%.3f, median %.3f, highest %.3f; %lld of %d modules below 0.95\n",
        elapsed, ratios.front(), ratios[ratios.size() / 2], ratios.back(), qlonglong(below),
        modules);
    std::printf("  answers/s %.0f, publishes/s %.0f\n", answers,
        double(end.published - start.published) / elapsed);
    std::printf("  bridge CPU %.1f %% of one core (%.1f us per answer)\n",
        100.0 * (end.cpu - start.cpu) / elapsed, 1e6 * (end.cpu - start.cpu) / (answers * elapsed));
    std::printf("  memory (RSS) before the bridge %ld KiB; all online %ld KiB, after 1 min %ld "
                "KiB, at the end (%.0f s) %ld KiB\n",
        rssBefore, rssStart, rssMinute, elapsed, rssEnd);
    std::printf(
        "  beside it: the broker %.1f %% of one core, %ld KiB; the simulator %.1f %% of one "
        "core\n",
        100.0 * brokerUsed / elapsed, residentKiB(QString::number(broker.processId())),
        100.0 * simUsed / elapsed);
    std::fflush(stdout);
    bridge.stop();
    return 0;
}

int gpib(const QStringList &args, quint16 brokerPort)
{
    const int seconds = args.size() > 0 ? args.at(0).toInt() : 60;
    const int modules = args.size() > 1 ? args.at(1).toInt() : 15;
    SimProcess sim;
    const std::vector<quint16> ports = startSimulator(sim, modules, 20001);
    QTemporaryDir dir;
    const QString socket = dir.filePath(QStringLiteral("bus.sock"));
    SimProcess bus;
    if (ports.empty()
        || !bus.start(
            { QStringLiteral("--gpib"), QStringLiteral("5"), QStringLiteral("--gpib-silent"),
                QStringLiteral("9"), QStringLiteral("--gpib-socket"), socket },
            "gpib")) {
        std::fprintf(stderr, "the simulators do not start\n");
        return 1;
    }
    qputenv("VORN_GPIB_SOCKET", socket.toLocal8Bit());
    Gpib488Loader::setLibraryFileNames({ QStringLiteral(VORN_GPIB_STANDIN) });
    // Short runs of both kinds in turn, so that a change of the machine's other load between
    // them weighs on both alike.
    constexpr int RoundSeconds = 10;
    const int rounds = qMax(1, seconds / RoundSeconds);
    double answers[2] = {};
    double cpu[2] = {};
    double elapsed[2] = {};
    for (int round = 0; round < 2 * rounds; ++round) {
        const bool silent = round % 2 == 1;
        BridgeSettings settings = settingsFor(brokerPort, ports, 0);
        if (silent) {
            ModuleSettings m;
            m.name = QStringLiteral("silent");
            m.link.kind = LinkSettings::Kind::Gpib;
            m.link.gpibAddress = 9;
            m.cycleMs = 0;
            settings.modules.append(m);
        }
        Bridge bridge(settings);
        if (!startAndWait(bridge, "gpib", modules, 60000))
            return 1;
        QElapsedTimer clock;
        clock.start();
        const Sample start = Sample::of(bridge, clock);
        spinFor(RoundSeconds * 1000);
        const Sample end = Sample::of(bridge, clock);
        const double s = double(end.ms - start.ms) / 1000.0;
        answers[silent] += sum(end.rates(start, &Sample::answers, ports.size())) * s;
        cpu[silent] += end.cpu - start.cpu;
        elapsed[silent] += s;
        bridge.stop();
    }
    double rates[2] = {};
    for (const bool silent : { false, true }) {
        rates[silent] = answers[silent] / elapsed[silent];
        std::printf("gpib: %d TCP modules as fast as they answer%s, %.0f s in %d runs of %d s: "
                    "%.0f answers/s, bridge CPU %.1f %% of one core\n",
            modules, silent ? ", beside a silent GPIB address" : " alone", elapsed[silent], rounds,
            RoundSeconds, rates[silent], 100.0 * cpu[silent] / elapsed[silent]);
    }
    std::printf("  TCP rate beside the silent GPIB address: %.3f of the rate without it\n",
        rates[1] / rates[0]);
    return 0;
}

/// Processor time and answers of one measured run.
struct CpuRun
{
    double answers = 0.0;
    double cpu = 0.0;
    double seconds = 0.0;

    /// Measures \a pollers (and \a client's publishes) for \a seconds once they have settled.
    static CpuRun of(const QList<ModulePoller *> &pollers, const MqttClient *client, int seconds)
    {
        spinFor(5000); // the last ones find their step
        QElapsedTimer clock;
        clock.start();
        const Sample start = Sample::of(pollers, clock, client);
        spinFor(seconds * 1000);
        const Sample end = Sample::of(pollers, clock, client);
        CpuRun run;
        run.seconds = double(end.ms - start.ms) / 1000.0;
        run.answers = sum(end.rates(start, &Sample::answers, size_t(pollers.size()))) * run.seconds;
        run.cpu = end.cpu - start.cpu;
        return run;
    }
    CpuRun &operator+=(const CpuRun &other)
    {
        answers += other.answers;
        cpu += other.cpu;
        seconds += other.seconds;
        return *this;
    }
    double perAnswerUs() const { return 1e6 * cpu / answers; }
};

int cpu(const QStringList &args, quint16 brokerPort)
{
    const int seconds = args.size() > 0 ? args.at(0).toInt() : 30;
    const int modules = args.size() > 1 ? args.at(1).toInt() : 1000;
    const int runs = args.size() > 2 ? args.at(2).toInt() : 3;
    SimProcess sim;
    const std::vector<quint16> ports = startSimulator(sim, modules, 40001);
    if (ports.empty())
        return 1;
    const BridgeSettings settings = settingsFor(brokerPort, ports, 1000);
    const char *names[2] = { "engines alone", "whole bridge" };
    CpuRun total[2];
    // Taking turns, so that a change of the machine's other load weighs on both alike.
    for (int round = 0; round < 2 * runs; ++round) {
        const int kind = round % 2;
        CpuRun run;
        if (kind == 0) {
            BareEngines engines(settings);
            engines.start();
            if (!waitOnline(engines.pollers(), "cpu", modules, 300000))
                return 1;
            run = CpuRun::of(engines.pollers(), nullptr, seconds);
        } else {
            Bridge bridge(settings);
            if (!startAndWait(bridge, "cpu", modules, 300000))
                return 1;
            run = CpuRun::of(bridge.pollers(), bridge.client(), seconds);
            bridge.stop();
        }
        std::fprintf(stderr, "cpu: a run of the %s: %.0f answers/s, %.1f us per answer\n",
            names[kind], run.answers / run.seconds, run.perAnswerUs());
        total[kind] += run;
        spinFor(2000); // the links' goodbyes
    }
    for (const int kind : { 0, 1 }) {
        const CpuRun &t = total[kind];
        std::printf("cpu: %s, %d modules at cycle = 1s, %.0f s in %d runs: %.0f answers/s, "
                    "%.1f %% of one core, %.1f us per answer\n",
            names[kind], modules, t.seconds, runs, t.answers / t.seconds, 100.0 * t.cpu / t.seconds,
            t.perAnswerUs());
    }
    std::printf("  the bridge's processor time per answer: %.2f times the engines' alone\n",
        total[1].perAnswerUs() / total[0].perAnswerUs());
    std::fflush(stdout);
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QLoggingCategory::setFilterRules(QStringLiteral("vorn.*.info=false\nvorn.*.debug=false"));
    QStringList args = app.arguments().mid(1);
    const QString run = !args.isEmpty() && !args.first().at(0).isDigit() ? args.takeFirst()
                                                                         : QStringLiteral("many");
    // A thousand modules are a thousand sockets.
    rlimit files = {};
    if (getrlimit(RLIMIT_NOFILE, &files) == 0 && files.rlim_cur < files.rlim_max) {
        files.rlim_cur = files.rlim_max;
        setrlimit(RLIMIT_NOFILE, &files);
    }
    BrokerProcess broker;
    if (!broker.start()) {
        std::fprintf(stderr, "mosquitto does not start (scripts/deps.sh installs it)\n");
        return 1;
    }
    if (run == QLatin1String("many"))
        return many(args, broker.port());
    if (run == QLatin1String("scale"))
        return scale(args, broker);
    if (run == QLatin1String("gpib"))
        return gpib(args, broker.port());
    if (run == QLatin1String("cpu"))
        return cpu(args, broker.port());
    if (run == QLatin1String("latency"))
        return latencyRun(args, broker.port());
    if (run == QLatin1String("chaos"))
        return chaosRun(args); // a broker of its own, with persistence
    std::fprintf(stderr, "usage: bench_bridge [many|scale|gpib|cpu|latency|chaos] [numbers]\n");
    return 2;
}
