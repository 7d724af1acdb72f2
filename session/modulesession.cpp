#include "modulesession.h"

#include "linkreason.h"
#include "scpi_parser.h"

#include <utility>

Q_LOGGING_CATEGORY(lcSession, "vorn.session")

namespace {
/// Answers after which a device that still has not identified itself is reported.
constexpr int IdentityPatience = 3;
/// The plain link of the settings' kind.
SCPI_Parser *plainLink(const LinkSettings &settings, QObject *parent)
{
    return makeLink(settings, parent);
}
} // namespace

ModuleSession::ModuleSession(QObject *parent)
    : QObject(parent)
    , m_factory(plainLink)
{
    // Restarting a timer on every answer would cost more than the answer's processing: the
    // watchdog looks at the time of the last answer when it runs out, and waits the rest.
    m_watchdog.setSingleShot(true);
    connect(&m_watchdog, &QTimer::timeout, this, &ModuleSession::checkWatchdog);
    m_retry.setSingleShot(true);
    connect(&m_retry, &QTimer::timeout, this, &ModuleSession::tryAgain);
    // A coarse timer may run 5 % late, which a period of one second cannot spare.
    m_pause.setSingleShot(true);
    m_pause.setTimerType(Qt::PreciseTimer);
    connect(&m_pause, &QTimer::timeout, this, &ModuleSession::endPause);
    m_cycleClock.start();
}

ModuleSession::~ModuleSession()
{
    if (m_link) {
        m_link->disconnect(this);
        m_link->disconnectDevice();
        delete m_link;
    }
}

void ModuleSession::setLinkFactory(LinkFactory factory)
{
    m_factory = factory ? std::move(factory) : LinkFactory(plainLink);
}

void ModuleSession::setReconnectPolicy(const ReconnectPolicy &policy)
{
    m_policy = policy;
    if (m_attempts == 0)
        m_pauseMs = policy.firstPauseMs;
}

void ModuleSession::setCyclePeriod(int ms)
{
    m_cyclePeriodMs = qBound(0, ms, MaxCyclePeriodMs);
    if (m_cyclePeriodMs == 0)
        endPause();
}

void ModuleSession::onCycleStarting()
{
    // The cycle before this one has been answered in full.
    if (m_cycleStarts > 0) {
        ++m_cycles;
        if (m_online)
            emit cycleCompleted();
    }
    ++m_cycleStarts;
    if (!m_online && m_cycleStarts >= 2 && m_link) {
        // A listener may end the link from here on; it is then deleted once the engine's answer
        // processing has returned.
        const bool inAnswer = std::exchange(m_inAnswer, true);
        goOnline();
        m_inAnswer = inAnswer;
    }
}

bool ModuleSession::beginCycle(const SCPI_Parser *link, std::function<void()> send)
{
    if (link != m_link.data())
        return true; // gone: nothing more to send on it
    if (m_cyclePeriodMs <= 0)
        return false;
    const qint64 now = m_cycleClock.elapsed();
    if (m_cycleStartAt < 0) {
        m_cycleStartAt = now;
        return false;
    }
    const qint64 due = m_cycleStartAt + m_cyclePeriodMs;
    if (now >= due) {
        // A start that comes late keeps the schedule's step, so that the rate stays the
        // period's; after a cycle longer than the period the schedule starts anew.
        m_cycleStartAt = now - due < m_cyclePeriodMs ? due : now;
        return false;
    }
    m_cycleStartAt = due;
    m_heldRequest = std::move(send);
    m_pause.start(int(due - now));
    return true;
}

void ModuleSession::releaseCycle()
{
    if (!m_heldRequest)
        return;
    m_cycleStartAt = m_cycleClock.elapsed();
    endPause();
}

void ModuleSession::endPause()
{
    m_pause.stop();
    if (!m_heldRequest)
        return;
    const std::function<void()> send = std::exchange(m_heldRequest, {});
    // The watchdog waits for the answer to this request from now on.
    m_lastAnswer.start();
    send();
}

bool ModuleSession::connectTo(const LinkSettings &settings)
{
    m_settings = settings;
    m_endedByOperator = false;
    m_retry.stop();
    m_attempts = 0;
    m_pauseMs = m_policy.firstPauseMs;
    return open(false);
}

bool ModuleSession::open(bool attempt)
{
    closeLink(QString());
    m_linkAnswers = 0;
    m_cycleStarts = 0;
    m_cycleStartAt = -1;
    m_identityWarned = false;
    m_link = m_factory(m_settings, this);
    if (!m_link || !m_link->connectDevice()) {
        failOpen();
        return false;
    }
    connect(m_link, &SCPI_Parser::updateDisplay, this, &ModuleSession::onAnswer);
    connect(m_link, &SCPI_Parser::cycleStarting, this, &ModuleSession::onCycleStarting);
    m_lastAnswer.start();
    m_watchdog.start(WatchdogMs);
    setState(attempt ? State::Reconnecting : State::Connecting);
    emit linkChanged(m_link);
    if (!m_link)
        return false;
    m_link->requestIdentity();
    m_link->restartFullRead();
    // An attempt whose link does not connect before the pause is over is replaced.
    if (attempt)
        m_retry.start(m_pauseMs);
    return true;
}

