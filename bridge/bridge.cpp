#include "bridge.h"

#include "enginethreads.h"
#include "historypublisher.h"
#include "loopbatching.h"
#include "modulecommands.h"
#include "modulepoller.h"
#include "modulepublisher.h"
#include "modulesequence.h"
#include "mqttclient.h"
#include "scpi_parser.h"
#include "writeround.h"

#include <QStringList>

Bridge::Bridge(const BridgeSettings &settings, QObject *parent)
    : QObject(parent)
    , m_settings(settings)
    , m_threads(std::make_unique<EngineThreads>())
{
    m_client = new MqttClient(settings.broker, stateTopic(), "offline", this);
    m_client->setMaxPayload(ModuleCommands::MaxPayload);
    // A sequence's broker-lost rule waits a grace period for the broker to return: it is asked
    // for again soon enough to be back within it.
    m_client->setKeepPausesShort([this] { return sequenceActive(); });
    connect(m_client, &MqttClient::connected, this, &Bridge::onBrokerConnected);
    connect(m_client, &MqttClient::messageReceived, this,
        [this](const QByteArray &topic, const QByteArray &payload, bool retained) {
            if (ModuleCommands *commands = commandsFor(topic))
                commands->handle(topic, payload, retained);
        });
    connect(m_client, &MqttClient::messageTooLarge, this,
        [this](const QByteArray &topic, int size, bool retained) {
            if (ModuleCommands *commands = commandsFor(topic))
                commands->handleTooLarge(topic, size, retained);
        });
    connect(m_client, &MqttClient::subscriptionRefused, this,
        [this](const QByteArray &pattern, const QString &reason) {
            for (ModuleCommands *commands : std::as_const(m_commands))
                commands->onSubscriptionRefused(pattern, reason);
        });
    // With one module there is nothing to take turns with, and writing at once saves a pass of
    // the event loop per request.
    if (settings.modules.size() > 1)
        m_round = new WriteRound(this);
    if (settings.modules.size() >= BatchedModules)
        new LoopBatching(BatchIntervalUs, this);
    const QByteArray prefix = settings.broker.prefix.toUtf8();
    for (int i = 0; i < settings.modules.size(); ++i) {
        const ModuleSettings &m = settings.modules.at(i);
        QObject *engineHome = m.link == ModuleSettings::Link::Gpib
            ? m_threads->gpibBoard(ModuleSettings::GpibBoard)
            : nullptr;
        auto *poller = new ModulePoller(m, m_round, engineHome, this);
        auto *publisher = new ModulePublisher(
            m_client, prefix, settings.broker.rate, m.name, stateTopic(), this);
        m_pollers.append(poller);
        m_publishers.append(publisher);
        m_commands.append(new ModuleCommands(m_client, poller, publisher, this));
        m_clashes.append(QString());
        connect(poller, &ModulePoller::online, this, [this, i]() { onModuleOnline(i); });
        connect(poller, &ModulePoller::offline, this, [this, i]() { onModuleOffline(i); });
        // Once per polling cycle, in which every value has been read once: per answer, most
        // of the values compared would be the same as after the answer before.
        connect(poller, &ModulePoller::cycleCompleted, publisher,
            [poller, publisher]() { publisher->update(*poller->engine()); });
        // After the publisher's own connections, so that its topics exist when history comes.
        m_histories.append(new HistoryPublisher(m_client, poller, publisher, this));
        if (ModuleSequence *sequence = m_commands.last()->sequence())
            sequence->setHistory(m_histories.last()->history());
    }
}

Bridge::~Bridge()
{
    // The pollers end their engines on the worker threads, which end after them.
    qDeleteAll(std::exchange(m_pollers, {}));
    m_threads.reset();
}

QByteArray Bridge::stateTopic() const
{
    return m_settings.broker.prefix.toUtf8() + "/bridge/" + m_settings.broker.clientId.toUtf8()
        + "/state";
}

bool Bridge::start()
{
    if (!m_client->start())
        return false;
    for (ModulePoller *poller : std::as_const(m_pollers))
        poller->start();
    return true;
}

