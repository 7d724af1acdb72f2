#pragma once

#include <QByteArray>
#include <QDateTime>

class Bridge;
class ServiceNotifier;

/// The bridge's metrics in Prometheus' text format (vorn_bridge_*, and process_* of the
/// program): modules by state, answers, polling cycle times, link watchdog expiries,
/// publishes, commands accepted and refused by reason, queue depths, the broker connection,
/// its losses and reconnects, sequences active, events published, held and dropped, the
/// service watchdog's pings, the process's processor time and memory.
class BridgeMetrics
{
public:
    /// The counts of \a bridge (its own since it started; a reload starts them anew) and of
    /// \a notifier (not owned; may be null).
    QByteArray render(const Bridge &bridge, const ServiceNotifier *notifier) const;

private:
    QDateTime m_start = QDateTime::currentDateTimeUtc();
};
