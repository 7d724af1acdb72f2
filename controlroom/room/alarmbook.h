#pragma once

#include "eventdetector.h"
#include "historyentry.h"

#include <QList>
#include <QObject>
#include <QSettings>
#include <QString>

/// One alarm or warning of one module, in the control room's list.
struct RoomAlarm
{
    int serial = 0;
    /// Channel number, or HistoryEntry::ModuleSource.
    int channel = HistoryEntry::ModuleSource;
    Severity severity = Severity::Alarm;
    /// The status bits that rose ("isTRP"), and the module's sentence.
    QStringList conditions;
    QString text;
    qint64 timeMs = 0;
    /// Shown by the module's "alarms" topic now.
    bool active = false;
    /// Who acknowledged it, when and with what note; empty user while not acknowledged.
    QString acknowledgedBy;
    qint64 acknowledgedMs = 0;
    QString note;

    bool isAcknowledged() const { return !acknowledgedBy.isEmpty(); }
    /// What names the alarm in the store of acknowledgements: serial, channel, time, conditions.
    QString key() const;
};

/// The alarms and warnings of every module, newest first: each entry of a module's "events" of
/// warning or alarm severity, and each condition its "alarms" topic shows for which no entry
/// came (the ones that were there before the control room connected). Acknowledgements are
/// kept in \a store, so that they outlast a restart, with the user who made them.
class AlarmBook : public QObject
{
    Q_OBJECT

public:
    /// Alarms kept; the oldest acknowledged ones go first.
    static constexpr int MaxAlarms = 5000;

    AlarmBook(QSettings *store, const QString &user, QObject *parent = nullptr);

    /// An entry from a module's "events" topic.
    void addEntry(const HistoryEntry &entry);
    /// A module's "alarms" topic now.
    void setActive(int serial, const QList<EventDetector::Condition> &conditions);

    const QList<RoomAlarm> &alarms() const { return m_alarms; }
    /// Alarms (not warnings) not acknowledged yet.
    int unacknowledgedCount() const;
    void acknowledge(int index, const QString &note);

signals:
    void changed();
    /// A module's "events" brought a new alarm (not a warning, not one its "alarms" topic had
    /// shown already).
    void raised(const RoomAlarm &alarm);

private:
    /// Inserts \a alarm in time order, with its acknowledgement from the store.
    void insert(RoomAlarm &alarm);
    void restoreAcknowledgement(RoomAlarm &alarm) const;

    QSettings *m_store;
    QString m_user;
    QList<RoomAlarm> m_alarms;
};
