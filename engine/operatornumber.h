#pragma once

#include <QLocale>
#include <QString>

#include <optional>

/// Reads a number an operator typed, in \a locale's notation ("0,5" in German, "0.5" in
/// English; an exponent such as "1e-7" too). A text with the locale's group separator is
/// refused, not read: in German "0.500" would otherwise become 500 where 0.5 was meant, and in
/// English "1,000" may be a decimal comma. Empty texts, garbage and infinite or undefined values
/// are refused as well. Returns the value, or nothing with the reason for the operator in
/// \a error (which may be null).
std::optional<double> readOperatorNumber(
    const QString &text, QString *error, const QLocale &locale = QLocale());
