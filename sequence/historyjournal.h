#pragma once

#include "eventhistory.h"
#include "sequencejournal.h"

#include <QCoreApplication>
#include <QPointer>

/// Writes a sequence's entries into a module's event history (EventHistory::note()): info
/// entries as info, alarm entries as alarms, each starting with "Sequence: " (in the program's
/// language, like the entries themselves). The history is not owned; entries made while there is
/// none are dropped.
class HistoryJournal : public SequenceJournal
{
public:
    explicit HistoryJournal(EventHistory *history = nullptr)
        : m_history(history)
    {
    }
    void setHistory(EventHistory *history) { m_history = history; }

    void info(const QString &text) override { write(Severity::Info, text); }
    void alarm(const QString &text) override { write(Severity::Alarm, text); }

private:
    void write(Severity severity, const QString &text)
    {
        if (m_history)
            m_history->note(
                severity, QCoreApplication::translate("HistoryJournal", "Sequence: %1").arg(text));
    }

    QPointer<EventHistory> m_history;
};
