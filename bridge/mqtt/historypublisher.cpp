#include "historypublisher.h"

#include "alarmtopic.h"
#include "eventhistory.h"
#include "modulepoller.h"
#include "modulepublisher.h"
#include "moduletopics.h"
#include "mqttclient.h"
#include "scpi_parser.h"

#include <QDateTime>
#include <QJsonDocument>
#include <QJsonObject>

#include <numeric>

namespace {

int total(const std::array<int, 3> &counts)
{
    return std::accumulate(counts.begin(), counts.end(), 0);
}

/// "12 info, 1 warning" for the severities that have any.
QString byseverity(const std::array<int, 3> &counts)
{
    QStringList parts;
    for (const Severity severity : { Severity::Info, Severity::Warning, Severity::Alarm }) {
        if (counts[size_t(severity)] > 0)
            parts << QStringLiteral("%1 %2")
                         .arg(counts[size_t(severity)])
                         .arg(severityName(severity));
    }
    return parts.join(QStringLiteral(", "));
}

} // namespace

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
    connect(history, &EventHistory::entryAdded, this, &HistoryPublisher::onEntry);
    connect(history, &EventHistory::activeAlarmsChanged, history, [this, history] {
        const QByteArray alarms = telemetry::encodeAlarms(history->activeAlarms());
        QMetaObject::invokeMethod(this, [this, alarms] { setAlarms(alarms); });
    });
    // The history hears of the module online before the bridge gives it its topics: what came
    // before waits for them.
    connect(poller, &ModulePoller::online, this, [this] {
        sendHeld();
        m_alarms.clear();
        publishAlarms(); // replaces what an earlier run left retained
    });
    m_rateSummary.setInterval(int(1000.0 / EventsPerSecond));
    connect(&m_rateSummary, &QTimer::timeout, this, &HistoryPublisher::reportRateDrops);
}

quint64 HistoryPublisher::droppedCount(DropCause cause) const
{
    return m_dropped[size_t(cause)];
}

void HistoryPublisher::setAlarms(const QByteArray &alarms)
{
    m_alarmsNow = alarms;
    publishAlarms();
}

void HistoryPublisher::onEntry(const HistoryEntry &entry)
{
    if (m_publisher->base().isEmpty()) {
        m_held.append(entry.severity, entry.toJson());
        return;
    }
    // The program's own notes (a sequence's journal: no bits, no link) are few and say how a
    // sequence went; only the module's chatter is limited.
    const bool note = entry.rose.isEmpty() && entry.fell.isEmpty() && entry.link.isEmpty();
    if (!m_rate.take() && entry.severity != Severity::Alarm && !note) {
        ++m_rateDropped[size_t(entry.severity)];
        ++m_dropped[size_t(DropCause::Rate)];
        m_rateSummary.start();
        return;
    }
    publishEntry(entry.severity, entry.toJson());
}

void HistoryPublisher::reportRateDrops()
{
    if (total(m_rateDropped) == 0 || !m_rate.take())
        return;
    m_rateSummary.stop();
    const Counts counts = std::exchange(m_rateDropped, Counts {});
    publishEntry(Severity::Warning,
        summary(QStringLiteral("%1 events not published: more than %2 a second (%3)")
                    .arg(total(counts))
                    .arg(EventsPerSecond)
                    .arg(byseverity(counts)),
            counts));
}

void HistoryPublisher::publishEntry(Severity severity, const QByteArray &payload)
{
    sendHeld();
    if (m_held.isEmpty()
        && m_client->publish(m_publisher->base() + telemetry::EventsTopic, payload, 1, false)) {
        ++m_published;
        return;
    }
    const int before = total(m_held.dropped());
    m_held.append(severity, payload);
    m_dropped[size_t(DropCause::HeldFull)] += quint64(total(m_held.dropped()) - before);
}

void HistoryPublisher::sendHeld()
{
    if (m_held.isEmpty() || !m_client->isConnected() || m_publisher->base().isEmpty())
        return;
    if (total(m_held.dropped()) > 0) {
        const Counts counts = m_held.dropped();
        const QString text
            = QStringLiteral("%1 events not published while the broker was away (%2): at most "
                             "%3 are held, alarms first")
                  .arg(total(counts))
                  .arg(byseverity(counts))
                  .arg(HeldEntries);
        if (!m_client->publish(
                m_publisher->base() + telemetry::EventsTopic, summary(text, counts), 1, false))
            return;
        qCWarning(lcBridge).noquote()
            << QStringLiteral("module %1: %2").arg(m_poller->settings().name, text);
        m_held.takeDropped();
    }
    while (!m_held.isEmpty()) {
        if (!m_client->publish(
                m_publisher->base() + telemetry::EventsTopic, m_held.first(), 1, false))
            return;
        m_held.removeFirst();
        ++m_published;
    }
}

QByteArray HistoryPublisher::summary(const QString &text, const Counts &counts) const
{
    HistoryEntry entry;
    entry.timeMs = QDateTime::currentMSecsSinceEpoch();
    entry.serialNumber = m_publisher->serialNumber();
    entry.severity = Severity::Warning;
    entry.text = text;
    QJsonObject object = QJsonDocument::fromJson(entry.toJson()).object();
    QJsonObject dropped;
    for (const Severity severity : { Severity::Info, Severity::Warning, Severity::Alarm }) {
        if (severity != Severity::Alarm || counts[size_t(severity)] > 0)
            dropped.insert(severityName(severity), counts[size_t(severity)]);
    }
    object.insert(QStringLiteral("dropped"), dropped);
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

void HistoryPublisher::publishAlarms()
{
    if (m_publisher->base().isEmpty() || m_alarmsNow == m_alarms)
        return;
    if (m_client->publish(m_publisher->base() + telemetry::AlarmsTopic, m_alarmsNow, 1, true))
        m_alarms = m_alarmsNow;
}

void HistoryPublisher::republish()
{
    sendHeld();
    m_alarms.clear();
    publishAlarms();
}
