#include "sequence.h"

#include <QCoreApplication>
#include <QStringList>

#include <algorithm>

bool SequenceStep::operator==(const SequenceStep &o) const
{
    return voltage == o.voltage && percent == o.percent && rampSpeed == o.rampSpeed
        && current == o.current && holdSeconds == o.holdSeconds && untilStable == o.untilStable
        && tolerance == o.tolerance && currentChange == o.currentChange
        && windowSeconds == o.windowSeconds && timeoutSeconds == o.timeoutSeconds;
}

bool SafetyRule::operator==(const SafetyRule &o) const
{
    return enabled == o.enabled && action == o.action && limit == o.limit && count == o.count
        && minutes == o.minutes;
}

bool Sequence::operator==(const Sequence &o) const
{
    return name == o.name && description == o.description && channels == o.channels
        && steps == o.steps && rules == o.rules && rampDownSpeed == o.rampDownSpeed
        && abortAction == o.abortAction;
}

std::array<SafetyRule, SafetyConditionCount> Sequence::defaultRules()
{
    std::array<SafetyRule, SafetyConditionCount> rules {};
    rules[size_t(SafetyCondition::CurrentAbove)].enabled = false;
    rules[size_t(SafetyCondition::Arcs)].enabled = false;
    rules[size_t(SafetyCondition::LinkLost)].action = SafetyAction::Hold;
    rules[size_t(SafetyCondition::StepTimeout)].action = SafetyAction::Hold;
    rules[size_t(SafetyCondition::BrokerLost)].action = SafetyAction::Hold;
    return rules;
}

QString safetyActionKey(SafetyAction action)
{
    switch (action) {
    case SafetyAction::Hold:
        return QStringLiteral("hold");
    case SafetyAction::RampDown:
        return QStringLiteral("rampDown");
    case SafetyAction::Off:
        break;
    }
    return QStringLiteral("off");
}

QString safetyConditionKey(SafetyCondition condition)
{
    static const char *const keys[SafetyConditionCount] = { "trip", "arcError", "emergencyOff",
        "inhibit", "safetyLoop", "current", "arcs", "linkLost", "timeout", "brokerLost" };
    return QString::fromLatin1(keys[int(condition)]);
}

QString safetyConditionText(SafetyCondition condition)
{
    static const char *const texts[SafetyConditionCount] = {
        QT_TRANSLATE_NOOP("Sequence", "trip"),
        QT_TRANSLATE_NOOP("Sequence", "arc error"),
        QT_TRANSLATE_NOOP("Sequence", "emergency off"),
        QT_TRANSLATE_NOOP("Sequence", "external inhibit"),
        QT_TRANSLATE_NOOP("Sequence", "safety loop open"),
        QT_TRANSLATE_NOOP("Sequence", "current above the limit"),
        QT_TRANSLATE_NOOP("Sequence", "too many arcs"),
        QT_TRANSLATE_NOOP("Sequence", "link lost"),
        QT_TRANSLATE_NOOP("Sequence", "step time-out"),
        QT_TRANSLATE_NOOP("Sequence", "broker lost"),
    };
    return QCoreApplication::translate("Sequence", texts[int(condition)]);
}

bool safetyConditionMayIgnore(SafetyCondition condition)
{
    return condition != SafetyCondition::BrokerLost;
}

QString safetyActionText(SafetyAction action)
{
    switch (action) {
    case SafetyAction::Hold:
        return QCoreApplication::translate("Sequence", "hold");
    case SafetyAction::RampDown:
        return QCoreApplication::translate("Sequence", "ramp down");
    case SafetyAction::Off:
        break;
    }
    return QCoreApplication::translate("Sequence", "off");
}

namespace {
/// "all" in the program's language: what the operator reads and may type for every channel.
QString allWord()
{
    return QCoreApplication::translate("Sequence", "all");
}
} // namespace

