// Polling rate of the real main window (offscreen) against the simulator over loopback TCP,
// compared with the engine alone, the time one display refresh takes per answer, and the
// processor time per answer of each; medians of five alternating runs of each.
//
// Usage: bench_window [seconds per run, default 3] [runs of each, default 5]
//
// On a machine whose speed drifts (a virtual machine beside others) more and shorter runs give
// steadier ratios: each window run is compared with the engine run just before it.
//
// Under valgrind --tool=callgrind each measured interval is dumped as a profile of its own
// (engine 4, window 4, engine 64, window 64 channels) and the answers counted in it are printed,
// so instructions per answer can be read off without the start-up and warm-up.
#include "callgrindmarks.h"
#include "ethcontrol.h"
#include "scpi_eth.h"
#include "simprocess.h"
#include "trendwindow.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDateTime>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>

#include <algorithm>
#include <ctime>
#include <vector>

namespace {

constexpr int warmUp = 1500;

double cpuSeconds()
{
    timespec t {};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

/// CPU time of this process during the last measure(), in seconds.
double lastCpu = 0;

/// Runs the event loop for \a milliseconds after the warm-up, with \a measuring set meanwhile.
qint64 measure(int milliseconds, bool &measuring)
{
    QEventLoop loop;
    QElapsedTimer clock;
    double cpuStart = 0;
    QTimer::singleShot(warmUp, &loop, [&] {
        measuring = true;
        CALLGRIND_ZERO_STATS;
        clock.start();
        cpuStart = cpuSeconds();
        QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    });
    loop.exec();
    measuring = false;
    CALLGRIND_DUMP_STATS;
    lastCpu = cpuSeconds() - cpuStart;
    return clock.elapsed();
}

/// CPU microseconds per answer of the last engine run.
double engineCpuPerAnswer = 0;

/// Answers counted in the last engine and window runs.
int engineAnswers = 0;
int windowAnswers = 0;

/// The TCP link alone, counting its complete answers without a signal connection of its own.
class CountingEth : public SCPI_Eth
{
public:
    bool readAnswer(QByteArray &answer) override
    {
        const bool complete = SCPI_Eth::readAnswer(answer);
        answers += complete && measuring;
        return complete;
    }
    bool measuring = false;
    int answers = 0;
};

double engineRate(quint16 port, int milliseconds)
{
    CountingEth link;
    link.setPort(port);
    link.setHostAddress(QStringLiteral("127.0.0.1"));
    link.connectDevice();
    link.requestIdentity();
    link.restartFullRead();
    const qint64 elapsed = measure(milliseconds, link.measuring);
    link.disconnectDevice();
    engineCpuPerAnswer = link.answers ? lastCpu * 1e6 / link.answers : 0.0;
    engineAnswers = link.answers;
    return link.answers * 1000.0 / static_cast<double>(elapsed);
}

struct WindowFigures
{
    double rate = 0;
    double medianUs = 0;
    double p99Us = 0;
    /// Processor time of the whole program per answer: unlike the rate, it hardly depends on
    /// what else the machine is running.
    double cpuPerAnswerUs = 0;
};

/// With \a trendWindow 0 to 2 the trend window is open on that time window (1 min, 10 min,
/// 1 h), its buffer filled with an hour of samples first.
WindowFigures windowRate(quint16 port, int milliseconds, int trendWindow = -1)
{
    EthControl window;
    window.show();
    window.findChild<QTabWidget *>(QStringLiteral("tabInterfaces"))->setCurrentIndex(1);
    window.findChild<QLineEdit *>(QStringLiteral("edtIpAddress"))
        ->setText(QStringLiteral("127.0.0.1"));
    window.findChild<QLineEdit *>(QStringLiteral("edtPort"))->setText(QString::number(port));
    window.findChild<QPushButton *>(QStringLiteral("buttonConnect"))->click();
    SCPI_Parser *link = window.currentLink();
    if (!link)
        return {};
    if (trendWindow >= 0) {
        QEventLoop identified;
        QTimer::singleShot(1000, &identified, &QEventLoop::quit);
        identified.exec();
        window.findChild<QAction *>(QStringLiteral("actionTrend"))->trigger();
        auto *trend = window.findChild<TrendWindow *>();
        const qint64 now = QDateTime::currentMSecsSinceEpoch();
        for (int k = TrendBuffer::DefaultCapacity; k > 0; --k)
            trend->sample(now - qint64(k) * TrendWindow::SampleIntervalMs);
        trend->findChild<QComboBox *>(QStringLiteral("cmbBoxWindow"))->setCurrentIndex(trendWindow);
    }
    // The same refresh, timed: the window's own connection is replaced by one that measures it.
    QObject::disconnect(
        window.session(), &ModuleSession::answerProcessed, &window, &EthControl::refreshDisplay);
    int answers = 0;
    bool measuring = false;
    std::vector<qint64> times;
    times.reserve(200000);
    QElapsedTimer refresh;
    QObject::connect(window.session(), &ModuleSession::answerProcessed, &window, [&] {
        refresh.start();
        window.refreshDisplay();
        if (measuring) {
            times.push_back(refresh.nsecsElapsed());
            ++answers;
        }
    });
    const qint64 elapsed = measure(milliseconds, measuring);
    WindowFigures figures;
    figures.rate = answers * 1000.0 / static_cast<double>(elapsed);
    figures.cpuPerAnswerUs = answers ? lastCpu * 1e6 / answers : 0.0;
    windowAnswers = answers;
    if (!times.empty()) {
        std::sort(times.begin(), times.end());
        figures.medianUs = times[times.size() / 2] / 1000.0;
        figures.p99Us = times[std::min(times.size() - 1, times.size() * 99 / 100)] / 1000.0;
    }
    return figures;
}

/// The window's processor time per answer may be at most this many times the engine's.
constexpr double cpuTarget = 1.3;

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QLoggingCategory::setFilterRules(QStringLiteral("vorn.*.debug=false"));
    QTemporaryDir settings;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings.path());
    const int seconds = argc > 1 ? qMax(1, atoi(argv[1])) : 3;
    const int runs = RUNNING_ON_VALGRIND ? 1 : argc > 2 ? qMax(1, atoi(argv[2])) : 5;
    QTextStream out(stdout);
    out << "channels  engine [answers/s]  window [answers/s]  ratio  target  refresh median "
           "[us]  refresh p99 [us]  CPU per answer engine/window [us]  ratio  target  "
           "(medians of "
        << runs << " alternating runs of " << seconds << " s)\n";
    for (int channels : { 4, 64 }) {
        SimProcess sim;
        if (!sim.start({ QStringLiteral("--tcp"), QStringLiteral("0"), QStringLiteral("--preset"),
                           QStringLiteral("KA2F"), QStringLiteral("--channels"),
                           QString::number(channels) },
                "tcp")) {
            out << "could not start the simulator at " << VORN_SIM_PATH << "\n";
            return 1;
        }
        const quint16 port = sim.endpoint().section(QLatin1Char(':'), 1).toUShort();
        // Alternating runs: the machine's load drifts between them.
        std::vector<double> engines, windows, ratios, medians, p99s, engineCpu, windowCpu,
            cpuRatios;
        for (int round = 0; round < runs; ++round) {
            const double engine = engineRate(port, seconds * 1000);
            const WindowFigures window = windowRate(port, seconds * 1000);
            engines.push_back(engine);
            windows.push_back(window.rate);
            ratios.push_back(engine > 0 ? window.rate / engine : 0.0);
            medians.push_back(window.medianUs);
            p99s.push_back(window.p99Us);
            engineCpu.push_back(engineCpuPerAnswer);
            windowCpu.push_back(window.cpuPerAnswerUs);
            cpuRatios.push_back(
                engineCpuPerAnswer > 0 ? window.cpuPerAnswerUs / engineCpuPerAnswer : 0.0);
        }
        const double ratio = median(ratios);
        const double target = channels == 4 ? 0.95 : 0.85;
        const double cpuRatio = median(cpuRatios);
        out << QString::asprintf("%8d  %18.0f  %18.0f  %5.2f  %s%.2f  %19.1f  %16.1f  %21.1f / "
                                 "%.1f  %5.2f  %s\n",
            channels, median(engines), median(windows), ratio, ratio >= target ? ">=" : "< ",
            target, median(medians), median(p99s), median(engineCpu), median(windowCpu), cpuRatio,
            channels == 4               ? ""
                : cpuRatio <= cpuTarget ? "<=1.3"
                                        : "> 1.3");
        if (RUNNING_ON_VALGRIND)
            out << "answers in the profiles: engine " << engineAnswers << ", window "
                << windowAnswers << "\n";
        out.flush();
        if (channels == 64) {
            out << "64 channels, trend window open with an hour of samples:\n";
            for (int shown : { 0, 2 }) {
                // Alternating runs, median of three: the machine's load drifts between runs.
                std::vector<WindowFigures> plain, trend;
                for (int round = 0; round < 3; ++round) {
                    plain.push_back(windowRate(port, seconds * 1000));
                    trend.push_back(windowRate(port, seconds * 1000, shown));
                }
                const auto median = [](std::vector<WindowFigures> runs, auto field) {
                    std::sort(runs.begin(), runs.end(),
                        [&](const auto &a, const auto &b) { return a.*field < b.*field; });
                    return runs[1].*field;
                };
                const double rateShare = median(plain, &WindowFigures::rate) > 0
                    ? median(trend, &WindowFigures::rate) / median(plain, &WindowFigures::rate)
                    : 0.0;
                const double cpuShare = median(trend, &WindowFigures::cpuPerAnswerUs) > 0
                    ? median(plain, &WindowFigures::cpuPerAnswerUs)
                        / median(trend, &WindowFigures::cpuPerAnswerUs)
                    : 0.0;
                out << QString::asprintf(
                    "  %-6s window: %6.0f answers/s without, %6.0f with the trend, ratio %4.2f; "
                    "processor per answer %6.0f us without, %6.0f us with, ratio %4.2f  %s0.9\n",
                    shown == 0 ? "1 min" : "1 h", median(plain, &WindowFigures::rate),
                    median(trend, &WindowFigures::rate), rateShare,
                    median(plain, &WindowFigures::cpuPerAnswerUs),
                    median(trend, &WindowFigures::cpuPerAnswerUs), cpuShare,
                    std::max(rateShare, cpuShare) >= 0.9 ? ">=" : "< ");
                out.flush();
            }
        }
    }
    return 0;
}
