#include "moduletopics.h"

#include "czelkchannelstatusbits.h"
#include "czelkmodulestatusbits.h"
#include "scpi_parser.h"

namespace telemetry {

namespace {

Channel &chan(ModuleState *s, int c)
{
    return s->channels[size_t(c)];
}

const Channel &chan(const ModuleState &s, int c)
{
    return s.channels[size_t(c)];
}

/// A module value in a member of the state.
#define VORN_MODULE_REAL(member)                                                                   \
    [](const ModuleState &s, int) { return double(s.member); },                                    \
        [](ModuleState *s, int, double v) { s->member = float(v); }
#define VORN_MODULE_WORD(member, type)                                                             \
    [](const ModuleState &s, int) { return double(s.member); },                                    \
        [](ModuleState *s, int, double v) { s->member = type(v); }
/// A channel value through its record's getter and setter.
#define VORN_CHANNEL_REAL(getter, setter)                                                          \
    [](const ModuleState &s, int c) { return double(chan(s, c).getter()); },                       \
        [](ModuleState *s, int c, double v) { chan(s, c).setter(float(v)); }
#define VORN_CHANNEL_WORD(getter, setter, type)                                                    \
    [](const ModuleState &s, int c) { return double(chan(s, c).getter()); },                       \
        [](ModuleState *s, int c, double v) { chan(s, c).setter(type(v)); }

QByteArray utf8(const QString &text)
{
    return text.toUtf8();
}

bool readText(QByteArrayView payload, QString *text)
{
    *text = QString::fromUtf8(payload);
    return true;
}

/// A plain decimal number of at most two digits ("0", "12"), as the bridge writes channels.
bool channelNumber(QByteArrayView text, int *number)
{
    if (text.isEmpty() || text.size() > 2 || (text.size() > 1 && text[0] == '0'))
        return false;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return false;
    }
    *number = text.toInt();
    return true;
}

const ValueTopic *find(const std::vector<ValueTopic> &topics, QByteArrayView suffix)
{
    for (const ValueTopic &topic : topics) {
        if (suffix == QByteArrayView(topic.suffix))
            return &topic;
    }
    return nullptr;
}

/// Reads \a payload as \a topic's number; false when it is none.
bool decodeValue(const ValueTopic &topic, QByteArrayView payload, double *value)
{
    bool ok = false;
    *value = topic.word ? double(payload.toUInt(&ok)) : payload.toDouble(&ok);
    return ok;
}

} // namespace

const std::vector<ValueTopic> &moduleValueTopics()
{
    using C = CZelkModuleStatusBits;
    static const std::vector<ValueTopic> topics = {
        { "temperature", VORN_MODULE_REAL(temperature), false, nullptr, nullptr, true },
        { "supply/p24", VORN_MODULE_REAL(supplyP24), false, nullptr, nullptr, true },
        { "supply/p5", VORN_MODULE_REAL(supplyP5), false, nullptr, nullptr, true },
        { "supply/p12", VORN_MODULE_REAL(supplyP12), false, nullptr, nullptr, true },
        { "supply/n12", VORN_MODULE_REAL(supplyN12), false, nullptr, nullptr, true },
        { "ramp/voltage", VORN_MODULE_REAL(voltageRamp) },
        { "ramp/current", VORN_MODULE_REAL(currentRamp) },
        { "limit/voltage", VORN_MODULE_REAL(voltageLimit), false, nullptr, &hasLimits },
        { "limit/current", VORN_MODULE_REAL(currentLimit), false, nullptr, &hasLimits },
        { "status", VORN_MODULE_WORD(status, quint16), true, C::Status },
        { "event-status", VORN_MODULE_WORD(eventStatus, quint16), true, C::EventStatus },
        { "event-mask", VORN_MODULE_WORD(eventMask, quint32), true, C::EventMask },
        { "control", VORN_MODULE_WORD(control, quint16), true, C::Control },
    };
    return topics;
}

