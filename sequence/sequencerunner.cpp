// The runner's control: starting, the operator's commands, the steps and the link.
#include "sequencerunner.h"

#include "czelkchannelstatusbits.h"
#include "linkreason.h"
#include "modulesession.h"
#include "scpi_parser.h"
#include "sequencecheck.h"
#include "sequencejournal.h"

#include <algorithm>
#include <cmath>

Q_LOGGING_CATEGORY(lcSequence, "vorn.sequence", QtInfoMsg)

namespace {
using Kind = ChannelCommand::Kind;
constexpr int ProgressEveryMs = 250;
} // namespace

SequenceRunner::SequenceRunner(ModuleSession *session, QObject *parent)
    : QObject(parent)
    , m_session(session)
{
    connect(session, &ModuleSession::answerProcessed, this, &SequenceRunner::onAnswer);
    connect(session, &ModuleSession::offline, this, &SequenceRunner::onOffline);
    connect(session, &ModuleSession::online, this, &SequenceRunner::onOnline);
    // The elapsed and remaining times move on while no answer comes.
    m_tick.setInterval(1000);
    connect(&m_tick, &QTimer::timeout, this, [this] { emitProgress(true); });
}

SequenceRunner::~SequenceRunner()
{
    if (isActive())
        abandon(tr("the sequence runner was closed"));
}

bool SequenceRunner::isActive() const
{
    return m_state == State::Running || m_state == State::Paused || m_state == State::Stopping;
}

SCPI_Parser *SequenceRunner::link() const
{
    return m_session && m_session->isOnline() ? m_session->link() : nullptr;
}

QString SequenceRunner::checkChannels(const Sequence &sequence, QList<int> *channels) const
{
    if (!link())
        return tr("no module is connected");
    return checkSequenceOnModule(sequence, link()->module(), channels);
}

bool SequenceRunner::start(const Sequence &sequence, QString *error)
{
    QList<int> channels;
    const QString problem = isActive() ? tr("a sequence is running")
        : sequence.steps.isEmpty()     ? tr("the sequence has no steps")
                                       : checkChannels(sequence, &channels);
    if (!problem.isEmpty()) {
        if (error)
            *error = problem;
        return false;
    }
    m_sequence = sequence;
    m_channels = channels;
    m_reason.clear();
    m_byOperator = false;
    m_linkLost = false;
    m_afterLoss.reset();
    m_arcTimes.clear();
    m_overLimit = QList<bool>(m_channels.size(), false);
    m_clock.start();
    takeBaseline();
    m_state = State::Running;
    info(tr("Sequence \"%1\" started %2")
             .arg(m_sequence.name.isEmpty() ? tr("unnamed") : m_sequence.name,
                 onChannelsText(m_channels, allChannels())));
    m_tick.start();
    emit stateChanged(m_state);
    beginStep(0, false);
    return true;
}

double SequenceRunner::target(int channel) const
{
    const int i = m_channels.indexOf(channel);
    return i >= 0 && i < m_targets.size() ? m_targets.at(i) : 0.0;
}

bool SequenceRunner::allChannels() const
{
    SCPI_Parser *l = link();
    return l && m_channels.size() == l->module().channelCount() && m_channels.size() > 1;
}

double SequenceRunner::presentRampVps() const
{
    SCPI_Parser *l = link();
    if (!l)
        return 0;
    const Module &m = l->module();
    return m.isPercentBased()
        ? m.voltageRamp() * std::abs(m.channel(m_channels.value(0)).voltageNominal()) / 100
        : m.voltageRamp();
}

double SequenceRunner::rampValue(double voltsPerSecond) const
{
    const Module &m = link()->module();
    if (!m.isPercentBased())
        return voltsPerSecond;
    const double nominal = std::abs(m.channel(m_channels.value(0)).voltageNominal());
    return nominal > 0 ? voltsPerSecond * 100 / nominal : voltsPerSecond;
}

