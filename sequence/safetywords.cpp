#include "safetywords.h"

#include "czelkchannelstatusbits.h"

namespace {
// Channel status and event status share the bit positions of these conditions.
constexpr quint16 Arc = CZelkChannelStatusBits::Arc;
constexpr quint16 Emergency = CZelkChannelStatusBits::Emergency;
constexpr quint16 ArcError = CZelkChannelStatusBits::ArcError;
constexpr quint16 Inhibit = CZelkChannelStatusBits::Inhibit;
constexpr quint16 Trip = CZelkChannelStatusBits::Trip;
// Module status: 1 while the safety loop is closed; module event: the loop was not good.
constexpr quint16 SafetyLoopGood = 1u << 10;
constexpr quint16 SafetyLoopEvent = 1u << 10;

/// The status bit rose, or the latched event bit rose while the status bit was clear before and
/// now (a condition that came and went between two readings). The module reads status and events
/// in separate requests, so an event that follows its status bit one answer later is the same
/// condition.
bool rose(const StatusWords &before, const StatusWords &now, quint16 bit)
{
    if ((now.status & bit) && !(before.status & bit))
        return true;
    return (now.eventStatus & bit) && !(before.eventStatus & bit) && !(before.status & bit)
        && !(now.status & bit);
}
} // namespace

ChannelFindings channelFindings(const StatusWords &before, const StatusWords &now)
{
    ChannelFindings findings;
    const std::pair<quint16, SafetyCondition> watched[] = {
        { Trip, SafetyCondition::Trip },
        { ArcError, SafetyCondition::ArcError },
        { Emergency, SafetyCondition::EmergencyOff },
        { Inhibit, SafetyCondition::Inhibit },
    };
    for (const auto &[bit, condition] : watched)
        if (rose(before, now, bit))
            findings.conditions.append(condition);
    findings.arc = rose(before, now, Arc);
    return findings;
}

bool safetyLoopOpened(const StatusWords &before, const StatusWords &now)
{
    return ((before.status & SafetyLoopGood) && !(now.status & SafetyLoopGood))
        || ((now.eventStatus & SafetyLoopEvent) && !(before.eventStatus & SafetyLoopEvent));
}

QList<SafetyCondition> blockingConditions(
    quint16 channelStatus, quint16 channelEvents, quint16 moduleStatus)
{
    QList<SafetyCondition> found;
    // A trip or an arc error stays until the operator clears the channel's events.
    if ((channelStatus | channelEvents) & Trip)
        found.append(SafetyCondition::Trip);
    if ((channelStatus | channelEvents) & ArcError)
        found.append(SafetyCondition::ArcError);
    if (channelStatus & Emergency)
        found.append(SafetyCondition::EmergencyOff);
    if (channelStatus & Inhibit)
        found.append(SafetyCondition::Inhibit);
    if (!(moduleStatus & SafetyLoopGood))
        found.append(SafetyCondition::SafetyLoop);
    return found;
}
