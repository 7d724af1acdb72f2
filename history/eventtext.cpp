#include "eventtext.h"

#include "czelkchannelstatusbits.h"
#include "czelkmodulestatusbits.h"
#include "linkreason.h"

#include <QCoreApplication>

namespace {

struct Meaning
{
    Severity severity;
    /// Sentences when the condition begins and ends; null for a bit that has none.
    const char *begins;
    const char *ends;
};

constexpr Severity I = Severity::Info;
constexpr Severity W = Severity::Warning;
constexpr Severity A = Severity::Alarm;

// The tables below hold one entry per bit, entry i for bit i, in the order of the name lists.
const Meaning channelStatus[16] = {
    { I, QT_TRANSLATE_NOOP("EventText", "channel %1 polarity positive"),
        QT_TRANSLATE_NOOP("EventText", "channel %1 polarity negative") },
    { W, QT_TRANSLATE_NOOP("EventText", "arc on channel %1"),
        QT_TRANSLATE_NOOP("EventText", "channel %1 arc over") },
    { W, QT_TRANSLATE_NOOP("EventText", "channel %1 input error"),
        QT_TRANSLATE_NOOP("EventText", "channel %1 input error cleared") },
    { I, QT_TRANSLATE_NOOP("EventText", "channel %1 on"),
        QT_TRANSLATE_NOOP("EventText", "channel %1 off") },
    { I, QT_TRANSLATE_NOOP("EventText", "channel %1 ramping"),
        QT_TRANSLATE_NOOP("EventText", "channel %1 ramp ended") },
    { A, QT_TRANSLATE_NOOP("EventText", "channel %1 emergency off"),
        QT_TRANSLATE_NOOP("EventText", "channel %1 emergency off cleared") },
    { W, QT_TRANSLATE_NOOP("EventText", "channel %1 in constant current"),
        QT_TRANSLATE_NOOP("EventText", "channel %1 out of constant current") },
    { I, QT_TRANSLATE_NOOP("EventText", "channel %1 in constant voltage"),
        QT_TRANSLATE_NOOP("EventText", "channel %1 out of constant voltage") },
    { I, QT_TRANSLATE_NOOP("EventText", "channel %1 in low current range"),
        QT_TRANSLATE_NOOP("EventText", "channel %1 out of low current range") },
    { A, QT_TRANSLATE_NOOP("EventText", "channel %1 arc error, high voltage off"),
        QT_TRANSLATE_NOOP("EventText", "channel %1 arc error cleared") },
    { W, QT_TRANSLATE_NOOP("EventText", "channel %1 current out of bounds"),
        QT_TRANSLATE_NOOP("EventText", "channel %1 current within bounds") },
    { W, QT_TRANSLATE_NOOP("EventText", "channel %1 voltage out of bounds"),
        QT_TRANSLATE_NOOP("EventText", "channel %1 voltage within bounds") },
    { A, QT_TRANSLATE_NOOP("EventText", "channel %1 externally inhibited"),
        QT_TRANSLATE_NOOP("EventText", "channel %1 inhibit released") },
    { A, QT_TRANSLATE_NOOP("EventText", "channel %1 tripped"),
        QT_TRANSLATE_NOOP("EventText", "channel %1 trip cleared") },
    { W, QT_TRANSLATE_NOOP("EventText", "channel %1 current limit exceeded"),
        QT_TRANSLATE_NOOP("EventText", "channel %1 current within limit") },
    { W, QT_TRANSLATE_NOOP("EventText", "channel %1 voltage limit exceeded"),
        QT_TRANSLATE_NOOP("EventText", "channel %1 voltage within limit") },
};

const Meaning moduleStatus[16] = {
    { I, QT_TRANSLATE_NOOP("EventText", "fine adjustment on"),
        QT_TRANSLATE_NOOP("EventText", "fine adjustment off") },
    { I, nullptr, nullptr },
    { I, QT_TRANSLATE_NOOP("EventText", "live insertion mode on"),
        QT_TRANSLATE_NOOP("EventText", "live insertion mode off") },
    { I, QT_TRANSLATE_NOOP("EventText", "high voltage on"),
        QT_TRANSLATE_NOOP("EventText", "high voltage off") },
    { W, QT_TRANSLATE_NOOP("EventText", "module needs service"),
        QT_TRANSLATE_NOOP("EventText", "module service condition cleared") },
    // A 1 says the hardware voltage limit is good; the module does not count it among its
    // health bits, so neither does the history.
    { I, QT_TRANSLATE_NOOP("EventText", "hardware voltage limit good"),
        QT_TRANSLATE_NOOP("EventText", "hardware voltage limit not good") },
    { W, QT_TRANSLATE_NOOP("EventText", "module input error"),
        QT_TRANSLATE_NOOP("EventText", "module input error cleared") },
    { I, nullptr, nullptr },
    { I, QT_TRANSLATE_NOOP("EventText", "module sum error"),
        QT_TRANSLATE_NOOP("EventText", "module sum error cleared") },
    { I, QT_TRANSLATE_NOOP("EventText", "channels ramping"),
        QT_TRANSLATE_NOOP("EventText", "no channel ramping") },
    { A, QT_TRANSLATE_NOOP("EventText", "safety loop open"),
        QT_TRANSLATE_NOOP("EventText", "safety loop closed") },
    { I, QT_TRANSLATE_NOOP("EventText", "module events active"),
        QT_TRANSLATE_NOOP("EventText", "no module events active") },
    { I, QT_TRANSLATE_NOOP("EventText", "module not good"),
        QT_TRANSLATE_NOOP("EventText", "module good") },
    { A, QT_TRANSLATE_NOOP("EventText", "supply not good"),
        QT_TRANSLATE_NOOP("EventText", "supplies good") },
    { A, QT_TRANSLATE_NOOP("EventText", "temperature not good"),
        QT_TRANSLATE_NOOP("EventText", "temperature good") },
    { I, QT_TRANSLATE_NOOP("EventText", "kill enable on"),
        QT_TRANSLATE_NOOP("EventText", "kill enable off") },
};

/// What an event bit reports, as a noun for "channel 3 event: trip"; null for a reserved bit.
const char *const channelEvent[16] = { nullptr, QT_TRANSLATE_NOOP("EventText", "arc"),
    QT_TRANSLATE_NOOP("EventText", "input error"), QT_TRANSLATE_NOOP("EventText", "switched off"),
    QT_TRANSLATE_NOOP("EventText", "end of ramp"), QT_TRANSLATE_NOOP("EventText", "emergency off"),
    QT_TRANSLATE_NOOP("EventText", "constant current"),
    QT_TRANSLATE_NOOP("EventText", "constant voltage"), nullptr,
    QT_TRANSLATE_NOOP("EventText", "arc error"),
    QT_TRANSLATE_NOOP("EventText", "current out of bounds"),
    QT_TRANSLATE_NOOP("EventText", "voltage out of bounds"),
    QT_TRANSLATE_NOOP("EventText", "external inhibit"), QT_TRANSLATE_NOOP("EventText", "trip"),
    QT_TRANSLATE_NOOP("EventText", "current limit exceeded"),
    QT_TRANSLATE_NOOP("EventText", "voltage limit exceeded") };

const char *const moduleEvent[16]
    = { nullptr, nullptr, QT_TRANSLATE_NOOP("EventText", "live insertion"), nullptr,
          QT_TRANSLATE_NOOP("EventText", "service needed"),
          QT_TRANSLATE_NOOP("EventText", "hardware voltage limit not good"),
          QT_TRANSLATE_NOOP("EventText", "input error"), nullptr, nullptr, nullptr,
          QT_TRANSLATE_NOOP("EventText", "safety loop open"), nullptr, nullptr,
          QT_TRANSLATE_NOOP("EventText", "supply not good"),
          QT_TRANSLATE_NOOP("EventText", "temperature not good"), nullptr };

quint16 namedBits(const QStringList &list)
{
    quint16 bits = 0;
    for (int bit = 0; bit < 16 && bit < list.size(); ++bit) {
        if (list.at(bit) != QLatin1String("res"))
            bits |= quint16(1u << bit);
    }
    return bits;
}

/// The four name lists, split once, and the bits each names.
struct Names
{
    QStringList channelStatus = CZelkChannelStatusBits::statusNames();
    QStringList channelEvent = CZelkChannelStatusBits::eventStatusNames();
    QStringList moduleStatus = CZelkModuleStatusBits::statusNames();
    QStringList moduleEvent = CZelkModuleStatusBits::eventStatusNames();
    quint16 channelStatusBits = namedBits(channelStatus);
    quint16 channelEventBits = namedBits(channelEvent);
    quint16 moduleStatusBits = namedBits(moduleStatus);
    quint16 moduleEventBits = namedBits(moduleEvent);
};

const Names &names()
{
    static const Names lists;
    return lists;
}

QString text(const char *source, bool translated)
{
    return translated ? QCoreApplication::translate("EventText", source)
                      : QString::fromLatin1(source);
}

/// The sentence of one status bit that rose (\a rose) or fell.
QString statusSentence(
    const HistoryEntry &entry, int bit, const QString &name, bool rose, bool translated)
{
    const bool module = !entry.isChannel();
    const Meaning &meaning = module ? moduleStatus[bit] : channelStatus[bit];
    const bool begins = rose != (module && (CZelkModuleStatusBits::HealthBits & (1u << bit)));
    const char *sentence = begins ? meaning.begins : meaning.ends;
    if (!sentence) {
        return (rose ? text(QT_TRANSLATE_NOOP("EventText", "module: %1 set"), translated)
                     : text(QT_TRANSLATE_NOOP("EventText", "module: %1 cleared"), translated))
            .arg(name);
    }
    QString result = text(sentence, translated);
    return module ? result : result.arg(entry.channel);
}

QString linkSentence(const HistoryEntry &entry, bool translated)
{
    if (entry.link == QLatin1String("up"))
        return text(QT_TRANSLATE_NOOP("EventText", "connected"), translated);
    if (entry.link == QLatin1String("back"))
        return text(QT_TRANSLATE_NOOP("EventText", "link back"), translated);
    if (entry.link == QLatin1String("closed"))
        return text(QT_TRANSLATE_NOOP("EventText", "disconnected"), translated);
    return text(QT_TRANSLATE_NOOP("EventText", "link lost: %1"), translated)
        .arg(LinkReason::describe(entry.reason, translated));
}

} // namespace

