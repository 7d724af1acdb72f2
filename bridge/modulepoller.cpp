#include "modulepoller.h"

#include "scpi_eth.h"
#include "scpi_gpib.h"
#include "scpi_serial.h"

#include "writeround.h"

Q_LOGGING_CATEGORY(lcBridge, "vorn.bridge")

namespace {

/// The TCP link, handing its requests to the bridge's write round when it has one.
class RoundEth : public SCPI_Eth
{
public:
    RoundEth(WriteRound *round, QObject *parent)
        : SCPI_Eth(parent)
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

/// Answers after which a device that still has not identified itself is reported.
constexpr int IdentityPatience = 3;
/// Answers after the configuration that cover one polling cycle (8 to 11 requests).
constexpr int CycleAnswers = 12;
} // namespace

ModulePoller::ModulePoller(const ModuleSettings &settings, WriteRound *round, QObject *parent)
    : QObject(parent)
    , m_settings(settings)
    , m_round(round)
{
    // A timer restarted on every answer would cost more than the answer's processing; a
    // coarse tick that looks at the time of the last answer is enough.
    m_watchdog.setInterval(WatchdogTickMs);
    connect(&m_watchdog, &QTimer::timeout, this, [this]() {
        if (!m_link || m_lastAnswer.elapsed() < WatchdogMs)
            return;
        const quint16 code = m_link->pendingRequest();
        closeLink(QStringLiteral("Connection lost due to timeout while requesting %1").arg(code));
    });
    m_retry.setSingleShot(true);
    connect(&m_retry, &QTimer::timeout, this, &ModulePoller::openLink);
}

ModulePoller::~ModulePoller()
{
    if (m_link) {
        m_link->disconnectDevice();
        delete m_link;
    }
}

void ModulePoller::start()
{
    openLink();
}

void ModulePoller::openLink()
{
    SCPI_Parser *link = nullptr;
    switch (m_settings.link) {
    case ModuleSettings::Link::Tcp: {
        auto *eth = new RoundEth(m_round, this);
        eth->setPort(m_settings.port);
        eth->setHostAddress(m_settings.host);
        link = eth;
        break;
    }
    case ModuleSettings::Link::Serial: {
        auto *serial = new SCPI_Serial(this);
        serial->setPortName(m_settings.serialPort);
        link = serial;
        break;
    }
    case ModuleSettings::Link::Gpib: {
        auto *gpib = new SCPI_Gpib(this);
        gpib->setPrimaryAddress(m_settings.gpibAddress);
        link = gpib;
        break;
    }
    }
    m_link = link;
    m_linkAnswers = 0;
    m_cycleAnswers = 0;
    m_identityWarned = false;
    if (!link->connectDevice()) {
        closeLink(QStringLiteral("can not open %1").arg(m_settings.endpoint()));
        return;
    }
    connect(link, &SCPI_Parser::updateDisplay, this, &ModulePoller::onAnswer);
    link->requestIdentity();
    link->restartFullRead();
    m_lastAnswer.start();
    m_watchdog.start();
}

void ModulePoller::closeLink(const QString &reason)
{
    m_watchdog.stop();
    if (m_link) {
        m_link->disconnect(this);
        m_link->disconnectDevice();
        // The link may be the sender of the running slot.
        m_link->deleteLater();
        m_link = nullptr;
    }
    const bool was = m_online;
    m_online = false;
    qCWarning(lcBridge).noquote() << QStringLiteral("module %1 (%2): %3; trying again in %4 s")
                                         .arg(m_settings.name, m_settings.endpoint(), reason)
                                         .arg(m_pauseMs / 1000);
    m_retry.start(m_pauseMs);
    m_pauseMs = qMin(m_pauseMs * 2, MaxPauseMs);
    if (was)
        emit offline(reason);
}

void ModulePoller::onAnswer()
{
    m_lastAnswer.start();
    ++m_answers;
    ++m_linkAnswers;
    if (m_online) {
        emit answerProcessed();
        return;
    }
    const Module &module = m_link->module();
    if (module.firmwareName().isEmpty()) {
        if (m_linkAnswers >= IdentityPatience && !m_identityWarned) {
            m_identityWarned = true;
            qCWarning(lcBridge).noquote() << QStringLiteral(
                "module %1 (%2): the device does not identify as a Vornwerk module")
                                                 .arg(m_settings.name, m_settings.endpoint());
        }
        return;
    }
    // Online only after one whole polling cycle, so that no value is published before the
    // module has reported it.
    if (m_link->isFullRead()) {
        m_cycleAnswers = 0;
        return;
    }
    if (++m_cycleAnswers < CycleAnswers)
        return;
    m_online = true;
    m_pauseMs = 1000;
    qCInfo(lcBridge).noquote() << QStringLiteral("module %1 (%2): online, serial number %3, %4")
                                      .arg(m_settings.name, m_settings.endpoint())
                                      .arg(module.serialNumber())
                                      .arg(module.deviceName());
    emit online();
    emit answerProcessed();
}
