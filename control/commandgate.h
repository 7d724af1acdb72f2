#pragma once

#include "tokenbucket.h"

#include <QString>

class SCPI_Parser;
struct ChannelCommand;

/// The limits of a module's command queue. The engine sends queued commands one per answer and
/// stops polling while it holds any, so a flood of commands would blind the program and make an
/// off wait its turn behind all of them:
///
/// - an off or emergency off goes to the front of the engine's queue and drops the commands
///   queued behind the offs already there; it is never refused (an off already waiting at the
///   front is not queued twice, so offs cannot pile up);
/// - every other command from a limited source (the broker: set topics and sequence topics) is
///   refused while MaxQueued commands wait ("busy") or beyond PerSecond commands a second (Burst
///   at once).
class CommandGate
{
public:
    static constexpr int MaxQueued = 8;
    static constexpr double PerSecond = 10.0;
    static constexpr double Burst = 10.0;

    /// Queues the off \a command at the front of \a engine's queue; returns how many queued
    /// commands it dropped.
    int passOff(const ChannelCommand &command, SCPI_Parser &engine);
    /// Whether one more command may join \a queued waiting ones: an empty text, or why not.
    QString admit(int queued);

private:
    TokenBucket m_rate { PerSecond, Burst };
};
