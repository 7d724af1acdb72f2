#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QHash>
#include <QObject>
#include <QTimer>
#include <vector>

class MqttClient;
struct ModuleState;
namespace telemetry {
struct ValueTopic;
}

/// Publishes one module under "<prefix>/<serial number>/" (the topics of telemetry/): its
/// identity and state, and its values on change, each topic at most `rate` times per second. A
/// change that comes too soon is held and sent when the topic's pause is over, so the last value
/// always arrives. Everything is retained; after the broker comes back, republish() sends it all
/// again.
///
/// The module's "bridge" topic names the bridge's state topic: the module's state counts only
/// while that one says "online". Measured values carry a message expiry of a few publish
/// intervals (at least MinExpirySeconds) and are sent again, changed or not, before half of it
/// has passed, so that the broker drops them when the bridge is gone.
class ModulePublisher : public QObject
{
    Q_OBJECT

public:
    static constexpr int MinExpirySeconds = 3;

    /// \a client is not owned and must outlive the publisher. \a bridgeTopic is the bridge's
    /// state topic; \a commands says whether the bridge takes commands for the module.
    ModulePublisher(MqttClient *client, const QByteArray &prefix, double rate, const QString &name,
        const QByteArray &bridgeTopic, bool commands, QObject *parent = nullptr);

    /// The module answered its identity and configuration: (re)builds the topics for its serial
    /// number, publishes the identity and \a state ("online", or "clash").
    void setOnline(const ModuleState &module, const QString &link,
        const QByteArray &state = QByteArrayLiteral("online"));
    /// Publishes \a state at once, once the module's topics exist.
    void setState(const QByteArray &state);
    /// Takes the values of the latest answer.
    void update(const ModuleState &module);
    /// Publishes "offline" at once.
    void setOffline();
    /// Sends every known value again (the broker lost its retained messages).
    void republish();

    /// "<prefix>/<serial>/", empty until the module was first online.
    QByteArray base() const { return m_base; }
    int serialNumber() const { return m_serial; }
    /// Values waiting for their topic's pause to be over (or for the broker).
    int pendingCount() const { return int(m_dirty.size()); }

private:
    struct Entry
    {
        QByteArray topic;
        QByteArray payload;
        double raw = 0.0;
        qint64 sentAt = 0;
        /// Message expiry in seconds; 0 for none.
        int expiry = 0;
        bool known = false;
        bool queued = false;
        bool immediate = false;
    };
    /// A value read from the module's state into an entry (and its bit names into a second one).
    struct Slot
    {
        const telemetry::ValueTopic *value;
        int channel;
        int entry;
        int namesEntry;
    };

    int addEntry(const QByteArray &topic, bool immediate = false);
    void addSlots(const std::vector<telemetry::ValueTopic> &values, const ModuleState &module,
        int channel, const QByteArray &base);
    void setText(int index, const QByteArray &payload);
    void markDirty(int index);
    /// Marks an unchanged expiring entry for sending when half its expiry has passed.
    void refreshIfDue(int index, qint64 now);
    void flush();

    MqttClient *m_client;
    QByteArray m_prefix;
    QString m_name;
    bool m_commands = false;
    QByteArray m_bridgeTopic;
    qint64 m_intervalMs;
    int m_expirySeconds;
    QByteArray m_base;
    int m_serial = 0;
    int m_stateEntry = -1;
    std::vector<Entry> m_entries;
    std::vector<Slot> m_slots;
    std::vector<int> m_dirty;
    QElapsedTimer m_clock;
    QTimer m_flushTimer;
};
