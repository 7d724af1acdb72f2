#pragma once

#include "historyentry.h"

#include <QByteArray>
#include <QList>

#include <array>

/// The event history entries of one module held while the broker is away, oldest first and at
/// most a given number. When one more comes, the oldest info entry makes room, then the oldest
/// warning, and an alarm only when nothing else is held; a new entry of a lower severity than
/// everything held is not kept at all. What was dropped is counted by severity.
class HeldEvents
{
public:
    /// Dropped entries by severity (Severity as index).
    using Counts = std::array<int, 3>;

    explicit HeldEvents(int capacity)
        : m_capacity(capacity)
    {
    }

    void append(Severity severity, const QByteArray &payload);
    bool isEmpty() const { return m_held.isEmpty(); }
    int size() const { return int(m_held.size()); }
    const QByteArray &first() const { return m_held.first().payload; }
    void removeFirst() { m_held.removeFirst(); }
    /// Dropped since the last takeDropped().
    const Counts &dropped() const { return m_dropped; }
    Counts takeDropped() { return std::exchange(m_dropped, Counts {}); }

private:
    struct Held
    {
        Severity severity;
        QByteArray payload;
    };

    int m_capacity;
    QList<Held> m_held;
    Counts m_dropped {};
};
