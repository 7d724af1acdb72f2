#include "measurementlog.h"

namespace MeasurementLog {

QString headerLine(const QList<int> &channels, const Columns &columns)
{
    QString line = QStringLiteral("Date;Time;Serial no.");
    for (int n : channels) {
        if (columns.voltage)
            line += QStringLiteral(";Vmeasure%1").arg(n);
        if (columns.current)
            line += QStringLiteral(";Imeasure%1").arg(n);
        if (columns.status)
            line += QStringLiteral(";Status%1;EventStatus%1").arg(n);
    }
    line += QStringLiteral(";Temperature");
    return line;
}

QString valueField(float value)
{
    return QStringLiteral("%L1;").arg(static_cast<double>(value), 0, 'g', 6);
}

QString statusFields(quint32 status, quint32 eventStatus)
{
    return QStringLiteral("%1;%2;").arg(status).arg(eventStatus);
}

QString dataLine(const QDateTime &when, int serialNumber, const QString &fields, float temperature)
{
    return when.toString(QStringLiteral("yyyy-MM-dd;HH:mm:ss.zzz")) + QLatin1Char(';')
        + QString::number(serialNumber) + QLatin1Char(';') + fields
        + QStringLiteral("%L1").arg(static_cast<double>(temperature), 0, 'f', 1);
}

QString withCsvSuffix(const QString &fileName)
{
    const QString suffix = QStringLiteral(".csv");
    if (fileName.endsWith(suffix, Qt::CaseInsensitive))
        return fileName;
    return fileName + suffix;
}

} // namespace MeasurementLog
