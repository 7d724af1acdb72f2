#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>

/// Answers enough for identification, the configuration sequence and two polling cycles.
constexpr int PollingAnswers = 35;
/// How long a test waits for the simulator: an upper bound for a busy machine, not a speed
/// requirement.
constexpr int Patience = 30000;

/// The module simulator run as a separate program for one test. start() waits for its ready
/// line ("<kind> <endpoint>") and keeps the endpoint; destruction ends the program.
class SimProcess
{
public:
    ~SimProcess() { stop(); }

    /// Starts the simulator with \a arguments; true once it printed a line starting with \a kind.
    bool start(const QStringList &arguments, const QByteArray &kind)
    {
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.start(QStringLiteral(VORN_SIM_PATH), arguments);
        while (!process.canReadLine())
            if (!process.waitForReadyRead(10000))
                return false;
        const QByteArray line = process.readLine().trimmed();
        readyEndpoint = QString::fromLocal8Bit(line.mid(kind.size() + 1));
        return line.startsWith(kind + ' ');
    }

    QString endpoint() const { return readyEndpoint; }
    qint64 processId() const { return process.processId(); }
    /// The next line the simulator prints after the ready line (with --control: "control
    /// 127.0.0.1:<port>"); empty when none comes within \a ms.
    QByteArray nextLine(int ms = 10000)
    {
        while (!process.canReadLine())
            if (!process.waitForReadyRead(ms))
                return QByteArray();
        return process.readLine().trimmed();
    }

    void stop()
    {
        if (process.state() == QProcess::NotRunning)
            return;
        process.terminate();
        if (!process.waitForFinished(3000)) {
            process.kill();
            process.waitForFinished(3000);
        }
    }

private:
    QProcess process;
    QString readyEndpoint;
};
