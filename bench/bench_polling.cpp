// Polling rate of the engine over loopback TCP, compared with a minimal blocking client that
// sends the same request lines and waits for each answer: the round-trip limit of this machine.
// Two modules answer: the simulator, and a minimal module that answers every line at once with
// a fixed text of the right shape, so that the engine's own cost is all that separates the two.
// Each figure is the median of five alternating runs.
//
// Usage: bench_polling [seconds per run, default 2]
//
// Under valgrind --tool=callgrind there is one run of each, and each engine run is dumped as a
// profile of its own with the answers counted in it, so instructions per answer can be read off.
#include "callgrindmarks.h"
#include "scpi_eth.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QTcpSocket>
#include <QTextStream>
#include <QTimer>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

/// The TCP link, recording the lines of the cyclic sequence it sends.
class RecordingEth : public SCPI_Eth
{
public:
    using SCPI_Eth::SCPI_Eth;
    void sendCommand(quint16 code, const QString &command) override
    {
        if (!isFullRead() && code != ReadIdentity && code != ReadFirmware && cycle.size() < 64
            && !command.startsWith(QLatin1String(":CONF")))
            cycle.append(command.toLocal8Bit());
        SCPI_Eth::sendCommand(code, command);
    }
    /// Counts the complete answers while measuring (without a signal connection of its own,
    /// which would add to the engine's cost).
    bool readAnswer(QByteArray &answer) override
    {
        const bool complete = SCPI_Eth::readAnswer(answer);
        answers += complete && measuring;
        return complete;
    }
    QList<QByteArray> cycle;
    bool measuring = false;
    int answers = 0;
};

struct Simulator
{
    QProcess process;
    quint16 port = 0;

    bool start(int channels)
    {
        process.setProgram(QStringLiteral(VORN_SIM_PATH));
        process.setArguments(
            { QStringLiteral("--tcp"), QStringLiteral("0"), QStringLiteral("--preset"),
                QStringLiteral("KA2F"), QStringLiteral("--channels"), QString::number(channels) });
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.start();
        if (!process.waitForStarted(5000))
            return false;
        QElapsedTimer waited;
        waited.start();
        while (!process.canReadLine() && waited.elapsed() < 5000)
            process.waitForReadyRead(100);
        const QString line = QString::fromLatin1(process.readLine()).trimmed();
        const QRegularExpressionMatch m
            = QRegularExpression(QStringLiteral("^tcp [0-9.]+:(\\d+)$")).match(line);
        if (!m.hasMatch())
            return false;
        port = static_cast<quint16>(m.captured(1).toUInt());
        return true;
    }
    ~Simulator()
    {
        process.kill();
        process.waitForFinished(2000);
    }
};

/// The minimal module, in a child process of its own: it identifies as a four- or 64-channel
/// module of the simulator's KA2F family and answers each line at once with a fixed answer of
/// the shape its query asks for.
struct MinimalModule
{
    pid_t pid = -1;
    quint16 port = 0;

    /// Starts it; called before the application exists, so that no thread is forked.
    bool start(int channels)
    {
        const int listener = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address {};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (listener < 0 || bind(listener, reinterpret_cast<sockaddr *>(&address), length) != 0
            || listen(listener, 4) != 0
            || getsockname(listener, reinterpret_cast<sockaddr *>(&address), &length) != 0)
            return false;
        port = ntohs(address.sin_port);
        pid = fork();
        if (pid == 0)
            serve(listener, channels);
        close(listener);
        return pid > 0;
    }
    ~MinimalModule()
    {
        if (pid > 0) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
    }

    [[noreturn]] static void serve(int listener, int channels)
    {
        const auto list = [channels](const std::string &value) {
            std::string text = value;
            for (int c = 1; c < channels; ++c)
                text += "," + value;
            return text + "\r\n";
        };
        const std::pair<const char *, std::string> answers[] = {
            { "*IDN?", "Vornwerk GmbH,KA2F840p,7100001,2.07;" + std::to_string(channels) + "\r\n" },
            { ":READ:FIRM", "KA2F8;2.07\r\n" },
            { ":READ:RAMP", "5.000E+00%/s;5.000E+00%/s\r\n" },
            { ":READ:MOD:CONT", "0;0;0;65535\r\n" },
            { ":READ:MOD:TEMP", "25.0C;24.0V;5.0V;12.0V;-12.0V\r\n" },
            { ":READ:VOLT:LIM", "100.000%;100.000%\r\n" },
            { ":CONF:AVER", "64\r\n" },
            { ":READ:CHAN", list("8") },
            { ":READ:VOLT", list("1.23456E3V") },
            { ":MEAS:VOLT", list("1.23456E3V") },
            { ":READ:CURR", list("1.23456E-3A") },
            { ":MEAS:CURR", list("1.23456E-3A") },
        };
        for (;;) {
            const int fd = accept(listener, nullptr, nullptr);
            const int on = 1;
            setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
            std::string pending;
            char buffer[4096];
            ssize_t received = 0;
            while ((received = read(fd, buffer, sizeof buffer)) > 0) {
                pending.append(buffer, size_t(received));
                for (size_t end = pending.find('\n'); end != std::string::npos;
                     end = pending.find('\n')) {
                    std::string answer = "0\r\n";
                    for (const auto &[query, text] : answers) {
                        if (pending.compare(0, strlen(query), query) == 0) {
                            answer = text;
                            break;
                        }
                    }
                    if (write(fd, answer.data(), answer.size()) < 0)
                        break;
                    pending.erase(0, end + 1);
                }
            }
            close(fd);
        }
    }
};

