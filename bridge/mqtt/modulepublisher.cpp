#include "modulepublisher.h"

#include "moduletopics.h"
#include "mqttclient.h"

#include <algorithm>
#include <cmath>

ModulePublisher::ModulePublisher(MqttClient *client, const QByteArray &prefix, double rate,
    const QString &name, const QByteArray &bridgeTopic, bool commands, QObject *parent)
    : QObject(parent)
    , m_client(client)
    , m_prefix(prefix)
    , m_name(name)
    , m_commands(commands)
    , m_bridgeTopic(bridgeTopic)
    , m_intervalMs(qMax<qint64>(1, qint64(std::lround(1000.0 / rate))))
    , m_expirySeconds(qMax(MinExpirySeconds, int(std::ceil(4.0 / rate))))
{
    m_clock.start();
    m_flushTimer.setSingleShot(true);
    connect(&m_flushTimer, &QTimer::timeout, this, &ModulePublisher::flush);
}

int ModulePublisher::addEntry(const QByteArray &topic, bool immediate)
{
    Entry e;
    e.topic = topic;
    e.immediate = immediate;
    e.sentAt = -m_intervalMs;
    m_entries.push_back(e);
    return int(m_entries.size()) - 1;
}

void ModulePublisher::addSlots(const std::vector<telemetry::ValueTopic> &values,
    const ModuleState &module, int channel, const QByteArray &base)
{
    for (const telemetry::ValueTopic &value : values) {
        if (value.applies && !value.applies(module))
            continue;
        const int entry = addEntry(base + value.suffix);
        if (value.expires)
            m_entries[size_t(entry)].expiry = m_expirySeconds;
        const int names = value.bitNames ? addEntry(base + value.suffix + "/names") : -1;
        m_slots.push_back({ &value, channel, entry, names });
    }
}

void ModulePublisher::setOnline(
    const ModuleState &module, const QString &link, const QByteArray &state)
{
    if (m_base.isEmpty() || module.serialNumber != m_serial) {
        if (!m_base.isEmpty())
            setOffline();
        m_serial = module.serialNumber;
        m_base = telemetry::moduleBase(m_prefix, m_serial);
        m_entries.clear();
        m_slots.clear();
        m_dirty.clear();
        m_stateEntry = addEntry(m_base + telemetry::StateTopic, true);
        addSlots(telemetry::moduleValueTopics(), module, 0, m_base);
        for (int c = 0; c < module.channelsInUse(); ++c)
            addSlots(telemetry::channelValueTopics(), module, c,
                m_base + "ch/" + QByteArray::number(c) + '/');
    }
    // The bridge's own texts first, then the module's identity.
    QList<QPair<const char *, QByteArray>> identity = {
        { "name", m_name.toUtf8() },
        { "bridge", m_bridgeTopic },
        { "link", link.toUtf8() },
        { "commands", m_commands ? QByteArray("on") : QByteArray("off") },
    };
    for (const telemetry::IdentityTopic &topic : telemetry::identityTopics())
        identity.append({ topic.suffix, topic.encode(module) });
    for (const auto &item : identity) {
        const QByteArray topic = m_base + item.first;
        auto it = std::find_if(m_entries.begin(), m_entries.end(),
            [&topic](const Entry &e) { return e.topic == topic; });
        const int index
            = it == m_entries.end() ? addEntry(topic, true) : int(it - m_entries.begin());
        setText(index, item.second);
    }
    update(module);
    setText(m_stateEntry, state);
}

void ModulePublisher::setState(const QByteArray &state)
{
    if (m_stateEntry >= 0)
        setText(m_stateEntry, state);
}

void ModulePublisher::update(const ModuleState &module)
{
    const qint64 now = m_clock.elapsed();
    for (const Slot &slot : m_slots) {
        const double value = slot.value->read(module, slot.channel);
        Entry &e = m_entries[size_t(slot.entry)];
        if (e.known && (value == e.raw || (std::isnan(value) && std::isnan(e.raw)))) {
            refreshIfDue(slot.entry, now);
            continue;
        }
        e.raw = value;
        QByteArray payload = telemetry::encodeValue(*slot.value, value);
        // Float noise below the published precision is no change.
        if (e.known && payload == e.payload) {
            refreshIfDue(slot.entry, now);
            continue;
        }
        e.known = true;
        e.payload = std::move(payload);
        markDirty(slot.entry);
        if (slot.namesEntry >= 0)
            setText(slot.namesEntry, telemetry::setBitNames(quint32(value), slot.value->bitNames));
    }
    if (!m_dirty.empty())
        flush();
}

void ModulePublisher::setOffline()
{
    if (m_stateEntry >= 0)
        setText(m_stateEntry, "offline");
}

void ModulePublisher::republish()
{
    for (size_t i = 0; i < m_entries.size(); ++i) {
        if (m_entries[i].payload.isEmpty() && !m_entries[i].known)
            continue;
        m_entries[i].sentAt = -m_intervalMs;
        markDirty(int(i));
    }
    flush();
}

void ModulePublisher::setText(int index, const QByteArray &payload)
{
    Entry &e = m_entries[size_t(index)];
    if (e.known && e.payload == payload)
        return;
    e.payload = payload;
    e.known = true;
    markDirty(index);
    if (e.immediate)
        flush();
}

void ModulePublisher::markDirty(int index)
{
    Entry &e = m_entries[size_t(index)];
    if (!e.queued) {
        e.queued = true;
        m_dirty.push_back(index);
    }
}

void ModulePublisher::refreshIfDue(int index, qint64 now)
{
    const Entry &e = m_entries[size_t(index)];
    if (e.expiry > 0 && !e.queued && now - e.sentAt >= qint64(e.expiry) * 500)
        markDirty(index);
}

void ModulePublisher::flush()
{
    if (!m_client->isConnected())
        return; // kept; republish() sends everything once the broker is back
    const qint64 now = m_clock.elapsed();
    qint64 nextDue = -1;
    std::vector<int> waiting;
    for (int index : m_dirty) {
        Entry &e = m_entries[size_t(index)];
        const qint64 due = e.sentAt + m_intervalMs;
        if (!e.immediate && due > now) {
            waiting.push_back(index);
            nextDue = nextDue < 0 ? due : qMin(nextDue, due);
            continue;
        }
        e.queued = false;
        e.sentAt = now;
        // QoS 0 throughout: everything is retained and sent again after a reconnect, and no
        // in-flight window can hold a state change back.
        m_client->publish(e.topic, e.payload, 0, true, e.expiry);
    }
    m_dirty.swap(waiting);
    // Restarting a timer on every answer costs more than the flush itself: only move it earlier.
    if (nextDue >= 0 && (!m_flushTimer.isActive() || m_flushTimer.remainingTime() > nextDue - now))
        m_flushTimer.start(int(nextDue - now));
}
