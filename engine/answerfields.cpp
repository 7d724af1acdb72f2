#include "answerfields.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <system_error>

namespace AnswerFields {

namespace {
bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

/// "-"? digits ("." digits)? (("E" | "e") ("+" | "-")? digits)?, of a sensible length.
bool isPlainDecimal(QByteArrayView field)
{
    const char *c = field.data();
    const char *const end = c + field.size();
    if (field.size() > 40)
        return false;
    const auto digits = [&] {
        const char *start = c;
        while (c != end && isDigit(*c))
            ++c;
        return c != start;
    };
    if (c != end && *c == '-')
        ++c;
    if (!digits())
        return false;
    if (c != end && *c == '.') {
        ++c;
        if (!digits())
            return false;
    }
    if (c != end && (*c == 'E' || *c == 'e')) {
        ++c;
        if (c != end && (*c == '+' || *c == '-'))
            ++c;
        if (!digits())
            return false;
    }
    return c == end;
}
} // namespace

float toFloat(QByteArrayView field)
{
    if (isPlainDecimal(field)) {
        // Correctly rounded to double like Qt's conversion, then to float like its
        // conversion; a result beyond float or one that vanishes in float is Qt's to judge.
        double value = 0.0;
        const char *end = field.data() + field.size();
        const std::from_chars_result result = std::from_chars(field.data(), end, value);
        if (result.ec == std::errc() && result.ptr == end
            && std::fabs(value) <= double(std::numeric_limits<float>::max())
            && (value == 0.0 || float(value) != 0.0f))
            return float(value);
    }
    return field.toFloat();
}

float toFloat(QByteArrayView field, const char *units)
{
    const auto isUnit = [units](char c) { return c != '\0' && std::strchr(units, c); };
    qsizetype end = field.size();
    // The unit usually closes the field; anywhere else it is taken out of a copy.
    while (end > 0 && isUnit(field.at(end - 1)))
        --end;
    QByteArrayView bare = field.first(end);
    QVarLengthArray<char, 32> copy;
    for (const char c : bare) {
        if (isUnit(c)) {
            for (const char k : bare) {
                if (!isUnit(k))
                    copy.append(k);
            }
            bare = QByteArrayView(copy.constData(), copy.size());
            break;
        }
    }
    return toFloat(bare);
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
