#pragma once

#include "modulestate.h"

#include <QByteArray>
#include <QByteArrayView>

#include <utility>
#include <vector>

/// The topics that carry a module's state: what the bridge publishes under
/// "<prefix>/<serial number>/" and what a reader of the broker rebuilds a ModuleState from.
/// Paths here are below that base ("temperature", "ch/2/voltage/measured"); the serial number is
/// the base's own (moduleBase(), splitModuleTopic()).
namespace telemetry {

/// The module's topics that carry no value of its state: "online", "offline" or "clash" (the
/// module's state as the bridge sees it); one HistoryEntry::toJson() a message, not retained;
/// the alarms now (alarmtopic.h); the sequence's progress (SequenceProgress::toJson()).
inline constexpr char StateTopic[] = "state";
inline constexpr char EventsTopic[] = "events";
inline constexpr char AlarmsTopic[] = "alarms";
inline constexpr char SequenceStateTopic[] = "sequence/state";

/// One number of the state on a topic of its own (for a channel value below "ch/<n>/"), and for
/// a status word the bit dictionary whose names are published beside it ("<topic>/names").
struct ValueTopic
{
    const char *suffix;
    /// Reads \a channel's value (ignored for module values).
    double (*read)(const ModuleState &state, int channel);
    /// Writes \a channel's value (the channel record exists).
    void (*write)(ModuleState *state, int channel, double value);
    /// A 16-bit or 32-bit word, carried as an unsigned integer; else a real number.
    bool word = false;
    /// The dictionary text of the word's bit names, or null.
    const char *bitNames = nullptr;
    /// Whether the module has this value at all; null means every module has it.
    bool (*applies)(const ModuleState &state) = nullptr;
    /// A measured value: the broker drops it when the bridge stops refreshing it.
    bool expires = false;
};

/// A text of the module's identity, published when the module comes online.
struct IdentityTopic
{
    const char *suffix;
    QByteArray (*encode)(const ModuleState &state);
    /// Reads the payload into the state; false for one it can not take. Null for a topic
    /// derived from others, which nothing is read from.
    bool (*decode)(QByteArrayView payload, ModuleState *state);
};

const std::vector<ValueTopic> &moduleValueTopics();
const std::vector<ValueTopic> &channelValueTopics();
const std::vector<IdentityTopic> &identityTopics();

/// "<prefix>/<serial>/".
QByteArray moduleBase(QByteArrayView prefix, int serial);
/// Splits a full topic below \a prefix into the module's serial number and the path below its
/// base; false for a topic that is not a module's.
bool splitModuleTopic(
    QByteArrayView topic, QByteArrayView prefix, int *serial, QByteArrayView *path);

/// The payload of \a value on \a topic: a word as an unsigned integer, a real number with the 7
/// significant digits a float holds (so a reader gets back the float only when 7 digits say it).
QByteArray encodeValue(const ValueTopic &topic, double value);
/// A value in SI units as a plain number, shortest form that keeps a float's precision.
QByteArray formatReal(double value);
/// The names of the set bits of \a word from a dictionary text ("a,b,c,...") as a JSON array
/// (["isON","isCV"], [] for none); reserved bits ("res") are left out.
QByteArray setBitNames(quint32 word, const char *dictionary);

/// Every topic of \a state that carries a value of it, with its payload, in the order the
/// bridge publishes them: identity, module values, channel values (of the channels in use);
/// a value that does not apply to the module is left out, and so are the bit names.
std::vector<std::pair<QByteArray, QByteArray>> encodeModule(const ModuleState &state);
/// Reads the message of \a path (below the module's base) into \a state. True when the topic
/// carries a value of the state and \a payload was taken; false for any other topic (the bit
/// names, the module's "state", the bridge's own topics), an unknown family or a payload that
/// is no value of the topic: \a state is then unchanged. A channel topic makes the channel's
/// record when there is none yet (up to SCPI_Parser::ChannelRecords); "channels" makes exactly
/// that many.
bool decodeModuleTopic(QByteArrayView path, QByteArrayView payload, ModuleState *state);

/// What a reader of the topics can know of \a state: the state with the channel records in use
/// and every field that no topic carries at its default (the list, with the reason for each, is
/// in its definition). Decoding all of encodeModule(state) into a ModuleState() gives this.
ModuleState publishedPart(const ModuleState &state);

} // namespace telemetry
