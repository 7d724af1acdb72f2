#include "scpi_parser.h"

Q_LOGGING_CATEGORY(lcEngine, "vorn.engine")

namespace {
const QLatin1String Maker("Vornwerk GmbH");
const QLatin1String DrsPrefix("DRS");
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
    if (count == 1 && !m_module.firmwareName().startsWith(DrsPrefix))
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

bool SCPI_Parser::supportsPercentLimits() const
{
    return ::supportsPercentLimits(m_module.state(), releaseNumber());
}

bool SCPI_Parser::supportsUnitLimits() const
{
    return ::supportsUnitLimits(m_module.state());
}

bool SCPI_Parser::hasInputOutput() const
{
    return m_module.deviceName().startsWith(QLatin1String("TQ88812p00"));
}

bool SCPI_Parser::hasEmissionControl() const
{
    return m_module.deviceName().startsWith(QLatin1String("TQ88812p0000"));
}

bool SCPI_Parser::supportsInterfaceMode() const
{
    const QString name = m_module.firmwareName();
    const double release = releaseNumber();
    return (name == QLatin1String("GLW802") && release >= 2.1)
        || (name == QLatin1String("TX01B1") && release >= 2.26)
        || (name == QLatin1String("TX02B0") && release >= 3.1);
}

QString SCPI_Parser::epuQuery() const
{
    return releaseNumber() >= 4.0 ? QStringLiteral(":SYS:USER:EPU?%1\r\n")
                                  : QStringLiteral(":SYS:USER:READ:EPU?%1\r\n");
}

bool SCPI_Parser::firmwareUsesCharacterEcho(
    const QByteArray &firmwareName, const QByteArray &firmwareRelease)
{
    return firmwareName == "WD7A0" || (firmwareName == "TX01B0" && firmwareRelease.startsWith("5."))
        || (firmwareName == "TX02B0" && firmwareRelease.startsWith("1."));
}

void SCPI_Parser::sendPerChannelQuery(quint16 code, const char *query)
{
    // The same dozen lines go out over and over: each is built once for the all-channels list,
    // which changes only with the channel count and the firmware family.
    const int count = m_module.channelCount();
    const bool drs = count == 1 && m_module.firmwareName().startsWith(DrsPrefix);
    if (count != builtFor.count || drs != builtFor.drs) {
        builtFor = { count, drs };
        builtQueries.clear();
    }
    for (const BuiltQuery &built : std::as_const(builtQueries)) {
        if (built.query == query) {
            const QString command = built.command;
            sendCommand(code, command);
            return;
        }
    }
    const QString command = QString::fromLatin1(query).arg(channelList(count, false));
    builtQueries.append({ query, command });
    sendCommand(code, command);
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
    const bool drs = m_module.firmwareName().startsWith(DrsPrefix);
    const int s = step++;
    switch (s) {
    case 0:
        sendCommand(ReadFirmware, QStringLiteral(":READ:FIRM:NAME?;REL?\r\n"));
        return;
    case 1:
        if (drs) {
            sendCommand(ReadVoltageBounds,
                QStringLiteral(":CONF:HVDRSB HV_OK;:READ:VOLT:BOU?%1\r\n")
                    .arg(channelList(m_module.channelCount(), false)));
        } else {
            sendPerChannelQuery(ReadVoltageBounds, ":READ:VOLT:BOU?%1\r\n");
        }
        return;
    case 2:
        sendPerChannelQuery(ReadVoltageNominal, ":READ:VOLT:NOM?%1\r\n");
        return;
    case 3:
        sendPerChannelQuery(ReadCurrentBounds, ":READ:CURR:BOU?%1\r\n");
        return;
    case 4:
        sendPerChannelQuery(ReadCurrentNominal, ":READ:CURR:NOM?%1\r\n");
        return;
    case 5:
        sendCommand(ReadRamps, QStringLiteral(":READ:RAMP:VOLT?;CURR?\r\n"));
        return;
    case 6:
        sendPerChannelQuery(ReadChannelEventMask, ":READ:CHAN:EV:MASK?%1\r\n");
        return;
    case 7:
        sendPerChannelQuery(ReadChannelControl, ":READ:CHAN:CONT?%1\r\n");
        return;
    case 8:
        sendCommand(ReadAverage, QStringLiteral(":CONF:AVER?\r\n"));
        return;
    case 9: {
        const bool supported = supportsInterfaceMode();
        emit interfaceModeSupported(supported);
        if (supported) {
            sendCommand(ReadInterfaceMode, QStringLiteral(":CONF:INTER:MODE?\r\n"));
            return;
        }
        break;
    }
    default:
        break;
    }
    // The last step: DRS modules read their EPU flags, all others the nominal voltages again.
    if (drs) {
        sendCommand(ReadEpu, epuQuery().arg(channelList(m_module.channelCount(), false)));
    } else {
        sendPerChannelQuery(ReadVoltageNominal, ":READ:VOLT:NOM?%1\r\n");
    }
    fullRead = false;
}

void SCPI_Parser::sendCyclicStep()
{
    const int s = step++;
    switch (s) {
    case 0:
        sendPerChannelQuery(ReadCurrentSet, ":READ:CURR?%1\r\n");
        return;
    case 1:
        sendPerChannelQuery(MeasureVoltage, ":MEAS:VOLT?%1\r\n");
        return;
    case 2:
        sendPerChannelQuery(MeasureCurrent, ":MEAS:CURR?%1\r\n");
        return;
    case 3:
        sendPerChannelQuery(ReadChannelStatus, ":READ:CHAN:STAT?%1\r\n");
        return;
    case 4:
        sendPerChannelQuery(ReadChannelEventStatus, ":READ:CHAN:EV:STAT?%1\r\n");
        return;
    case 5:
        sendCommand(ReadModuleStatus, QStringLiteral(":READ:MOD:CONT?;STAT?;EV:STAT?;MASK?\r\n"));
        return;
    case 6:
        sendCommand(ReadSupplies, QStringLiteral(":READ:MOD:TEMP?;SUP:P24V?;P5V?;P12V?;N12V?\r\n"));
        return;
    default:
        break;
    }
    // Steps 7 to 10 send the first optional query that applies from the step's own entry on.
    if (s <= 7) {
        if (supportsPercentLimits()) {
            sendCommand(ReadLimitsPercent, QStringLiteral(":READ:VOLT:LIM?;:READ:CURR:LIM?\r\n"));
            return;
        }
        if (supportsUnitLimits()) {
            sendCommand(ReadLimitsUnits, QStringLiteral(":READ:VOLT:LIM?;:READ:CURR:LIM?\r\n"));
            return;
        }
    }
    if (s <= 8 && hasInputOutput()) {
        sendCommand(ReadOutputs, QStringLiteral(":CONF:OUTP? (@0-%1)\r\n").arg(2));
        return;
    }
    if (s <= 9 && hasInputOutput()) {
        sendCommand(ReadInterlock, QStringLiteral(":READ:MOD:STATUS:INTERLOCK?\r\n"));
        return;
    }
    if (s <= 10 && hasEmissionControl()) {
        sendCommand(
            ReadEmission, QStringLiteral(":CONF:FILA:EMI:P?;I?;D?;:CONF:FILA:CURR:MIN?;MAX?\r\n"));
        return;
    }
    step = 0;
    sendPerChannelQuery(ReadVoltageSet, ":READ:VOLT?%1\r\n");
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
