// What every answer brings: the safety rules, the ramp reaching its target, the hold, the
// ramp-down, and the estimate of the time left.
#include "sequencerunner.h"

#include "czelkchannelstatusbits.h"
#include "modulesession.h"
#include "scpi_parser.h"

#include <cmath>

namespace {
constexpr quint16 StatusOn = CZelkChannelStatusBits::On;
constexpr quint16 StatusRamp = CZelkChannelStatusBits::Ramp;
constexpr qint64 SampleEveryMs = 100;

/// Least-squares slope of \a values over \a times (ms), in units per minute.
double slopePerMinute(const QList<QPair<qint64, QList<double>>> &samples, int channel)
{
    double meanT = 0;
    double meanV = 0;
    for (const auto &[t, values] : samples) {
        meanT += double(t);
        meanV += values.at(channel);
    }
    meanT /= samples.size();
    meanV /= samples.size();
    double num = 0;
    double den = 0;
    for (const auto &[t, values] : samples) {
        num += (double(t) - meanT) * (values.at(channel) - meanV);
        den += (double(t) - meanT) * (double(t) - meanT);
    }
    return den > 0 ? num / den * 60000.0 : 0.0;
}

/// A set value the module reports back equals the one sent within the 6 significant digits
/// the command carries.
bool sameSetValue(double reported, double sent)
{
    return std::abs(reported - sent) <= 1e-3 + std::abs(sent) * 2e-5;
}

QString actionDescription(SafetyAction action)
{
    switch (action) {
    case SafetyAction::Hold:
        return SequenceRunner::tr("holding at the present voltages, the sequence is paused");
    case SafetyAction::RampDown:
        return SequenceRunner::tr("ramping down, then off");
    case SafetyAction::Off:
        break;
    }
    return SequenceRunner::tr("switching off");
}
} // namespace

void SequenceRunner::onAnswer()
{
    if (!isActive() || m_linkLost || !link() || m_words.size() != m_channels.size())
        return;
    if (m_phase == Phase::SwitchingOff) {
        checkSwitchedOff();
        return;
    }
    if (checkSafety())
        return;
    if (m_state == State::Running && m_phase == Phase::Ramping)
        advanceRamp();
    else if (m_state == State::Running && m_phase == Phase::Holding)
        advanceHold();
    else if (m_state == State::Stopping)
        checkRampDown();
    emitProgress(false);
}

bool SequenceRunner::checkSafety()
{
    const Module &m = link()->module();
    QStringList found;
    std::optional<SafetyAction> strongest;
    const auto report = [&](SafetyCondition condition, const QString &what) {
        const SafetyRule &rule = m_sequence.rule(condition);
        if (!rule.enabled) {
            info(tr("%1 at %2: not watched by this sequence").arg(what, where()));
            return;
        }
        found << what;
        if (!strongest || int(rule.action) > int(*strongest))
            strongest = rule.action;
    };
    const SafetyRule &current = m_sequence.rule(SafetyCondition::CurrentAbove);
    const SafetyRule &arcs = m_sequence.rule(SafetyCondition::Arcs);
    const qint64 now = m_clock.elapsed();
    for (int i = 0; i < m_channels.size(); ++i) {
        const int c = m_channels.at(i);
        const Channel &channel = m.channel(c);
        const StatusWords words { channel.status(), channel.eventStatus() };
        const ChannelFindings findings = channelFindings(m_words.at(i), words);
        // Only the start switches channels on: one that went off did so by someone else's hand
        // (an off, a trip, an interlock), and the sequence must not carry on with it.
        const bool foundOff = m_state != State::Stopping && (m_words.at(i).status & StatusOn)
            && !(words.status & StatusOn);
        m_words[i] = words;
        if (foundOff) {
            found << tr("channel %1 was switched off, not by the sequence").arg(c);
            if (!strongest || int(m_sequence.abortAction) > int(*strongest))
                strongest = m_sequence.abortAction;
        }
        for (SafetyCondition condition : findings.conditions)
            report(condition, tr("%1 on channel %2").arg(safetyConditionText(condition)).arg(c));
        if (findings.arc && arcs.enabled) {
            m_arcTimes.append(now);
            while (!m_arcTimes.isEmpty() && m_arcTimes.first() < now - qint64(arcs.minutes * 60000))
                m_arcTimes.removeFirst();
            if (m_arcTimes.size() >= arcs.count) {
                m_arcTimes.clear();
                report(SafetyCondition::Arcs,
                    tr("%n arcs within %L1 min, the last on channel %2", nullptr, arcs.count)
                        .arg(arcs.minutes)
                        .arg(c));
            }
        }
        const bool over = current.enabled && std::abs(channel.currentMeasure()) > current.limit;
        if (over && !m_overLimit.at(i))
            report(SafetyCondition::CurrentAbove,
                tr("current of channel %1 above %2 (%3)")
                    .arg(c)
                    .arg(
                        milliampereText(current.limit), milliampereText(channel.currentMeasure())));
        m_overLimit[i] = over;
    }
    const StatusWords moduleWords { m.status(), m.eventStatus() };
    if (safetyLoopOpened(m_moduleWords, moduleWords))
        report(SafetyCondition::SafetyLoop, safetyConditionText(SafetyCondition::SafetyLoop));
    m_moduleWords = moduleWords;
    const double timeout = m_sequence.steps.at(m_step).timeoutSeconds;
    if (m_state == State::Running && !m_timedOut && timeout > 0
        && stepActiveMs() > timeout * 1000) {
        m_timedOut = true;
        report(SafetyCondition::StepTimeout,
            tr("step %1 did not end within %2")
                .arg(m_step + 1)
                .arg(durationText(qint64(timeout * 1000))));
    }
    if (!strongest)
        return false;
    const QString why = found.join(QStringLiteral(", "));
    if (m_state == State::Stopping) {
        if (*strongest != SafetyAction::Off || m_phase != Phase::RampingDown) {
            alarm(tr("%1 during the ramp-down").arg(why));
            return false;
        }
        alarm(tr("%1 during the ramp-down: switching off").arg(why));
        m_reason = why;
        applyAction(SafetyAction::Off, why);
        return true;
    }
    alarm(tr("%1 at %2: %3").arg(why, where(), actionDescription(*strongest)));
    applyAction(*strongest, why);
    return true;
}

