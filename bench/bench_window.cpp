// Polling rate of the real main window (offscreen) against the simulator over loopback TCP,
// compared with the engine alone, and the time one display refresh takes per answer.
//
// Usage: bench_window [seconds per run, default 3]
#include "ethcontrol.h"
#include "scpi_eth.h"
#include "simprocess.h"

#include <QApplication>
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
        clock.start();
        cpuStart = cpuSeconds();
        QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    });
    loop.exec();
    measuring = false;
    lastCpu = cpuSeconds() - cpuStart;
    return clock.elapsed();
}

/// CPU microseconds per answer of the last engine run.
double engineCpuPerAnswer = 0;

double engineRate(quint16 port, int milliseconds)
{
    SCPI_Eth link;
    link.setPort(port);
    link.setHostAddress(QStringLiteral("127.0.0.1"));
    int answers = 0;
    bool measuring = false;
    QObject::connect(&link, &SCPI_Parser::dataReceived, &link, [&](int) { answers += measuring; });
    link.connectDevice();
    link.requestIdentity();
    link.restartFullRead();
    const qint64 elapsed = measure(milliseconds, measuring);
    link.disconnectDevice();
    engineCpuPerAnswer = answers ? lastCpu * 1e6 / answers : 0.0;
    return answers * 1000.0 / static_cast<double>(elapsed);
}

struct WindowFigures
{
    double rate = 0;
    double medianUs = 0;
    double p99Us = 0;
    double cpuPerAnswerUs = 0;
};

WindowFigures windowRate(quint16 port, int milliseconds)
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
    // The same refresh, timed: the window's own connection is replaced by one that measures it.
    QObject::disconnect(
        link, &SCPI_Parser::updateDisplay, &window, &EthControl::updateDisplayTimer);
    int answers = 0;
    bool measuring = false;
    std::vector<qint64> times;
    times.reserve(200000);
    QElapsedTimer refresh;
    QObject::connect(link, &SCPI_Parser::updateDisplay, &window, [&] {
        refresh.start();
        window.updateDisplayTimer();
        if (measuring) {
            times.push_back(refresh.nsecsElapsed());
            ++answers;
        }
    });
    const qint64 elapsed = measure(milliseconds, measuring);
    WindowFigures figures;
    figures.rate = answers * 1000.0 / static_cast<double>(elapsed);
    figures.cpuPerAnswerUs = answers ? lastCpu * 1e6 / answers : 0.0;
    if (!times.empty()) {
        std::sort(times.begin(), times.end());
        figures.medianUs = times[times.size() / 2] / 1000.0;
        figures.p99Us = times[std::min(times.size() - 1, times.size() * 99 / 100)] / 1000.0;
    }
    return figures;
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
    QTextStream out(stdout);
    out << "channels  engine [answers/s]  window [answers/s]  ratio  target  "
           "refresh median [us]  refresh p99 [us]  CPU per answer engine/window [us]\n";
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
        const double engine = engineRate(port, seconds * 1000);
        const WindowFigures window = windowRate(port, seconds * 1000);
        const double ratio = engine > 0 ? window.rate / engine : 0.0;
        const double target = channels == 4 ? 0.8 : 0.5;
        out << QString::asprintf(
            "%8d  %18.0f  %18.0f  %5.2f  %s%.1f  %19.1f  %16.1f  %15.0f / %.0f\n", channels, engine,
            window.rate, ratio, ratio >= target ? ">=" : "< ", target, window.medianUs,
            window.p99Us, engineCpuPerAnswer, window.cpuPerAnswerUs);
        out.flush();
    }
    return 0;
}
