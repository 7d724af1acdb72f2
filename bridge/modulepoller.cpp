#include "modulepoller.h"

#include "scpi_eth.h"

#include "writeround.h"

Q_LOGGING_CATEGORY(lcBridge, "vorn.bridge")

namespace {

/// The TCP link, handing its requests to the bridge's write round when it has one.
class RoundEth : public SCPI_Eth
{
public:
    RoundEth(WriteRound *round, QObject *parent)
        : SCPI_Eth(parent, true)
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

ModulePoller::ModulePoller(const ModuleSettings &settings, WriteRound *round, QObject *parent)
    : QObject(parent)
    , m_settings(settings)
    , m_round(round)
{
    m_session.setReconnectPolicy({ true, FirstPauseMs, MaxPauseMs });
    m_session.setLinkFactory([this](const LinkSettings &link, QObject *owner) -> SCPI_Parser * {
        if (link.kind != LinkSettings::Kind::Tcp)
            return makeLink(link, owner);
        auto *eth = new RoundEth(m_round, owner);
        eth->setPort(link.port);
        eth->setHostAddress(link.host);
        return eth;
    });
    connect(&m_session, &ModuleSession::openFailed, this, &ModulePoller::warn);
    connect(&m_session, &ModuleSession::connectionLost, this, &ModulePoller::warn);
    connect(&m_session, &ModuleSession::offline, this, &ModulePoller::offline);
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
        emit online();
    });
    connect(&m_session, &ModuleSession::answerProcessed, this, [this] {
        if (m_session.isOnline())
            emit answerProcessed();
    });
}

ModulePoller::~ModulePoller() = default;

void ModulePoller::start()
{
    m_session.connectTo(m_settings.linkSettings());
}

void ModulePoller::warn(const QString &reason) const
{
    qCWarning(lcBridge).noquote() << QStringLiteral("module %1 (%2): %3; trying again in %4 s")
                                         .arg(m_settings.name, m_settings.endpoint(), reason)
                                         .arg(m_session.nextPauseMs() / 1000);
}