namespace EventText {

quint16 channelStatusBits()
{
    return names().channelStatusBits;
}

quint16 channelEventBits()
{
    return names().channelEventBits;
}

quint16 moduleStatusBits()
{
    return names().moduleStatusBits;
}

quint16 moduleEventBits()
{
    return names().moduleEventBits;
}

Severity conditionSeverity(bool module, int bit)
{
    if (bit < 0 || bit > 15)
        return Severity::Info;
    return module ? moduleStatus[bit].severity : channelStatus[bit].severity;
}

quint16 alarmBits(bool module)
{
    quint16 bits = 0;
    for (int bit = 0; bit < 16; ++bit) {
        if (conditionSeverity(module, bit) == Severity::Alarm)
            bits |= quint16(1u << bit);
    }
    return bits;
}

QString describe(const HistoryEntry &entry, bool translated)
{
    if (entry.isLink())
        return linkSentence(entry, translated);
    // A note of another part of the program (EventHistory::note()) names no bits.
    if (entry.rose.isEmpty() && entry.fell.isEmpty() && !entry.text.isEmpty())
        return entry.text;
    const bool module = !entry.isChannel();
    const QStringList &statusNames = module ? names().moduleStatus : names().channelStatus;
    const QStringList &eventNames = module ? names().moduleEvent : names().channelEvent;
    const char *const *nouns = module ? moduleEvent : channelEvent;
    // The status bits first (what is the case now), then the events that latched, then the
    // ones that were cleared.
    QStringList sentences;
    QStringList events;
    QStringList cleared;
    const auto isStatus = [&statusNames](const QString &name) {
        return name != QLatin1String("res") && statusNames.contains(name);
    };
    // An event by the noun of what it reports ("trip"); one without a noun by its name.
    const auto noun = [&](const QString &name) {
        const int event = int(eventNames.indexOf(name));
        return event >= 0 && nouns[event] ? text(nouns[event], translated) : name;
    };
    for (const QString &name : entry.rose) {
        if (isStatus(name)) {
            sentences.append(
                statusSentence(entry, int(statusNames.indexOf(name)), name, true, translated));
        } else {
            events.append(noun(name));
        }
    }
    for (const QString &name : entry.fell) {
        if (isStatus(name)) {
            sentences.append(
                statusSentence(entry, int(statusNames.indexOf(name)), name, false, translated));
        } else {
            cleared.append(noun(name));
        }
    }
    if (!events.isEmpty()) {
        sentences.append(module
                ? text(QT_TRANSLATE_NOOP("EventText", "module event: %1"), translated)
                      .arg(events.join(QLatin1String(", ")))
                : text(QT_TRANSLATE_NOOP("EventText", "channel %1 event: %2"), translated)
                      .arg(entry.channel)
                      .arg(events.join(QLatin1String(", "))));
    }
    if (!cleared.isEmpty()) {
        sentences.append(module
                ? text(QT_TRANSLATE_NOOP("EventText", "module events cleared: %1"), translated)
                      .arg(cleared.join(QLatin1String(", ")))
                : text(QT_TRANSLATE_NOOP("EventText", "channel %1 events cleared: %2"), translated)
                      .arg(entry.channel)
                      .arg(cleared.join(QLatin1String(", "))));
    }
    return sentences.join(QLatin1String("; "));
}

} // namespace EventText
