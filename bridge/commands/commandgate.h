#pragma once

#include "tokenbucket.h"

#include <QString>

class SCPI_Parser;
struct ChannelCommand;

/// Decides how a checked command for one module reaches the engine. The engine sends queued
/// commands one per answer and stops polling while it holds any, so a flood of commands would
/// blind the bridge and make an off wait its turn behind all of them:
///
/// - an off or emergency off goes to the front of the engine's queue and drops the commands
///   queued before it, and is taken even when the module is busy or commands come too fast;
/// - every other command is refused while MaxQueued commands wait ("busy") or beyond
///   PerSecond commands a second (Burst at once).
class CommandGate
{
public:
    static constexpr int MaxQueued = 8;
    /// Offs that may wait at once; more can only come from a flood of offs, which adds nothing.
    static constexpr int MaxQueuedOffs = 4 * MaxQueued;
    static constexpr double PerSecond = 10.0;
    static constexpr double Burst = 10.0;

    /// Queues \a command on \a engine, or returns false with the reason in \a why. \a dropped
    /// gets the number of queued commands an off dropped.
    bool pass(const ChannelCommand &command, SCPI_Parser &engine, QString *why, int *dropped);

private:
    TokenBucket m_rate { PerSecond, Burst };
};
