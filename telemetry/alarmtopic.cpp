#include "alarmtopic.h"

#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace telemetry {

QByteArray encodeAlarms(const QList<EventDetector::Condition> &alarms)
{
    QJsonArray list;
    for (const EventDetector::Condition &condition : alarms) {
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
        list.append(alarm);
    }
    return QJsonDocument(list).toJson(QJsonDocument::Compact);
}

bool decodeAlarms(QByteArrayView payload, QList<EventDetector::Condition> *alarms)
{
    const QJsonDocument document = QJsonDocument::fromJson(payload.toByteArray());
    if (!document.isArray())
        return false;
    QList<EventDetector::Condition> read;
    for (const QJsonValue &value : document.array()) {
        const QJsonObject alarm = value.toObject();
        EventDetector::Condition condition;
        if (alarm.value(QLatin1String("source")).toString() == QLatin1String("channel"))
            condition.channel = alarm.value(QLatin1String("channel")).toInt();
        condition.name = alarm.value(QLatin1String("condition")).toString();
        condition.text = alarm.value(QLatin1String("text")).toString();
        condition.sinceMs = qint64(alarm.value(QLatin1String("since")).toDouble());
        read.append(condition);
    }
    *alarms = read;
    return true;
}

} // namespace telemetry
