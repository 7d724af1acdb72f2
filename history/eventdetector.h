#pragma once

#include "historyentry.h"

#include <QList>
#include <QString>
#include <vector>

class Module;

/// Turns the changes of a module's status and event-status words into history entries, and
/// keeps the alarm conditions that are active now.
///
/// Each observe() compares the words of the module and of every channel with the ones it saw
/// last; an answer that changed none costs one comparison per word. One entry is made per
/// source (the module or a channel) whose words changed, naming the bits that rose and fell.
///
/// Severity: a condition that begins (a status bit of a channel rising, a health bit of the
/// module falling) has the severity of its kind (EventText::conditionSeverity()); an event bit
/// that rises reports the same condition and has its severity only when the status word shows
/// it neither now nor in the answer before (RisingConditions); ends and everything else are
/// info. The status and event-status words are read by different requests, so a condition
/// caught first by its event and then by its status bit within a polling cycle or two is
/// reported once.
///
/// The measured voltage and current of a channel entry are the ones of the moment; when the
/// change switched the channel off (a trip, an arc error, an inhibit: isON fell or EOn2Off
/// rose), they are the ones measured a polling cycle or two before: the module has usually
/// measured the fall already when its words show it.
class EventDetector
{
public:
    /// An alarm condition that the status words show now.
    struct Condition
    {
        /// Channel number, or HistoryEntry::ModuleSource.
        int channel = HistoryEntry::ModuleSource;
        /// The status bit's dictionary name ("isTRP", "isSFLPgd").
        QString name;
        /// English sentence ("channel 0 tripped").
        QString text;
        /// When it was first seen.
        qint64 sinceMs = 0;

        bool operator==(const Condition &other) const
        {
            return channel == other.channel && name == other.name && sinceMs == other.sinceMs;
        }
    };

    /// Answers between two snapshots of the measured values; longer than a polling cycle
    /// with a few commands in it.
    static constexpr int SnapshotAnswers = 16;

    /// Takes the module's words as they are now, when it has come online. Returns entries for
    /// the conditions above info that are present (a channel that is tripped already), as if
    /// they had begun now.
    QList<HistoryEntry> start(const Module &module, qint64 nowMs);
    /// Compares the module's words with the last ones; the entries of what changed.
    QList<HistoryEntry> observe(const Module &module, qint64 nowMs);
    /// Forgets the module: observe() makes no entries until the next start().
    void stop();
    bool isStarted() const { return m_started; }

    /// The alarm conditions the status words show, the module's first, then by channel.
    const QList<Condition> &activeAlarms() const { return m_alarms; }
    /// True when the last start() or observe() changed activeAlarms().
    bool alarmsChanged() const { return m_alarmsChanged; }

private:
    struct Source
    {
        quint16 status = 0;
        quint16 eventStatus = 0;
        /// Condition bits an event reported while the status did not show them, and when.
        quint16 reportedByEvent = 0;
        quint64 reportedAt = 0;
        /// Measured values at the last two snapshots (older first).
        float voltage[2] = { 0.0f, 0.0f };
        float current[2] = { 0.0f, 0.0f };
    };

    void compare(const Module &module, int index, quint16 status, quint16 eventStatus, qint64 nowMs,
        QList<HistoryEntry> *entries);
    void snapshot(const Module &module);
    void updateAlarms(qint64 nowMs);

    bool m_started = false;
    quint64 m_answers = 0;
    /// Index 0 is the module, 1 + n channel n.
    std::vector<Source> m_sources;
    QList<Condition> m_alarms;
    bool m_alarmsChanged = false;
};
