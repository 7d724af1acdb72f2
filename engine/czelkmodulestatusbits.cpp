#include "czelkmodulestatusbits.h"

QStringList CZelkModuleStatusBits::statusNames()
{
    return QString::fromLatin1(Status).split(QLatin1Char(','), Qt::KeepEmptyParts);
}

QStringList CZelkModuleStatusBits::eventStatusNames()
{
    return QString::fromLatin1(EventStatus).split(QLatin1Char(','), Qt::KeepEmptyParts);
}

QStringList CZelkModuleStatusBits::eventMaskNames()
{
    return QString::fromLatin1(EventMask).split(QLatin1Char(','), Qt::KeepEmptyParts);
}

QStringList CZelkModuleStatusBits::controlNames()
{
    return QString::fromLatin1(Control).split(QLatin1Char(','), Qt::KeepEmptyParts);
}
