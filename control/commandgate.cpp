#include "commandgate.h"

#include "channelcommand.h"
#include "scpi_parser.h"

#include <QCoreApplication>

int CommandGate::passOff(const ChannelCommand &command, SCPI_Parser &engine)
{
    const int queued = engine.queuedCommandCount();
    command.apply(engine);
    return engine.queuedCommandCount() > queued ? engine.promoteLastCommand() : 0;
}

QString CommandGate::admit(int queued)
{
    if (queued >= MaxQueued)
        return QCoreApplication::translate(
            "CommandGate", "busy: %n commands wait for the module", nullptr, queued);
    if (!m_rate.take())
        return QCoreApplication::translate("CommandGate", "more than %1 commands a second")
            .arg(PerSecond);
    return QString();
}
