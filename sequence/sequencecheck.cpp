#include "sequencecheck.h"

#include "module.h"
#include "safetywords.h"
#include "sequence.h"

#include <QCoreApplication>

#include <cmath>

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
        const double nominal = std::abs(channel.voltageNominal());
        for (int s = 0; s < sequence.steps.size(); ++s) {
            const SequenceStep &step = sequence.steps.at(s);
            const double volts = step.percent ? nominal * step.voltage / 100 : step.voltage;
            if (std::abs(volts) > nominal * 1.0001)
                return QCoreApplication::translate(
                    "SequenceRunner", "step %1: %L2 V is beyond the nominal %L3 V of channel %4")
                    .arg(s + 1)
                    .arg(volts, 0, 'g', 6)
                    .arg(nominal, 0, 'g', 6)
                    .arg(c);
        }
    }
    return QString();
}
