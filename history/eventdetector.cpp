#include "eventdetector.h"

#include "czelkchannelstatusbits.h"
#include "czelkmodulestatusbits.h"
#include "eventtext.h"
#include "module.h"
#include "risingconditions.h"

#include <algorithm>
#include <cmath>

namespace {
using Ch = CZelkChannelStatusBits;
using Mod = CZelkModuleStatusBits;
/// A condition caught by its event bit is reported once, if its status bit follows within
/// this many answers.
constexpr quint64 sameConditionAnswers = 2 * EventDetector::SnapshotAnswers;

/// Bits whose condition is above info, at the same positions in both words.
quint16 notableBits(bool module)
{
    quint16 bits = 0;
    for (int bit = 0; bit < 16; ++bit) {
        if (EventText::conditionSeverity(module, bit) != Severity::Info)
            bits |= quint16(1u << bit);
    }
    return bits;
}
} // namespace

QList<HistoryEntry> EventDetector::start(const Module &module, qint64 nowMs)
{
    m_started = true;
    m_answers = 0;
    const int channels = std::clamp(module.channelCount(), 0, module.recordCount());
    m_sources.assign(size_t(1 + channels), Source());
    // Measured from a clean module (channels without a condition, the module healthy), but
    // only for the conditions worth reporting: a channel that is on at connection is no news.
    const auto reference = [](bool isModule, quint16 now) {
        const quint16 clean = isModule ? Mod::HealthBits : 0;
        const quint16 notable = notableBits(isModule);
        return quint16((clean & notable) | (now & ~notable));
    };
    m_sources[0].status = reference(true, module.status());
    m_sources[0].eventStatus = module.eventStatus() & ~notableBits(true);
    for (int c = 0; c < channels; ++c) {
        const Channel &channel = module.channel(c);
        Source &source = m_sources[size_t(1 + c)];
        source.status = reference(false, channel.status());
        source.eventStatus = channel.eventStatus() & ~notableBits(false);
    }
    snapshot(module);
    snapshot(module);
    m_alarms.clear();
    return observe(module, nowMs);
}

void EventDetector::stop()
{
    m_started = false;
    m_sources.clear();
    m_alarmsChanged = !m_alarms.isEmpty();
    m_alarms.clear();
}

QList<HistoryEntry> EventDetector::observe(const Module &module, qint64 nowMs)
{
    QList<HistoryEntry> entries;
    m_alarmsChanged = false;
    if (!m_started)
        return entries;
    ++m_answers;
    compare(module, 0, module.status(), module.eventStatus(), nowMs, &entries);
    for (size_t i = 1; i < m_sources.size(); ++i) {
        const Channel &channel = module.channel(int(i - 1));
        const Source &source = m_sources[i];
        // Most answers change no channel's words: that costs two comparisons a channel.
        if (source.status != channel.status() || source.eventStatus != channel.eventStatus())
            compare(module, int(i), channel.status(), channel.eventStatus(), nowMs, &entries);
    }
    if (m_answers % SnapshotAnswers == 0)
        snapshot(module);
    if (m_alarmsChanged)
        updateAlarms(nowMs);
    return entries;
}

