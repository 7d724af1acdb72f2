#include "bridgemodule.h"

#include "historypublisher.h"
#include "modulecommands.h"
#include "modulepoller.h"
#include "modulepublisher.h"
#include "modulesequence.h"

BridgeModule::BridgeModule(const ModuleSettings &settings, MqttClient *client,
    const QByteArray &prefix, double rate, const QByteArray &bridgeTopic, WriteRound *round,
    QObject *engineHome, QObject *parent)
    : QObject(parent)
    , m_poller(new ModulePoller(settings, round, engineHome, this))
    , m_publisher(new ModulePublisher(
          client, prefix, rate, settings.name, bridgeTopic, settings.commands, this))
{
    m_commands = new ModuleCommands(client, m_poller, m_publisher, this);
    // Once per polling cycle, in which every value has been read once: per answer, most of the
    // values compared would be the same as after the answer before.
    connect(m_poller, &ModulePoller::cycleCompleted, m_publisher,
        [this]() { m_publisher->update(*m_poller->state()); });
    connect(m_poller, &ModulePoller::online, this, &BridgeModule::online);
    connect(m_poller, &ModulePoller::offline, this, &BridgeModule::offline);
    // After the publisher's own connections, so that its topics exist when history comes.
    m_history = new HistoryPublisher(client, m_poller, m_publisher, this);
}

BridgeModule::~BridgeModule()
{
    delete m_poller;
}

const ModuleSettings &BridgeModule::settings() const
{
    return m_poller->settings();
}

ModuleSequence *BridgeModule::sequence() const
{
    return m_commands->sequence();
}

bool BridgeModule::isOnline() const
{
    return m_poller->isOnline();
}