void SequenceRunner::beginStep(int index, bool again)
{
    SCPI_Parser *l = link();
    m_step = index;
    const SequenceStep &step = m_sequence.steps.at(index);
    if (!again) {
        m_stepAccumMs = 0;
        m_holdAccumMs = 0;
        m_timedOut = false;
    }
    m_stepRun.start();
    m_holdRun.invalidate();
    m_samples.clear();
    m_targets.clear();
    if (!l)
        return;
    const Module &module = l->module();
    for (int c : m_channels)
        m_targets.append(step.percent
                ? std::abs(module.channel(c).voltageNominal()) * step.voltage / 100
                : step.voltage);
    bool taken = true;
    if (step.rampSpeed > 0)
        taken = send({ Kind::VoltageRamp, 0, float(rampValue(step.rampSpeed)) });
    const bool all = allChannels();
    const int count = module.channelCount();
    const bool sameTarget = std::all_of(
        m_targets.begin(), m_targets.end(), [this](double t) { return t == m_targets.first(); });
    if (step.current >= 0) {
        if (all)
            taken = send({ Kind::Current, count, float(step.current) }) && taken;
        else
            for (int c : m_channels)
                taken = send({ Kind::Current, c, float(step.current) }) && taken;
    }
    if (all && sameTarget)
        taken = send({ Kind::Voltage, count, float(m_targets.first()) }) && taken;
    else
        for (int i = 0; i < m_channels.size(); ++i)
            taken = send({ Kind::Voltage, m_channels.at(i), float(m_targets.at(i)) }) && taken;
    // Only the start switches channels on; later a channel found off ends the sequence.
    if (index == 0 && !again) {
        if (all)
            taken = send({ Kind::On, count, 0.0f, true }) && taken;
        else
            for (int c : m_channels)
                taken = send({ Kind::On, c, 0.0f, true }) && taken;
    }
    sendNow();
    m_issuedAt = m_session->answerCount();
    setPhase(Phase::Ramping);
    info(
        tr("Step %1 of %2: ramping to %3%4")
            .arg(index + 1)
            .arg(stepCount())
            .arg(targetText(step, m_targets.first()),
                step.rampSpeed > 0 ? tr(" at %L1 V/s").arg(step.rampSpeed, 0, 'g', 6) : QString()));
    emitProgress(true);
    if (!taken)
        switchedOffByOthers(tr("a command of the step was refused"));
}

void SequenceRunner::nextStep()
{
    if (m_step + 1 < stepCount()) {
        beginStep(m_step + 1, false);
        return;
    }
    finish(State::Finished,
        tr("Sequence \"%1\" finished after %2").arg(m_sequence.name, durationText(elapsedMs())),
        false);
}

void SequenceRunner::pause()
{
    if (m_state != State::Running)
        return;
    info(tr("Paused by the operator at %1").arg(where()));
    m_reason = tr("paused by the operator");
    applyAction(SafetyAction::Hold, QString());
}

bool SequenceRunner::resume(QString *error)
{
    QList<int> channels;
    if (m_state != State::Paused)
        return false;
    QString problem = checkChannels(m_sequence, &channels);
    if (problem.isEmpty() && !channelsOff().isEmpty())
        problem = tr("channels %1 are off; the sequence does not switch them on again")
                      .arg(channelsOff());
    if (!problem.isEmpty()) {
        if (error)
            *error = problem;
        return false;
    }
    m_reason.clear();
    info(tr("Resumed at step %1 of %2").arg(m_step + 1).arg(stepCount()));
    takeBaseline();
    setState(State::Running);
    beginStep(m_step, true);
    return true;
}

void SequenceRunner::abort()
{
    if (!isActive())
        return;
    // The operator knows: the abort and its end are info entries, not alarms.
    m_byOperator = true;
    if (m_state == State::Stopping && m_phase == Phase::RampingDown) {
        info(tr("Aborted by the operator during the ramp-down: the channels are switched off"));
        endAsAborted(tr("Sequence aborted: %1 off").arg(channelsText(m_channels, allChannels())));
        return;
    }
    m_reason = tr("aborted by the operator");
    info(tr("Aborted by the operator at %1: %2")
              .arg(where(), safetyActionText(m_sequence.abortAction)));
    if (m_sequence.abortAction == SafetyAction::Hold) {
        if (link())
            holdHere();
        finish(State::Aborted, tr("Sequence aborted: the channels stay at their present voltages"),
            true);
        return;
    }
    applyAction(m_sequence.abortAction, m_reason);
}

void SequenceRunner::skipStep()
{
    // The next step's commands need the module.
    if ((m_state != State::Running && m_state != State::Paused) || !link() || m_linkLost)
        return;
    setState(State::Running);
    info(tr("Step %1 of %2 skipped by the operator").arg(m_step + 1).arg(stepCount()));
    nextStep();
}

void SequenceRunner::abandon(const QString &reason)
{
    if (!isActive())
        return;
    m_reason = reason;
    finish(State::Aborted,
        tr("Sequence ended at %1: %2; the module keeps its present set values")
            .arg(where(), reason),
        true);
}

