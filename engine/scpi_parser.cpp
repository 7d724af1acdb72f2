#include "scpi_parser.h"

Q_LOGGING_CATEGORY(lcEngine, "vorn.engine")

namespace {
const QLatin1String Maker("Vornwerk GmbH");
} // namespace

SCPI_Parser::SCPI_Parser(QObject *parent)
    : QObject(parent)
    , m_module(ChannelRecords, this)
{
}

SCPI_Parser::~SCPI_Parser() = default;

void SCPI_Parser::setCharacterEcho(bool) { }

void SCPI_Parser::requestIdentity()
{
    sendCommand(ReadIdentity, QStringLiteral("*IDN?;:READ:MOD:CHAN?\r\n"));
}

void SCPI_Parser::restartFullRead()
{
    step = 0;
    fullRead = true;
}

void SCPI_Parser::enqueueCommand(int code, const QString &command)
{
    // Some set commands write the module at once; the next display refresh then looks at all.
    commandSinceAnswer = true;
    // Without channels the module is not identified and a command could not address it.
    if (m_module.channelCount() < 1) {
        qCDebug(lcEngine) << "no module identified, command dropped:" << command.trimmed();
        return;
    }
    commandQueue.append(qMakePair(code, command));
}

int SCPI_Parser::promoteLastCommand()
{
    if (commandQueue.size() <= promotedCommands)
        return 0;
    const QPair<int, QString> command = commandQueue.takeLast();
    const int dropped = int(commandQueue.size()) - promotedCommands;
    commandQueue.resize(promotedCommands);
    // The same line waiting at the front already does what this one would.
    if (!commandQueue.contains(command)) {
        commandQueue.append(command);
        ++promotedCommands;
    }
    return dropped;
}

QPair<int, QString> SCPI_Parser::takeQueuedCommand()
{
    promotedCommands = qMax(0, promotedCommands - 1);
    return commandQueue.takeFirst();
}

QString SCPI_Parser::channelList(int channel, bool comma) const
{
    const char separator = comma ? ',' : ' ';
    const int count = m_module.channelCount();
    if (count == 1 && !family().listAlways)
        return QString();
    if (channel == count)
        return QString::asprintf("%c(@0-%d)", separator, count - 1);
    if (channel >= 0 && channel < count)
        return QString::asprintf("%c(@%d)", separator, channel);
    return QString();
}

double SCPI_Parser::releaseNumber() const
{
    // Asked for on every polling cycle; the text changes only with the identity answer.
    const QString release = m_module.firmwareRelease();
    if (release != releaseText) {
        releaseText = release;
        releaseValue = firmwareReleaseNumber(release);
    }
    return releaseValue;
}

const ModuleFamily &SCPI_Parser::family() const
{
    return m_module.family();
}

void SCPI_Parser::sendPlanned(const PlannedQuery &query)
{
    // The same dozen lines go out over and over: each is built once for the all-channels list,
    // which changes only with the channel count and the family.
    const int count = m_module.channelCount();
    const ModuleFamily *const current = &family();
    if (count != builtFor.count || current != builtFor.family) {
        builtFor = { count, current };
        builtQueries.clear();
    }
    for (const BuiltQuery &built : std::as_const(builtQueries)) {
        if (built.query == query.line) {
            const QString command = built.command;
            sendCommand(query.code, command);
            return;
        }
    }
    QString command = QString::fromLatin1(query.line);
    if (command.contains(QLatin1String("%1")))
        command = command.arg(channelList(count, false));
    builtQueries.append({ query.line, command });
    sendCommand(query.code, command);
}

const PlannedQuery *SCPI_Parser::firstApplying(const QList<PlannedQuery> &queries, qsizetype from)
{
    const ModuleFamily &current = family();
    const double release = releaseNumber();
    for (qsizetype i = from; i < queries.size(); ++i) {
        const PlannedQuery &query = queries.at(i);
        const bool applies = current.applies(query.when, release);
        // Where the configuration comes to the interface mode, the owner learns whether the
        // module has it.
        if (query.when == PlannedQuery::InterfaceMode)
            emit interfaceModeSupported(applies);
        if (applies)
            return &query;
    }
    return nullptr;
}

void SCPI_Parser::refreshData()
{
    if (!manufacturer.contains(QByteArrayView(Maker.data(), Maker.size()))
        || m_module.channelCount() < 1) {
        qCDebug(lcEngine) << "identity wrong";
        requestIdentity();
        step = 0;
        return;
    }
    if (fullRead && promotedCommands == 0) {
        sendConfigurationStep();
        return;
    }
    if (!commandQueue.isEmpty()) {
        const QPair<int, QString> command = takeQueuedCommand();
        sendCommand(static_cast<quint16>(command.first), command.second);
        if (commandQueue.isEmpty())
            fullRead = true;
        return;
    }
    sendCyclicStep();
}

void SCPI_Parser::sendConfigurationStep()
{
    const QueryPlan &plan = *family().configuration;
    if (const PlannedQuery *query = firstApplying(plan.steps, step++)) {
        sendPlanned(*query);
        return;
    }
    if (const PlannedQuery *last = firstApplying(plan.wrap, 0))
        sendPlanned(*last);
    fullRead = false;
}

void SCPI_Parser::sendCyclicStep()
{
    const QueryPlan &plan = *family().polling;
    if (const PlannedQuery *query = firstApplying(plan.steps, step++)) {
        sendPlanned(*query);
        return;
    }
    step = 0;
    if (const PlannedQuery *first = firstApplying(plan.wrap, 0)) {
        emit cycleStarting();
        sendPlanned(*first);
    }
}

void SCPI_Parser::onStopRefresh()
{
    if (!commandQueue.isEmpty()) {
        const QPair<int, QString> command = takeQueuedCommand();
        sendCommand(static_cast<quint16>(command.first), command.second);
    }
    qCDebug(lcEngine) << "stop refresh";
    requestCode = 0;
    stopped = true;
}
