#pragma once

#include "risingconditions.h"
#include "sequence.h"

#include <QList>
#include <QtGlobal>

/// What a new reading of a channel's words reports that the one before did not: the safety
/// conditions that began (trip, arc error, emergency off, external inhibit; RisingConditions),
/// and whether an arc was seen. A condition that stays reported does not come again; one whose
/// status bit goes and comes back does, and so does one seen only in its latched event bit.
struct ChannelFindings
{
    QList<SafetyCondition> conditions;
    bool arc = false;
};
ChannelFindings channelFindings(const StatusWords &before, const StatusWords &now);

/// Whether the module's safety loop opened between two readings of the module words: the
/// "safety loop closed" status bit fell, or the "safety loop not good" event rose while the
/// loop was closed before and now (RisingConditions).
bool safetyLoopOpened(const StatusWords &before, const StatusWords &now);

/// The conditions present in a channel's status and event words, and in the module's (safety
/// loop open), that keep a sequence from switching the channel on: a trip or an arc error not
/// cleared yet (a file's "ignore" does not change that), emergency off, external inhibit.
QList<SafetyCondition> blockingConditions(
    quint16 channelStatus, quint16 channelEvents, quint16 moduleStatus);
