#pragma once

#include <QColor>
#include <QString>
#include <QtGlobal>

/// The texts and colours the display refresh derives from a channel's words and values.
namespace RefreshTexts {

/// The Status column of one channel: the first matching condition from emergency off down to
/// off, with its background.
struct StateWord
{
    QString text;
    QColor background;
};
StateWord stateWord(quint16 status, quint16 control);

/// A current in the low current range: microamperes with four decimals, "1.2000 µA".
QString lowCurrentRangeText(float amperes);
/// Power in watts with one decimal.
QString powerText(float volts, float amperes);
/// A ramp speed in percent per second with three decimals and a point in every locale:
/// "12.500 %/s".
QString percentRampText(float percentPerSecond);
/// A ramp speed in display units, "<value> <unit>/s".
QString unitRampText(const QString &value, const QString &unit);

}
