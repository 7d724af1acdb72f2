#include "historyentry.h"

#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {
const char *const severityNames[] = { "info", "warning", "alarm" };

QJsonArray toArray(const QStringList &names)
{
    QJsonArray array;
    for (const QString &name : names)
        array.append(name);
    return array;
}

QStringList fromArray(const QJsonValue &value)
{
    QStringList names;
    for (const QJsonValue &item : value.toArray())
        names.append(item.toString());
    return names;
}
} // namespace

QString severityName(Severity severity)
{
    return QString::fromLatin1(severityNames[int(severity)]);
}

bool severityFromName(const QString &name, Severity *severity)
{
    for (int i = 0; i < 3; ++i) {
        if (name == QLatin1String(severityNames[i])) {
            *severity = Severity(i);
            return true;
        }
    }
    return false;
}

QByteArray HistoryEntry::toJson() const
{
    QJsonObject object;
    object.insert(QStringLiteral("time"), timeMs);
    object.insert(QStringLiteral("at"),
        QDateTime::fromMSecsSinceEpoch(timeMs, Qt::UTC).toString(Qt::ISODateWithMs));
    object.insert(QStringLiteral("serial"), serialNumber);
    object.insert(QStringLiteral("source"),
        isChannel() ? QStringLiteral("channel") : QStringLiteral("module"));
    if (isChannel())
        object.insert(QStringLiteral("channel"), channel);
    object.insert(QStringLiteral("severity"), severityName(severity));
    object.insert(QStringLiteral("rose"), toArray(rose));
    object.insert(QStringLiteral("fell"), toArray(fell));
    object.insert(QStringLiteral("text"), text);
    if (isLink())
        object.insert(QStringLiteral("link"), link);
    if (!reason.isEmpty())
        object.insert(QStringLiteral("reason"), reason);
    if (isChannel()) {
        object.insert(QStringLiteral("voltage"), voltage);
        object.insert(QStringLiteral("current"), current);
    }
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

bool HistoryEntry::fromJson(const QByteArray &line, HistoryEntry *entry)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(line, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return false;
    const QJsonObject object = document.object();
    HistoryEntry read;
    const QJsonValue time = object.value(QLatin1String("time"));
    if (!time.isDouble()
        || !severityFromName(object.value(QLatin1String("severity")).toString(), &read.severity))
        return false;
    read.timeMs = qint64(time.toDouble());
    read.serialNumber = object.value(QLatin1String("serial")).toInt();
    if (object.value(QLatin1String("source")).toString() == QLatin1String("channel")) {
        read.channel = object.value(QLatin1String("channel")).toInt(-1);
        if (read.channel < 0)
            return false;
        read.voltage = object.value(QLatin1String("voltage")).toDouble();
        read.current = object.value(QLatin1String("current")).toDouble();
    }
    read.rose = fromArray(object.value(QLatin1String("rose")));
    read.fell = fromArray(object.value(QLatin1String("fell")));
    read.text = object.value(QLatin1String("text")).toString();
    read.link = object.value(QLatin1String("link")).toString();
    read.reason = object.value(QLatin1String("reason")).toString();
    *entry = read;
    return true;
}