double cpuSeconds()
{
    timespec t {};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

/// Answers per second of a run, and this process's processor time per answer in microseconds
/// (the modules are processes of their own).
struct Run
{
    double rate = 0.0;
    double cpuUs = 0.0;
};

Run measured(int answers, qint64 milliseconds, double cpu)
{
    if (answers <= 0 || milliseconds <= 0)
        return {};
    return { answers * 1000.0 / static_cast<double>(milliseconds), cpu * 1e6 / answers };
}

/// Answers per second of the engine polling without pause, after identification and
/// configuration.
Run engineRate(quint16 port, int milliseconds, QList<QByteArray> *cycle)
{
    RecordingEth link;
    link.setPort(port);
    link.setHostAddress(QStringLiteral("127.0.0.1"));
    link.connectDevice();
    link.requestIdentity();
    link.restartFullRead();

    QEventLoop loop;
    QElapsedTimer clock;
    double cpu = 0.0;
    QTimer::singleShot(1000, &loop, [&] {
        link.measuring = true;
        CALLGRIND_ZERO_STATS;
        clock.start();
        cpu = cpuSeconds();
        QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    });
    loop.exec();
    cpu = cpuSeconds() - cpu;
    CALLGRIND_DUMP_STATS;
    if (RUNNING_ON_VALGRIND)
        std::printf("answers in the engine's profile: %d\n", link.answers);
    const Run run = measured(link.answers, clock.elapsed(), cpu);
    *cycle = link.cycle;
    link.disconnectDevice();
    return run;
}

/// Answers per second of a client that writes one line and blocks until its answer is whole.
Run blockingRate(quint16 port, int milliseconds, const QList<QByteArray> &lines)
{
    QTcpSocket socket;
    socket.connectToHost(QStringLiteral("127.0.0.1"), port);
    if (!socket.waitForConnected(3000) || lines.isEmpty())
        return {};
    int answers = 0;
    QElapsedTimer clock;
    clock.start();
    const double cpu = cpuSeconds();
    QByteArray answer;
    while (clock.elapsed() < milliseconds) {
        socket.write(lines.at(answers % lines.size()));
        answer.clear();
        while (!answer.endsWith("\r\n")) {
            if (!socket.waitForReadyRead(3000))
                return {};
            answer += socket.readAll();
        }
        ++answers;
    }
    return measured(answers, clock.elapsed(), cpuSeconds() - cpu);
}

/// Median of five values.
double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    MinimalModule minimal[2];
    if (!minimal[0].start(4) || !minimal[1].start(64)) {
        std::fprintf(stderr, "could not start the minimal module\n");
        return 1;
    }
    QCoreApplication app(argc, argv);
    QLoggingCategory::setFilterRules(QStringLiteral("vorn.*.debug=false"));
    const int seconds = argc > 1 ? qMax(1, atoi(argv[1])) : 2;
    QTextStream out(stdout);
    out << "channels  module     engine [answers/s]  blocking client [answers/s]  ratio  target  "
           "CPU per answer engine/client [us]  (medians of 5 runs)\n";
    for (int channels : { 4, 64 }) {
        Simulator sim;
        if (!sim.start(channels)) {
            out << "could not start the simulator at " << VORN_SIM_PATH << "\n";
            return 1;
        }
        for (const bool minimalModule : { false, true }) {
            const quint16 port = minimalModule ? minimal[channels == 4 ? 0 : 1].port : sim.port;
            std::vector<double> engines, blockings, ratios, engineCpu, blockingCpu;
            for (int round = 0; round < (RUNNING_ON_VALGRIND ? 1 : 5); ++round) {
                QList<QByteArray> cycle;
                const Run engine = engineRate(port, seconds * 1000, &cycle);
                const Run blocking = blockingRate(port, seconds * 1000, cycle);
                engines.push_back(engine.rate);
                blockings.push_back(blocking.rate);
                ratios.push_back(blocking.rate > 0 ? engine.rate / blocking.rate : 0.0);
                engineCpu.push_back(engine.cpuUs);
                blockingCpu.push_back(blocking.cpuUs);
            }
            const double ratio = median(ratios);
            const double target = minimalModule ? 0.92 : channels == 4 ? 0.9 : 0.8;
            out << QString::asprintf("%8d  %-9s  %18.0f  %27.0f  %5.2f  %s%.2f  %25.1f / %.1f\n",
                channels, minimalModule ? "minimal" : "simulator", median(engines),
                median(blockings), ratio, ratio >= target ? ">=" : "< ", target, median(engineCpu),
                median(blockingCpu));
            out.flush();
        }
    }
    return 0;
}
