#pragma once

#include <QString>

/// Where a sequence runner writes what it did: every step, every hold result, every abort and
/// every safety action. Info entries report progress; alarm entries report what stopped or
/// changed the sequence. The runner does not own its journal.
class SequenceJournal
{
public:
    virtual ~SequenceJournal() = default;
    virtual void info(const QString &text) = 0;
    virtual void alarm(const QString &text) = 0;
};
