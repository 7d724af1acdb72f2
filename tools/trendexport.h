#pragma once

#include "trendplot.h"

class Configuration;
class QTextStream;
class TrendBuffer;

/// The trend's units and factors from the display configuration: "kV" or volts, "mA", "µA" or
/// amperes, as the channel table shows them.
TrendUnits trendUnits(const Configuration &configuration);

/// Writes the samples with times in [\a fromMs, \a toMs] of the channels set in \a mask (below
/// \a channels) as comma-separated text: a header line "Time,U0 (V),I0 (mA),..." and one line
/// per sample with the local time (milliseconds) and the values in display units; a value the
/// sample lacks is an empty field.
void writeTrendCsv(QTextStream &out, const TrendBuffer &buffer, quint64 mask, int channels,
    qint64 fromMs, qint64 toMs, const TrendUnits &units);
