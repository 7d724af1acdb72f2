#pragma once

#include <QByteArray>

/// Number formats of the module's answers. Every format is independent of the C locale.
namespace vornsim::answerformat {

/// Six significant digits with a bare exponent and a unit: 1000 -> "1.00000E3V",
/// 0.00025 -> "2.50000E-4A", 0 -> "0.00000E0V".
QByteArray measurement(double value, const char *unit);
/// Ramp speeds: 20 -> "2.000E+01V/s", 5 -> "5.000E+00%/s".
QByteArray ramp(double value, const char *unit);
/// Percent with three decimals: 50 -> "50.000%".
QByteArray percent(double value);
/// Temperature with one decimal: 31.96 -> "32.0C".
QByteArray temperature(double celsius);
/// Plain float without unit (emission factors): 1.5 -> "1.50000E0".
QByteArray plain(double value);

} // namespace vornsim::answerformat