void EventDetector::compare(const Module &module, int index, quint16 status, quint16 eventStatus,
    qint64 nowMs, QList<HistoryEntry> *entries)
{
    Source &source = m_sources[size_t(index)];
    const bool isModule = index == 0;
    const quint16 statusChanged = (source.status ^ status)
        & (isModule ? EventText::moduleStatusBits() : EventText::channelStatusBits());
    const quint16 eventChanged = (source.eventStatus ^ eventStatus)
        & (isModule ? EventText::moduleEventBits() : EventText::channelEventBits());
    const StatusWords before { source.status, source.eventStatus };
    source.status = status;
    source.eventStatus = eventStatus;
    if (!statusChanged && !eventChanged)
        return;

    const quint16 health = isModule ? Mod::HealthBits : 0;
    if ((before.status ^ status) & EventText::alarmBits(isModule))
        m_alarmsChanged = true;
    const RisingConditions rising
        = RisingConditions::between(before, { status, eventStatus }, health);
    const QStringList statusNames = isModule ? Mod::statusNames() : Ch::statusNames();
    const QStringList eventNames = isModule ? Mod::eventStatusNames() : Ch::eventStatusNames();
    HistoryEntry entry;
    entry.timeMs = nowMs;
    entry.serialNumber = module.serialNumber();
    entry.channel = isModule ? HistoryEntry::ModuleSource : index - 1;
    const auto raise
        = [&entry](Severity severity) { entry.severity = std::max(entry.severity, severity); };
    const bool recent = m_answers - source.reportedAt <= sameConditionAnswers;
    for (int bit = 0; bit < 16; ++bit) {
        const quint16 mask = quint16(1u << bit);
        if (statusChanged & mask) {
            if (status & mask)
                entry.rose.append(statusNames.at(bit));
            else
                entry.fell.append(statusNames.at(bit));
            if (rising.byStatus & mask) {
                if (!(recent && (source.reportedByEvent & mask)))
                    raise(EventText::conditionSeverity(isModule, bit));
                source.reportedByEvent &= ~mask;
            }
        }
    }
    for (int bit = 0; bit < 16; ++bit) {
        const quint16 mask = quint16(1u << bit);
        if (!(eventChanged & mask))
            continue;
        if (!(eventStatus & mask)) {
            entry.fell.append(eventNames.at(bit));
            source.reportedByEvent &= ~mask;
            continue;
        }
        entry.rose.append(eventNames.at(bit));
        const Severity severity = EventText::conditionSeverity(isModule, bit);
        if (severity != Severity::Info && (rising.byEvent & mask)) {
            raise(severity);
            source.reportedByEvent |= mask;
            source.reportedAt = m_answers;
        }
    }
    if (!isModule) {
        const Channel &channel = module.channel(index - 1);
        // The event "switched off" may be read before the status that shows it.
        const bool switchedOff = ((statusChanged & Ch::On) && !(status & Ch::On))
            || ((eventChanged & Ch::EventSwitchedOff) && (eventStatus & Ch::EventSwitchedOff));
        // A channel cut at voltage (a trip, an off) keeps the reading from before the cut, which
        // the answer that shows it may already have lost; one ramped down to 0 V first (its set
        // value 0) goes off where the ramp left it, as the answer that showed the off reads it.
        const double rest = std::max(1.0, std::abs(double(channel.voltageNominal())) * 0.002);
        const bool cut = switchedOff && std::abs(double(channel.voltageSet())) > rest;
        entry.voltage = cut ? source.voltage[0] : channel.voltageMeasure();
        entry.current = cut ? source.current[0] : channel.currentMeasure();
    }
    entry.text = EventText::describe(entry, false);
    entries->append(entry);
}

void EventDetector::snapshot(const Module &module)
{
    for (size_t i = 1; i < m_sources.size(); ++i) {
        Source &source = m_sources[i];
        const Channel &channel = module.channel(int(i - 1));
        source.voltage[0] = source.voltage[1];
        source.current[0] = source.current[1];
        source.voltage[1] = channel.voltageMeasure();
        source.current[1] = channel.currentMeasure();
    }
}

void EventDetector::updateAlarms(qint64 nowMs)
{
    QList<Condition> alarms;
    for (size_t i = 0; i < m_sources.size(); ++i) {
        const bool isModule = i == 0;
        const quint16 health = isModule ? Mod::HealthBits : 0;
        const quint16 active = (m_sources[i].status ^ health) & EventText::alarmBits(isModule);
        if (!active)
            continue;
        const QStringList names = isModule ? Mod::statusNames() : Ch::statusNames();
        for (int bit = 0; bit < 16; ++bit) {
            if (!(active & (1u << bit)))
                continue;
            Condition condition;
            condition.channel = isModule ? HistoryEntry::ModuleSource : int(i - 1);
            condition.name = names.at(bit);
            condition.sinceMs = nowMs;
            for (const Condition &known : std::as_const(m_alarms)) {
                if (known.channel == condition.channel && known.name == condition.name)
                    condition.sinceMs = known.sinceMs;
            }
            HistoryEntry sentence;
            sentence.channel = condition.channel;
            if (isModule)
                sentence.fell.append(condition.name);
            else
                sentence.rose.append(condition.name);
            condition.text = EventText::describe(sentence, false);
            alarms.append(condition);
        }
    }
    m_alarms = alarms;
}
