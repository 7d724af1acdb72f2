#pragma once

#include "channelcommand.h"
#include "safetywords.h"
#include "sequence.h"

#include <QElapsedTimer>
#include <QList>
#include <QLoggingCategory>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include <functional>
#include <optional>

class ModuleSession;
class SCPI_Parser;
class SequenceJournal;

Q_DECLARE_LOGGING_CATEGORY(lcSequence)

/// Runs a Sequence on the module of a ModuleSession: for each step it sets the ramp speed, the
/// current and the target voltage of the sequence's channels through the engine's set-command
/// builders (read back like every operator command), switches the channels on, waits until
/// the target is reached and then holds for the step's time and/or until the channels are
/// stable. After every answer it checks the safety rules and takes a rule's action: hold
/// (present voltages, paused), ramp down (0 V at the ramp-down speed, then off) or off.
///
/// A lost link applies the link-loss rule: its commands are sent as soon as the module answers
/// again; until then the runner waits. Every step, hold result, safety action and the end are
/// journal entries, so a sequence never stops without an entry saying where and why; what the
/// module or a safety rule did is an alarm, the operator's own abort and its end are info.
///
/// The runner never switches on a channel that someone or something else switched off: only
/// the start switches channels on. A channel of the sequence found off that the runner did not
/// switch off (a trip, an arc error, an inhibit, an operator's off from anywhere) ends the
/// sequence with its abort action (hold when the file says so), and so does an off that the
/// owner reports (switchedOffByOthers()). Start and resume refuse while a channel of the
/// sequence shows a trip or an arc error, cannot come on, or (resume) is off. The sequence
/// ends ("aborted") only once the module reports its channels off, or after OffAnswers answers
/// that did not.
///
/// QtCore only: the panel and the bridge run the same runner. The journal is not owned and
/// must outlive the runner (a runner destroyed while active writes its last entry).
class SequenceRunner : public QObject
{
    Q_OBJECT

public:
    enum class State {
        /// Nothing started yet.
        Idle,
        Running,
        /// Held by the operator or by a rule; resume() continues the step.
        Paused,
        /// Ramping down (or waiting for the module to send the rule's commands); ends Aborted.
        Stopping,
        /// Every step done.
        Finished,
        /// Ended by abort(), a rule or abandon().
        Aborted,
    };
    Q_ENUM(State)
    enum class Phase { None, Ramping, Holding, RampingDown, SwitchingOff };
    Q_ENUM(Phase)

    /// Answers after the step's commands left in which the module must report the new set
    /// values; past them a set value it did not take counts as refused.
    static constexpr int RefusalAnswers = 40;
    /// Answers after the switch-off left within which the module must report the channels off.
    static constexpr int OffAnswers = 40;

    /// Where the runner's commands go (the module controller's gate); returns why a command was
    /// refused, or an empty text. Without one they go straight to the engine.
    using CommandSender = std::function<QString(const ChannelCommand &)>;

    explicit SequenceRunner(ModuleSession *session, QObject *parent = nullptr);
    ~SequenceRunner() override;

    void setJournal(SequenceJournal *journal) { m_journal = journal; }
    void setSender(CommandSender sender) { m_sender = std::move(sender); }

    /// Starts \a sequence. False, with the reason in \a error and nothing sent, when no module
    /// is online, the sequence has no steps, a channel is missing, a target lies beyond a
    /// channel's nominal voltage, or a channel cannot come on (emergency off, inhibit, open
    /// safety loop).
    bool start(const Sequence &sequence, QString *error = nullptr);
    /// Holds the channels at their present voltages; the step's clocks stop.
    void pause();
    /// Continues the paused step: ramps to its target again. False, with the reason, when no
    /// module is online or a channel cannot come on.
    bool resume(QString *error = nullptr);
    /// Takes the sequence's abort action; during a ramp-down, switches off at once.
    void abort();
    /// Ends the present step now and starts the next one (or finishes); only while the module
    /// is online.
    void skipStep();
    /// Ends the sequence without a command (the program closes): an alarm entry says where.
    void abandon(const QString &reason);
    /// Someone else switched channels of the sequence off (\a what says how): the sequence
    /// ends with its abort action (hold when the file says so).
    void switchedOffByOthers(const QString &what);
    /// Takes \a action as a safety rule would, for a condition the runner can not see itself
    /// (the bridge lost its broker, two modules report one serial number); an alarm entry says
    /// \a why. Nothing while no sequence is active; a hold while paused only says so.
    void applyExternal(SafetyAction action, const QString &why);

