#include "roster.h"

#include "alarmtopic.h"
#include "czelkchannelstatusbits.h"
#include "moduletopics.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <cmath>

int RoomModule::channelsOn() const
{
    int on = 0;
    for (int c = 0; c < state.channelsInUse(); ++c)
        on += (state.channels[size_t(c)].status() & CZelkChannelStatusBits::On) ? 1 : 0;
    return on;
}

int RoomModule::channelsTripped() const
{
    int tripped = 0;
    for (int c = 0; c < state.channelsInUse(); ++c)
        tripped += (state.channels[size_t(c)].status() & CZelkChannelStatusBits::Trip) ? 1 : 0;
    return tripped;
}

double RoomModule::highestVoltage() const
{
    double highest = 0.0;
    for (int c = 0; c < state.channelsInUse(); ++c)
        highest = std::max(highest, std::abs(double(state.channels[size_t(c)].voltageMeasure())));
    return highest;
}

ModuleRoster::ModuleRoster(const QByteArray &prefix, QObject *parent)
    : QObject(parent)
    , m_prefix(prefix)
{
}

QList<QByteArray> ModuleRoster::patterns() const
{
    return { m_prefix + "/+/#", m_prefix + "/bridge/+/state" };
}

const RoomModule *ModuleRoster::module(int serial) const
{
    const auto it = m_modules.constFind(serial);
    return it == m_modules.constEnd() ? nullptr : &*it;
}

bool ModuleRoster::bridgeOnline(const QByteArray &bridgeTopic) const
{
    return m_bridges.value(bridgeTopic, true);
}

RoomModule &ModuleRoster::entry(int serial, bool *added)
{
    auto it = m_modules.find(serial);
    *added = it == m_modules.end();
    if (*added) {
        it = m_modules.insert(serial, RoomModule());
        it->serial = serial;
        it->state.serialNumber = serial;
    }
    return *it;
}

bool ModuleRoster::handle(const QByteArray &topic, const QByteArray &payload, qint64 nowMs)
{
    if (topic.startsWith(m_prefix + "/bridge/")) {
        if (!topic.endsWith("/state"))
            return false;
        const bool online = payload == "online";
        if (m_bridges.value(topic, !online) == online)
            return true;
        m_bridges.insert(topic, online);
        for (RoomModule &module : m_modules) {
            if (module.bridgeTopic == topic) {
                updateStale(module, nowMs);
                emit moduleChanged(module.serial);
            }
        }
        return true;
    }
    int serial = 0;
    QByteArrayView path;
    if (!telemetry::splitModuleTopic(topic, m_prefix, &serial, &path))
        return false;
    bool added = false;
    RoomModule &module = entry(serial, &added);
    if (added)
        emit moduleAdded(serial);
    bool changed = false;
    if (telemetry::decodeModuleTopic(path, payload, &module.state)) {
        module.lastValueMs = nowMs;
        changed = true;
    } else if (path == telemetry::StateTopic) {
        module.moduleState = payload;
        changed = true;
    } else if (path == "bridge") {
        module.bridgeTopic = payload;
        changed = true;
    } else if (path == "name") {
        module.name = QString::fromUtf8(payload);
        changed = true;
    } else if (path == "commands") {
        module.commands = payload == "on";
        changed = true;
    } else if (path == "link") {
        module.link = QString::fromUtf8(payload);
        changed = true;
    } else if (path == telemetry::AlarmsTopic) {
        if (telemetry::decodeAlarms(payload, &module.alarms))
            emit alarmsChanged(serial);
    } else if (path == telemetry::EventsTopic) {
        emit eventReceived(serial, payload);
    } else if (path == "error") {
        emit commandRefused(serial, QString::fromUtf8(payload));
    } else if (path == telemetry::SequenceStateTopic) {
        if (SequenceProgress::fromJson(payload, &module.sequence))
            emit sequenceChanged(serial);
    } else if (path == "sequence/files") {
        module.sequenceFiles.clear();
        const QJsonArray files = QJsonDocument::fromJson(payload).array();
        for (const QJsonValue &file : files)
            module.sequenceFiles << file.toString();
        emit sequenceChanged(serial);
    }
    if (changed) {
        updateStale(module, nowMs);
        emit moduleChanged(serial);
    }
    return true;
}

void ModuleRoster::updateStale(RoomModule &module, qint64 nowMs)
{
    const bool stale = module.moduleState == "offline" || !bridgeOnline(module.bridgeTopic)
        || (module.lastValueMs != 0 && nowMs - module.lastValueMs >= StaleAfterMs);
    if (stale && !module.isStale()) {
        // A module whose values stopped is stale since the last of them.
        const bool quiet = module.moduleState != "offline" && bridgeOnline(module.bridgeTopic);
        module.staleSinceMs = quiet ? module.lastValueMs : nowMs;
    } else if (!stale) {
        module.staleSinceMs = 0;
    }
}

void ModuleRoster::check(qint64 nowMs)
{
    for (RoomModule &module : m_modules) {
        const bool was = module.isStale();
        updateStale(module, nowMs);
        if (module.isStale() != was)
            emit moduleChanged(module.serial);
    }
}