QString channelListText(const QList<int> &channels)
{
    if (channels.isEmpty())
        return allWord();
    QStringList parts;
    for (int i = 0; i < channels.size();) {
        int j = i;
        while (j + 1 < channels.size() && channels.at(j + 1) == channels.at(j) + 1)
            ++j;
        if (j - i >= 2)
            parts << QStringLiteral("%1-%2").arg(channels.at(i)).arg(channels.at(j));
        else
            for (int k = i; k <= j; ++k)
                parts << QString::number(channels.at(k));
        i = j + 1;
    }
    return parts.join(QStringLiteral(", "));
}

namespace {
/// One of \a texts (context "Sequence"): every channel, one channel, several channels.
QString channelPhrase(const QList<int> &channels, bool all, const char *const (&texts)[3])
{
    if (all)
        return QCoreApplication::translate("Sequence", texts[0]);
    return QCoreApplication::translate("Sequence", texts[channels.size() == 1 ? 1 : 2])
        .arg(channelListText(channels));
}
} // namespace

QString channelsText(const QList<int> &channels, bool all)
{
    static const char *const texts[] = { QT_TRANSLATE_NOOP("Sequence", "all channels"),
        QT_TRANSLATE_NOOP("Sequence", "channel %1"), QT_TRANSLATE_NOOP("Sequence", "channels %1") };
    return channelPhrase(channels, all, texts);
}

QString onChannelsText(const QList<int> &channels, bool all)
{
    static const char *const texts[] = { QT_TRANSLATE_NOOP("Sequence", "on all channels"),
        QT_TRANSLATE_NOOP("Sequence", "on channel %1"),
        QT_TRANSLATE_NOOP("Sequence", "on channels %1") };
    return channelPhrase(channels, all, texts);
}

bool parseChannelList(const QString &text, QList<int> *channels, QString *error)
{
    const QString trimmed = text.trimmed();
    channels->clear();
    if (trimmed.isEmpty() || trimmed.compare(QLatin1String("all"), Qt::CaseInsensitive) == 0
        || trimmed.compare(allWord(), Qt::CaseInsensitive) == 0)
        return true;
    const auto number = [](const QString &part, int *value) {
        bool ok = false;
        *value = part.trimmed().toInt(&ok);
        return ok && *value >= 0 && *value < Sequence::MaxChannels;
    };
    for (const QString &part : trimmed.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const QStringList ends = part.split(QLatin1Char('-'));
        int first = 0;
        int last = 0;
        if (ends.size() > 2 || !number(ends.first(), &first) || !number(ends.last(), &last)
            || last < first) {
            *error = QCoreApplication::translate(
                "Sequence", "\"%1\" is no channel number or range from 0 to %2")
                         .arg(part.trimmed())
                         .arg(Sequence::MaxChannels - 1);
            return false;
        }
        for (int c = first; c <= last; ++c)
            if (!channels->contains(c))
                channels->append(c);
    }
    std::sort(channels->begin(), channels->end());
    return true;
}

QString durationText(qint64 ms)
{
    const qint64 s = qMax<qint64>(0, (ms + 500) / 1000);
    if (s < 60)
        return QCoreApplication::translate("Sequence", "%1 s").arg(s);
    if (s < 3600)
        return QCoreApplication::translate("Sequence", "%1 min %2 s").arg(s / 60).arg(s % 60);
    return QCoreApplication::translate("Sequence", "%1 h %2 min").arg(s / 3600).arg(s % 3600 / 60);
}

QString milliampereText(double amperes)
{
    return QStringLiteral("%L1 mA").arg(amperes * 1000, 0, 'f', 3);
}

QString targetText(const SequenceStep &step, double volts)
{
    const QString v = QStringLiteral("%L1 V").arg(volts, 0, 'g', 6);
    return step.percent ? QStringLiteral("%L1 % (%2)").arg(step.voltage, 0, 'g', 6).arg(v) : v;
}
