#include "alarmbook.h"

#include "settingsstore.h"

#include <QDateTime>

#include <algorithm>

QString RoomAlarm::key() const
{
    return QStringLiteral("%1/%2/%3/%4")
        .arg(serial)
        .arg(channel)
        .arg(timeMs)
        .arg(conditions.join(QLatin1Char('+')));
}

AlarmBook::AlarmBook(QSettings *store, const QString &user, QObject *parent)
    : QObject(parent)
    , m_store(store)
    , m_user(user)
{
}

void AlarmBook::addEntry(const HistoryEntry &entry)
{
    if (entry.severity == Severity::Info)
        return;
    RoomAlarm alarm;
    alarm.serial = entry.serialNumber;
    alarm.channel = entry.channel;
    alarm.severity = entry.severity;
    alarm.conditions = entry.rose;
    alarm.text = entry.text;
    alarm.timeMs = entry.timeMs;
    // An entry that says what the alarms topic showed already takes its place.
    bool seenBefore = false;
    for (qsizetype i = 0; i < m_alarms.size(); ++i) {
        const RoomAlarm &seen = m_alarms.at(i);
        if (seen.serial == alarm.serial && seen.channel == alarm.channel
            && seen.timeMs == alarm.timeMs) {
            alarm.active = seen.active;
            seenBefore = true;
            m_alarms.removeAt(i);
            break;
        }
    }
    insert(alarm);
    emit changed();
    if (!seenBefore && alarm.severity == Severity::Alarm && !alarm.isAcknowledged())
        emit raised(alarm);
}

void AlarmBook::setActive(int serial, const QList<EventDetector::Condition> &conditions)
{
    for (RoomAlarm &alarm : m_alarms) {
        if (alarm.serial == serial)
            alarm.active = false;
    }
    for (const EventDetector::Condition &condition : conditions) {
        const auto it = std::find_if(m_alarms.begin(), m_alarms.end(), [&](const RoomAlarm &a) {
            return a.serial == serial && a.channel == condition.channel
                && a.timeMs == condition.sinceMs;
        });
        if (it != m_alarms.end()) {
            it->active = true;
            continue;
        }
        RoomAlarm alarm;
        alarm.serial = serial;
        alarm.channel = condition.channel;
        alarm.conditions = { condition.name };
        alarm.text = condition.text;
        alarm.timeMs = condition.sinceMs;
        alarm.active = true;
        insert(alarm);
    }
    emit changed();
}

void AlarmBook::insert(RoomAlarm &alarm)
{
    restoreAcknowledgement(alarm);
    const auto at = std::upper_bound(m_alarms.begin(), m_alarms.end(), alarm,
        [](const RoomAlarm &a, const RoomAlarm &b) { return a.timeMs > b.timeMs; });
    m_alarms.insert(at, alarm);
    while (m_alarms.size() > MaxAlarms) {
        // The oldest acknowledged one goes, or else the oldest.
        auto old = std::find_if(m_alarms.rbegin(), m_alarms.rend(),
            [](const RoomAlarm &a) { return a.isAcknowledged() && !a.active; });
        m_alarms.erase(old != m_alarms.rend() ? std::prev(old.base()) : std::prev(m_alarms.end()));
    }
}

void AlarmBook::restoreAcknowledgement(RoomAlarm &alarm) const
{
    m_store->beginGroup(QLatin1String(SettingsStore::Key::RoomAcknowledged));
    const QStringList fields = m_store->value(alarm.key()).toStringList();
    m_store->endGroup();
    if (fields.size() == 3) {
        alarm.acknowledgedBy = fields.at(0);
        alarm.acknowledgedMs = fields.at(1).toLongLong();
        alarm.note = fields.at(2);
    }
}

int AlarmBook::unacknowledgedCount() const
{
    return int(std::count_if(m_alarms.begin(), m_alarms.end(), [](const RoomAlarm &a) {
        return a.severity == Severity::Alarm && !a.isAcknowledged();
    }));
}

void AlarmBook::acknowledge(int index, const QString &note)
{
    if (index < 0 || index >= m_alarms.size())
        return;
    RoomAlarm &alarm = m_alarms[index];
    alarm.acknowledgedBy = m_user;
    alarm.acknowledgedMs = QDateTime::currentMSecsSinceEpoch();
    alarm.note = note;
    m_store->beginGroup(QLatin1String(SettingsStore::Key::RoomAcknowledged));
    m_store->setValue(alarm.key(),
        QStringList { alarm.acknowledgedBy, QString::number(alarm.acknowledgedMs), note });
    m_store->endGroup();
    emit changed();
}
