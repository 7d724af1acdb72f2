#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>

class EventHistory;
class MqttClient;
class ModulePoller;
class ModulePublisher;
struct HistoryEntry;

/// Publishes the event history of one module (EventHistory, fed by the module's poller) below
/// the module's topics: every entry on "<base>events" as one JSON object (QoS 1, not retained;
/// the fields of HistoryEntry::toJson()), and the alarm conditions active now on
/// "<base>alarms" as a retained JSON array, published whenever it changes ("[]" when none).
/// Entries made while the broker is away are held (the newest HeldEntries) and sent when it is
/// back.
class HistoryPublisher : public QObject
{
    Q_OBJECT

public:
    static constexpr int HeldEntries = 1000;

    /// \a client, \a poller and \a publisher are not owned and must outlive this object; the
    /// topics are the ones of \a publisher (its base()).
    HistoryPublisher(MqttClient *client, ModulePoller *poller, const ModulePublisher *publisher,
        QObject *parent = nullptr);

    /// The broker is back: held entries go out, and the alarms again.
    void republish();
    /// The "alarms" payload for the history's active conditions.
    static QByteArray alarmsJson(const EventHistory &history);

private:
    void publishEntry(const HistoryEntry &entry);
    void publishAlarms();
    void sendHeld();
    void setAlarms(const QByteArray &alarms);

    MqttClient *m_client;
    ModulePoller *m_poller;
    const ModulePublisher *m_publisher;
    QList<QByteArray> m_held;
    int m_dropped = 0;
    /// The "alarms" payload of the module's conditions now, and the last one handed to the
    /// broker.
    QByteArray m_alarmsNow = "[]";
    QByteArray m_alarms;
};
