#include "czelkchannelstatusbits.h"

// The texts are plain Latin-1; splitting keeps empty parts so that a name list always has
// exactly one entry per bit.
QStringList CZelkChannelStatusBits::statusNames()
{
    return QString::fromLatin1(Status).split(QLatin1Char(','), Qt::KeepEmptyParts);
}

QStringList CZelkChannelStatusBits::eventStatusNames()
{
    return QString::fromLatin1(EventStatus).split(QLatin1Char(','), Qt::KeepEmptyParts);
}

QStringList CZelkChannelStatusBits::eventMaskNames()
{
    return QString::fromLatin1(EventMask).split(QLatin1Char(','), Qt::KeepEmptyParts);
}

QStringList CZelkChannelStatusBits::controlNames()
{
    return QString::fromLatin1(Control).split(QLatin1Char(','), Qt::KeepEmptyParts);
}
