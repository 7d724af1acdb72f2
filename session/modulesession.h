#pragma once

#include "linksettings.h"
#include "scpi_parser.h"

#include <QElapsedTimer>
#include <QLoggingCategory>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include <functional>

class SCPI_Parser;

Q_DECLARE_LOGGING_CATEGORY(lcSession)

/// One module connection and its life cycle, for the panel and the bridge alike: makes the
/// link for a LinkSettings, opens it, lets the engine identify, configure and poll the module,
/// ends a link whose answers stop for 4 s (the watchdog) and, as the reconnection policy says,
/// tries the same connection again. A link lives for one connection: it is deleted when the
/// connection ends and before every new attempt, and never reopened.
///
/// The session owns the link (a child of the session). Listeners that need the engine follow
/// linkChanged(): it names each new link after it opened, before the identity query leaves,
/// and null once the link is gone.
class ModuleSession : public QObject
{
    Q_OBJECT

public:
    enum class State {
        /// No link and no attempt pending.
        Idle,
        /// A link is open and waits for its first answer.
        Connecting,
        /// The link has answered.
        Connected,
        /// A connection was lost or could not be opened; attempts run. An attempt's link may be
        /// open and waiting for its first answer.
        Reconnecting,
    };
    Q_ENUM(State)

    /// How a lost or failed connection is tried again. The pause before the first attempt is
    /// firstPauseMs; it doubles after every attempt up to maxPauseMs and starts again at
    /// firstPauseMs once a module is online. An attempt whose link is open but not connected
    /// when the pause is over is replaced by the next attempt.
    struct ReconnectPolicy
    {
        bool enabled = false;
        int firstPauseMs = 2000;
        int maxPauseMs = 2000;
    };
    /// Makes the unopened link for the settings, as a child of the given parent.
    using LinkFactory = std::function<SCPI_Parser *(const LinkSettings &, QObject *)>;

    /// Without an answer for this long the connection is ended.
    static constexpr int WatchdogMs = 4000;
    /// Longest cycle period.
    static constexpr int MaxCyclePeriodMs = 3600 * 1000;

    explicit ModuleSession(QObject *parent = nullptr);
    ~ModuleSession() override;

    /// Replaces the plain links of makeLink(), for links of the caller's own classes (tests;
    /// the bridge's paced links, through makeLink() with its LinkClasses).
    void setLinkFactory(LinkFactory factory);
    void setReconnectPolicy(const ReconnectPolicy &policy);
    const ReconnectPolicy &reconnectPolicy() const { return m_policy; }
    /// Polls at most one cycle per \a ms: after a full polling cycle the request that starts the
    /// next one waits until \a ms have passed since the start of the last one (0, the default:
    /// as fast as the answers come). The pause is no silence to the watchdog. Only links that
    /// tell the session where their cycles start are paced (see PacedLink).
    void setCyclePeriod(int ms);
    int cyclePeriod() const { return m_cyclePeriodMs; }

    /// For a link (see PacedLink): its engine is about to send the request that starts a
    /// polling cycle. Returns true when the session holds it back: \a send is then called once
    /// the period is over (or releaseCycle() comes first), unless the link has gone by then; also
    /// true, with nothing to send, when \a link is no longer the session's.
    bool beginCycle(const SCPI_Parser *link, std::function<void()> send);
    /// Sends a held request at once: a command is waiting for the module.
    void releaseCycle();
    /// Whether the next cycle is held back now.
    bool isPausing() const { return bool(m_heldRequest); }

    /// Ends the present link, makes and opens one for \a settings and starts identification.
    /// False when the link could not be opened: openFailed() has then been emitted, and an
    /// attempt follows if the policy allows it.
    bool connectTo(const LinkSettings &settings);
    /// Ends the connection now: no more attempts, the link closed and deleted, state Idle.
    void disconnectFromModule();
    /// Ends the attempts and keeps the present link (the operator's disconnect follows).
    void stopReconnecting();
    /// Stops the engine's request cycle for good; the link stays until it is disconnected.
    void stopRefresh();
    /// What the watchdog does when the answers stop: ends the link and, by the policy, tries
    /// again.
    void expireWatchdog();

    State state() const { return m_state; }
    /// The engine of the present link; null between links.
    SCPI_Parser *link() const { return m_link; }
    const LinkSettings &settings() const { return m_settings; }
    /// Identified, configuration read and one polling cycle answered, on the present link.
    bool isOnline() const { return m_online; }
    /// Attempts made since the connection was lost; 0 while none runs.
    int attempts() const { return m_attempts; }
    /// Pause before the next attempt.
    int nextPauseMs() const { return m_pauseMs; }
    /// Answers processed since construction, over all links.
    quint64 answerCount() const { return m_answers; }
    /// Polling cycles completed since construction, over all links (counted where the engine
    /// starts the next one).
    quint64 cycleCount() const { return m_cycles; }

signals:
    void stateChanged(ModuleSession::State state);
    /// A new link is open (its engine, before the identity query leaves), or null: it is gone.
    void linkChanged(SCPI_Parser *link);
    /// After every answer the engine processed.
    void answerProcessed();
    /// A whole polling cycle has been answered while online, as the request that starts the
    /// next one is about to leave (from within the engine's answer processing: a listener only
    /// reads).
    void cycleCompleted();
    void online();
    /// The online module's link ended; \a reason is a LinkReason code (empty when a new
    /// connection replaced it).
    void offline(const QString &reason);
    /// The link for the settings could not be opened; \a reason names the endpoint.
    void openFailed(const QString &reason);
    /// The watchdog ended the link; \a reason is LinkReason::timeout() of the request whose
    /// answer did not come.
    void connectionLost(const QString &reason);
    /// Once per link: a few answers came, but the device did not identify as a module.
    void identityMissing();
    /// An attempt follows in \a pauseMs; attempts() have been made so far.
    void reconnectScheduled(int pauseMs);

private:
    bool open(bool attempt);
    void failOpen();
    void closeLink(const QString &reason);
    void afterLoss();
    void tryAgain();
    void onAnswer();
    /// The link's engine starts a polling cycle: counts the one before and goes online after the
    /// first whole one.
    void onCycleStarting();
    void checkWatchdog();
    void setState(State state);
    bool mayRetry() const;
    void goOnline();
    /// Sends the held request, if any.
    void endPause();

    LinkFactory m_factory;
    ReconnectPolicy m_policy;
    LinkSettings m_settings;
    QPointer<SCPI_Parser> m_link;
    State m_state = State::Idle;
    QTimer m_watchdog;
    QElapsedTimer m_lastAnswer;
    QTimer m_retry;
    /// Runs out when the cycle period is over.
    QTimer m_pause;
    /// Sends the held request that starts the next cycle; empty while none is held.
    std::function<void()> m_heldRequest;
    QElapsedTimer m_cycleClock;
    /// When, on m_cycleClock, the present cycle started by the schedule; -1 before the first
    /// cycle of a link.
    qint64 m_cycleStartAt = -1;
    int m_cyclePeriodMs = 0;
    /// Cycles started on the present link since its configuration was read.
    int m_cycleStarts = 0;
    quint64 m_cycles = 0;
    int m_pauseMs = 2000;
    int m_attempts = 0;
    bool m_endedByOperator = false;
    bool m_online = false;
    bool m_identityWarned = false;
    bool m_inAnswer = false;
    int m_linkAnswers = 0;
    quint64 m_answers = 0;
};
