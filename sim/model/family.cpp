#include "model/family.h"

namespace vornsim::family {

bool percentBased(const QString &firmwareName, int channels)
{
    return firmwareName.startsWith(QLatin1String("DRS"))
        || firmwareName.startsWith(QLatin1String("KA"))
        || (firmwareName.startsWith(QLatin1String("TX02B0")) && channels >= 2);
}

bool limitsInUnits(const QString &firmwareName)
{
    return firmwareName == QLatin1String("GLW802") || firmwareName == QLatin1String("TX01B0")
        || firmwareName == QLatin1String("TX01B1") || firmwareName == QLatin1String("TX02B0");
}

bool byteEcho(const QString &firmwareName, const QString &release)
{
    if (firmwareName == QLatin1String("WD7A0"))
        return true;
    if (firmwareName == QLatin1String("TX01B0"))
        return release.startsWith(QLatin1String("5."));
    if (firmwareName == QLatin1String("TX02B0"))
        return release.startsWith(QLatin1String("1."));
    return false;
}

bool hasInputOutput(const QString &deviceName)
{
    return deviceName.startsWith(QLatin1String("TQ88812p00"));
}

bool hasEmission(const QString &deviceName)
{
    return deviceName.startsWith(QLatin1String("TQ88812p0000"));
}

bool listOptional(const QString &firmwareName, int channels)
{
    return channels == 1 && !firmwareName.startsWith(QLatin1String("DRS"));
}

} // namespace vornsim::family
