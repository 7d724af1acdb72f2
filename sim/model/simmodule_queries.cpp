// The dialect side of SimModule, queries: taking a request line apart and answering queries.
#include "model/simmodule.h"

#include "dialect/answerformat.h"
#include "dialect/channellist.h"
#include "dialect/scpicommand.h"
#include "dialect/scpierrors.h"
#include "model/family.h"
#include "simlog.h"

#include <QHash>

#include <cmath>

namespace vornsim {

using namespace scpierrors;

QByteArray SimModule::handleLine(const QByteArray &line)
{
    syncClock();
    if (!m_answering)
        return {};
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
        // A command may bring a condition to act at once (kill enable on an over-current).
        step(0.0);
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
    if (!m_voltageNominalAnswer.isEmpty())
        return m_voltageNominalAnswer + 'V';
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

} // namespace vornsim
