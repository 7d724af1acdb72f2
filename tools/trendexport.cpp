#include "trendexport.h"

#include "configuration.h"
#include "trendbuffer.h"

#include <QDateTime>
#include <QTextStream>

TrendUnits trendUnits(const Configuration &configuration)
{
    TrendUnits units;
    // The conversions back to SI tell the factor for every unit text the configuration takes.
    units.voltageScale = 1.0 / double(configuration.voltageToSI(1.0f));
    units.currentScale = 1.0 / double(configuration.currentToSI(1.0f));
    units.voltageUnit = configuration.voltageUnit() == QLatin1String("kV") ? QStringLiteral("kV")
                                                                           : QStringLiteral("V");
    const QString current = configuration.currentUnit();
    units.currentUnit = current == QLatin1String("mA") || current == Configuration::microAmpere()
        ? current
        : QStringLiteral("A");
    return units;
}

void writeTrendCsv(QTextStream &out, const TrendBuffer &buffer, quint64 mask, int channels,
    qint64 fromMs, qint64 toMs, const TrendUnits &units)
{
    channels = std::min(channels, std::min(buffer.channels(), 64));
    out << "Time";
    for (int ch = 0; ch < channels; ++ch) {
        if (mask >> ch & 1u)
            out << ",U" << ch << " (" << units.voltageUnit << "),I" << ch << " ("
                << units.currentUnit << ')';
    }
    out << '\n';
    const auto field = [&out](float value, double scale) {
        out << ',';
        if (value == value)
            out << QString::number(double(value) * scale, 'g', 7);
    };
    for (int i = buffer.lowerBound(fromMs); i < buffer.size() && buffer.time(i) <= toMs; ++i) {
        out << QDateTime::fromMSecsSinceEpoch(buffer.time(i)).toString(Qt::ISODateWithMs);
        for (int ch = 0; ch < channels; ++ch) {
            if (!(mask >> ch & 1u))
                continue;
            field(buffer.value(TrendBuffer::Voltage, ch, i), units.voltageScale);
            field(buffer.value(TrendBuffer::Current, ch, i), units.currentScale);
        }
        out << '\n';
    }
}
