#include "sequencecheck.h"

#include "module.h"
#include "safetywords.h"
#include "sequence.h"

#include <QCoreApplication>

namespace {

/// Why a step of \a sequence goes outside \a channel's allowed ranges (its target voltage,
/// also one in percent of the nominal voltage, and its current), or an empty text. A channel
/// whose nominal voltage or current is unusable takes no sequence at all.
QString stepOutsideRange(const Sequence &sequence, const Channel &channel)
{
    const Channel::Range voltage = channel.allowedVoltage();
    const Channel::Range current = channel.allowedCurrent();
    if (!voltage.valid)
        return voltage.reason;
    if (!current.valid)
        return current.reason;
    for (int s = 0; s < sequence.steps.size(); ++s) {
        const SequenceStep &step = sequence.steps.at(s);
        const double volts = step.percent ? voltage.maximum * step.voltage / 100 : step.voltage;
        QString why = voltage.refusal(volts);
        if (why.isEmpty() && step.current >= 0)
            why = current.refusal(step.current);
        if (!why.isEmpty())
            return QCoreApplication::translate("SequenceRunner", "step %1: %2").arg(s + 1).arg(why);
    }
    return QString();
}

} // namespace

QString checkSequenceOnModule(const Sequence &sequence, const Module &module, QList<int> *channels)
{
    const int count = module.channelCount();
    *channels = sequence.channels;
    if (channels->isEmpty())
        for (int c = 0; c < count; ++c)
            channels->append(c);
    for (int c : *channels) {
        if (c >= count)
            return QCoreApplication::translate("SequenceRunner",
                "channel %1 is not there: the module has %n channels", nullptr, count)
                .arg(c);
        const Channel &channel = module.channel(c);
        const QList<SafetyCondition> blocking
            = blockingConditions(channel.status(), channel.eventStatus(), module.status());
        if (!blocking.isEmpty())
            return QCoreApplication::translate("SequenceRunner", "channel %1 can not come on: %2")
                .arg(c)
                .arg(safetyConditionText(blocking.first()));
        const QString outside = stepOutsideRange(sequence, channel);
        if (!outside.isEmpty())
            return outside;
    }
    return QString();
}
