#include "modulestate.h"

ModuleState ModuleState::withRecords(int records)
{
    ModuleState state;
    state.resizeChannels(records);
    return state;
}

void ModuleState::resizeChannels(int records)
{
    const size_t wanted = size_t(qMax(0, records));
    if (wanted < channels.size()) {
        channels.resize(wanted);
        return;
    }
    channels.reserve(wanted);
    for (size_t i = channels.size(); i < wanted; ++i)
        channels.emplace_back(int(i));
}

int ModuleState::channelsInUse() const
{
    return qMax(0, qMin(channelCount, int(channels.size())));
}

bool ModuleState::isPercentBased() const
{
    if (firmwareName.startsWith(QLatin1String("DRS")))
        return true;
    if (firmwareName.startsWith(QLatin1String("KA")))
        return true;
    return firmwareName.startsWith(QLatin1String("TX02B0")) && channelCount >= 2;
}

bool ModuleState::operator==(const ModuleState &o) const
{
    return serialNumber == o.serialNumber && deviceName == o.deviceName
        && firmwareName == o.firmwareName && firmwareRelease == o.firmwareRelease
        && channelCount == o.channelCount && family == o.family && status == o.status
        && control == o.control && eventStatus == o.eventStatus && eventMask == o.eventMask
        && supplyP24 == o.supplyP24 && supplyP5 == o.supplyP5 && supplyP12 == o.supplyP12
        && supplyN12 == o.supplyN12 && temperature == o.temperature
        && voltageLimit == o.voltageLimit && currentLimit == o.currentLimit
        && voltageRamp == o.voltageRamp && currentRamp == o.currentRamp
        && voltageIncrement == o.voltageIncrement && average == o.average && outputs == o.outputs
        && interlock == o.interlock && emissionParameterP == o.emissionParameterP
        && emissionParameterI == o.emissionParameterI && emissionParameterD == o.emissionParameterD
        && filamentMinimum == o.filamentMinimum && filamentMaximum == o.filamentMaximum
        && interfaceMode == o.interfaceMode && channels == o.channels;
}

double firmwareReleaseNumber(const QString &release)
{
    bool ok = false;
    const double number = release.toDouble(&ok);
    return ok ? number : 0.0;
}

bool supportsPercentLimits(const ModuleState &state, double release)
{
    const QString &name = state.firmwareName;
    return (name == QLatin1String("KA3F1") && release >= 1.0)
        || (name == QLatin1String("KA2F8") && release >= 2.05)
        || (name.startsWith(QLatin1String("DRS")) && release >= 4.08);
}

bool supportsUnitLimits(const ModuleState &state)
{
    const QString &name = state.firmwareName;
    return name == QLatin1String("GLW802") || name == QLatin1String("TX01B0")
        || name == QLatin1String("TX01B1") || name == QLatin1String("TX02B0");
}

bool hasLimits(const ModuleState &state)
{
    return supportsPercentLimits(state, firmwareReleaseNumber(state.firmwareRelease))
        || supportsUnitLimits(state);
}