void ModuleSession::failOpen()
{
    // The link was never announced, so it goes without a word; its medium is closed first.
    if (SCPI_Parser *link = m_link) {
        m_link = nullptr;
        link->disconnectDevice();
        delete link;
    }
    m_watchdog.stop();
    const QString reason = QStringLiteral("can not open %1").arg(m_settings.endpoint());
    afterLoss();
    emit openFailed(reason);
}

void ModuleSession::closeLink(const QString &reason)
{
    m_watchdog.stop();
    m_pause.stop();
    m_heldRequest = nullptr;
    const bool wasOnline = m_online;
    m_online = false;
    if (m_link) {
        SCPI_Parser *link = m_link;
        m_link = nullptr;
        link->disconnect(this);
        link->disconnectDevice();
        // Inside the link's own answer signal it is deleted once that has returned.
        if (m_inAnswer)
            link->deleteLater();
        else
            delete link;
        emit linkChanged(nullptr);
    }
    if (wasOnline)
        emit offline(reason);
}

bool ModuleSession::mayRetry() const
{
    return m_policy.enabled && !m_endedByOperator;
}

void ModuleSession::afterLoss()
{
    if (!mayRetry()) {
        m_attempts = 0;
        setState(State::Idle);
        return;
    }
    if (m_state != State::Reconnecting) {
        m_attempts = 0;
        qCDebug(lcSession) << "reconnecting, the first attempt in" << m_pauseMs << "ms";
    }
    m_retry.start(m_pauseMs);
    setState(State::Reconnecting);
    emit reconnectScheduled(m_pauseMs);
}

void ModuleSession::tryAgain()
{
    // An attempt's link that has connected waits for its answers; the watchdog ends it if none
    // come.
    if (m_link && m_link->isConnected()) {
        m_retry.start(m_pauseMs);
        return;
    }
    ++m_attempts;
    m_pauseMs = qMin(m_pauseMs * 2, qMax(m_policy.maxPauseMs, m_policy.firstPauseMs));
    open(true);
}

void ModuleSession::disconnectFromModule()
{
    m_endedByOperator = true;
    m_retry.stop();
    m_attempts = 0;
    closeLink(LinkReason::closedByOperator());
    setState(State::Idle);
}

void ModuleSession::stopReconnecting()
{
    m_endedByOperator = true;
    m_retry.stop();
    m_attempts = 0;
}

void ModuleSession::stopRefresh()
{
    if (m_link)
        m_link->stopRefresh();
}

void ModuleSession::checkWatchdog()
{
    if (!m_link)
        return;
    // A pause between cycles is no silence: the module was asked nothing.
    if (isPausing()) {
        m_watchdog.start(WatchdogMs);
        return;
    }
    const qint64 quiet = m_lastAnswer.elapsed();
    if (quiet < WatchdogMs) {
        m_watchdog.start(int(WatchdogMs - quiet));
        return;
    }
    expireWatchdog();
}

void ModuleSession::expireWatchdog()
{
    const quint16 code = m_link ? m_link->pendingRequest() : 0;
    qCDebug(lcSession) << "Connection lost due to timeout while requesting" << code;
    const QString reason = LinkReason::timeout(code);
    closeLink(reason);
    afterLoss();
    emit connectionLost(reason);
}

void ModuleSession::onAnswer()
{
    // A listener may end the link from here on; it is then deleted once this has returned.
    m_inAnswer = true;
    m_lastAnswer.start();
    ++m_answers;
    ++m_linkAnswers;
    if (m_state != State::Connected) {
        if (m_state == State::Reconnecting)
            qCDebug(lcSession) << "reconnected after" << m_attempts << "attempts";
        m_retry.stop();
        m_attempts = 0;
        setState(State::Connected);
    }
    if (!m_online && m_link) {
        const Module &module = m_link->module();
        if (module.firmwareName().isEmpty()) {
            if (m_linkAnswers >= IdentityPatience && !m_identityWarned) {
                m_identityWarned = true;
                emit identityMissing();
            }
        } else if (m_link->isFullRead()) {
            // Online only after one whole polling cycle from the configuration on, so that no
            // value is reported before the module has sent it (onCycleStarting()).
            m_cycleStarts = 0;
        }
    }
    emit answerProcessed();
    m_inAnswer = false;
}

void ModuleSession::goOnline()
{
    m_online = true;
    m_pauseMs = m_policy.firstPauseMs;
    emit online();
}

void ModuleSession::setState(State state)
{
    if (m_state == state)
        return;
    m_state = state;
    emit stateChanged(state);
}