void SequenceRunner::finish(State state, const QString &text, bool isAlarm)
{
    m_tick.stop();
    m_afterLoss.reset();
    m_stepAccumMs = stepActiveMs();
    m_stepRun.invalidate();
    m_holdRun.invalidate();
    if (isAlarm && !(state == State::Aborted && m_byOperator))
        alarm(text);
    else
        info(text);
    setPhase(Phase::None);
    setState(state);
    emitProgress(true);
}

void SequenceRunner::setState(State state)
{
    if (m_state == state)
        return;
    m_state = state;
    emit stateChanged(state);
}

void SequenceRunner::setPhase(Phase phase)
{
    if (m_phase == phase)
        return;
    if (phase == Phase::Holding)
        m_holdRun.start();
    m_phase = phase;
    emitProgress(true);
}

void SequenceRunner::onOffline(const QString &reason)
{
    if (!isActive() || m_linkLost)
        return;
    m_linkLost = true;
    m_stepAccumMs = stepActiveMs();
    m_stepRun.invalidate();
    m_holdAccumMs = heldMs();
    m_holdRun.invalidate();
    const SafetyRule &rule = m_sequence.rule(SafetyCondition::LinkLost);
    const QString lost
        = tr("Link lost at %1 (%2)").arg(where(), LinkReason::describe(reason, true));
    if (m_state == State::Stopping) {
        // The ramp-down or the switching off is sent again once the module answers.
        m_afterLoss = m_phase == Phase::RampingDown ? SafetyAction::RampDown : SafetyAction::Off;
        alarm(
            tr("%1: the channels are brought down as soon as the module answers again").arg(lost));
    } else if (m_state == State::Paused) {
        alarm(tr("%1: the sequence stays paused").arg(lost));
    } else if (!rule.enabled) {
        alarm(tr("%1: the step is sent again as soon as the module answers again").arg(lost));
    } else {
        alarm(tr("%1: %2 as soon as the module answers again")
                  .arg(lost, safetyActionText(rule.action)));
        applyAction(rule.action, tr("link lost"));
    }
    emitProgress(true);
}

void SequenceRunner::onOnline()
{
    if (!isActive() || !m_linkLost)
        return;
    m_linkLost = false;
    info(tr("The module answers again"));
    const std::optional<SafetyAction> pending = m_afterLoss;
    m_afterLoss.reset();
    takeBaseline();
    if (pending) {
        if (*pending == SafetyAction::Off || m_state != State::Paused)
            applyAction(*pending, QString());
        else
            holdHere();
    } else if (m_state == State::Running) {
        if (const QString off = channelsOff(); !off.isEmpty())
            switchedOffByOthers(tr("channels %1 were found off after the link came back").arg(off));
        else
            beginStep(m_step, true);
    }
}

void SequenceRunner::takeBaseline()
{
    SCPI_Parser *l = link();
    m_words.clear();
    if (!l)
        return;
    const Module &m = l->module();
    for (int c : m_channels)
        m_words.append({ m.channel(c).status(), m.channel(c).eventStatus() });
    m_moduleWords = { m.status(), m.eventStatus() };
}

QString SequenceRunner::where() const
{
    const QString phase = m_phase == Phase::Ramping ? tr("ramping")
        : m_phase == Phase::Holding                 ? tr("holding")
        : m_phase == Phase::RampingDown             ? tr("ramping down")
        : m_phase == Phase::SwitchingOff            ? tr("switching off")
                                                    : tr("waiting");
    return tr("step %1 of %2 (%3)").arg(m_step + 1).arg(stepCount()).arg(phase);
}

void SequenceRunner::info(const QString &text)
{
    qCDebug(lcSequence) << text;
    if (m_journal)
        m_journal->info(text);
}

void SequenceRunner::alarm(const QString &text)
{
    qCDebug(lcSequence) << "alarm:" << text;
    if (m_journal)
        m_journal->alarm(text);
}

void SequenceRunner::emitProgress(bool force)
{
    if (!force && m_lastProgress.isValid() && m_lastProgress.elapsed() < ProgressEveryMs)
        return;
    m_lastProgress.start();
    emit progressChanged();
}

qint64 SequenceRunner::elapsedMs() const
{
    return m_clock.isValid() ? m_clock.elapsed() : 0;
}

qint64 SequenceRunner::stepActiveMs() const
{
    return m_stepAccumMs + (m_stepRun.isValid() ? m_stepRun.elapsed() : 0);
}

qint64 SequenceRunner::heldMs() const
{
    return m_holdAccumMs + (m_holdRun.isValid() ? m_holdRun.elapsed() : 0);
}
