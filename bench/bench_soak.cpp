// Soak: the real main window (offscreen) polls the simulator over loopback TCP for a bounded
// time with automatic reconnection on, while the simulator cycles through every fault it can
// show: split answers, late answers, dropped answers, junk answers, a closed connection, an
// endless answer, and the module stopped and started again. Each phase runs a fresh simulator
// on the same port; the window must find it again by itself.
//
// Prints answers processed, watchdog disconnects, reconnections, the longest gap without an
// answer and the resident memory at the start, after the first minute and at the end. Target:
// end within 5 MB of the one-minute figure, every phase recovered, no crash.
//
// Usage: bench_soak [seconds, default 600]
#include "ethcontrol.h"
#include "scpi_parser.h"
#include "simprocess.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSettings>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>

#include <unistd.h>
#include <vector>

namespace {

constexpr int phaseMs = 20000;
constexpr int stoppedMs = 8000;
constexpr int recoveryGraceMs = 15000;

struct Phase
{
    const char *name;
    QStringList options;
    bool stopped = false;
};

const std::vector<Phase> &phases()
{
    static const std::vector<Phase> list {
        { "split", { "--split", "3", "--split-delay", "20" } },
        { "delay", { "--delay", "300" } },
        { "drop", { "--drop-every", "60" } },
        { "garbage", { "--garbage-every", "25" } },
        { "close-after", { "--close-after", "150" } },
        { "endless", { "--endless-after", "120" } },
        { "stopped", {}, true },
    };
    return list;
}

/// Everything measured, updated from the window's links and its traces.
struct Figures
{
    QElapsedTimer clock;
    qint64 answers = 0;
    qint64 watchdogDisconnects = 0;
    qint64 reconnections = 0;
    qint64 lastAnswerMs = -1;
    qint64 lastLossMs = -1;
    qint64 longestGapMs = 0;
    QString longestGapPhase;
    QString phase;
    int warnings = 0;
};
Figures figures;

void messages(QtMsgType type, const QMessageLogContext &, const QString &text)
{
    if (text.startsWith(QLatin1String("Connection lost due to timeout while requesting"))) {
        ++figures.watchdogDisconnects;
        figures.lastLossMs = figures.clock.elapsed();
        return;
    }
    if (type == QtDebugMsg || type == QtInfoMsg)
        return;
    ++figures.warnings;
    fprintf(stderr, "%s\n", qPrintable(text));
}

double residentMegabytes()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    const double pages = fields.value(1).toDouble();
    return pages * static_cast<double>(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

void runFor(int milliseconds)
{
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

/// Counts the answers of every link the window creates; a link after the first that answers
/// is a reconnection.
class LinkWatcher : public QObject
{
public:
    explicit LinkWatcher(EthControl *window)
        : window(window)
    {
        connect(&poll, &QTimer::timeout, this, &LinkWatcher::check);
        poll.start(5);
    }

private:
    void check()
    {
        SCPI_Parser *link = window->currentLink();
        if (!link || link == current)
            return;
        current = link;
        const bool reconnection = linksSeen++ > 0;
        connect(link, &SCPI_Parser::updateDisplay, this, [reconnection, first = true]() mutable {
            const qint64 now = figures.clock.elapsed();
            if (figures.lastAnswerMs >= 0 && now - figures.lastAnswerMs > figures.longestGapMs) {
                figures.longestGapMs = now - figures.lastAnswerMs;
                figures.longestGapPhase = figures.phase;
            }
            figures.lastAnswerMs = now;
            ++figures.answers;
            if (first && reconnection)
                ++figures.reconnections;
            first = false;
        });
    }

    EthControl *window;
    QPointer<SCPI_Parser> current;
    int linksSeen = 0;
    QTimer poll;
};

bool startSimulator(SimProcess &sim, quint16 port, const QStringList &options)
{
    // The port of the previous simulator may take a moment to become free.
    for (int attempt = 0; attempt < 20; ++attempt) {
        if (sim.start(
                QStringList { QStringLiteral("--tcp"), QString::number(port) } + options, "tcp"))
            return true;
        sim.stop();
        runFor(250);
    }
    return false;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    qInstallMessageHandler(messages);
    QTemporaryDir settingsDir;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsDir.path());
    const int seconds = argc > 1 ? qMax(30, atoi(argv[1])) : 600;
    QTextStream out(stdout);
    figures.clock.start();

    auto sim = std::make_unique<SimProcess>();
    if (!sim->start({ QStringLiteral("--tcp"), QStringLiteral("0") }, "tcp")) {
        out << "could not start the simulator at " << VORN_SIM_PATH << "\n";
        return 1;
    }
    const quint16 port = sim->endpoint().section(QLatin1Char(':'), 1).toUShort();
    sim->stop();

    auto window = std::make_unique<EthControl>();
    window->show();
    window->findChild<QAction *>(QStringLiteral("actionReconnectAutomatically"))->setChecked(true);
    window->findChild<QTabWidget *>(QStringLiteral("tabInterfaces"))->setCurrentIndex(1);
    window->findChild<QLineEdit *>(QStringLiteral("edtIpAddress"))
        ->setText(QStringLiteral("127.0.0.1"));
    window->findChild<QLineEdit *>(QStringLiteral("edtPort"))->setText(QString::number(port));
    LinkWatcher watcher(window.get());

    out << "soak of " << seconds << " s against the simulator on 127.0.0.1:" << port
        << ", phases of " << phaseMs / 1000 << " s\n";
    out << "phase          answers  watchdog  reconnections  recovered\n";
    out.flush();

    double rssStart = -1;
    double rssMinute = -1;
    QTimer minute;
    minute.setSingleShot(true);
    QObject::connect(&minute, &QTimer::timeout, [&] { rssMinute = residentMegabytes(); });
    int unrecovered = 0;
    bool connected = false;
    const qint64 end = static_cast<qint64>(seconds) * 1000;
    for (std::size_t index = 0; figures.clock.elapsed() < end; ++index) {
        const Phase &phase = phases()[index % phases().size()];
        figures.phase = QString::fromLatin1(phase.name);
        const qint64 answers = figures.answers;
        const qint64 losses = figures.watchdogDisconnects;
        const qint64 reconnections = figures.reconnections;
        const qint64 phaseStart = figures.clock.elapsed();
        sim->stop();
        if (phase.stopped)
            runFor(stoppedMs);
        sim = std::make_unique<SimProcess>();
        if (!startSimulator(*sim, port, phase.options)) {
            out << "could not start the simulator for phase " << phase.name << "\n";
            return 1;
        }
        if (!connected) {
            window->findChild<QPushButton *>(QStringLiteral("buttonConnect"))->click();
            connected = true;
            runFor(1000);
            rssStart = residentMegabytes();
            minute.start(60000);
        }
        runFor(static_cast<int>(qMax<qint64>(0, phaseStart + phaseMs - figures.clock.elapsed())));
        // A loss near the end of the phase gets the time to recover before the next fault.
        QElapsedTimer grace;
        grace.start();
        while (figures.lastLossMs >= figures.lastAnswerMs && grace.elapsed() < recoveryGraceMs)
            runFor(100);
        const bool recovered
            = figures.answers > answers && figures.lastAnswerMs > figures.lastLossMs;
        unrecovered += recovered ? 0 : 1;
        out << QString::asprintf("%-12s %9lld %9lld %14lld  %s\n", phase.name,
            figures.answers - answers, figures.watchdogDisconnects - losses,
            figures.reconnections - reconnections, recovered ? "yes" : "NO");
        out.flush();
    }
    if (rssMinute < 0)
        rssMinute = residentMegabytes();
    const double rssEnd = residentMegabytes();
    sim->stop();
    window.reset();

    const bool memoryOk = rssEnd - rssMinute <= 5.0;
    out << QString::asprintf("answers processed        %lld\n", figures.answers);
    out << QString::asprintf("watchdog disconnects     %lld\n", figures.watchdogDisconnects);
    out << QString::asprintf("reconnections            %lld\n", figures.reconnections);
    out << QString::asprintf("longest gap w/o answers  %.1f s (phase %s)\n",
        figures.longestGapMs / 1000.0, qPrintable(figures.longestGapPhase));
    out << QString::asprintf(
        "RSS start / 1 min / end  %.1f / %.1f / %.1f MB\n", rssStart, rssMinute, rssEnd);
    out << QString::asprintf("warnings                 %d\n", figures.warnings);
    out << "target: end within 5 MB of 1 min " << (memoryOk ? "met" : "MISSED")
        << "; every phase recovered " << (unrecovered == 0 ? "met" : "MISSED") << "\n";
    return memoryOk && unrecovered == 0 ? 0 : 2;
}
