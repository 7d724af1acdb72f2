#include "risingconditions.h"

RisingConditions RisingConditions::between(
    const StatusWords &before, const StatusWords &now, quint16 healthBits)
{
    const quint16 wasReported = before.status ^ healthBits;
    const quint16 isReported = now.status ^ healthBits;
    const quint16 eventRose = now.eventStatus & ~before.eventStatus;
    RisingConditions rising;
    rising.byStatus = isReported & ~wasReported;
    rising.byEvent = eventRose & ~wasReported & ~isReported;
    return rising;
}
