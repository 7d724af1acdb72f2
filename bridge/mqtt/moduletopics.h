#pragma once

#include <QByteArray>
#include <vector>

class SCPI_Parser;

/// One value the bridge publishes: the topic below "<prefix>/<serial>/" (for a channel value
/// below "<prefix>/<serial>/ch/<n>/"), how it is read from the engine's module mirror, and for
/// a status word the bit dictionary whose names are published beside it ("<topic>/names").
struct ValueTopic
{
    const char *suffix;
    /// Read \a channel's value (ignored for module values).
    double (*read)(const SCPI_Parser &engine, int channel);
    /// A 16-bit or 32-bit word, published as an unsigned integer.
    bool word = false;
    /// The dictionary text of the word's bit names, or null.
    const char *bitNames = nullptr;
    /// Whether the module has this value at all; null means every module has it.
    bool (*applies)(const SCPI_Parser &engine) = nullptr;
    /// A measured value: the broker drops it when the bridge stops refreshing it.
    bool expires = false;
};

const std::vector<ValueTopic> &moduleValueTopics();
const std::vector<ValueTopic> &channelValueTopics();

/// A value in SI units as a plain number, shortest form that keeps a float's precision.
QByteArray formatReal(double value);
/// The names of the set bits of \a word from a dictionary text ("a,b,c,...") as a JSON array
/// (["isON","isCV"], [] for none); reserved bits ("res") are left out.
QByteArray setBitNames(quint32 word, const char *dictionary);
