#pragma once

#include "modulecontroller.h"
#include "modulesession.h"
#include "sequencefile.h"
#include "sequencejournal.h"
#include "sequencerunner.h"
#include "simprocess.h"
#include "spin.h"

#include <QFile>
#include <QRegularExpression>
#include <QTcpSocket>
#include <QTemporaryDir>

#include <memory>

/// Keeps the runner's entries as "info: ..." and "alarm: ...".
class RecordingJournal : public SequenceJournal
{
public:
    void info(const QString &text) override { entries << QStringLiteral("info: ") + text; }
    void alarm(const QString &text) override { entries << QStringLiteral("alarm: ") + text; }
    QStringList entries;
};

/// A simulated four-channel module (KA2F, 6000 V) as a program with its trace file and control
/// port, and a module controller polling it over TCP, with its session and runner.
class SequenceRig
{
public:
    QTemporaryDir dir;
    SimProcess sim;
    QTcpSocket control;
    RecordingJournal journal;
    ModuleController controller;
    ModuleSession &session = *controller.session();
    SequenceRunner &runner = *controller.runner();

    /// Starts the simulator with \a options and connects; true once the module is online.
    bool start(const QStringList &options = {})
    {
        controller.setJournal(&journal);
        if (!sim.start(QStringList { QStringLiteral("--tcp"), QStringLiteral("0"),
                           QStringLiteral("--no-noise"), QStringLiteral("--control"),
                           QStringLiteral("0"), QStringLiteral("--trace"), tracePath() }
                    + options,
                "tcp"))
            return false;
        const QByteArray controlLine = sim.nextLine();
        control.connectToHost(
            QStringLiteral("127.0.0.1"), controlLine.split(':').last().toUShort());
        if (!control.waitForConnected(5000))
            return false;
        LinkSettings settings;
        settings.host = QStringLiteral("127.0.0.1");
        settings.port = sim.endpoint().section(QLatin1Char(':'), 1).toUShort();
        session.connectTo(settings);
        return spinUntil([this] { return session.isOnline(); }, Patience);
    }

    /// Runs one control-port command; its answer ("ok" or "error: ...").
    QByteArray command(const QByteArray &line)
    {
        control.write(line + '\n');
        while (!control.canReadLine())
            if (!control.waitForReadyRead(5000))
                return QByteArray();
        return control.readLine().trimmed();
    }

    QString tracePath() const { return dir.filePath(QStringLiteral("trace")); }
    QStringList trace() const
    {
        QFile file(tracePath());
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QString::fromLatin1(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

    /// Waits until the trace from line \a start on holds lines matching \a patterns in this
    /// order; the index after the last match, or -1.
    int waitWire(const QStringList &patterns, int start = 0, int timeoutMs = 20000)
    {
        int end = -1;
        spinUntil(
            [&] {
                const QStringList lines = trace();
                int at = start;
                for (const QString &pattern : patterns) {
                    const QRegularExpression re(pattern);
                    while (at < lines.size() && !re.match(lines.at(at)).hasMatch())
                        ++at;
                    if (at == lines.size())
                        return false;
                    ++at;
                }
                end = at;
                return true;
            },
            timeoutMs);
        return end;
    }

    bool waitState(SequenceRunner::State state, int timeoutMs = 30000)
    {
        return spinUntil([&] { return runner.state() == state; }, timeoutMs);
    }

    bool waitPhase(int step, SequenceRunner::Phase phase, int timeoutMs = 30000)
    {
        return spinUntil(
            [&] { return runner.stepIndex() == step && runner.phase() == phase; }, timeoutMs);
    }
};

/// A sequence from its file text; an empty sequence when the text is refused.
inline Sequence sequenceFrom(const QByteArray &json)
{
    Sequence sequence;
    const QString error = SequenceFile::parse(json, &sequence);
    if (!error.isEmpty())
        qWarning("sequence refused: %s", qPrintable(error));
    return sequence;
}
