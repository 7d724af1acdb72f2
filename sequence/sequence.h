#pragma once

#include <QList>
#include <QString>

#include <array>

/// One step of a sequence: bring the channels to a target voltage, then hold there.
struct SequenceStep
{
    /// The target: volts, or percent of each channel's nominal voltage when `percent` is set.
    double voltage = 0.0;
    bool percent = false;
    /// Voltage ramp speed for this step in V/s; 0 keeps the module's present speed.
    double rampSpeed = 0.0;
    /// Current set value for this step in A; negative keeps the present set values.
    double current = -1.0;
    /// Seconds to hold once the target is reached.
    double holdSeconds = 0.0;
    /// Hold (after holdSeconds) until every channel is stable: measured voltage within
    /// `tolerance` of the target and the measured current changing by less than
    /// `currentChange` A per minute over the last `windowSeconds`.
    bool untilStable = false;
    /// Volts; also decides when the ramp has reached the target.
    double tolerance = 5.0;
    double currentChange = 1e-7;
    double windowSeconds = 10.0;
    /// Seconds from the step's start (ramp and hold) after which the step has timed out; 0 for
    /// none.
    double timeoutSeconds = 0.0;

    bool operator==(const SequenceStep &other) const;
    bool operator!=(const SequenceStep &other) const { return !(*this == other); }
};

/// What a safety rule does when its condition appears.
enum class SafetyAction {
    /// Stay at the present voltages and pause; the operator resumes or aborts.
    Hold,
    /// All the sequence's channels to 0 V at the sequence's ramp-down speed, then off.
    RampDown,
    /// All the sequence's channels off at once.
    Off,
};

/// The conditions the safety rules watch.
enum class SafetyCondition {
    Trip,
    ArcError,
    EmergencyOff,
    Inhibit,
    SafetyLoop,
    CurrentAbove,
    Arcs,
    LinkLost,
    StepTimeout,
    /// The bridge lost its broker for longer than its grace: nobody can steer the sequence.
    /// Taken by the bridge only; it can not be ignored.
    BrokerLost,
};
constexpr int SafetyConditionCount = 10;

/// A rule: a condition, whether it is watched, and what it does. CurrentAbove and Arcs carry
/// their limits.
struct SafetyRule
{
    bool enabled = true;
    SafetyAction action = SafetyAction::RampDown;
    /// CurrentAbove: the limit in A.
    double limit = 0.0;
    /// Arcs: this many arcs within `minutes` minutes.
    int count = 0;
    double minutes = 0.0;

    bool operator==(const SafetyRule &other) const;
};

/// A ramp sequence: the channels it drives, its steps and its safety rules. Stored as a small
/// JSON file (SequenceFile).
struct Sequence
{
    /// The file format this program writes and reads.
    static constexpr int Version = 1;
    /// Channel numbers run from 0 to MaxChannels - 1.
    static constexpr int MaxChannels = 64;
    /// A file with more steps is refused.
    static constexpr int MaxSteps = 1000;

    QString name;
    QString description;
    /// Channel numbers; empty for all channels of the module.
    QList<int> channels;
    QList<SequenceStep> steps;
    std::array<SafetyRule, SafetyConditionCount> rules = defaultRules();
    /// The ramp-down speed of the RampDown action in V/s; 0 keeps the module's present speed.
    double rampDownSpeed = 0.0;
    /// What Abort does.
    SafetyAction abortAction = SafetyAction::RampDown;

    SafetyRule &rule(SafetyCondition condition) { return rules[size_t(condition)]; }
    const SafetyRule &rule(SafetyCondition condition) const { return rules[size_t(condition)]; }

    /// Every state condition ramps down; the link loss, a step's time-out and the broker loss
    /// hold; the current limit and the arc count are off until they are given.
    static std::array<SafetyRule, SafetyConditionCount> defaultRules();

    bool operator==(const Sequence &other) const;
};

/// Names used in the file and in messages.
QString safetyActionKey(SafetyAction action);
QString safetyConditionKey(SafetyCondition condition);
/// The condition for the operator: "trip", "arc error", ...
QString safetyConditionText(SafetyCondition condition);
/// Whether a file may switch the rule of \a condition off ("ignore"): not for the broker loss,
/// since a sequence without its broker runs unwatched.
bool safetyConditionMayIgnore(SafetyCondition condition);
QString safetyActionText(SafetyAction action);
/// "0-3", "0, 2, 5" or "all" (in the program's language).
QString channelListText(const QList<int> &channels);
/// The channels as a sentence names them: "channel 2", "channels 0-3", or "all channels" when
/// \a all (they are every channel of the module).
QString channelsText(const QList<int> &channels, bool all);
/// The same after "on": "on channel 2", "on channels 0-3", "on all channels".
QString onChannelsText(const QList<int> &channels, bool all);
/// Reads "all" (also in the program's language, or an empty text) as all channels, else
/// numbers and ranges such as "0-3, 5" (sorted, each once). False with \a error naming what is
/// wrong.
bool parseChannelList(const QString &text, QList<int> *channels, QString *error);
/// "45 s", "3 min 20 s", "2 h 5 min" for the operator.
QString durationText(qint64 ms);
/// A current for the operator in mA with three decimals, in the locale's format: "0.500 mA".
QString milliampereText(double amperes);
/// "250 V", or "12.5 % (750 V)" for a percent target of \a volts; numbers in the locale's
/// format.
QString targetText(const SequenceStep &step, double volts);
