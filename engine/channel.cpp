// The one rule for the set values a channel takes, used by the panel, the bridge and sequences.
#include "channel.h"

#include <QCoreApplication>

#include <cmath>
#include <limits>

namespace {

/// A range from \a nominal; \a voltage decides the texts and the unit.
Channel::Range rangeFrom(float nominal, bool voltage, bool negative, int channel)
{
    Channel::Range range;
    range.unit = voltage ? QStringLiteral("V") : QStringLiteral("A");
    range.channel = channel;
    if (nominal == 0.0f) {
        range.reason = voltage
            ? QCoreApplication::translate("Channel", "nominal voltage of channel %1 not known yet")
                  .arg(channel)
            : QCoreApplication::translate("Channel", "nominal current of channel %1 not known yet")
                  .arg(channel);
        return range;
    }
    // Every comparison with an infinite or undefined nominal would let anything through.
    if (!std::isfinite(nominal)) {
        range.reason = voltage
            ? QCoreApplication::translate(
                "Channel", "nominal voltage of channel %1 is \"%2\": no set value is taken for it")
                  .arg(channel)
                  .arg(double(nominal))
            : QCoreApplication::translate(
                "Channel", "nominal current of channel %1 is \"%2\": no set value is taken for it")
                  .arg(channel)
                  .arg(double(nominal));
        return range;
    }
    range.valid = true;
    range.maximum = std::fabs(double(nominal));
    range.minimum = negative ? -range.maximum : 0.0;
    return range;
}

} // namespace

bool Channel::Range::contains(double value) const
{
    if (!valid || !(std::fabs(value) <= double(std::numeric_limits<float>::max())))
        return false;
    const float v = float(value);
    return v >= float(minimum) && v <= float(maximum);
}

QString Channel::Range::refusal(double value) const
{
    if (!valid)
        return reason;
    if (contains(value))
        return QString();
    return QCoreApplication::translate("Channel", "%1 %2 is outside %3 ... %4 %2 of channel %5")
        .arg(value, 0, 'g', 7)
        .arg(unit)
        .arg(minimum, 0, 'g', 7)
        .arg(maximum, 0, 'g', 7)
        .arg(channel);
}

Channel::Range Channel::allowedVoltage() const
{
    return rangeFrom(m_voltageNominal, true, m_epu || m_voltageNominal < 0.0f, m_index);
}

Channel::Range Channel::allowedCurrent() const
{
    return rangeFrom(m_currentNominal, false, false, m_index);
}

bool Channel::operator==(const Channel &o) const
{
    return m_index == o.m_index && m_voltageSet == o.m_voltageSet && m_currentSet == o.m_currentSet
        && m_voltageMeasure == o.m_voltageMeasure && m_currentMeasure == o.m_currentMeasure
        && m_voltageBounds == o.m_voltageBounds && m_currentBounds == o.m_currentBounds
        && m_voltageNominal == o.m_voltageNominal && m_currentNominal == o.m_currentNominal
        && m_status == o.m_status && m_eventStatus == o.m_eventStatus
        && m_eventMask == o.m_eventMask && m_control == o.m_control && m_epu == o.m_epu;
}