void SequenceRunner::applyExternal(SafetyAction action, const QString &why)
{
    if (!isActive())
        return;
    if (m_state == State::Stopping
        && (action != SafetyAction::Off || m_phase != Phase::RampingDown)) {
        alarm(tr("%1 during the ramp-down").arg(why));
        return;
    }
    if (m_state == State::Paused && action == SafetyAction::Hold) {
        alarm(tr("%1 at %2: the sequence stays paused").arg(why, where()));
        m_reason = why;
        emitProgress(true);
        return;
    }
    alarm(tr("%1 at %2: %3").arg(why, where(), actionDescription(action)));
    applyAction(action, why);
}

void SequenceRunner::advanceRamp()
{
    SCPI_Parser *l = link();
    const Module &m = l->module();
    const SequenceStep &step = m_sequence.steps.at(m_step);
    bool reached = true;
    for (int i = 0; i < m_channels.size(); ++i) {
        const Channel &channel = m.channel(m_channels.at(i));
        const double target = m_targets.at(i);
        if (!sameSetValue(channel.voltageSet(), target)) {
            if (l->queuedCommandCount() == 0
                && m_session->answerCount() - m_issuedAt > quint64(RefusalAnswers)) {
                const QString why = tr("channel %1 did not take %L2 V (it keeps %L3 V)")
                                        .arg(m_channels.at(i))
                                        .arg(target, 0, 'g', 6)
                                        .arg(channel.voltageSet(), 0, 'g', 6);
                alarm(tr("%1 at %2: %3").arg(why, where(), actionDescription(SafetyAction::Hold)));
                applyAction(SafetyAction::Hold, why);
            }
            return;
        }
        if (std::abs(channel.voltageMeasure() - target) > step.tolerance
            || (channel.status() & StatusRamp) || !(channel.status() & StatusOn))
            reached = false;
    }
    if (!reached)
        return;
    info(tr("Step %1 of %2: %3 reached after %4")
             .arg(m_step + 1)
             .arg(stepCount())
             .arg(targetText(step, m_targets.first()), durationText(stepActiveMs())));
    setPhase(Phase::Holding);
}

