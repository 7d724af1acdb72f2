// Lines from the SCPI console: checked, completed with a query where needed and queued like a
// set command; the answer is handed out instead of being parsed into the module.
#include "consolechannel.h"
#include "consolerequest.h"
#include "scpi_parser.h"

ConsoleRequest ConsoleRequest::prepare(const QString &line)
{
    ConsoleRequest request;
    for (const QChar c : line) {
        // A control character would end or corrupt the request line on the wire.
        if (c.unicode() < 0x20 || c.unicode() == 0x7F) {
            request.verdict = ControlCharacter;
            return request;
        }
        if (c.unicode() > 0xFF) {
            request.verdict = NotLatin1;
            return request;
        }
    }
    QString text = line.trimmed();
    if (text.isEmpty())
        return request;
    if (text.size() > MaxLength) {
        request.verdict = TooLong;
        return request;
    }
    if (!text.contains(QLatin1Char('?'))) {
        // ":VOLT 10;" must not become ":VOLT 10;;*OPC?".
        while (text.endsWith(QLatin1Char(';')) || text.endsWith(QLatin1Char(' ')))
            text.chop(1);
        if (text.isEmpty())
            return request;
        text += QLatin1String(";*OPC?");
        request.completionQueryAdded = true;
    }
    request.verdict = Accepted;
    request.command = text;
    return request;
}

void SCPI_Parser::enqueueConsoleLine(const QString &command)
{
    enqueueCommand(ConsoleLine, command + QLatin1String("\r\n"));
}

ConsoleChannel *SCPI_Parser::consoleChannel()
{
    auto *channel = findChild<ConsoleChannel *>(QString(), Qt::FindDirectChildrenOnly);
    return channel ? channel : new ConsoleChannel(this);
}
