#include "commandgate.h"

#include "channelcommand.h"
#include "scpi_parser.h"

bool CommandGate::pass(
    const ChannelCommand &command, SCPI_Parser &engine, QString *why, int *dropped)
{
    *dropped = 0;
    const int queued = engine.queuedCommandCount();
    if (command.isOff()) {
        if (queued >= MaxQueuedOffs) {
            *why = QStringLiteral("busy: %1 commands wait for the module").arg(queued);
            return false;
        }
        command.apply(engine);
        if (engine.queuedCommandCount() > queued)
            *dropped = engine.promoteLastCommand();
        return true;
    }
    if (queued >= MaxQueued) {
        *why = QStringLiteral("busy: %1 commands wait for the module").arg(queued);
        return false;
    }
    if (!m_rate.take()) {
        *why = QStringLiteral("more than %1 commands a second").arg(PerSecond);
        return false;
    }
    command.apply(engine);
    return true;
}
