#include "historypublisher.h"

#include "eventhistory.h"
#include "modulepoller.h"
#include "modulepublisher.h"
#include "mqttclient.h"
#include "scpi_parser.h"

#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

HistoryPublisher::HistoryPublisher(
    MqttClient *client, ModulePoller *poller, const ModulePublisher *publisher, QObject *parent)
    : QObject(parent)
    , m_client(client)
    , m_poller(poller)
    , m_publisher(publisher)
{
    // The history lives with the module's engine, on another thread for a GPIB module: its
    // entries come over queued, in order with the module's values, and its alarms are written
    // out on its own thread.
    EventHistory *history = poller->history();
    connect(history, &EventHistory::entryAdded, this, &HistoryPublisher::publishEntry);
    connect(history, &EventHistory::activeAlarmsChanged, history, [this, history] {
        const QByteArray alarms = alarmsJson(*history);
        QMetaObject::invokeMethod(this, [this, alarms] { setAlarms(alarms); });
    });
    // The history hears of the module online before the bridge gives it its topics: what came
    // before waits for them.
    connect(poller, &ModulePoller::online, this, [this] {
        sendHeld();
        m_alarms.clear();
        publishAlarms(); // replaces what an earlier run left retained
    });
}

void HistoryPublisher::setAlarms(const QByteArray &alarms)
{
    m_alarmsNow = alarms;
    publishAlarms();
}

void HistoryPublisher::publishEntry(const HistoryEntry &entry)
{
    const QByteArray payload = entry.toJson();
    sendHeld();
    if (!m_held.isEmpty() || m_publisher->base().isEmpty()
        || !m_client->publish(m_publisher->base() + "events", payload, 1, false)) {
        if (m_held.size() >= HeldEntries) {
            m_held.removeFirst();
            ++m_dropped;
        }
        m_held.append(payload);
    }
}

void HistoryPublisher::sendHeld()
{
    while (!m_held.isEmpty() && !m_publisher->base().isEmpty()) {
        if (!m_client->publish(m_publisher->base() + "events", m_held.first(), 1, false))
            return;
        m_held.removeFirst();
    }
    if (m_dropped > 0) {
        qCWarning(lcBridge).noquote()
            << QStringLiteral("module %1: %2 events were not published while the broker was away")
                   .arg(m_poller->settings().name)
                   .arg(m_dropped);
        m_dropped = 0;
    }
}

void HistoryPublisher::publishAlarms()
{
    if (m_publisher->base().isEmpty() || m_alarmsNow == m_alarms)
        return;
    if (m_client->publish(m_publisher->base() + "alarms", m_alarmsNow, 1, true))
        m_alarms = m_alarmsNow;
}

void HistoryPublisher::republish()
{
    sendHeld();
    m_alarms.clear();
    publishAlarms();
}

QByteArray HistoryPublisher::alarmsJson(const EventHistory &history)
{
    QJsonArray alarms;
    for (const EventDetector::Condition &condition : history.activeAlarms()) {
        QJsonObject alarm;
        alarm.insert(QStringLiteral("source"),
            condition.channel >= 0 ? QStringLiteral("channel") : QStringLiteral("module"));
        if (condition.channel >= 0)
            alarm.insert(QStringLiteral("channel"), condition.channel);
        alarm.insert(QStringLiteral("condition"), condition.name);
        alarm.insert(QStringLiteral("text"), condition.text);
        alarm.insert(QStringLiteral("since"), condition.sinceMs);
        alarm.insert(QStringLiteral("at"),
            QDateTime::fromMSecsSinceEpoch(condition.sinceMs, Qt::UTC).toString(Qt::ISODateWithMs));
        alarms.append(alarm);
    }
    return QJsonDocument(alarms).toJson(QJsonDocument::Compact);
}
