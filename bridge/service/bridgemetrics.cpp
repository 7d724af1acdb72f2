#include "bridgemetrics.h"

#include "bridge.h"
#include "cycletimes.h"
#include "historypublisher.h"
#include "modulecommands.h"
#include "modulepoller.h"
#include "modulepublisher.h"
#include "mqttclient.h"
#include "scpi_parser.h"
#include "servicenotifier.h"

#include <QDir>
#include <QFile>

#include <cmath>
#include <sys/resource.h>
#include <unistd.h>

namespace {

/// Builds the text: a family's HELP and TYPE lines, then its samples.
class MetricsText
{
public:
    void family(const char *name, const char *type, const char *help)
    {
        m_text
            += QByteArray("# HELP ") + name + ' ' + help + "\n# TYPE " + name + ' ' + type + '\n';
    }
    void sample(const char *name, double value, const QByteArray &labels = QByteArray())
    {
        m_text += name;
        if (!labels.isEmpty())
            m_text += '{' + labels + '}';
        // Counters in full, as integers while they are.
        const bool whole = std::abs(value) < 9e15 && value == std::floor(value);
        m_text += ' '
            + (whole ? QByteArray::number(qint64(value)) : QByteArray::number(value, 'g', 15))
            + '\n';
    }
    /// One sample of a family of its own.
    void single(const char *name, const char *type, const char *help, double value)
    {
        family(name, type, help);
        sample(name, value);
    }
    QByteArray text() const { return m_text; }

private:
    QByteArray m_text;
};

/// name="value" with the value escaped as the format wants.
QByteArray label(const char *name, const QString &value)
{
    QByteArray v = value.toUtf8();
    v.replace('\\', "\\\\").replace('"', "\\\"").replace('\n', "\\n");
    return QByteArray(name) + "=\"" + v + '"';
}

/// A field of /proc/self/status in bytes ("VmRSS:   1234 kB"), or -1.
double statusBytes(const QByteArray &status, const char *field)
{
    for (const QByteArray &line : status.split('\n')) {
        if (line.startsWith(field))
            return double(line.mid(qstrlen(field)).trimmed().split(' ').first().toLongLong())
                * 1024.0;
    }
    return -1.0;
}

} // namespace

