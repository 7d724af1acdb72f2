#include "dialect/answerformat.h"

namespace vornsim::answerformat {

QByteArray measurement(double value, const char *unit)
{
    // QByteArray::number gives "1.00000E+03"; the module writes the exponent without sign and
    // leading zeros.
    const QByteArray text = QByteArray::number(value, 'E', 5);
    const int e = text.indexOf('E');
    const int exponent = text.mid(e + 1).toInt();
    return text.left(e) + 'E' + QByteArray::number(value == 0.0 ? 0 : exponent) + unit;
}

QByteArray ramp(double value, const char *unit)
{
    return QByteArray::number(value, 'E', 3) + unit;
}

QByteArray percent(double value)
{
    return QByteArray::number(value, 'f', 3) + '%';
}

QByteArray temperature(double celsius)
{
    return QByteArray::number(celsius, 'f', 1) + 'C';
}

QByteArray plain(double value)
{
    return measurement(value, "");
}

} // namespace vornsim::answerformat
