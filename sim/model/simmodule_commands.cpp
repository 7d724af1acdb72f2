// The dialect side of SimModule, set commands: checking values and changing the module.
#include "model/simmodule.h"

#include "dialect/channellist.h"
#include "dialect/scpicommand.h"
#include "dialect/scpierrors.h"
#include "dialect/valueparse.h"
#include "model/family.h"
#include "simlog.h"

#include <cmath>

namespace vornsim {

using namespace scpierrors;

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
                ch.switchOn();
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
        const bool voltage = h == "CONF:RAMP:VOLT";
        if (!parseNumber(value, &number) || number < 0.0)
            return fail(illegalValue);
        // At most the whole range per second: 100 %/s, or the nominal value per second.
        const double maximum = percentBased() ? 100.0
            : voltage                         ? std::abs(channel(0).voltageNominal)
                                              : channel(0).currentNominal;
        if (number > maximum * (1.0 + 1e-9)) {
            qCDebug(lcSim) << "ramp out of range" << cmd.text;
            return fail(outOfRange);
        }
        (voltage ? m_voltageRamp : m_currentRamp) = number;
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
