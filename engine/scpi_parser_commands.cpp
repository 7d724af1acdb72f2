// Set commands: each builds one line that changes a setting and reads the value back, and
// queues it; the engine sends queued lines between cyclic requests.
#include "czelkchannelstatusbits.h"
#include "czelkmodulestatusbits.h"
#include "scpi_parser.h"

#include <charconv>

namespace {

/// A value as the module expects it: six significant digits, "." as decimal point, exponent
/// form for very large or small values (the C "%g" rule). Qt's own 'g' formatting rounds an
/// exact tie away from zero (123456.5 becomes "123457", C gives "123456") and drops the sign of
/// -0, and printf follows the user's LC_NUMERIC ("1234,5"), so neither can be used here;
/// to_chars formats like printf in the C locale.
QString number(float value)
{
    char text[32];
    const std::to_chars_result result = std::to_chars(
        text, text + sizeof text, static_cast<double>(value), std::chars_format::general, 6);
    return QString::fromLatin1(text, static_cast<qsizetype>(result.ptr - text));
}

constexpr quint16 ControlOn = CZelkChannelStatusBits::SetOn;
constexpr quint16 ControlEmergency = CZelkChannelStatusBits::SetEmergency;

} // namespace

void SCPI_Parser::queueChannelCommand(
    quint16 code, const char *set, const QString &value, int channel, const char *readBack)
{
    const QString all = channelList(m_module.channelCount(), false);
    enqueueCommand(code,
        QStringLiteral("%1 %2%3;%4%5\r\n")
            .arg(QLatin1String(set), value, channelList(channel, true), QLatin1String(readBack),
                all));
}

void SCPI_Parser::setVoltage(float value, int channel)
{
    queueChannelCommand(ReadVoltageSet, ":VOLT", number(value), channel, ":READ:VOLT?");
}

void SCPI_Parser::setVoltageBounds(float value, int channel)
{
    queueChannelCommand(ReadVoltageBounds, ":VOLT:BOU", number(value), channel, ":READ:VOLT:BOU?");
}

void SCPI_Parser::setCurrent(float value, int channel)
{
    queueChannelCommand(ReadCurrentSet, ":CURR", number(value), channel, ":READ:CURR?");
}

void SCPI_Parser::setCurrentBounds(float value, int channel)
{
    queueChannelCommand(ReadCurrentBounds, ":CURR:BOU", number(value), channel, ":READ:CURR:BOU?");
}

void SCPI_Parser::setChannelEventMask(unsigned mask, int channel)
{
    queueChannelCommand(ReadChannelEventMask, ":CONF:CHAN:EV:MASK", QString::number(mask), channel,
        ":READ:CHAN:EV:MASK?");
}

void SCPI_Parser::setChannelOn(bool on, int channel)
{
    queueChannelCommand(ReadChannelControl, ":VOLT",
        on ? QStringLiteral("ON") : QStringLiteral("OFF"), channel, ":READ:CHAN:CONT?");
    if (channel >= 0 && channel < m_module.channelCount()) {
        Channel &record = m_module.channel(channel);
        record.setControl((record.control() & ~unsigned(ControlOn)) | (on ? ControlOn : 0u));
    }
}

void SCPI_Parser::setChannelEmergencyOff(bool off, int channel)
{
    queueChannelCommand(ReadChannelControl, ":VOLT",
        off ? QStringLiteral("EMCY OFF") : QStringLiteral("EMCY CLR"), channel, ":READ:CHAN:CONT?");
    if (channel >= 0 && channel < m_module.channelCount()) {
        Channel &record = m_module.channel(channel);
        record.setControl((record.control() & ~unsigned(ControlEmergency)) | (off ? ControlEmergency : 0u));
    }
}

void SCPI_Parser::setChannelControl(quint16 control, int channel)
{
    const QString all = channelList(m_module.channelCount(), false);
    const QString list = channelList(channel, true);
    enqueueCommand(ReadChannelControl,
        QStringLiteral(":VOLT %1%2;:VOLT EMCY %3%4;:READ:CHAN:CONT?%5\r\n")
            .arg((control & ControlOn) ? QStringLiteral("ON") : QStringLiteral("OFF"), list,
                (control & ControlEmergency) ? QStringLiteral("OFF") : QStringLiteral("CLR"), list,
                all));
    if (channel >= 0 && channel < m_module.channelCount())
        m_module.channel(channel).setControl(control);
}

