#include "numbertexts.h"

#include <cmath>
#include <cstring>

namespace {
constexpr quint64 DigitsKey = quint64(1) << 63;
constexpr quint64 NegativeKey = quint64(1) << 62;
/// A memo this large holds noise rather than values that come back; it starts over.
constexpr int MemoLimit = 4096;
/// Decimals up to which the shown digits can be worked out exactly in double precision.
constexpr int MostDecimals = 15;
/// Shown digits of at most this magnitude, so that a double holds them exactly.
constexpr double LargestDigits = 1e15;

quint64 bitsKey(float value)
{
    quint32 bits = 0;
    static_assert(sizeof bits == sizeof value, "float is 32 bits");
    memcpy(&bits, &value, sizeof bits);
    return bits;
}
} // namespace

void NumberTexts::setFormat(double scale, int precision, Format format)
{
    m_scale = scale;
    m_digitKeys = precision >= 0 && precision <= MostDecimals;
    m_power = m_digitKeys ? std::pow(10.0, precision) : 1.0;
    m_format = std::move(format);
    forget();
}

void NumberTexts::forget()
{
    m_memo.clear();
    m_signedZero = -1;
}

quint64 NumberTexts::key(float value)
{
    if (!m_digitKeys || value == 0.0f)
        return bitsKey(value);
    const double shown = double(value) * m_scale;
    const double digits = std::fabs(shown) * m_power;
    // The product is within a few units in the last place of the number the text is formatted
    // from; a fraction that close to one half could round either way there.
    if (!(digits < LargestDigits))
        return bitsKey(value);
    const double whole = std::floor(digits);
    const double fraction = digits - whole;
    if (std::fabs(fraction - 0.5) <= 1e-6 + digits * 1e-14)
        return bitsKey(value);
    const auto rounded = static_cast<quint64>(whole) + (fraction > 0.5 ? 1u : 0u);
    bool negative = shown < 0.0;
    if (negative && rounded == 0) {
        if (m_signedZero < 0)
            m_signedZero = formatted(value) != formatted(-value) ? 1 : 0;
        negative = m_signedZero == 1;
    }
    return DigitsKey | (negative ? NegativeKey : 0) | rounded;
}

QString NumberTexts::text(quint64 key, float value)
{
    if (!(key & DigitsKey))
        return formatted(value);
    const auto known = m_memo.constFind(key);
    if (known != m_memo.constEnd())
        return *known;
    if (m_memo.size() >= MemoLimit)
        m_memo.clear();
    return *m_memo.insert(key, formatted(value));
}

QString NumberTexts::formatted(float value) const
{
    return m_format ? m_format(value) : QString();
}
