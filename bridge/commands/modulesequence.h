#pragma once

#include "historyjournal.h"
#include "sequencecore.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>

class EventHistory;
class MqttClient;
class ModulePoller;
class ModulePublisher;

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
///
/// This object lives on the bridge's thread; the runner lives with the module's engine in a
/// SequenceCore (for a GPIB module on its board's worker thread). The commands go over to it in
/// queued calls, and its entries and progress come back in queued signals, in order with the
/// module's values; when the engine runs on the bridge's thread, all of it happens at once.
class ModuleSequence : public QObject
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

    /// Says what became of a command: \a why it was refused, or an empty text when it was taken.
    using Done = std::function<void(const QString &why)>;

    void setHistory(EventHistory *history) { m_historyJournal.setHistory(history); }

    /// Subscribes "<base>sequence/+" unless it is; publishes the state.
    void subscribe();
    void forgetSubscription() { m_pattern.clear(); }
    QByteArray pattern() const { return m_pattern; }
    /// Whether a sequence runs, is paused or stops now, as its latest progress said.
    bool isActive() const { return m_progress.isActive(); }
    /// \a command is "run", "pause", "resume" or "abort"; \a done follows on this thread once the
    /// runner has taken or refused it (at once when it runs here), unless \a context is gone.
    void handle(const QByteArray &command, const QByteArray &payload, QObject *context, Done done);
    /// The bridge stops: a running sequence ends without a command, said in the journal, and
    /// its entries have been handed on when this returns.
    void abandon(const QString &why);

    /// The file \a name names in \a folder, or an empty text with the reason in \a why.
    static QString sequencePath(const QString &folder, const QByteArray &name, QString *why);

private:
    /// Calls \a action with the runner's side on its thread; \a done gets its answer here.
    void call(std::function<QString(SequenceCore *)> action, QObject *context, Done done);
    void write(bool alarm, const QString &text);
    void publishState(bool force);
    QByteArray stateJson() const;

    MqttClient *m_client;
    ModulePoller *m_poller;
    const ModulePublisher *m_publisher;
    /// Owned by the module's PollerCore, which ends it before its session.
    QPointer<SequenceCore> m_core;
    SequenceProgress m_progress;
    HistoryJournal m_historyJournal;
    QByteArray m_pattern;
    QByteArray m_lastKey;
    QElapsedTimer m_lastState;
};
