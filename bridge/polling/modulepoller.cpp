#include "modulepoller.h"

#include "channelcommand.h"
#include "pollercore.h"

#include <QPointer>
#include <QThread>

Q_LOGGING_CATEGORY(lcBridge, "vorn.bridge")

ModulePoller::ModulePoller(
    const ModuleSettings &settings, WriteRound *round, QObject *engineHome, QObject *parent)
    : QObject(parent)
    , m_settings(settings)
{
    if (engineHome && engineHome->thread() != thread()) {
        // Made on its own thread, so that its timers and its links belong there.
        m_remote = true;
        QMetaObject::invokeMethod(
            engineHome, [&] { m_core = new PollerCore(settings, nullptr, true); },
            Qt::BlockingQueuedConnection);
    } else {
        m_core = new PollerCore(settings, round, false, this);
    }
    // Queued from another thread: each report comes with the values of its moment.
    connect(m_core, &PollerCore::online, this, [this](const ModuleSnapshot &snapshot) {
        if (snapshot)
            m_snapshot = *snapshot;
        m_online = true;
        emit online();
    });
    connect(m_core, &PollerCore::answered, this, [this](const ModuleSnapshot &snapshot) {
        if (!m_online)
            return;
        if (snapshot)
            m_snapshot = *snapshot;
        emit answerProcessed();
    });
    connect(m_core, &PollerCore::cycleCompleted, this, [this]() {
        if (m_online)
            emit cycleCompleted();
    });
    connect(m_core, &PollerCore::offline, this, [this](const QString &reason) {
        m_online = false;
        emit offline(reason);
    });
}

ModulePoller::~ModulePoller()
{
    if (isLocal())
        return; // a child
    // Ended on its own thread, which may first finish a driver call; nothing of it runs after.
    PollerCore *core = m_core;
    if (core->thread()->isRunning())
        QMetaObject::invokeMethod(
            core, [core] { delete core; }, Qt::BlockingQueuedConnection);
    else
        delete core;
}

bool ModulePoller::isLocal() const
{
    return !m_remote;
}

void ModulePoller::start()
{
    QMetaObject::invokeMethod(m_core, &PollerCore::start);
}

const ModuleState *ModulePoller::state() const
{
    if (isLocal()) {
        const SCPI_Parser *engine = m_core->engine();
        return engine ? &engine->module().state() : nullptr;
    }
    return m_online ? &m_snapshot : nullptr;
}

int ModulePoller::queuedCommandCount() const
{
    const SCPI_Parser *engine = isLocal() ? m_core->engine() : nullptr;
    return engine ? engine->queuedCommandCount() : 0;
}

quint64 ModulePoller::answerCount() const
{
    return m_core->answerCount();
}

quint64 ModulePoller::cycleCount() const
{
    return m_core->cycleCount();
}

quint64 ModulePoller::watchdogExpiries() const
{
    return m_core->watchdogExpiries();
}

CycleTimes::Counts ModulePoller::cycleTimes() const
{
    return m_core->cycleTimes().counts();
}

QThread *ModulePoller::engineThread() const
{
    return m_core->thread();
}

void ModulePoller::pass(const ChannelCommand &command, QObject *context, CommandDone done)
{
    if (isLocal()) {
        int dropped = 0;
        const QString why = m_core->pass(command, &dropped);
        done(why, dropped);
        return;
    }
    PollerCore *core = m_core;
    QPointer<QObject> guard(context);
    QMetaObject::invokeMethod(core, [this, core, command, guard, done] {
        int dropped = 0;
        const QString why = core->pass(command, &dropped);
        // This poller outlives its core, so the answer always has a receiver.
        QMetaObject::invokeMethod(
            this,
            [guard, done, why, dropped] {
                if (guard)
                    done(why, dropped);
            },
            Qt::QueuedConnection);
    });
}

EventHistory *ModulePoller::history() const
{
    return m_core->controller()->history();
}

SequenceCore *ModulePoller::sequenceCore()
{
    if (isLocal())
        return m_core->sequence();
    SequenceCore *sequence = nullptr;
    QMetaObject::invokeMethod(
        m_core, [&] { sequence = m_core->sequence(); }, Qt::BlockingQueuedConnection);
    return sequence;
}