    State state() const { return m_state; }
    /// Running, Paused or Stopping.
    bool isActive() const;
    Phase phase() const { return m_phase; }
    /// The present step, 0-based.
    int stepIndex() const { return m_step; }
    int stepCount() const { return int(m_sequence.steps.size()); }
    qint64 elapsedMs() const;
    /// Estimated time to the end of the last step; -1 while not running.
    qint64 remainingMs() const;
    const Sequence &sequence() const { return m_sequence; }
    /// The channels the sequence drives, resolved when it started.
    const QList<int> &channels() const { return m_channels; }
    /// Why the sequence is paused or ended; empty while it runs normally.
    QString reason() const { return m_reason; }
    /// The link is gone and the runner waits for the module to answer again.
    bool waitingForModule() const { return m_linkLost; }
    /// The channels of the sequence the module reports off now ("1, 3"); empty when all are on.
    QString channelsOff() const;
    /// Target of the present step for channel \a channel, in volts.
    double target(int channel) const;

signals:
    void stateChanged(SequenceRunner::State state);
    /// Step, phase, elapsed or remaining time changed; while running at most every 250 ms.
    void progressChanged();

private:
    // sequencerunner.cpp: control, actions, the link
    /// Sends one command of the sequence; false (with an alarm entry) when it was refused.
    bool send(const ChannelCommand &command);
    void endAsAborted(const QString &why);
    void beginStep(int index, bool again);
    void nextStep();
    void applyAction(SafetyAction action, const QString &why);
    void holdHere();
    void startRampDown();
    void switchOff();
    /// The commands just queued go out with the next request.
    void sendNow();
    void finish(State state, const QString &text, bool alarm);
    void setState(State state);
    void setPhase(Phase phase);
    void onOffline(const QString &reason);
    void onOnline();
    void takeBaseline();
    QString checkChannels(const Sequence &sequence, QList<int> *channels) const;
    QString where() const;
    void info(const QString &text);
    void alarm(const QString &text);
    void emitProgress(bool force);
    SCPI_Parser *link() const;
    bool allChannels() const;
    double rampValue(double voltsPerSecond) const;
    double presentRampVps() const;
    qint64 stepActiveMs() const;
    qint64 heldMs() const;

    // sequencerunner_answers.cpp: what every answer brings
    void onAnswer();
    bool checkSafety();
    void advanceRamp();
    void advanceHold();
    void checkRampDown();
    bool stable(double *change) const;
    void checkSwitchedOff();

    QPointer<ModuleSession> m_session;
    SequenceJournal *m_journal = nullptr;
    CommandSender m_sender;
    Sequence m_sequence;
    QList<int> m_channels;
    QList<double> m_targets;
    State m_state = State::Idle;
    Phase m_phase = Phase::None;
    int m_step = 0;
    QString m_reason;
    /// The operator aborted: the abort's entries are info, not alarms.
    bool m_byOperator = false;

    QElapsedTimer m_clock;
    qint64 m_stepAccumMs = 0;
    QElapsedTimer m_stepRun;
    qint64 m_holdAccumMs = 0;
    QElapsedTimer m_holdRun;
    qint64 m_rampDownStart = 0;
    qint64 m_rampDownLimitMs = 0;
    quint64 m_issuedAt = 0;
    /// What the switch-off ends with once the module reports the channels off.
    QString m_offText;
    QElapsedTimer m_lastProgress;
    QTimer m_tick;

    QList<StatusWords> m_words;
    StatusWords m_moduleWords;
    QList<bool> m_overLimit;
    QList<qint64> m_arcTimes;
    bool m_timedOut = false;
    /// Measured currents of the holding channels: (elapsed ms, amperes per channel).
    QList<QPair<qint64, QList<double>>> m_samples;
    qint64 m_samplesStart = 0;

    bool m_linkLost = false;
    /// What the link-loss rule left to do once the module answers again.
    std::optional<SafetyAction> m_afterLoss;
};
