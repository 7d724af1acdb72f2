#pragma once

#include <QByteArray>

namespace vornsim {

/// Reads a finite number that may carry the unit the module reports, e.g. "1000", "1.0E3V",
/// "5%/s". False for anything else, "inf" and "nan" included.
bool parseNumber(QByteArray text, double *value);
/// Reads an unsigned 32-bit integer.
bool parseUnsigned(const QByteArray &text, quint32 *value);
/// ENABLE/DISABLE, ON/OFF or 1/0.
bool parseSwitch(const QByteArray &text, bool *on);

} // namespace vornsim