QByteArray BridgeMetrics::render(const Bridge &bridge, const ServiceNotifier *notifier) const
{
    MetricsText m;
    const BridgeSettings &settings = bridge.settings();
    m.family("vorn_bridge_info", "gauge", "The bridge's version and client id.");
    m.sample("vorn_bridge_info", 1,
        label("version", QStringLiteral(VORN_VERSION)) + ','
            + label("client_id", settings.broker.clientId));

    const QList<ModulePoller *> &pollers = bridge.pollers();
    const int online = bridge.onlineCount();
    const int clash = bridge.clashCount();
    m.family("vorn_bridge_modules", "gauge", "Modules of the file by state.");
    m.sample("vorn_bridge_modules", online, label("state", QStringLiteral("online")));
    m.sample("vorn_bridge_modules", clash, label("state", QStringLiteral("clash")));
    m.sample("vorn_bridge_modules", double(pollers.size() - online - clash),
        label("state", QStringLiteral("offline")));
    m.family("vorn_bridge_module_up", "gauge", "1 while the module is online.");
    quint64 answers = 0;
    quint64 expiries = 0;
    int queued = 0;
    CycleTimes::Counts cycles;
    for (const ModulePoller *poller : pollers) {
        m.sample("vorn_bridge_module_up", poller->isOnline() ? 1 : 0,
            label("module", poller->settings().name));
        answers += poller->answerCount();
        expiries += poller->watchdogExpiries();
        cycles += poller->cycleTimes();
        queued += poller->queuedCommandCount();
    }
    m.single("vorn_bridge_answers_total", "counter", "Answers of the modules processed.",
        double(answers));
    m.family("vorn_bridge_poll_cycle_seconds", "histogram",
        "Time from the end of one polling cycle of a module to the end of the next.");
    quint64 cumulative = 0;
    for (size_t i = 0; i < cycles.buckets.size(); ++i) {
        cumulative += cycles.buckets[i];
        const QByteArray bound = i < CycleTimes::BoundsMs.size()
            ? QByteArray::number(CycleTimes::BoundsMs[i] / 1000.0)
            : QByteArrayLiteral("+Inf");
        m.sample(
            "vorn_bridge_poll_cycle_seconds_bucket", double(cumulative), "le=\"" + bound + '"');
    }
    m.sample("vorn_bridge_poll_cycle_seconds_sum", double(cycles.sumMs) / 1000.0);
    m.sample("vorn_bridge_poll_cycle_seconds_count", double(cumulative));
    m.single("vorn_bridge_module_watchdog_expiries_total", "counter",
        "Module links ended because the answers stopped for 4 s.", double(expiries));
    m.single("vorn_bridge_commands_queued", "gauge",
        "Commands waiting for their module (TCP and serial modules).", queued);

    quint64 accepted = 0;
    std::array<quint64, ModuleCommands::Refusals> refused {};
    for (const ModuleCommands *commands : bridge.commands()) {
        accepted += commands->acceptedCount();
        for (int i = 0; i < ModuleCommands::Refusals; ++i)
            refused[size_t(i)] += commands->refusedCount(ModuleCommands::Refusal(i));
    }
    m.single("vorn_bridge_commands_accepted_total", "counter",
        "Commands and sequence commands handed to the modules.", double(accepted));
    m.family("vorn_bridge_commands_refused_total", "counter", "Commands refused, by reason.");
    for (int i = 0; i < ModuleCommands::Refusals; ++i)
        m.sample("vorn_bridge_commands_refused_total", double(refused[size_t(i)]),
            label(
                "reason", QLatin1String(ModuleCommands::refusalName(ModuleCommands::Refusal(i)))));

    int pending = 0;
    for (const ModulePublisher *publisher : bridge.publishers())
        pending += publisher->pendingCount();
    const MqttClient *client = bridge.client();
    m.single("vorn_bridge_publishes_total", "counter", "Messages handed to the broker.",
        double(client->publishCount()));
    m.single("vorn_bridge_values_pending", "gauge",
        "Changed values waiting for their topic's next publish.", pending);
    m.single("vorn_bridge_broker_unacknowledged", "gauge",
        "QoS 1 messages the broker has not acknowledged yet.", client->unacknowledgedCount());
    m.single("vorn_bridge_broker_connected", "gauge", "1 while connected to the broker.",
        client->isConnected() ? 1 : 0);
    m.single("vorn_bridge_broker_connections_total", "counter",
        "Connections the broker accepted; all but the first are reconnects.",
        double(client->connectionCount()));
    m.family("vorn_bridge_broker_losses_total", "counter",
        "Broker connections lost and attempts failed: gone (network, no answer, shutting "
        "down), refused (the CONNECT), kicked (ended by the broker).");
    const std::pair<MqttClient::LossKind, const char *> kinds[] = {
        { MqttClient::LossKind::Gone, "gone" },
        { MqttClient::LossKind::Refused, "refused" },
        { MqttClient::LossKind::Kicked, "kicked" },
    };
    for (const auto &[kind, name] : kinds)
        m.sample("vorn_bridge_broker_losses_total", double(client->lossCount(kind)),
            label("kind", QLatin1String(name)));
    m.single("vorn_bridge_broker_reconnect_pause_seconds", "gauge",
        "The pause before the attempt after the latest loss.", client->lastPauseMs() / 1000.0);

    m.single("vorn_bridge_sequences_active", "gauge", "Ramp sequences running, paused or stopping.",
        bridge.activeSequenceCount());

    quint64 published = 0;
    quint64 dropped[2] = {};
    int held = 0;
    for (const HistoryPublisher *history : bridge.histories()) {
        published += history->publishedCount();
        held += history->heldCount();
        dropped[0] += history->droppedCount(HistoryPublisher::DropCause::HeldFull);
        dropped[1] += history->droppedCount(HistoryPublisher::DropCause::Rate);
    }
    m.single("vorn_bridge_events_published_total", "counter",
        "Event history entries handed to the broker.", double(published));
    m.single("vorn_bridge_events_held", "gauge",
        "Event history entries held while the broker is away.", held);
    m.family("vorn_bridge_events_dropped_total", "counter",
        "Event history entries not published: held_full (more held than kept), rate (more a "
        "second than a module may publish).");
    m.sample("vorn_bridge_events_dropped_total", double(dropped[0]),
        label("cause", QStringLiteral("held_full")));
    m.sample("vorn_bridge_events_dropped_total", double(dropped[1]),
        label("cause", QStringLiteral("rate")));

    m.single("vorn_bridge_service_watchdog_seconds", "gauge",
        "The service manager's watchdog interval; 0 for none.",
        notifier ? notifier->watchdogMs() / 1000.0 : 0.0);
    m.single("vorn_bridge_service_watchdog_pings_total", "counter",
        "Watchdog pings sent to the service manager.",
        notifier ? double(notifier->pingCount()) : 0);
    m.single("vorn_bridge_service_watchdog_missed_total", "counter",
        "Watchdog pings left out because a worker thread did not answer.",
        notifier ? double(notifier->missedPingCount()) : 0);

    rusage usage = {};
    getrusage(RUSAGE_SELF, &usage);
    m.single("process_cpu_seconds_total", "counter", "User and system CPU time spent in seconds.",
        double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
            + double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6);
    QFile status(QStringLiteral("/proc/self/status"));
    const QByteArray statusText
        = status.open(QIODevice::ReadOnly) ? status.readAll() : QByteArray();
    m.single("process_resident_memory_bytes", "gauge", "Resident memory size in bytes.",
        statusBytes(statusText, "VmRSS:"));
    m.single("process_virtual_memory_bytes", "gauge", "Virtual memory size in bytes.",
        statusBytes(statusText, "VmSize:"));
    m.single("process_open_fds", "gauge", "Number of open file descriptors.",
        double(QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::Files | QDir::System).size()));
    rlimit files = {};
    getrlimit(RLIMIT_NOFILE, &files);
    m.single("process_max_fds", "gauge", "Maximum number of open file descriptors.",
        double(files.rlim_cur));
    m.single("process_start_time_seconds", "gauge",
        "Start time of the process since unix epoch in seconds.",
        double(m_start.toMSecsSinceEpoch()) / 1000.0);
    return m.text();
}