void Bridge::stop()
{
    for (ModuleCommands *commands : std::as_const(m_commands))
        if (ModuleSequence *sequence = commands->sequence())
            sequence->abandon(QStringLiteral("the bridge stopped"));
    for (ModulePublisher *publisher : std::as_const(m_publishers))
        publisher->setOffline();
    // QoS 1: its acknowledgement says the broker has handled everything before it.
    m_client->publish(stateTopic(), "offline", 1, true);
    m_client->stop();
}

void Bridge::onBrokerConnected()
{
    m_client->publish(stateTopic(), "online", 0, true);
    // Modules offline first: one that shares its serial number with a module online must not
    // have the last word on their common topics.
    for (const bool online : { false, true }) {
        for (int i = 0; i < m_publishers.size(); ++i) {
            if (m_pollers[i]->isOnline() != online)
                continue;
            m_commands[i]->forgetSubscription(); // the clean session forgot every subscription
            m_publishers[i]->republish();
            m_histories[i]->republish();
            m_commands[i]->subscribe();
        }
    }
}

void Bridge::onModuleOnline(int index)
{
    ModulePoller *poller = m_pollers[index];
    ModulePublisher *publisher = m_publishers[index];
    const int before = publisher->serialNumber();
    updateClashes(index);
    publisher->setOnline(*poller->engine(), poller->settings().endpoint(),
        m_clashes[index].isEmpty() ? "online" : "clash");
    if (before != 0 && before != publisher->serialNumber()) {
        qCWarning(lcBridge).noquote()
            << QStringLiteral("module %1: serial number changed from %2 to %3")
                   .arg(poller->settings().name)
                   .arg(before)
                   .arg(publisher->serialNumber());
    }
    if (!m_clashes[index].isEmpty())
        m_client->publish(publisher->base() + "error", m_clashes[index].toUtf8(), 1, false);
    m_commands[index]->subscribe();
}

void Bridge::onModuleOffline(int index)
{
    m_publishers[index]->setOffline();
    updateClashes(-1);
}

void Bridge::updateClashes(int skip)
{
    const auto serialOf = [this](int i) {
        return m_pollers[i]->isOnline() ? m_pollers[i]->engine()->module().serialNumber() : -1;
    };
    for (int i = 0; i < m_pollers.size(); ++i) {
        const int serial = serialOf(i);
        QStringList names;
        for (int j = 0; serial >= 0 && j < m_pollers.size(); ++j) {
            if (serialOf(j) == serial)
                names.append(m_pollers[j]->settings().name);
        }
        const QString clash = names.size() < 2
            ? QString()
            : QStringLiteral("modules %1 report the same serial number %2: no commands for "
                             "either while both are online")
                  .arg(names.join(QLatin1String(" and ")))
                  .arg(serial);
        if (clash == m_clashes[i])
            continue;
        m_clashes[i] = clash;
        m_commands[i]->setBlocked(clash);
        if (!clash.isEmpty())
            qCWarning(lcBridge).noquote() << clash;
        if (i == skip || !m_pollers[i]->isOnline())
            continue;
        m_publishers[i]->setState(clash.isEmpty() ? "online" : "clash");
        if (!clash.isEmpty())
            m_client->publish(m_publishers[i]->base() + "error", clash.toUtf8(), 1, false);
    }
}

int Bridge::onlineCount() const
{
    int online = 0;
    for (int i = 0; i < m_pollers.size(); ++i)
        online += int(m_pollers[i]->isOnline() && m_clashes[i].isEmpty());
    return online;
}

int Bridge::clashCount() const
{
    int clashes = 0;
    for (int i = 0; i < m_pollers.size(); ++i)
        clashes += int(m_pollers[i]->isOnline() && !m_clashes[i].isEmpty());
    return clashes;
}

int Bridge::activeSequenceCount() const
{
    int active = 0;
    for (const ModuleCommands *commands : m_commands)
        active += int(commands->sequence() && commands->sequence()->isActive());
    return active;
}

bool Bridge::sequenceActive() const
{
    return activeSequenceCount() > 0;
}

QList<QObject *> Bridge::workerHomes() const
{
    return m_threads->homes();
}

ModuleCommands *Bridge::commandsFor(const QByteArray &topic) const
{
    for (int i = 0; i < m_commands.size(); ++i) {
        const QByteArray base = m_publishers[i]->base();
        if (!m_commands[i]->pattern().isEmpty() && topic.startsWith(base))
            return m_commands[i];
    }
    return nullptr;
}
