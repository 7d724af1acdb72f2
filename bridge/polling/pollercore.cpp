#include "pollercore.h"

#include "channelcommand.h"
#include "linkreason.h"
#include "modulepoller.h"
#include "pacedlink.h"
#include "scpi_eth.h"
#include "scpi_gpib.h"
#include "scpi_serial.h"
#include "sequencecore.h"
#include "writeround.h"

#include <QPointer>

namespace {

/// The TCP link, handing its requests to the bridge's write round when it has one; its
/// socket keeps them until the round writes them.
class RoundEth : public SCPI_Eth
{
public:
    RoundEth(WriteRound *round, QObject *parent)
        : SCPI_Eth(parent, round != nullptr)
        , m_round(round)
    {
    }

protected:
    void pushRequest() override
    {
        if (m_round)
            m_round->add(tcpSocket());
        else
            SCPI_Eth::pushRequest();
    }

private:
    QPointer<WriteRound> m_round;
};

} // namespace

PollerCore::PollerCore(
    const ModuleSettings &settings, WriteRound *round, bool snapshots, QObject *parent)
    : QObject(parent)
    , m_settings(settings)
    , m_session(*m_controller.session())
    , m_snapshots(snapshots)
{
    m_session.setReconnectPolicy({ true, FirstPauseMs, MaxPauseMs });
    m_session.setCyclePeriod(settings.cycleMs);
    QPointer<WriteRound> writeRound(round);
    LinkClasses classes;
    classes.tcp = [this, writeRound](QObject *owner) {
        return new PacedLink<RoundEth>(&m_session, writeRound.data(), owner);
    };
    classes.serial
        = [this](QObject *owner) { return new PacedLink<SCPI_Serial>(&m_session, owner); };
    classes.gpib = [this](QObject *owner) { return new PacedLink<SCPI_Gpib>(&m_session, owner); };
    m_session.setLinkFactory([classes](const LinkSettings &link, QObject *owner) {
        return makeLink(link, owner, classes);
    });
    connect(&m_session, &ModuleSession::openFailed, this, &PollerCore::warn);
    connect(&m_session, &ModuleSession::connectionLost, this, [this](const QString &reason) {
        m_watchdogExpiries.fetch_add(1, std::memory_order_relaxed);
        warn(reason);
    });
    connect(&m_session, &ModuleSession::cycleCompleted, this, [this] {
        m_cycles.store(m_session.cycleCount(), std::memory_order_relaxed);
        if (m_cycleEnd.isValid())
            m_cycleTimes.record(m_cycleEnd.restart());
        else
            m_cycleEnd.start();
        emit cycleCompleted();
    });
    connect(&m_session, &ModuleSession::offline, this, [this](const QString &reason) {
        m_cycleEnd.invalidate();
        emit offline(reason);
    });
    connect(&m_session, &ModuleSession::identityMissing, this, [this] {
        qCWarning(lcBridge).noquote()
            << QStringLiteral("module %1 (%2): the device does not identify as a Vornwerk module")
                   .arg(m_settings.name, m_settings.endpoint());
    });
    connect(&m_session, &ModuleSession::online, this, [this] {
        const Module &module = m_session.link()->module();
        qCInfo(lcBridge).noquote() << QStringLiteral("module %1 (%2): online, serial number %3, %4")
                                          .arg(m_settings.name, m_settings.endpoint())
                                          .arg(module.serialNumber())
                                          .arg(module.deviceName());
        emit online(snapshot());
    });
    connect(&m_session, &ModuleSession::answerProcessed, this, [this] {
        m_answers.store(m_session.answerCount(), std::memory_order_relaxed);
        if (m_session.isOnline())
            emit answered(snapshot());
    });
}

PollerCore::~PollerCore()
{
    // A runner ended while active writes its last entry through the sequence side.
    if (m_controller.runner()->isActive())
        m_controller.runner()->abandon(QStringLiteral("the bridge stopped"));
    m_controller.setJournal(nullptr);
}

void PollerCore::start()
{
    m_session.connectTo(m_settings.link);
}

QString PollerCore::pass(const ChannelCommand &command, int *dropped)
{
    *dropped = 0;
    SCPI_Parser *engine = m_session.link();
    if (!engine || !m_session.isOnline())
        return QStringLiteral("module offline");
    return m_controller.command(command, CommandSource::Remote, dropped);
}

SequenceCore *PollerCore::sequence()
{
    if (!m_sequence)
        m_sequence = std::make_unique<SequenceCore>(&m_controller);
    return m_sequence.get();
}

ModuleSnapshot PollerCore::snapshot() const
{
    return m_snapshots && m_session.link()
        ? std::make_shared<const ModuleState>(m_session.link()->module().state())
        : ModuleSnapshot();
}

void PollerCore::warn(const QString &reason) const
{
    qCWarning(lcBridge).noquote() << QStringLiteral("module %1 (%2): %3; trying again in %4 s")
                                         .arg(m_settings.name, m_settings.endpoint(),
                                             LinkReason::describe(reason, false))
                                         .arg(m_session.nextPauseMs() / 1000);
}
