#include "moduletopics.h"

#include "czelkchannelstatusbits.h"
#include "czelkmodulestatusbits.h"
#include "scpi_parser.h"

#include <QList>

namespace {

const Module &mod(const SCPI_Parser &e)
{
    return e.module();
}

const Channel &chan(const SCPI_Parser &e, int c)
{
    return e.module().channel(c);
}

bool hasLimits(const SCPI_Parser &e)
{
    return e.supportsPercentLimits() || e.supportsUnitLimits();
}

} // namespace

const std::vector<ValueTopic> &moduleValueTopics()
{
    using C = CZelkModuleStatusBits;
    static const std::vector<ValueTopic> topics = {
        { "temperature", [](const SCPI_Parser &e, int) { return double(mod(e).temperature()); },
            false, nullptr, nullptr, true },
        { "supply/p24", [](const SCPI_Parser &e, int) { return double(mod(e).supplyP24()); }, false,
            nullptr, nullptr, true },
        { "supply/p5", [](const SCPI_Parser &e, int) { return double(mod(e).supplyP5()); }, false,
            nullptr, nullptr, true },
        { "supply/p12", [](const SCPI_Parser &e, int) { return double(mod(e).supplyP12()); }, false,
            nullptr, nullptr, true },
        { "supply/n12", [](const SCPI_Parser &e, int) { return double(mod(e).supplyN12()); }, false,
            nullptr, nullptr, true },
        { "ramp/voltage", [](const SCPI_Parser &e, int) { return double(mod(e).voltageRamp()); } },
        { "ramp/current", [](const SCPI_Parser &e, int) { return double(mod(e).currentRamp()); } },
        { "limit/voltage", [](const SCPI_Parser &e, int) { return double(mod(e).voltageLimit()); },
            false, nullptr, &hasLimits },
        { "limit/current", [](const SCPI_Parser &e, int) { return double(mod(e).currentLimit()); },
            false, nullptr, &hasLimits },
        { "status", [](const SCPI_Parser &e, int) { return double(mod(e).status()); }, true,
            C::Status },
        { "event-status", [](const SCPI_Parser &e, int) { return double(mod(e).eventStatus()); },
            true, C::EventStatus },
        { "event-mask", [](const SCPI_Parser &e, int) { return double(mod(e).eventMask()); }, true,
            C::EventMask },
        { "control", [](const SCPI_Parser &e, int) { return double(mod(e).control()); }, true,
            C::Control },
    };
    return topics;
}

const std::vector<ValueTopic> &channelValueTopics()
{
    using C = CZelkChannelStatusBits;
    static const std::vector<ValueTopic> topics = {
        { "voltage/set",
            [](const SCPI_Parser &e, int c) { return double(chan(e, c).voltageSet()); } },
        { "voltage/measured",
            [](const SCPI_Parser &e, int c) { return double(chan(e, c).voltageMeasure()); }, false,
            nullptr, nullptr, true },
        { "voltage/bounds",
            [](const SCPI_Parser &e, int c) { return double(chan(e, c).voltageBounds()); } },
        { "voltage/nominal",
            [](const SCPI_Parser &e, int c) { return double(chan(e, c).voltageNominal()); } },
        { "current/set",
            [](const SCPI_Parser &e, int c) { return double(chan(e, c).currentSet()); } },
        { "current/measured",
            [](const SCPI_Parser &e, int c) { return double(chan(e, c).currentMeasure()); }, false,
            nullptr, nullptr, true },
        { "current/bounds",
            [](const SCPI_Parser &e, int c) { return double(chan(e, c).currentBounds()); } },
        { "current/nominal",
            [](const SCPI_Parser &e, int c) { return double(chan(e, c).currentNominal()); } },
        { "status", [](const SCPI_Parser &e, int c) { return double(chan(e, c).status()); }, true,
            C::Status },
        { "event-status",
            [](const SCPI_Parser &e, int c) { return double(chan(e, c).eventStatus()); }, true,
            C::EventStatus },
        { "event-mask", [](const SCPI_Parser &e, int c) { return double(chan(e, c).eventMask()); },
            true, C::EventMask },
        { "control", [](const SCPI_Parser &e, int c) { return double(chan(e, c).control()); }, true,
            C::Control },
    };
    return topics;
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
