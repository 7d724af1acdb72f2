#include "historyformat.h"

#include "eventtext.h"

#include <QDateTime>
#include <QLocale>
#include <QTextStream>

#include <cmath>

namespace {

QString csvField(const QString &field)
{
    if (!field.contains(QLatin1Char(',')) && !field.contains(QLatin1Char('"'))
        && !field.contains(QLatin1Char('\n')))
        return field;
    QString quoted = field;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

} // namespace

QString HistoryFormat::time(qint64 timeMs)
{
    return QDateTime::fromMSecsSinceEpoch(timeMs).toString(
        QStringLiteral("yyyy-MM-dd hh:mm:ss.zzz"));
}

QString HistoryFormat::source(const HistoryEntry &entry)
{
    return entry.isChannel() ? tr("Channel %1").arg(entry.channel) : tr("Module");
}

QString HistoryFormat::severity(Severity severity)
{
    switch (severity) {
    case Severity::Alarm:
        return tr("Alarm");
    case Severity::Warning:
        return tr("Warning");
    case Severity::Info:
        break;
    }
    return tr("Info");
}

QString HistoryFormat::voltage(const HistoryEntry &entry)
{
    if (!entry.isChannel())
        return QString();
    return QLocale().toString(entry.voltage, 'f', 2) + QStringLiteral(" V");
}

QString HistoryFormat::current(const HistoryEntry &entry)
{
    if (!entry.isChannel())
        return QString();
    static const char *const units[] = { "A", "mA", "µA", "nA" };
    double value = entry.current;
    int unit = 0;
    while (unit < 3 && value != 0.0 && std::fabs(value) < 1.0) {
        value *= 1000.0;
        ++unit;
    }
    return QLocale().toString(value, 'f', 1) + QLatin1Char(' ') + QString::fromUtf8(units[unit]);
}

void HistoryFormat::writeCsv(QTextStream &out, const QList<HistoryEntry> &entries)
{
    const QStringList header = { tr("Time"), tr("Serial number"), tr("Source"), tr("Severity"),
        tr("Event"), tr("Voltage (V)"), tr("Current (A)"), tr("Rose"), tr("Fell") };
    QStringList titles;
    for (const QString &title : header)
        titles.append(csvField(title));
    out << titles.join(QLatin1Char(',')) << '\n';
    for (const HistoryEntry &entry : entries) {
        const QStringList fields = { time(entry.timeMs), QString::number(entry.serialNumber),
            source(entry), severity(entry.severity), EventText::describe(entry, true),
            entry.isChannel() ? QString::number(entry.voltage, 'g', 7) : QString(),
            entry.isChannel() ? QString::number(entry.current, 'g', 7) : QString(),
            entry.rose.join(QLatin1Char(' ')), entry.fell.join(QLatin1Char(' ')) };
        QStringList quoted;
        for (const QString &field : fields)
            quoted.append(csvField(field));
        out << quoted.join(QLatin1Char(',')) << '\n';
    }
}
