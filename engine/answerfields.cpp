#include "answerfields.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <iterator>
#include <limits>
#include <system_error>

namespace AnswerFields {

namespace {
bool isDigit(char c)
{
    return static_cast<unsigned char>(c - '0') < 10;
}

/// A plain decimal: "-"? digits ("." digits)? (("E" | "e") ("+" | "-")? digits)?, read as
/// digits times a power of ten.
struct PlainDecimal
{
    bool valid = false;
    bool negative = false;
    /// Whether digits holds all of them (at most 19 digits, which cannot overflow).
    bool exact = true;
    quint64 digits = 0;
    int exponent = 0;
};

/// Reads the digits from \a c on into \a value (times ten for each); returns where they end.
const char *readDigits(const char *c, const char *const end, quint64 &value)
{
    quint64 digits = value;
    for (; c != end; ++c) {
        const unsigned digit = static_cast<unsigned char>(*c - '0');
        if (digit >= 10)
            break;
        digits = digits * 10 + digit;
    }
    value = digits;
    return c;
}

PlainDecimal plainDecimal(QByteArrayView field)
{
    PlainDecimal number;
    const char *c = field.data();
    const char *const end = c + field.size();
    number.negative = c != end && *c == '-';
    c += number.negative;
    const char *start = c;
    c = readDigits(c, end, number.digits);
    qsizetype count = c - start;
    if (count == 0)
        return number;
    if (c != end && *c == '.') {
        start = ++c;
        c = readDigits(c, end, number.digits);
        const qsizetype fraction = c - start;
        if (fraction == 0)
            return number;
        count += fraction;
        number.exponent = -int(qMin<qsizetype>(fraction, 100));
    }
    number.exact = count <= 19;
    if (c != end && (*c == 'E' || *c == 'e')) {
        ++c;
        const bool down = c != end && *c == '-';
        if (c != end && (*c == '+' || *c == '-'))
            ++c;
        start = c;
        quint64 power = 0;
        // More than five digits of exponent are far beyond any float; they are kept from
        // overflowing.
        c = readDigits(c, std::min(end, c + 5), power);
        if (c == start || (c != end && isDigit(*c)))
            return number;
        number.exponent += down ? -int(power) : int(power);
    }
    number.valid = c == end;
    return number;
}

/// The float of \a field, read as \a number.
float fromPlain(const PlainDecimal &number, QByteArrayView field)
{
    // Digits below 2^53 and a power of ten up to 22 are exact in a double, so that one
    // multiplication or division rounds correctly (Clinger's fast path), as Qt's conversion
    // does; the float is then taken from the double, as Qt takes it.
    static constexpr double powers[] = { 1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10,
        1e11, 1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22 };
    if (number.exact && number.digits == 0)
        return number.negative ? -0.0f : 0.0f;
    if (number.exact && number.digits < (quint64(1) << 53) && number.exponent >= -22
        && number.exponent <= 22) {
        const double digits = double(number.digits);
        const double value = number.exponent >= 0 ? digits * powers[number.exponent]
                                                  : digits / powers[-number.exponent];
        return float(number.negative ? -value : value);
    }
    // Correctly rounded to double like Qt's conversion; a result beyond float or one that
    // vanishes in float is Qt's to judge.
    double value = 0.0;
    const char *const end = field.data() + field.size();
    const std::from_chars_result result = std::from_chars(field.data(), end, value);
    if (result.ec == std::errc() && result.ptr == end
        && std::fabs(value) <= double(std::numeric_limits<float>::max())
        && (value == 0.0 || float(value) != 0.0f))
        return float(value);
    return field.toFloat();
}
} // namespace

float toFloat(QByteArrayView field)
{
    const PlainDecimal number = plainDecimal(field);
    return number.valid ? fromPlain(number, field) : field.toFloat();
}

float toFloat(QByteArrayView field, const char *units)
{
    const auto isUnit = [units](char c) {
        for (const char *unit = units; *unit; ++unit) {
            if (*unit == c)
                return true;
        }
        return false;
    };
    // The unit usually closes the field. A plain decimal before it cannot hold another one
    // (units are letters and signs no number is written with), so it is converted as it is.
    const char *const begin = field.data();
    const char *end = begin + field.size();
    while (end != begin && isUnit(end[-1]))
        --end;
    const QByteArrayView bare(begin, end);
    const PlainDecimal number = plainDecimal(bare);
    if (number.valid && std::none_of(units, units + qstrlen(units), [](char unit) {
            return isDigit(unit) || unit == '.' || unit == '-' || unit == '+' || unit == 'E'
                || unit == 'e';
        }))
        return fromPlain(number, bare);
    QVarLengthArray<char, 32> copy;
    std::copy_if(begin, end, std::back_inserter(copy), [&](char c) { return !isUnit(c); });
    return toFloat(QByteArrayView(copy.constData(), copy.size()));
}

quint32 toUInt(QByteArrayView field)
{
    // Up to nine digits cannot overflow.
    if (field.isEmpty() || field.size() > 9)
        return field.toUInt();
    quint32 value = 0;
    for (const char c : field) {
        if (!isDigit(c))
            return field.toUInt();
        value = value * 10 + quint32(c - '0');
    }
    return value;
}

qsizetype lengthIfSimple(QByteArrayView text)
{
    // White space as QByteArray::simplified() knows it: blank, tab, LF, VT, FF, CR.
    const auto isSpace = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
    const char *const begin = text.data();
    const char *end = begin + text.size();
    while (end != begin && isSpace(end[-1]))
        --end;
    // Eight characters at a time: the high bit of a byte in the mask is set when that
    // byte is below 0x21, where white space is (exact for a limit of at most 0x80).
    constexpr quint64 ones = ~quint64(0) / 255;
    const char *c = begin;
    for (; end - c >= 8; c += 8) {
        quint64 word = 0;
        memcpy(&word, c, sizeof word);
        if ((word - ones * 0x21) & ~word & ones * 0x80) {
            if (std::any_of(c, c + 8, isSpace))
                return -1;
        }
    }
    return std::any_of(c, end, isSpace) ? -1 : end - begin;
}

Fields split(QByteArrayView text, char separator)
{
    Fields fields;
    qsizetype start = 0;
    for (;;) {
        const qsizetype end = text.indexOf(separator, start);
        if (end < 0)
            break;
        fields.append(text.sliced(start, end - start));
        start = end + 1;
    }
    fields.append(text.sliced(start));
    return fields;
}

}
