#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

/// The text of the measurement file: fields separated by ";", numbers in the default
/// locale's notation. Plain functions so that the format can be checked without a dialog.
namespace MeasurementLog {

/// What is written per channel.
struct Columns
{
    bool voltage = true;
    bool current = true;
    bool status = false;
};

/// The header line without its line end: "Date;Time;Serial no.", the column names of each of
/// \a channels and ";Temperature".
QString headerLine(const QList<int> &channels, const Columns &columns);

/// One measured value followed by ";": general format, 6 significant digits, locale-aware.
QString valueField(float value);

/// The status and event status words in decimal, each followed by ";".
QString statusFields(quint32 status, quint32 eventStatus);

/// A data line without its line end: date;time;serial;\a fields (the per-channel fields,
/// each already ending in ";") and the temperature with one decimal.
QString dataLine(const QDateTime &when, int serialNumber, const QString &fields, float temperature);

/// \a fileName with ".csv" appended unless it already ends in ".csv" in any case.
QString withCsvSuffix(const QString &fileName);

} // namespace MeasurementLog
