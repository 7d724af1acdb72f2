#pragma once

#include "heldevents.h"
#include "historyentry.h"
#include "tokenbucket.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QTimer>

#include <array>

class EventHistory;
class MqttClient;
class ModulePoller;
class ModulePublisher;

/// Publishes the event history of one module (EventHistory, fed by the module's poller) below
/// the module's topics: every entry on "<base>events" as one JSON object (QoS 1, not retained;
/// the fields of HistoryEntry::toJson()), and the alarm conditions active now on
/// "<base>alarms" as a retained JSON array, published whenever it changes ("[]" when none).
///
/// A chattering module does not flood the broker: beyond EventsPerSecond entries a second
/// (EventBurst at once) its info and warning entries are not published but counted, and said
/// in one summary entry once the rate allows; alarm entries and the program's own notes (a
/// sequence's journal) always go out. Entries made while
/// the broker is away are held, at most HeldEntries, and sent when it is back; when more come,
/// the oldest info entry goes first, then the oldest warning, and an alarm only when nothing
/// else is held. A summary entry ahead of the held ones says how many were dropped. Both
/// summaries are warnings, with "dropped" counts by severity:
///
///     {..."severity":"warning","text":"12 events not published while the broker was away
///      (12 info): at most 1000 are held, alarms first","dropped":{"info":12,"warning":0}}
class HistoryPublisher : public QObject
{
    Q_OBJECT

public:
    static constexpr int HeldEntries = 1000;
    static constexpr double EventsPerSecond = 5.0;
    static constexpr double EventBurst = 20.0;

    /// Why entries were not published.
    enum class DropCause { HeldFull, Rate };

    /// \a client, \a poller and \a publisher are not owned and must outlive this object; the
    /// topics are the ones of \a publisher (its base()).
    HistoryPublisher(MqttClient *client, ModulePoller *poller, const ModulePublisher *publisher,
        QObject *parent = nullptr);

    /// The broker is back: held entries go out, and the alarms again.
    void republish();
    /// Entries held for the broker now.
    int heldCount() const { return m_held.size(); }
    /// Entries handed to the broker, and entries dropped for \a cause, since construction.
    quint64 publishedCount() const { return m_published; }
    quint64 droppedCount(DropCause cause) const;

private:
    using Counts = HeldEvents::Counts;

    void onEntry(const HistoryEntry &entry);
    /// Publishes \a payload, or holds it while the broker is away or entries are held.
    void publishEntry(Severity severity, const QByteArray &payload);
    void publishAlarms();
    void setAlarms(const QByteArray &alarms);
    void sendHeld();
    /// Publishes the summary of the entries the rate limit kept back, when the rate allows.
    void reportRateDrops();
    /// A warning entry of this module saying that \a counts entries were dropped.
    QByteArray summary(const QString &text, const Counts &counts) const;

    MqttClient *m_client;
    ModulePoller *m_poller;
    const ModulePublisher *m_publisher;
    HeldEvents m_held { HeldEntries };
    Counts m_rateDropped {};
    TokenBucket m_rate { EventsPerSecond, EventBurst };
    QTimer m_rateSummary;
    quint64 m_published = 0;
    std::array<quint64, 2> m_dropped {};
    /// The last "alarms" payload handed to the broker.
    QByteArray m_alarms;
    /// The "alarms" payload of the module's conditions now.
    QByteArray m_alarmsNow = "[]";
};
