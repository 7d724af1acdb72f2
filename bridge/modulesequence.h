#pragma once

#include "historyjournal.h"
#include "sequencejournal.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QString>

class EventHistory;
class MqttClient;
class ModulePoller;
class ModulePublisher;
class SequenceRunner;

/// The ramp sequences of one module, for a module whose file says "commands = on" and
/// "sequences = FOLDER": "<base>sequence/run" with the name of a file in that folder starts it
/// (a name only: no path, nothing outside the folder, also not through a link),
/// "<base>sequence/pause", "…/resume" and "…/abort" steer it, and "<base>sequence/state" holds
/// its progress as retained JSON:
///
///     {"state":"running","file":"condition.json","name":"Condition to 2 kV","step":2,
///      "steps":8,"phase":"holding","elapsed":95.2,"remaining":1210.0,"channels":[0,1,2,3],
///      "waiting":false,"reason":""}
///
/// The runner's entries go to the module's event history (and so to "events") and to the log.
/// The command side (ModuleCommands) hands over the messages it has let through.
class ModuleSequence : public QObject, public SequenceJournal
{
    Q_OBJECT

public:
    /// Longest file name taken.
    static constexpr int MaxName = 128;
    /// Progress is published at most this often, and at once when the state, step or phase
    /// changes.
    static constexpr int StateEveryMs = 1000;

    /// \a client, \a poller and \a publisher are not owned and must outlive this object.
    ModuleSequence(MqttClient *client, ModulePoller *poller, const ModulePublisher *publisher,
        QObject *parent = nullptr);
    ~ModuleSequence() override;

    void setHistory(EventHistory *history) { m_historyJournal.setHistory(history); }
    SequenceRunner *runner() const { return m_runner; }

    /// Subscribes "<base>sequence/+" unless it is; publishes the state.
    void subscribe();
    void forgetSubscription() { m_pattern.clear(); }
    QByteArray pattern() const { return m_pattern; }
    /// \a command is "run", "pause", "resume" or "abort"; returns why it was refused, or an
    /// empty text when it was taken.
    QString handle(const QByteArray &command, const QByteArray &payload);
    /// The bridge stops: a running sequence ends without a command, said in the journal.
    void abandon(const QString &why);

    /// The file \a name names in \a folder, or an empty text with the reason in \a why.
    static QString sequencePath(const QString &folder, const QByteArray &name, QString *why);

    void info(const QString &text) override;
    void alarm(const QString &text) override;

private:
    QString run(const QByteArray &name);
    void publishState(bool force);
    QByteArray stateJson() const;

    MqttClient *m_client;
    ModulePoller *m_poller;
    const ModulePublisher *m_publisher;
    SequenceRunner *m_runner = nullptr;
    HistoryJournal m_historyJournal;
    QByteArray m_pattern;
    QString m_file;
    QByteArray m_lastKey;
    QElapsedTimer m_lastState;
};
