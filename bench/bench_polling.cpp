// Polling rate of the engine against the simulator over loopback TCP, compared with a minimal
// blocking client that sends the same request lines and waits for each answer: the round-trip
// limit of this machine for that simulator.
//
// Usage: bench_polling [seconds per run, default 3]
#include "scpi_eth.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QTcpSocket>
#include <QTextStream>
#include <QTimer>

#include <cstdio>

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
    QList<QByteArray> cycle;
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

/// Answers per second of the engine polling without pause, after identification and
/// configuration.
double engineRate(quint16 port, int milliseconds, QList<QByteArray> *cycle)
{
    RecordingEth link;
    link.setPort(port);
    link.setHostAddress(QStringLiteral("127.0.0.1"));
    int answers = 0;
    bool measuring = false;
    QObject::connect(&link, &SCPI_Parser::dataReceived, &link, [&](int) {
        if (measuring)
            ++answers;
    });
    link.connectDevice();
    link.requestIdentity();
    link.restartFullRead();

    QEventLoop loop;
    QElapsedTimer clock;
    QTimer::singleShot(1000, &loop, [&] {
        measuring = true;
        clock.start();
        QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    });
    loop.exec();
    const double rate = answers * 1000.0 / static_cast<double>(clock.elapsed());
    *cycle = link.cycle;
    link.disconnectDevice();
    return rate;
}

/// Answers per second of a client that writes one line and blocks until its answer is whole.
double blockingRate(quint16 port, int milliseconds, const QList<QByteArray> &lines)
{
    QTcpSocket socket;
    socket.connectToHost(QStringLiteral("127.0.0.1"), port);
    if (!socket.waitForConnected(3000) || lines.isEmpty())
        return 0.0;
    int answers = 0;
    QElapsedTimer clock;
    clock.start();
    QByteArray answer;
    while (clock.elapsed() < milliseconds) {
        socket.write(lines.at(answers % lines.size()));
        answer.clear();
        while (!answer.endsWith("\r\n")) {
            if (!socket.waitForReadyRead(3000))
                return 0.0;
            answer += socket.readAll();
        }
        ++answers;
    }
    return answers * 1000.0 / static_cast<double>(clock.elapsed());
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QLoggingCategory::setFilterRules(QStringLiteral("vorn.*.debug=false"));
    const int seconds = argc > 1 ? qMax(1, atoi(argv[1])) : 3;
    QTextStream out(stdout);
    out << "channels  engine [answers/s]  blocking client [answers/s]  ratio  target\n";
    for (int channels : { 4, 64 }) {
        Simulator sim;
        if (!sim.start(channels)) {
            out << "could not start the simulator at " << VORN_SIM_PATH << "\n";
            return 1;
        }
        QList<QByteArray> cycle;
        const double engine = engineRate(sim.port, seconds * 1000, &cycle);
        const double blocking = blockingRate(sim.port, seconds * 1000, cycle);
        const double ratio = blocking > 0 ? engine / blocking : 0.0;
        const double target = channels == 4 ? 0.9 : 0.8;
        out << QString::asprintf("%8d  %18.0f  %27.0f  %5.2f  %s %.1f\n", channels, engine,
            blocking, ratio, ratio >= target ? ">=" : "< ", target);
        out.flush();
    }
    return 0;
}