const std::vector<ValueTopic> &channelValueTopics()
{
    using C = CZelkChannelStatusBits;
    static const std::vector<ValueTopic> topics = {
        { "voltage/set", VORN_CHANNEL_REAL(voltageSet, setVoltageSet) },
        { "voltage/measured", VORN_CHANNEL_REAL(voltageMeasure, setVoltageMeasure), false, nullptr,
            nullptr, true },
        { "voltage/bounds", VORN_CHANNEL_REAL(voltageBounds, setVoltageBounds) },
        { "voltage/nominal", VORN_CHANNEL_REAL(voltageNominal, setVoltageNominal) },
        { "current/set", VORN_CHANNEL_REAL(currentSet, setCurrentSet) },
        { "current/measured", VORN_CHANNEL_REAL(currentMeasure, setCurrentMeasure), false, nullptr,
            nullptr, true },
        { "current/bounds", VORN_CHANNEL_REAL(currentBounds, setCurrentBounds) },
        { "current/nominal", VORN_CHANNEL_REAL(currentNominal, setCurrentNominal) },
        { "status", VORN_CHANNEL_WORD(status, setStatus, quint16), true, C::Status },
        { "event-status", VORN_CHANNEL_WORD(eventStatus, setEventStatus, quint16), true,
            C::EventStatus },
        { "event-mask", VORN_CHANNEL_WORD(eventMask, setEventMask, quint32), true, C::EventMask },
        { "control", VORN_CHANNEL_WORD(control, setControl, quint16), true, C::Control },
    };
    return topics;
}

#undef VORN_MODULE_REAL
#undef VORN_MODULE_WORD
#undef VORN_CHANNEL_REAL
#undef VORN_CHANNEL_WORD

const std::vector<IdentityTopic> &identityTopics()
{
    static const std::vector<IdentityTopic> topics = {
        { "device", [](const ModuleState &s) { return utf8(s.deviceName); },
            [](QByteArrayView p, ModuleState *s) { return readText(p, &s->deviceName); } },
        { "firmware", [](const ModuleState &s) { return utf8(s.firmwareName); },
            [](QByteArrayView p, ModuleState *s) { return readText(p, &s->firmwareName); } },
        { "release", [](const ModuleState &s) { return utf8(s.firmwareRelease); },
            [](QByteArrayView p, ModuleState *s) { return readText(p, &s->firmwareRelease); } },
        { "channels", [](const ModuleState &s) { return QByteArray::number(s.channelCount); },
            [](QByteArrayView p, ModuleState *s) {
                bool ok = false;
                const int count = p.toInt(&ok);
                if (!ok || count < 0 || count > SCPI_Parser::ChannelRecords)
                    return false;
                s->channelCount = count;
                s->resizeChannels(count);
                return true;
            } },
        // Derived from the firmware and the channel count: for readers that know no families.
        { "percent-based",
            [](const ModuleState &s) { return QByteArray(s.isPercentBased() ? "1" : "0"); },
            nullptr },
        // Empty (no retained message) while the module has not identified itself.
        { "family", [](const ModuleState &s) { return utf8(s.family->name); },
            [](QByteArrayView p, ModuleState *s) {
                const ModuleFamily *family = ModuleFamily::byName(QString::fromUtf8(p));
                if (!family)
                    return false;
                s->family = family;
                return true;
            } },
    };
    return topics;
}

QByteArray moduleBase(QByteArrayView prefix, int serial)
{
    return prefix.toByteArray() + '/' + QByteArray::number(serial) + '/';
}

bool splitModuleTopic(
    QByteArrayView topic, QByteArrayView prefix, int *serial, QByteArrayView *path)
{
    if (!topic.startsWith(prefix) || topic.size() <= prefix.size() || topic[prefix.size()] != '/')
        return false;
    const QByteArrayView rest = topic.sliced(prefix.size() + 1);
    const qsizetype slash = rest.indexOf('/');
    if (slash <= 0)
        return false;
    bool ok = false;
    const int number = rest.first(slash).toInt(&ok);
    if (!ok)
        return false;
    *serial = number;
    *path = rest.sliced(slash + 1);
    return true;
}

