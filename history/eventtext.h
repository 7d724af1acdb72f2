#pragma once

#include "historyentry.h"

#include <QString>

/// What the bits of the status and event-status words mean to an operator: the severity of a
/// condition and the sentences that say it began or ended ("channel 3 tripped", "safety loop
/// open"). The sentences are English in the files and on the broker, and translated in the
/// panel; both are built from an entry's bit names, so an entry read back from a file reads
/// like a new one.
namespace EventText {

/// Bits of a word that name something; changes of reserved bits mean nothing.
quint16 channelStatusBits();
quint16 channelEventBits();
quint16 moduleStatusBits();
quint16 moduleEventBits();

/// The severity of the condition a channel (\a module false) or module status bit reports
/// when it begins; the event bit at the same position reports the same condition.
Severity conditionSeverity(bool module, int bit);

/// Bits whose condition, when it begins, is an alarm; the same positions in the status and
/// the event-status word.
quint16 alarmBits(bool module);

/// The sentences of an entry, joined by "; ", in English or in the program's language.
QString describe(const HistoryEntry &entry, bool translated);

} // namespace EventText
