#include "modulestate.h"

#include "scpi_parser.h"

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
    return family->percentBased;
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

bool hasLimits(const ModuleState &state)
{
    const double release = firmwareReleaseNumber(state.firmwareRelease);
    return state.family->asks(SCPI_Parser::ReadLimitsPercent, release)
        || state.family->asks(SCPI_Parser::ReadLimitsUnits, release);
}
