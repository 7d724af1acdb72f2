#pragma once

#include "sequencerunner.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QMetaType>
#include <QString>

/// Where a module's sequence stands: copied on the thread of its runner for the bridge's thread,
/// published on "sequence/state" (toJson()) and read back from there (fromJson()).
struct SequenceProgress
{
    SequenceRunner::State state = SequenceRunner::State::Idle;
    SequenceRunner::Phase phase = SequenceRunner::Phase::None;
    /// The present step, 0-based.
    int step = 0;
    int steps = 0;
    /// The file the sequence came from, and the name it gives itself.
    QString file;
    QString name;
    /// Carried in tenths of a second.
    qint64 elapsedMs = 0;
    /// -1 while not running.
    qint64 remainingMs = -1;
    QList<int> channels;
    bool waiting = false;
    QString reason;

    /// Running, paused or stopping.
    bool isActive() const;
    /// Why another sequence can not start while this one is active.
    QString runningText() const;

    /// The "sequence/state" payload: a JSON object whose step counts from 1 (0 before a start),
    /// times in seconds, remaining null while not running.
    QByteArray toJson() const;
    /// Reads a toJson() payload; false for one that is no such object (\a progress is then
    /// unchanged).
    static bool fromJson(QByteArrayView json, SequenceProgress *progress);

    bool operator==(const SequenceProgress &other) const;
    bool operator!=(const SequenceProgress &other) const { return !(*this == other); }
};
Q_DECLARE_METATYPE(SequenceProgress)

/// The names of \a state and \a phase on "sequence/state".
QString sequenceStateName(SequenceRunner::State state);
QString sequencePhaseName(SequenceRunner::Phase phase);
