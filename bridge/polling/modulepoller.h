#pragma once

#include "bridgeconfig.h"
#include "cycletimes.h"
#include "modulestate.h"

#include <QLoggingCategory>
#include <QObject>

#include <functional>

class EventHistory;
class PollerCore;
class QThread;
class SequenceCore;
class WriteRound;
struct ChannelCommand;

Q_DECLARE_LOGGING_CATEGORY(lcBridge)

/// Keeps one module polled, as seen from the bridge's thread: its PollerCore (session,
/// reconnection, cycle period, command gate) runs there too, or, for a module behind a
/// blocking driver, on the worker thread the bridge gives it. The values then come over in
/// snapshots, copies of the module's state, so that everything on the bridge's thread reads the
/// module through state() alike. It reports online once the module has been identified, its
/// configuration read and one polling cycle answered, and offline when the link ends.
class ModulePoller : public QObject
{
    Q_OBJECT

public:
    /// Says what became of a command: an empty \a why when it was queued for the module, and
    /// how many queued commands an off \a dropped.
    using CommandDone = std::function<void(const QString &why, int dropped)>;

    /// A TCP link hands its requests to \a round when it is given, else writes them at once.
    /// With \a engineHome, an object living on another thread, the engine runs on that thread;
    /// its event loop must run until this poller is destroyed.
    ModulePoller(const ModuleSettings &settings, WriteRound *round = nullptr,
        QObject *engineHome = nullptr, QObject *parent = nullptr);
    ~ModulePoller() override;

    /// Opens the first link.
    void start();
    const ModuleSettings &settings() const { return m_settings; }
    /// The module's state: its engine's, or the latest snapshot when the engine runs on another
    /// thread. Null while offline (the engine's alone may be there from the link's opening on).
    const ModuleState *state() const;
    /// Set commands the module's engine has queued (0 when it runs on another thread).
    int queuedCommandCount() const;
    bool isOnline() const { return m_online; }
    /// Answers processed and polling cycles completed since construction, over all links.
    quint64 answerCount() const;
    quint64 cycleCount() const;
    /// Links ended since construction because the module's answers stopped (the watchdog).
    quint64 watchdogExpiries() const;
    /// The times of the polling cycles since construction.
    CycleTimes::Counts cycleTimes() const;
    /// The thread the engine runs on.
    QThread *engineThread() const;

    /// Hands \a command to the module's command gate, on the engine's thread; \a done follows
    /// on this thread (at once when the engine runs here), unless \a context is gone by then.
    void pass(const ChannelCommand &command, QObject *context, CommandDone done);
    /// The side of the module's ramp sequences that follows its session: made on the engine's
    /// thread at the first call, owned by the poller and used on that thread only.
    SequenceCore *sequenceCore();
    /// The module's event history, kept by its controller on the engine's thread: its signals
    /// may be connected from here; it is read on that thread only.
    EventHistory *history() const;

signals:
    void online();
    void offline(const QString &reason);
    /// After every processed answer while online.
    void answerProcessed();
    /// After a whole polling cycle has been answered while online (and its last
    /// answerProcessed()): each value of the module has been read once since the last one.
    void cycleCompleted();

private:
    bool isLocal() const;

    ModuleSettings m_settings;
    PollerCore *m_core = nullptr;
    /// The engine runs on another thread: its module's values come in snapshots.
    bool m_remote = false;
    ModuleState m_snapshot;
    bool m_online = false;
};
