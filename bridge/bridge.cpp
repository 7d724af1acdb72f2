#include "bridge.h"

#include "channelcommand.h"
#include "historypublisher.h"
#include "modulepoller.h"
#include "modulepublisher.h"
#include "mqttclient.h"
#include "scpi_parser.h"
#include "writeround.h"

Bridge::Bridge(const BridgeSettings &settings, QObject *parent)
    : QObject(parent)
    , m_settings(settings)
{
    m_client = new MqttClient(settings.broker, stateTopic(), "offline", this);
    connect(m_client, &MqttClient::connected, this, &Bridge::onBrokerConnected);
    connect(m_client, &MqttClient::messageReceived, this, &Bridge::onMessage);
    // With one module there is nothing to take turns with, and writing at once saves a pass of
    // the event loop per request.
    if (settings.modules.size() > 1)
        m_round = new WriteRound(this);
    const QByteArray prefix = settings.broker.prefix.toUtf8();
    for (int i = 0; i < settings.modules.size(); ++i) {
        const ModuleSettings &m = settings.modules.at(i);
        auto *poller = new ModulePoller(m, m_round, this);
        auto *publisher = new ModulePublisher(m_client, prefix, settings.broker.rate, m.name, this);
        m_pollers.append(poller);
        m_publishers.append(publisher);
        m_commandPatterns.append(QByteArray());
        connect(poller, &ModulePoller::online, this, [this, i]() { onModuleOnline(i); });
        connect(poller, &ModulePoller::offline, this, [this, i]() { onModuleOffline(i); });
        connect(poller, &ModulePoller::answerProcessed, publisher,
            [poller, publisher]() { publisher->update(*poller->engine()); });
        // After the publisher's own connections, so that its topics exist when history comes.
        m_histories.append(new HistoryPublisher(m_client, poller, publisher, this));
    }
}

Bridge::~Bridge() = default;

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
    for (ModulePublisher *publisher : std::as_const(m_publishers))
        publisher->setOffline();
    m_client->publish(stateTopic(), "offline", 0, true);
    m_client->stop();
}

void Bridge::onBrokerConnected()
{
    m_client->publish(stateTopic(), "online", 0, true);
    for (int i = 0; i < m_publishers.size(); ++i) {
        m_commandPatterns[i].clear(); // the clean session forgot every subscription
        m_publishers[i]->republish();
        m_histories[i]->republish();
        subscribeCommands(i);
    }
}

void Bridge::onModuleOnline(int index)
{
    ModulePoller *poller = m_pollers[index];
    ModulePublisher *publisher = m_publishers[index];
    const int before = publisher->serialNumber();
    publisher->setOnline(*poller->engine(), poller->settings().endpoint());
    if (before != 0 && before != publisher->serialNumber()) {
        qCWarning(lcBridge).noquote()
            << QStringLiteral("module %1: serial number changed from %2 to %3")
                   .arg(poller->settings().name)
                   .arg(before)
                   .arg(publisher->serialNumber());
    }
    for (int other = 0; other < m_publishers.size(); ++other) {
        if (other != index && m_publishers[other]->serialNumber() == publisher->serialNumber()) {
            qCWarning(lcBridge).noquote()
                << QStringLiteral(
                       "modules %1 and %2 report the same serial number %3; their topics mix")
                       .arg(m_pollers[other]->settings().name, poller->settings().name)
                       .arg(publisher->serialNumber());
        }
    }
    subscribeCommands(index);
}

void Bridge::onModuleOffline(int index)
{
    m_publishers[index]->setOffline();
}

void Bridge::subscribeCommands(int index)
{
    if (!m_pollers[index]->settings().commands || !m_client->isConnected())
        return;
    const QByteArray base = m_publishers[index]->base();
    if (base.isEmpty())
        return;
    const QByteArray pattern = base + "ch/+/set/+";
    if (m_commandPatterns[index] == pattern)
        return;
    if (!m_commandPatterns[index].isEmpty())
        m_client->unsubscribe(m_commandPatterns[index]);
    if (m_client->subscribe(pattern))
        m_commandPatterns[index] = pattern;
}

void Bridge::onMessage(const QByteArray &topic, const QByteArray &payload, bool retained)
{
    for (int i = 0; i < m_publishers.size(); ++i) {
        const QByteArray base = m_publishers[i]->base();
        if (m_commandPatterns[i].isEmpty() || !topic.startsWith(base))
            continue;
        const QByteArray path = topic.mid(base.size());
        if (retained) {
            // A retained command would run again on every reconnect.
            refuse(i, path, payload, QStringLiteral("retained commands are not carried out"));
            return;
        }
        SCPI_Parser *engine = m_pollers[i]->engine();
        if (!engine || !m_pollers[i]->isOnline()) {
            refuse(i, path, payload, QStringLiteral("module offline"));
            return;
        }
        ChannelCommand command;
        QString why;
        if (!ChannelCommand::parse(path, payload, *engine, &command, &why)) {
            refuse(i, path, payload, why);
            return;
        }
        command.apply(*engine);
        qCInfo(lcBridge).noquote() << QStringLiteral("module %1 (serial %2): command %3")
                                          .arg(m_pollers[i]->settings().name)
                                          .arg(m_publishers[i]->serialNumber())
                                          .arg(command.describe(engine->module().channelCount()));
        return;
    }
}

void Bridge::refuse(
    int index, const QByteArray &path, const QByteArray &payload, const QString &why)
{
    const QString text
        = QStringLiteral("%1 \"%2\" refused: %3")
              .arg(QString::fromUtf8(path), QString::fromUtf8(payload.left(80)), why);
    qCWarning(lcBridge).noquote()
        << QStringLiteral("module %1: command").arg(m_pollers[index]->settings().name) << text;
    m_client->publish(m_publishers[index]->base() + "error", text.toUtf8(), 1, false);
}
