#pragma once

#include <QHash>
#include <QString>

#include <functional>

/// The texts of one kind of number cell (voltages, currents, ...), keyed by what they show.
///
/// A value shown with p decimals shows the same text as every other value that rounds to the
/// same p decimals with the same sign. Its key is those digits, so a noisy reading whose shown
/// digits stay put keeps the same key (and its cell is left alone), and the text of digits shown
/// before comes from a memo instead of being formatted again.
class NumberTexts
{
public:
    /// Formats a value in SI units the way its cell shows it.
    using Format = std::function<QString(float)>;

    /// The value is shown in units of \a scale times the SI unit (1000 for milliamperes) with
    /// \a precision decimals, formatted by \a format. Forgets the memo.
    void setFormat(double scale, int precision, Format format);
    /// Forgets the texts of the memo (the locale or translation may have changed).
    void forget();

    /// The key of \a value: equal keys mean equal texts. A value that is exactly zero, not
    /// finite, too large, or too close to a rounding tie to tell is keyed by its bits (only the
    /// same value has the same key).
    quint64 key(float value);
    /// The text of \a value, whose key() is \a key; a negative value that rounds to zero keeps
    /// its sign ("-0.00") where the format shows it.
    QString text(quint64 key, float value);

    /// Set in a key for a cell's own purposes (a colour, a flag the cell carries); never set by
    /// key().
    static constexpr quint64 CellBit1 = quint64(1) << 60;
    static constexpr quint64 CellBit2 = quint64(1) << 61;

private:
    QString formatted(float value) const;

    double m_scale = 1.0;
    double m_power = 1.0;
    bool m_digitKeys = false;
    Format m_format;
    /// Whether a negative value that rounds to zero shows differently from its positive
    /// counterpart ("-0.00" against "0.00"): -1 until a value has told.
    int m_signedZero = -1;
    QHash<quint64, QString> m_memo;
};