QByteArray encodeValue(const ValueTopic &topic, double value)
{
    return topic.word ? QByteArray::number(quint32(value)) : formatReal(value);
}

QByteArray formatReal(double value)
{
    // Values come from single-precision floats: 7 significant digits say all they hold.
    return QByteArray::number(value, 'g', 7);
}

QByteArray setBitNames(quint32 word, const char *dictionary)
{
    QByteArray names = "[";
    int bit = 0;
    for (const QByteArray &name : QByteArray(dictionary).split(',')) {
        if ((word & (1u << bit)) && name != "res") {
            if (names.size() > 1)
                names += ',';
            names += '"' + name + '"';
        }
        if (++bit == 32)
            break;
    }
    return names + ']';
}

std::vector<std::pair<QByteArray, QByteArray>> encodeModule(const ModuleState &state)
{
    std::vector<std::pair<QByteArray, QByteArray>> topics;
    for (const IdentityTopic &topic : identityTopics())
        topics.emplace_back(topic.suffix, topic.encode(state));
    for (const ValueTopic &topic : moduleValueTopics()) {
        if (!topic.applies || topic.applies(state))
            topics.emplace_back(topic.suffix, encodeValue(topic, topic.read(state, 0)));
    }
    for (int c = 0; c < state.channelsInUse(); ++c) {
        const QByteArray base = "ch/" + QByteArray::number(c) + '/';
        for (const ValueTopic &topic : channelValueTopics()) {
            if (!topic.applies || topic.applies(state))
                topics.emplace_back(base + topic.suffix, encodeValue(topic, topic.read(state, c)));
        }
    }
    return topics;
}

bool decodeModuleTopic(QByteArrayView path, QByteArrayView payload, ModuleState *state)
{
    double value = 0.0;
    if (path.startsWith("ch/")) {
        const QByteArrayView rest = path.sliced(3);
        const qsizetype slash = rest.indexOf('/');
        int channel = 0;
        if (slash < 0 || !channelNumber(rest.first(slash), &channel)
            || channel >= SCPI_Parser::ChannelRecords)
            return false;
        const ValueTopic *topic = find(channelValueTopics(), rest.sliced(slash + 1));
        if (!topic || !decodeValue(*topic, payload, &value))
            return false;
        if (int(state->channels.size()) <= channel)
            state->resizeChannels(channel + 1);
        topic->write(state, channel, value);
        return true;
    }
    if (const ValueTopic *topic = find(moduleValueTopics(), path)) {
        if (!decodeValue(*topic, payload, &value))
            return false;
        topic->write(state, 0, value);
        return true;
    }
    for (const IdentityTopic &topic : identityTopics()) {
        if (path == QByteArrayView(topic.suffix))
            return topic.decode && topic.decode(payload, state);
    }
    return false;
}

ModuleState publishedPart(const ModuleState &state)
{
    ModuleState part = state;
    const ModuleState none;
    // The base path carries it ("<prefix>/<serial>/").
    part.serialNumber = none.serialNumber;
    // The panel's own step for its prompts; the bridge never changes it.
    part.voltageIncrement = none.voltageIncrement;
    // Read by the panel's dialogs only: the bridge has no command for them and publishes none.
    part.average = none.average;
    part.outputs = none.outputs;
    part.interlock = none.interlock;
    part.emissionParameterP = none.emissionParameterP;
    part.emissionParameterI = none.emissionParameterI;
    part.emissionParameterD = none.emissionParameterD;
    part.filamentMinimum = none.filamentMinimum;
    part.filamentMaximum = none.filamentMaximum;
    part.interfaceMode = none.interfaceMode;
    if (!hasLimits(state)) {
        // Read only from the families that report them.
        part.voltageLimit = none.voltageLimit;
        part.currentLimit = none.currentLimit;
    }
    part.resizeChannels(state.channelsInUse());
    for (ChannelState &channel : part.channels) {
        // Checked by the bridge itself when it takes a command; the set, measured and nominal
        // values carry their signs.
        channel.setEpu(false);
    }
    return part;
}

} // namespace telemetry
