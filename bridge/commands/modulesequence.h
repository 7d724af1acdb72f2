#pragma once

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
/// (a name only: no path, no link; folder and file trusted as the configuration file is),
/// "<base>sequence/pause", "…/resume" and "…/abort" steer it, and "<base>sequence/state" holds
/// its progress as retained JSON:
///
///     {"state":"running","file":"condition.json","name":"Condition to 2 kV","step":2,
///      "steps":8,"phase":"holding","elapsed":95.2,"remaining":1210.0,"channels":[0,1,2,3],
///      "waiting":false,"reason":""}
///
/// The runner's entries go to the module's event history (and so to "events"), which its
/// controller keeps, and to the log.
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

    /// Subscribes "<base>sequence/run", ".../pause", ".../resume" and ".../abort" unless they
    /// are (not "sequence/+": the retained "sequence/state" would come back as a command);
    /// publishes the state once a sequence has started here.
    void subscribe();
    void forgetSubscription() { m_topics.clear(); }
    /// Whether \a pattern is one of the topics this object subscribed.
    bool subscribed(const QByteArray &pattern) const { return m_topics.contains(pattern); }
    /// Running, paused or stopping, as last reported by the runner.
    bool isActive() const { return m_progress.isActive(); }
    /// \a command is "run", "pause", "resume" or "abort"; \a done follows on this thread once the
    /// runner has taken or refused it (at once when it runs here), unless \a context is gone.
    void handle(const QByteArray &command, const QByteArray &payload, QObject *context, Done done);
    /// The bridge stops: a running sequence ends without a command, said in the journal, and
    /// its entries have been handed on when this returns.
    void abandon(const QString &why);

    /// Takes \a action as a rule would for a condition the runner can not see (see
    /// SequenceRunner::applyExternal()), with a journal entry saying \a why.
    void applyExternal(SafetyAction action, const QString &why);
    /// The broker has been gone for a while: the running sequence's "brokerLost" rule.
    void brokerLost(const QString &why);

    /// Reads the sequence file \a name of \a folder into \a sequence: a plain name, the folder
    /// and the file trusted as readFileInFolder() requires (no link followed, owned by root or
    /// the bridge's user, writable by nobody else). Returns why it was refused, or an empty
    /// text.
    static QString load(const QString &folder, const QByteArray &name, Sequence *sequence);
    /// The "*.json" files of \a folder that "sequence/run" can name (plain names, no links),
    /// sorted: published retained on "<base>sequence/files" as a JSON array.
    static QStringList fileNames(const QString &folder);
    static bool isPlainName(const QString &name);

private:
    /// Runs \a action with the runner on its thread, without an answer.
    void post(std::function<void(SequenceRunner *)> action);
    /// Calls \a action with the runner's side on its thread; \a done gets its answer here.
    void call(std::function<QString(SequenceCore *)> action, QObject *context, Done done);
    void write(bool alarm, const QString &text);
    void publishState(bool force);

    MqttClient *m_client;
    ModulePoller *m_poller;
    const ModulePublisher *m_publisher;
    /// Owned by the module's PollerCore, which ends it before its session.
    QPointer<SequenceCore> m_core;
    SequenceProgress m_progress;
    /// The command topics subscribed.
    QList<QByteArray> m_topics;
    QByteArray m_lastKey;
    QElapsedTimer m_lastState;
};