void SequenceRunner::advanceHold()
{
    const SequenceStep &step = m_sequence.steps.at(m_step);
    const qint64 now = m_clock.elapsed();
    if (step.untilStable
        && (m_samples.isEmpty() || now - m_samples.last().first >= SampleEveryMs)) {
        QList<double> currents;
        for (int c : m_channels)
            currents.append(link()->module().channel(c).currentMeasure());
        if (m_samples.isEmpty())
            m_samplesStart = now;
        m_samples.append({ now, currents });
        const qint64 window = qint64(step.windowSeconds * 1000);
        while (!m_samples.isEmpty() && m_samples.first().first < now - window)
            m_samples.removeFirst();
    }
    if (heldMs() < qint64(step.holdSeconds * 1000))
        return;
    double change = 0;
    if (step.untilStable && !stable(&change))
        return;
    const QString held = tr("Step %1 of %2: held %3 at %4")
                             .arg(m_step + 1)
                             .arg(stepCount())
                             .arg(durationText(heldMs()), targetText(step, m_targets.first()));
    info(step.untilStable
            ? tr("%1; current stable (changing %2)")
                  .arg(held, QStringLiteral("%L1 \u00b5A/min").arg(change * 1e6, 0, 'f', 3))
            : held);
    nextStep();
}

bool SequenceRunner::stable(double *change) const
{
    const SequenceStep &step = m_sequence.steps.at(m_step);
    const qint64 now = m_clock.elapsed();
    if (m_samples.size() < 3 || now - m_samplesStart < qint64(step.windowSeconds * 1000))
        return false;
    const Module &m = link()->module();
    double worst = 0;
    for (int i = 0; i < m_channels.size(); ++i) {
        if (std::abs(m.channel(m_channels.at(i)).voltageMeasure() - m_targets.at(i))
            > step.tolerance)
            return false;
        worst = qMax(worst, std::abs(slopePerMinute(m_samples, i)));
    }
    *change = worst;
    return worst <= step.currentChange;
}

void SequenceRunner::checkRampDown()
{
    SCPI_Parser *l = link();
    if (m_phase != Phase::RampingDown)
        return;
    bool done = true;
    for (int c : m_channels) {
        const Channel &channel = l->module().channel(c);
        if (!(channel.status() & StatusOn))
            continue;
        const double rest = qMax(1.0, std::abs(channel.voltageNominal()) * 0.002);
        if (!sameSetValue(channel.voltageSet(), 0) || std::abs(channel.voltageMeasure()) > rest
            || (channel.status() & StatusRamp))
            done = false;
    }
    if (!done && m_clock.elapsed() - m_rampDownStart < m_rampDownLimitMs)
        return;
    if (!done)
        alarm(tr("The ramp-down did not end within %1: switching off")
                  .arg(durationText(m_rampDownLimitMs)));
    endAsAborted(tr("Sequence aborted at %1: %2 ramped down and off")
                     .arg(tr("step %1 of %2").arg(m_step + 1).arg(stepCount()),
                         channelsText(m_channels, allChannels())));
}

void SequenceRunner::checkSwitchedOff()
{
    SCPI_Parser *l = link();
    if (channelsOff() == channelListText(m_channels)) {
        finish(State::Aborted, m_offText, true);
        return;
    }
    if (l->queuedCommandCount() > 0 || m_session->answerCount() - m_issuedAt <= quint64(OffAnswers))
        return;
    alarm(tr("%1 do not report off %L2 answers after the switch-off")
              .arg(channelsText(m_channels, allChannels()))
              .arg(OffAnswers));
    finish(State::Aborted, m_offText, true);
}

qint64 SequenceRunner::remainingMs() const
{
    if (!isActive())
        return -1;
    if (m_state == State::Stopping)
        return -1;
    const double present = presentRampVps();
    const auto rampMs = [present](const SequenceStep &step, double from, double to) {
        const double speed = step.rampSpeed > 0 ? step.rampSpeed : present;
        return speed > 0 ? qint64(std::abs(to - from) / speed * 1000) : 0;
    };
    const auto holdMs = [](const SequenceStep &step) {
        return qint64(qMax(step.holdSeconds, step.untilStable ? step.windowSeconds : 0.0) * 1000);
    };
    SCPI_Parser *l = link();
    const double nominal
        = l ? std::abs(l->module().channel(m_channels.value(0)).voltageNominal()) : 0.0;
    const auto volts = [nominal](const SequenceStep &step) {
        return step.percent ? nominal * step.voltage / 100 : step.voltage;
    };
    const SequenceStep &step = m_sequence.steps.at(m_step);
    qint64 left = 0;
    if (m_phase == Phase::Ramping && l) {
        const double measured = l->module().channel(m_channels.value(0)).voltageMeasure();
        left += rampMs(step, measured, volts(step)) + holdMs(step);
    } else {
        left += qMax<qint64>(0, holdMs(step) - heldMs());
    }
    for (int s = m_step + 1; s < stepCount(); ++s) {
        const SequenceStep &next = m_sequence.steps.at(s);
        left += rampMs(next, volts(m_sequence.steps.at(s - 1)), volts(next)) + holdMs(next);
    }
    return left;
}
