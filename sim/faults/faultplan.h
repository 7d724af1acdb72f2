#pragma once

#include "faults/faultoptions.h"

#include <QByteArray>
#include <QList>

namespace vornsim {

/// Decides, answer by answer, which fault of a FaultOptions applies. One plan per connection,
/// so that "every Nth" counts that connection's traffic. The options are read at each decision
/// and may be changed while the plan is in use; the caller keeps them alive.
class FaultPlan
{
public:
    enum class Action { Send, Drop, Garbage, Endless };

    explicit FaultPlan(const FaultOptions *options)
        : m_options(options)
    {
    }

    /// Counts one answer and says what to do with it. Endless wins over garbage over drop.
    Action nextAnswer();
    /// True once closeAfter answers have been counted.
    bool closeDue() const;
    /// Counts one echoed byte; true when this one is to be wrong.
    bool nextEchoWrong();
    /// Counts one request line; true when it is to get a lone LF instead of its answer.
    bool nextLoneLf();
    /// The answer cut into the configured number of segments (one segment when not split).
    QList<QByteArray> segments(const QByteArray &answer) const;
    /// Junk that ends in CR LF, so the host takes it as a complete but meaningless answer.
    static QByteArray garbage(int number);
    const FaultOptions &options() const { return *m_options; }

private:
    static bool every(int n, int count) { return n > 0 && count % n == 0; }

    const FaultOptions *m_options;
    int m_answers = 0;
    int m_echoes = 0;
    int m_lines = 0;
};

} // namespace vornsim
