// The dialect side of SimModule: answering queries and executing set commands.
#include "model/simmodule.h"

#include "dialect/answerformat.h"
#include "dialect/channellist.h"
#include "dialect/scpicommand.h"
#include "model/family.h"
#include "simlog.h"

#include <QHash>

#include <cmath>

namespace vornsim {

namespace {

const QByteArray errorAnswer = QByteArrayLiteral("ERROR");

// SCPI error-queue entries.
const char *const undefinedHeader = "-113,\"Undefined header\"";
const char *const parameterNotAllowed = "-108,\"Parameter not allowed\"";
const char *const missingParameter = "-109,\"Missing parameter\"";
const char *const illegalValue = "-224,\"Illegal parameter value\"";
const char *const outOfRange = "-222,\"Data out of range\"";
const char *const badChannelList = "-171,\"Invalid channel list\"";

/// Reads a number that may carry the unit the module reports, e.g. "1000", "1.0E3V", "5%/s".
bool parseNumber(QByteArray text, double *value)
{
    text = text.trimmed().toUpper();
    for (const char *unit : { "V/S", "A/S", "%/S", "V", "A", "%", "C" }) {
        if (text.endsWith(unit)) {
            text.chop(int(qstrlen(unit)));
            break;
        }
    }
    bool ok = false;
    const double v = text.toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return false;
    *value = v;
    return true;
}

bool parseUnsigned(const QByteArray &text, quint32 *value)
{
    bool ok = false;
    const quint32 v = text.trimmed().toUInt(&ok);
    if (ok)
        *value = v;
    return ok;
}

/// ENABLE/DISABLE, ON/OFF or 1/0.
bool parseSwitch(const QByteArray &text, bool *on)
{
    const QByteArray t = text.trimmed().toUpper();
    if (t == "ENABLE" || t == "ON" || t == "1") {
        *on = true;
        return true;
    }
    if (t == "DISABLE" || t == "OFF" || t == "0") {
        *on = false;
        return true;
    }
    return false;
}

} // namespace

QByteArray SimModule::handleLine(const QByteArray &line)
{
    syncClock();
    QByteArray text = line;
    while (text.endsWith('\n') || text.endsWith('\r'))
        text.chop(1);
    QList<QByteArray> answers;
    const QList<ScpiCommand> commands = splitScpiLine(text);
    for (const ScpiCommand &cmd : commands) {
        if (!cmd.valid) {
            qCDebug(lcSim) << "malformed command" << cmd.text;
            inputError(cmd, undefinedHeader);
            if (cmd.query)
                answers << errorAnswer;
        } else if (cmd.query) {
            answers << answerQuery(cmd);
        } else {
            executeSet(cmd);
        }
        refreshStatus();
    }
    if (answers.isEmpty())
        return {};
    return answers.join(';') + "\r\n";
}

// --- queries ----------------------------------------------------------------------------------

bool SimModule::addressed(const Parameters &p, const ScpiCommand &cmd, QList<int> *channels)
{
    if (!p.listValid) {
        qCDebug(lcSim) << "bad channel list" << cmd.text;
        inputError(cmd, badChannelList);
        return false;
    }
    if (p.hasList) {
        *channels = p.channels;
        return true;
    }
    // Without a list a command addresses every channel; for a one-channel module that is the
    // normal form.
    channels->clear();
    for (int i = 0; i < channelCount(); ++i)
        *channels << i;
    return true;
}

QByteArray SimModule::perChannel(
    const Parameters &p, const ScpiCommand &cmd, QByteArray (SimModule::*format)(int) const)
{
    if (!p.values.isEmpty()) {
        inputError(cmd, parameterNotAllowed);
        return errorAnswer;
    }
    QList<int> channels;
    if (!addressed(p, cmd, &channels))
        return errorAnswer;
    QList<QByteArray> values;
    for (int i : channels)
        values << (this->*format)(i);
    return values.join(',');
}

QByteArray SimModule::formatVoltageSet(int i) const
{
    return answerformat::measurement(channel(i).voltageSet, "V");
}
QByteArray SimModule::formatCurrentSet(int i) const
{
    return answerformat::measurement(channel(i).currentSet, "A");
}
QByteArray SimModule::formatVoltageBounds(int i) const
{
    return answerformat::measurement(channel(i).voltageBounds, "V");
}
QByteArray SimModule::formatCurrentBounds(int i) const
{
    return answerformat::measurement(channel(i).currentBounds, "A");
}
QByteArray SimModule::formatVoltageNominal(int i) const
{
    return answerformat::measurement(channel(i).voltageNominal, "V");
}
QByteArray SimModule::formatCurrentNominal(int i) const
{
    return answerformat::measurement(channel(i).currentNominal, "A");
}
QByteArray SimModule::formatVoltageMeasure(int i) const
{
    const SimChannel &ch = channel(i);
    return answerformat::measurement(
        voltageMeasure(i) + noise(std::abs(ch.voltageNominal) * 2e-5), "V");
}
QByteArray SimModule::formatCurrentMeasure(int i) const
{
    const SimChannel &ch = channel(i);
    return answerformat::measurement(currentMeasure(i) + noise(ch.currentNominal * 2e-5), "A");
}
QByteArray SimModule::formatStatus(int i) const
{
    return QByteArray::number(channel(i).status);
}
QByteArray SimModule::formatEventStatus(int i) const
{
    return QByteArray::number(channel(i).eventStatus);
}
QByteArray SimModule::formatEventMask(int i) const
{
    return QByteArray::number(channel(i).eventMask);
}
QByteArray SimModule::formatControl(int i) const
{
    return QByteArray::number(channel(i).control());
}
QByteArray SimModule::formatEpu(int i) const
{
    return channel(i).epu ? QByteArrayLiteral("YES") : QByteArrayLiteral("NO");
}

QByteArray SimModule::answerQuery(const ScpiCommand &cmd)
{
    using Format = QByteArray (SimModule::*)(int) const;
    static const QHash<QByteArray, Format> channelQueries = {
        { "READ:VOLT", &SimModule::formatVoltageSet },
        { "READ:CURR", &SimModule::formatCurrentSet },
        { "READ:VOLT:BOU", &SimModule::formatVoltageBounds },
        { "READ:CURR:BOU", &SimModule::formatCurrentBounds },
        { "READ:VOLT:NOM", &SimModule::formatVoltageNominal },
        { "READ:CURR:NOM", &SimModule::formatCurrentNominal },
        { "MEAS:VOLT", &SimModule::formatVoltageMeasure },
        { "MEAS:CURR", &SimModule::formatCurrentMeasure },
        { "READ:CHAN:STAT", &SimModule::formatStatus },
        { "READ:CHAN:EV:STAT", &SimModule::formatEventStatus },
        { "READ:CHAN:EV:MASK", &SimModule::formatEventMask },
        { "READ:CHAN:CONT", &SimModule::formatControl },
        { "SYS:USER:EPU", &SimModule::formatEpu },
        { "SYS:USER:READ:EPU", &SimModule::formatEpu },
    };
    const QByteArray &h = cmd.header;
    const auto perChannelQuery = channelQueries.constFind(h);
    if (perChannelQuery != channelQueries.constEnd())
        return perChannel(parseParameters(cmd.parameters, channelCount()), cmd, *perChannelQuery);

    if (h == "CONF:OUTP" && hasInputOutput()) {
        const Parameters p = parseParameters(cmd.parameters, 3);
        QList<int> outputs { 0, 1, 2 };
        if (!p.listValid || !p.values.isEmpty()) {
            inputError(cmd, badChannelList);
            return errorAnswer;
        }
        if (p.hasList)
            outputs = p.channels;
        QList<QByteArray> values;
        for (int o : outputs)
            values << QByteArray::number(m_outputs.at(size_t(o)));
        return values.join(',');
    }

    // Module queries take no parameters; any given are ignored, as the modules do.
    const char *rampUnitV = percentBased() ? "%/s" : "V/s";
    const char *rampUnitC = percentBased() ? "%/s" : "A/s";
    if (h == "*IDN")
        return m_identity.manufacturer.toLatin1() + ',' + m_identity.deviceName.toLatin1() + ','
            + QByteArray::number(m_identity.serialNumber) + ','
            + m_identity.firmwareRelease.toLatin1();
    if (h == "*OPC")
        return QByteArrayLiteral("1");
    if (h == "SYS:ERR")
        return m_errors.isEmpty() ? QByteArrayLiteral("0,\"No error\"") : m_errors.takeFirst();
    if (h == "READ:MOD:CHAN")
        return QByteArray::number(channelCount());
    if (h == "READ:FIRM:NAME")
        return m_identity.firmwareName.toLatin1();
    if (h == "READ:FIRM:REL")
        return m_identity.firmwareRelease.toLatin1();
    if (h == "READ:MOD:CONT")
        return QByteArray::number(m_control);
    if (h == "READ:MOD:STAT")
        return QByteArray::number(m_status);
    if (h == "READ:MOD:EV:STAT")
        return QByteArray::number(m_eventStatus);
    if (h == "READ:MOD:EV:MASK" || h == "CONF:EV:MASK")
        return QByteArray::number(m_eventMask);
    if (h == "READ:MOD:TEMP")
        return answerformat::temperature(temperature() + noise(0.05));
    if (h == "READ:MOD:SUP:P24V")
        return answerformat::measurement(supply(P24) + noise(0.01), "V");
    if (h == "READ:MOD:SUP:P5V")
        return answerformat::measurement(supply(P5) + noise(0.005), "V");
    if (h == "READ:MOD:SUP:P12V")
        return answerformat::measurement(supply(P12) + noise(0.01), "V");
    if (h == "READ:MOD:SUP:N12V")
        return answerformat::measurement(supply(N12) + noise(0.01), "V");
    if (h == "READ:RAMP:VOLT" || h == "CONF:RAMP:VOLT")
        return answerformat::ramp(m_voltageRamp, rampUnitV);
    if (h == "READ:RAMP:CURR" || h == "CONF:RAMP:CURR")
        return answerformat::ramp(m_currentRamp, rampUnitC);
    if (h == "READ:VOLT:LIM") {
        if (limitsInUnits())
            return answerformat::measurement(
                m_voltageLimit * std::abs(channel(0).voltageNominal) / 100.0, "V");
        return answerformat::percent(m_voltageLimit);
    }
    if (h == "READ:CURR:LIM") {
        if (limitsInUnits())
            return answerformat::measurement(
                m_currentLimit * channel(0).currentNominal / 100.0, "A");
        return answerformat::percent(m_currentLimit);
    }
    if (h == "CONF:AVER")
        return QByteArray::number(m_average);
    if (h == "CONF:INTER:MODE")
        return QByteArray::number(m_interfaceMode);
    if (h == "READ:MOD:STAT:INTERLOCK" && hasInputOutput())
        return QByteArray::number(m_interlock);
    if (hasEmission()) {
        if (h == "CONF:FILA:EMI:P")
            return answerformat::plain(m_emission[0]);
        if (h == "CONF:FILA:EMI:I")
            return answerformat::plain(m_emission[1]);
        if (h == "CONF:FILA:EMI:D")
            return answerformat::plain(m_emission[2]);
        if (h == "CONF:FILA:CURR:MIN")
            return answerformat::measurement(m_filamentMinimum, "A");
        if (h == "CONF:FILA:CURR:MAX")
            return answerformat::measurement(m_filamentMaximum, "A");
    }
    qCDebug(lcSim) << "unknown query" << cmd.text;
    inputError(cmd, undefinedHeader);
    return errorAnswer;
}

// --- set commands -----------------------------------------------------------------------------

bool SimModule::executeSet(const ScpiCommand &cmd)
{
    const QByteArray &h = cmd.header;
    if (h == "VOLT")
        return setVoltageCommand(cmd);
    if (h == "VOLT:BOU")
        return setChannelValue(cmd, &SimChannel::voltageBounds);
    if (h == "CURR")
        return setChannelValue(cmd, &SimChannel::currentSet);
    if (h == "CURR:BOU")
        return setChannelValue(cmd, &SimChannel::currentBounds);
    if (h == "CONF:CHAN:EV:MASK") {
        const Parameters p = parseParameters(cmd.parameters, channelCount());
        QList<int> channels;
        quint32 mask = 0;
        if (p.values.size() != 1 || !parseUnsigned(p.values.first(), &mask)) {
            inputError(cmd, illegalValue);
            return false;
        }
        if (!addressed(p, cmd, &channels))
            return false;
        for (int i : channels)
            m_channels[size_t(i)].eventMask = mask;
        return true;
    }
    if (h == "EV") {
        const Parameters p = parseParameters(cmd.parameters, channelCount());
        QList<int> channels;
        if (p.values.size() != 1 || p.values.first().toUpper() != "CLEAR") {
            inputError(cmd, illegalValue);
            return false;
        }
        if (!addressed(p, cmd, &channels))
            return false;
        for (int i : channels)
            clearChannelEvents(i);
        return true;
    }
    if (h == "*CLS") {
        clearAll();
        return true;
    }
    if (h == "SYS:USER:CONFIG") {
        if (cmd.parameters.toUpper() != "SAVE") {
            inputError(cmd, illegalValue);
            return false;
        }
        ++m_configSaves;
        qCDebug(lcSim) << "configuration saved";
        return true;
    }
    if (h == "CONF:HVDRSB") {
        if (cmd.parameters.toUpper() != "HV_OK") {
            inputError(cmd, illegalValue);
            return false;
        }
        m_hvOk = true;
        return true;
    }
    return setModuleValue(cmd);
}

bool SimModule::setVoltageCommand(const ScpiCommand &cmd)
{
    const Parameters p = parseParameters(cmd.parameters, channelCount());
    if (p.values.size() != 1) {
        inputError(cmd, p.values.isEmpty() ? missingParameter : illegalValue);
        return false;
    }
    const QByteArray word = p.values.first().simplified().toUpper();
    if (word == "ON" || word == "OFF" || word == "EMCY OFF" || word == "EMCY CLR") {
        QList<int> channels;
        if (!addressed(p, cmd, &channels))
            return false;
        for (int i : channels) {
            SimChannel &ch = m_channels[size_t(i)];
            if (word == "ON") {
                ch.on = true;
                ch.tripped = false; // switching on again is how a trip is acknowledged
            } else if (word == "OFF") {
                ch.on = false;
            } else if (word == "EMCY OFF") {
                // The on request stays as it is; the output is cut until the emergency is
                // cleared, as the two independent control bits say.
                ch.emergency = true;
                ch.voltageOutput = 0.0;
            } else {
                ch.emergency = false;
            }
        }
        step(0.0);
        return true;
    }
    return setChannelValue(cmd, &SimChannel::voltageSet);
}

bool SimModule::setChannelValue(const ScpiCommand &cmd, double SimChannel::*field)
{
    const Parameters p = parseParameters(cmd.parameters, channelCount());
    double value = 0.0;
    if (p.values.size() != 1 || !parseNumber(p.values.first(), &value)) {
        inputError(cmd, p.values.isEmpty() ? missingParameter : illegalValue);
        return false;
    }
    QList<int> channels;
    if (!addressed(p, cmd, &channels))
        return false;
    const bool voltage = field == &SimChannel::voltageSet || field == &SimChannel::voltageBounds;
    bool ok = true;
    for (int i : channels) {
        SimChannel &ch = m_channels[size_t(i)];
        const double nominal = voltage ? std::abs(ch.voltageNominal) : ch.currentNominal;
        double low = 0.0;
        double high = nominal;
        if (field == &SimChannel::voltageSet && (ch.epu || ch.voltageNominal < 0.0))
            low = -nominal;
        if (field == &SimChannel::voltageSet && !ch.epu && ch.voltageNominal < 0.0)
            high = 0.0;
        // Values outside the channel's range are refused; the read-back shows the old value.
        if (value < low - nominal * 1e-9 || value > high + nominal * 1e-9) {
            ch.inputError = true;
            ok = false;
            continue;
        }
        ch.*field = value;
    }
    if (!ok) {
        qCDebug(lcSim) << "value out of range" << cmd.text;
        inputError(cmd, outOfRange);
    }
    step(0.0);
    return ok;
}

bool SimModule::setModuleValue(const ScpiCommand &cmd)
{
    const QByteArray &h = cmd.header;
    const QByteArray value = cmd.parameters.trimmed();
    double number = 0.0;
    quint32 whole = 0;
    bool on = false;
    auto fail = [this, &cmd](const char *what) {
        inputError(cmd, what);
        return false;
    };

    if (h == "CONF:RAMP:VOLT" || h == "CONF:RAMP:CURR") {
        if (!parseNumber(value, &number) || number < 0.0)
            return fail(illegalValue);
        (h == "CONF:RAMP:VOLT" ? m_voltageRamp : m_currentRamp) = number;
        return true;
    }
    if (h == "CONF:EV") {
        if (value.toUpper() != "CLEAR")
            return fail(illegalValue);
        m_eventStatus = 0;
        return true;
    }
    if (h == "CONF:EV:MASK") {
        if (!parseUnsigned(value, &whole) || whole > 0xFFFF)
            return fail(illegalValue);
        m_eventMask = quint16(whole);
        return true;
    }
    if (h == "CONF:ADJ" || h == "CONF:KILL") {
        if (!parseSwitch(value, &on))
            return fail(illegalValue);
        const quint16 bit = h == "CONF:ADJ" ? modulecontrol::SetAdjust : modulecontrol::SetKill;
        m_control = on ? quint16(m_control | bit) : quint16(m_control & ~bit);
        return true;
    }
    if (h == "CONF:AVER") {
        if (!parseUnsigned(value, &whole))
            return fail(illegalValue);
        if (!QList<quint32> { 1, 16, 64, 256, 512, 1024 }.contains(whole))
            return fail(outOfRange);
        m_average = int(whole);
        return true;
    }
    if (h == "CONF:INTER:MODE") {
        if (!parseUnsigned(value, &whole))
            return fail(illegalValue);
        if (whole > 1)
            return fail(outOfRange);
        m_interfaceMode = int(whole);
        return true;
    }
    if (h == "CONF:OUTP" && hasInputOutput()) {
        const Parameters p = parseParameters(value, 3);
        if (p.values.size() != 1 || !parseUnsigned(p.values.first(), &whole))
            return fail(illegalValue);
        if (!p.listValid)
            return fail(badChannelList);
        const QList<int> outputs = p.hasList ? p.channels : QList<int> { 0, 1, 2 };
        for (int o : outputs) {
            if (whole > (o == DigitalOutput ? 7u : 3u))
                return fail(outOfRange);
        }
        for (int o : outputs)
            m_outputs[size_t(o)] = int(whole);
        return true;
    }
    if (hasEmission()) {
        double *target = nullptr;
        if (h == "CONF:FILA:EMI:P")
            target = &m_emission[0];
        else if (h == "CONF:FILA:EMI:I")
            target = &m_emission[1];
        else if (h == "CONF:FILA:EMI:D")
            target = &m_emission[2];
        else if (h == "CONF:FILA:CURR:MIN")
            target = &m_filamentMinimum;
        else if (h == "CONF:FILA:CURR:MAX")
            target = &m_filamentMaximum;
        if (target) {
            if (!parseNumber(value, &number) || number < 0.0)
                return fail(illegalValue);
            *target = number;
            return true;
        }
    }
    qCDebug(lcSim) << "unknown command" << cmd.text;
    return fail(undefinedHeader);
}

} // namespace vornsim
