#include "dialect/answerformat.h"

#include <cmath>
#include <limits>

namespace vornsim::answerformat {

namespace {

/// A module never reports a value that is no number: not-a-number reads as 0, infinity as the
/// largest finite value of its sign, so every answer stays a well-formed number.
double finite(double value)
{
    if (std::isnan(value))
        return 0.0;
    if (std::isinf(value))
        return std::copysign(std::numeric_limits<double>::max(), value);
    return value;
}

} // namespace

QByteArray measurement(double value, const char *unit)
{
    value = finite(value);
    // QByteArray::number gives "1.00000E+03"; the module writes the exponent without sign and
    // leading zeros.
    const QByteArray text = QByteArray::number(value, 'E', 5);
    const int e = text.indexOf('E');
    const int exponent = text.mid(e + 1).toInt();
    return text.left(e) + 'E' + QByteArray::number(value == 0.0 ? 0 : exponent) + unit;
}

QByteArray ramp(double value, const char *unit)
{
    return QByteArray::number(finite(value), 'E', 3) + unit;
}

QByteArray percent(double value)
{
    return QByteArray::number(finite(value), 'f', 3) + '%';
}

QByteArray temperature(double celsius)
{
    return QByteArray::number(finite(celsius), 'f', 1) + 'C';
}

QByteArray plain(double value)
{
    return measurement(value, "");
}

} // namespace vornsim::answerformat
