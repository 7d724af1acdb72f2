#pragma once

#include "eventdetector.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

/// The module's "alarms" topic: the alarm conditions active now, retained, as a JSON array of
/// objects {source: "module" | "channel", channel (for a channel), condition, text, since (ms
/// since the epoch), at (the same as ISO 8601 UTC)}; "[]" when there is none. The "events"
/// topic carries one HistoryEntry::toJson() a message.
namespace telemetry {

QByteArray encodeAlarms(const QList<EventDetector::Condition> &alarms);
/// Reads an encodeAlarms() payload; false for one that is no JSON array (\a alarms is then
/// unchanged).
bool decodeAlarms(QByteArrayView payload, QList<EventDetector::Condition> *alarms);

} // namespace telemetry
