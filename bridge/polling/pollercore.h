#pragma once

#include "bridgeconfig.h"
#include "cycletimes.h"
#include "modulecontroller.h"
#include "modulestate.h"

#include <QElapsedTimer>
#include <QMetaType>
#include <QObject>

#include <atomic>
#include <memory>

class SequenceCore;
class WriteRound;
struct ChannelCommand;

/// A copy of a module's state made on the thread of its engine and read on another, handed over
/// in a queued signal and never changed after.
using ModuleSnapshot = std::shared_ptr<const ModuleState>;
Q_DECLARE_METATYPE(ModuleSnapshot)

/// The part of a module's poller that lives with the module's engine: the module's controller
/// (session, history, sequence runner and command gate) with the bridge's reconnection (a pause
/// that grows from 1 s to 30 s, always on) and the module's cycle period, the links it makes
/// (TCP requests handed to the bridge's write round) and, when asked for, the sequence side. It
/// lives on the bridge's thread, or on the worker thread of a GPIB board, whose driver calls block;
/// everything but the counters is used on that thread only.
///
/// It reports online, every answer while online, and offline; with snapshots on, each report
/// carries a copy of the module's values for another thread.
class PollerCore : public QObject
{
    Q_OBJECT

public:
    static constexpr int FirstPauseMs = 1000;
    static constexpr int MaxPauseMs = 30000;

    /// A TCP link hands its requests to \a round when it is given, else writes them at once.
    PollerCore(const ModuleSettings &settings, WriteRound *round, bool snapshots,
        QObject *parent = nullptr);
    ~PollerCore() override;

    /// Opens the first link.
    void start();
    /// The engine of the current link; null between links.
    SCPI_Parser *engine() const { return m_controller.session()->link(); }
    ModuleController *controller() { return &m_controller; }
    /// Hands \a command to the controller's gate; returns why it was refused, or an empty text when
    /// it was queued (\a dropped: the queued commands an off dropped). A command ends a pause
    /// between cycles, so that it goes out with the next request.
    QString pass(const ChannelCommand &command, int *dropped);
    /// The sequence runner's side, following the session; made at the first call.
    SequenceCore *sequence();

    /// From any thread: answers processed and polling cycles completed since construction.
    quint64 answerCount() const { return m_answers.load(std::memory_order_relaxed); }
    quint64 cycleCount() const { return m_cycles.load(std::memory_order_relaxed); }
    /// From any thread: links ended because the module's answers stopped (the watchdog).
    quint64 watchdogExpiries() const { return m_watchdogExpiries.load(std::memory_order_relaxed); }
    /// From any thread: the times of the polling cycles.
    const CycleTimes &cycleTimes() const { return m_cycleTimes; }

signals:
    void online(const ModuleSnapshot &snapshot);
    void offline(const QString &reason);
    /// After every processed answer while online.
    void answered(const ModuleSnapshot &snapshot);
    /// A whole polling cycle has been answered while online (after its last answered()).
    void cycleCompleted();

private:
    void warn(const QString &reason) const;
    ModuleSnapshot snapshot() const;

    ModuleSettings m_settings;
    ModuleController m_controller;
    ModuleSession &m_session;
    /// After the controller, so that it ends first.
    std::unique_ptr<SequenceCore> m_sequence;
    bool m_snapshots;
    std::atomic<quint64> m_answers { 0 };
    std::atomic<quint64> m_cycles { 0 };
    std::atomic<quint64> m_watchdogExpiries { 0 };
    CycleTimes m_cycleTimes;
    /// Since the end of the last polling cycle on the present link; invalid before the first.
    QElapsedTimer m_cycleEnd;
};
