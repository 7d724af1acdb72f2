// The runner's actions: hold, ramp down, switch off, and the commands they send through the
// module's controller.
#include "sequencerunner.h"

#include "czelkchannelstatusbits.h"
#include "modulesession.h"
#include "scpi_parser.h"

#include <cmath>

namespace {
constexpr quint16 ControlOn = CZelkChannelStatusBits::SetOn;
using Kind = ChannelCommand::Kind;
} // namespace

void SequenceRunner::applyAction(SafetyAction action, const QString &why)
{
    if (!why.isEmpty())
        m_reason = why;
    if (m_linkLost) {
        // The commands leave once the module answers again.
        m_afterLoss = action;
        setState(action == SafetyAction::Hold ? State::Paused : State::Stopping);
        emitProgress(true);
        return;
    }
    switch (action) {
    case SafetyAction::Hold:
        holdHere();
        setState(State::Paused);
        emitProgress(true);
        return;
    case SafetyAction::RampDown:
        startRampDown();
        return;
    case SafetyAction::Off:
        endAsAborted(tr("Sequence aborted: %1 off").arg(channelsText(m_channels, allChannels())));
        return;
    }
}

void SequenceRunner::holdHere()
{
    SCPI_Parser *l = link();
    if (!l)
        return;
    m_stepAccumMs = stepActiveMs();
    m_stepRun.invalidate();
    m_holdAccumMs = heldMs();
    m_holdRun.invalidate();
    for (int c : m_channels) {
        const Channel &channel = l->module().channel(c);
        // A channel that is off stays at its set value; one that is on stops where it is.
        if (channel.control() & ControlOn)
            send({ Kind::Voltage, c, channel.voltageMeasure() });
    }
    sendNow();
}

void SequenceRunner::startRampDown()
{
    SCPI_Parser *l = link();
    m_stepRun.invalidate();
    m_holdRun.invalidate();
    setState(State::Stopping);
    setPhase(Phase::RampingDown);
    if (!l)
        return;
    const double speed = m_sequence.rampDownSpeed > 0 ? m_sequence.rampDownSpeed : presentRampVps();
    if (m_sequence.rampDownSpeed > 0)
        send({ Kind::VoltageRamp, 0, float(rampValue(m_sequence.rampDownSpeed)) });
    double highest = 0;
    for (int c : m_channels)
        highest = qMax(highest, double(std::abs(l->module().channel(c).voltageMeasure())));
    if (allChannels())
        send({ Kind::Voltage, l->module().channelCount(), 0.0f });
    else
        for (int c : m_channels)
            send({ Kind::Voltage, c, 0.0f });
    sendNow();
    m_issuedAt = m_session->answerCount();
    m_rampDownStart = m_clock.elapsed();
    // A ramp-down that does not end in twice its time (and half a minute) is cut short.
    m_rampDownLimitMs = qint64((speed > 0 ? highest / speed * 2000 : 0) + 30000);
    info(tr("Ramping down %1 from %L2 V%3")
             .arg(channelsText(m_channels, allChannels()))
             .arg(highest, 0, 'f', 0)
             .arg(speed > 0 ? tr(" at %L1 V/s").arg(speed, 0, 'g', 6) : QString()));
    emitProgress(true);
}

void SequenceRunner::switchOff()
{
    SCPI_Parser *l = link();
    if (!l)
        return;
    if (allChannels())
        send({ Kind::On, l->module().channelCount(), 0.0f, false });
    else
        for (int c : m_channels)
            send({ Kind::On, c, 0.0f, false });
    sendNow();
}

void SequenceRunner::endAsAborted(const QString &text)
{
    if (!link()) {
        finish(State::Aborted, text, true);
        return;
    }
    switchOff();
    // Aborted once the module reports the channels off (checkSwitchedOff()).
    m_offText = text;
    m_stepRun.invalidate();
    m_holdRun.invalidate();
    m_issuedAt = m_session->answerCount();
    setState(State::Stopping);
    setPhase(Phase::SwitchingOff);
    emitProgress(true);
}

bool SequenceRunner::send(const ChannelCommand &command)
{
    SCPI_Parser *l = link();
    if (!l)
        return false;
    if (!m_sender) {
        command.apply(*l);
        return true;
    }
    const QString why = m_sender(command);
    if (why.isEmpty())
        return true;
    alarm(tr("%1 refused: %2").arg(command.describe(l->module().channelCount()), why));
    return false;
}

QString SequenceRunner::channelsOff() const
{
    SCPI_Parser *l = link();
    if (!l)
        return QString();
    QList<int> off;
    for (int c : m_channels)
        if (!(l->module().channel(c).status() & CZelkChannelStatusBits::On))
            off.append(c);
    return off.isEmpty() ? QString() : channelListText(off);
}

void SequenceRunner::switchedOffByOthers(const QString &what)
{
    // A sequence on its way down or off goes on as it is.
    if (!isActive() || m_state == State::Stopping)
        return;
    const SafetyAction action = m_sequence.abortAction;
    m_reason = tr("%1, not by the sequence").arg(what);
    alarm(tr("%1 at %2: %3").arg(m_reason, where(), safetyActionText(action)));
    applyAction(action, m_reason);
}

void SequenceRunner::sendNow()
{
    // A session that pauses between polling cycles would hold the commands until the next one.
    if (m_session)
        m_session->releaseCycle();
}