void SCPI_Parser::clearChannelEvents(int channel)
{
    const QString all = channelList(m_module.channelCount(), false);
    enqueueCommand(ReadChannelEventStatus,
        QStringLiteral(":EVENT CLEAR%1;:READ:CHAN:EV:STAT?%2\r\n")
            .arg(channelList(channel, true), all));
    if (channel >= 0 && channel < m_module.channelCount())
        m_module.channel(channel).setEventStatus(0);
}

void SCPI_Parser::setVoltageRamp(float value)
{
    enqueueCommand(ReadRamps,
        QStringLiteral(":CONF:RAMP:VOLT %1;:READ:RAMP:VOLT?;CURR?\r\n").arg(number(value)));
    m_module.setVoltageRamp(value);
}

void SCPI_Parser::setCurrentRamp(float value)
{
    enqueueCommand(ReadRamps,
        QStringLiteral(":CONF:RAMP:CURR %1;:READ:RAMP:VOLT?;CURR?\r\n").arg(number(value)));
    m_module.setCurrentRamp(value);
}

void SCPI_Parser::clearModuleEvents()
{
    enqueueCommand(ClearModuleEvents, QStringLiteral(":CONF:EV CLEAR;:READ:MOD:EV:STAT?\r\n"));
    m_module.setEventStatus(0);
}

void SCPI_Parser::clearStatus()
{
    enqueueCommand(ClearModuleEvents, QStringLiteral("*CLS;:READ:MOD:EV:STAT?\r\n"));
}

void SCPI_Parser::setModuleControl(quint16 control)
{
    // Only the adjustment, kill and clear bits of the module control word are transmitted.
    m_module.setControl(control);
    QString line = (control & CZelkModuleStatusBits::SetAdjust) ? QStringLiteral(":CONF:ADJ ENABLE")
                                                   : QStringLiteral(":CONF:ADJ DISABLE");
    line += (control & CZelkModuleStatusBits::SetKillEnable) ? QStringLiteral(";KILL ENABLE")
                                          : QStringLiteral(";KILL DISABLE");
    if (control & CZelkModuleStatusBits::DoClear)
        line += QStringLiteral(";*CLS");
    line += QStringLiteral(";:READ:MOD:CONT?\r\n");
    enqueueCommand(SetModuleControl, line);
}

void SCPI_Parser::setModuleEventMask(quint16 mask)
{
    enqueueCommand(
        SetModuleEventMask, QStringLiteral(":CONF:EV:MASK %1;:READ:MOD:EV:MASK?\r\n").arg(mask));
    m_module.setEventMask(mask);
}

void SCPI_Parser::setAverage(int value)
{
    enqueueCommand(ReadAverage, QStringLiteral(":CONF:AVER %1;:CONF:AVER?\r\n").arg(value));
    m_module.setAverage(value);
}

void SCPI_Parser::setInterfaceMode(int mode)
{
    enqueueCommand(ReadInterfaceMode, QStringLiteral(":CONF:INTER:MODE %1;MODE?\r\n").arg(mode));
}

void SCPI_Parser::setModuleOutput(Module::Output output, int value)
{
    const int index = static_cast<int>(output);
    if (!hasInputOutput() || index < 0 || index >= 3)
        return;
    enqueueCommand(ReadOutputs,
        QStringLiteral(":CONF:OUTP %1,(@%2);OUTP? (@0-%3)\r\n").arg(value).arg(index).arg(2));
}

void SCPI_Parser::setModuleEmissionParameter(
    float p, float i, float d, float minimum, float maximum)
{
    enqueueCommand(ReadEmission,
        QStringLiteral(":CONF:FILA:EMI:P %1;I %2;D %3;P?;I?;D?;"
                       ":CONF:FILA:CURR:MIN %4;MAX %5;MIN?;MAX?\r\n")
            .arg(number(p), number(i), number(d), number(minimum), number(maximum)));
}

void SCPI_Parser::saveConfiguration()
{
    // The save itself has no answer; "*OPC?" makes the module answer so the cycle goes on.
    enqueueCommand(SaveConfiguration, QStringLiteral(":SYS:USER:CONFIG SAVE;*OPC?\r\n"));
}
