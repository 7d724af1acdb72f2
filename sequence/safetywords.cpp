#include "safetywords.h"

#include "czelkchannelstatusbits.h"
#include "czelkmodulestatusbits.h"

namespace {
using Ch = CZelkChannelStatusBits;
using Mod = CZelkModuleStatusBits;
} // namespace

ChannelFindings channelFindings(const StatusWords &before, const StatusWords &now)
{
    ChannelFindings findings;
    const quint16 rising = RisingConditions::between(before, now).all();
    const std::pair<quint16, SafetyCondition> watched[] = {
        { Ch::Trip, SafetyCondition::Trip },
        { Ch::ArcError, SafetyCondition::ArcError },
        { Ch::Emergency, SafetyCondition::EmergencyOff },
        { Ch::Inhibit, SafetyCondition::Inhibit },
    };
    for (const auto &[bit, condition] : watched)
        if (rising & bit)
            findings.conditions.append(condition);
    findings.arc = rising & Ch::Arc;
    return findings;
}

bool safetyLoopOpened(const StatusWords &before, const StatusWords &now)
{
    return RisingConditions::between(before, now, Mod::HealthBits).all() & Mod::SafetyLoopGood;
}

QList<SafetyCondition> blockingConditions(
    quint16 channelStatus, quint16 channelEvents, quint16 moduleStatus)
{
    QList<SafetyCondition> found;
    // A trip or an arc error stays until the operator clears the channel's events.
    if ((channelStatus & Ch::Trip) || (channelEvents & Ch::EventTrip))
        found.append(SafetyCondition::Trip);
    if ((channelStatus & Ch::ArcError) || (channelEvents & Ch::EventArcError))
        found.append(SafetyCondition::ArcError);
    if (channelStatus & Ch::Emergency)
        found.append(SafetyCondition::EmergencyOff);
    if (channelStatus & Ch::Inhibit)
        found.append(SafetyCondition::Inhibit);
    if (!(moduleStatus & Mod::SafetyLoopGood))
        found.append(SafetyCondition::SafetyLoop);
    return found;
}
