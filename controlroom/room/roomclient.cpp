#include "roomclient.h"

#include "mqttclient.h"

#include <QDateTime>

RoomClient::RoomClient(const BrokerSettings &broker, const QByteArray &prefix, QSettings *store,
    const QString &user, QObject *parent)
    : QObject(parent)
    , m_client(new MqttClient(broker, QByteArray(), QByteArray(), this))
    , m_roster(prefix)
    , m_alarms(store, user)
{
    connect(m_client, &MqttClient::connected, this, [this]() {
        for (const QByteArray &pattern : m_roster.patterns())
            m_client->subscribe(pattern, 1);
        emit connectionChanged(true);
    });
    connect(m_client, &MqttClient::connectionLost, this, [this]() { emit connectionChanged(false); });
    connect(m_client, &MqttClient::attemptFailed, this, &RoomClient::connectionFailed);
    connect(m_client, &MqttClient::messageReceived, this,
        [this](const QByteArray &topic, const QByteArray &payload, bool) { onMessage(topic, payload); });
    connect(&m_roster, &ModuleRoster::eventReceived, this,
        [this](int, const QByteArray &payload) {
            HistoryEntry entry;
            if (HistoryEntry::fromJson(payload, &entry))
                m_alarms.addEntry(entry);
        });
    connect(&m_roster, &ModuleRoster::alarmsChanged, this, [this](int serial) {
        if (const RoomModule *module = m_roster.module(serial))
            m_alarms.setActive(serial, module->alarms);
    });
    m_staleCheck.setInterval(1000);
    connect(&m_staleCheck, &QTimer::timeout, this,
        [this]() { m_roster.check(QDateTime::currentMSecsSinceEpoch()); });
}

bool RoomClient::start()
{
    m_staleCheck.start();
    return m_client->start();
}

bool RoomClient::isConnected() const
{
    return m_client->isConnected();
}

void RoomClient::onMessage(const QByteArray &topic, const QByteArray &payload)
{
    ++m_messages;
    m_roster.handle(topic, payload, QDateTime::currentMSecsSinceEpoch());
}

bool RoomClient::channelCommand(
    int serial, int channel, const QByteArray &what, const QByteArray &payload)
{
    const QByteArray topic = m_roster.prefix() + '/' + QByteArray::number(serial) + "/ch/"
        + (channel < 0 ? QByteArray("all") : QByteArray::number(channel)) + "/set/" + what;
    return m_client->publish(topic, payload, 1, false);
}

bool RoomClient::sequenceCommand(int serial, const QByteArray &what, const QByteArray &payload)
{
    return m_client->publish(
        m_roster.prefix() + '/' + QByteArray::number(serial) + "/sequence/" + what, payload, 1,
        false);
}
