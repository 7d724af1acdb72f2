#include "servicenotifier.h"

#include "modulepoller.h"

#include <systemd/sd-daemon.h>

ServiceNotifier::ServiceNotifier(std::function<QString()> status, QObject *parent)
    : QObject(parent)
    , m_status(std::move(status))
{
    m_clock.start();
    uint64_t usec = 0;
    if (sd_watchdog_enabled(0, &usec) > 0 && usec > 0) {
        m_watchdogMs = int(qMin<uint64_t>(usec / 1000, 24u * 3600 * 1000));
        m_watchdog.setInterval(qMax(1, m_watchdogMs / 3));
        connect(&m_watchdog, &QTimer::timeout, this, &ServiceNotifier::tick);
        m_watchdog.start();
        qCInfo(lcBridge).noquote()
            << QStringLiteral("service watchdog: %1 s").arg(m_watchdogMs / 1000.0);
    }
    m_statusTimer.setInterval(1000);
    connect(&m_statusTimer, &QTimer::timeout, this, &ServiceNotifier::updateStatus);
    m_statusTimer.start();
}

void ServiceNotifier::send(const QByteArray &state)
{
    sd_notify(0, state.constData());
}

void ServiceNotifier::ready()
{
    if (m_ready)
        return;
    m_ready = true;
    m_lastStatus.clear();
    updateStatus();
    send("READY=1");
}

void ServiceNotifier::reloading()
{
    m_ready = false;
    send("RELOADING=1");
}

void ServiceNotifier::setWorkers(const QList<QObject *> &homes)
{
    m_workers.clear();
    for (QObject *home : homes)
        m_workers.append({ home, std::make_shared<std::atomic<qint64>>(m_clock.elapsed()) });
}

void ServiceNotifier::tick()
{
    bool answered = true;
    for (const Worker &worker : std::as_const(m_workers)) {
        if (worker.home && worker.answeredAt->load() < m_lastPingAt)
            answered = false;
    }
    if (!answered) {
        ++m_missedPings;
        qCWarning(lcBridge) << "a worker thread did not answer: no watchdog ping";
    } else {
        ++m_pings;
        m_lastPingAt = m_clock.elapsed();
        send("WATCHDOG=1");
    }
    for (const Worker &worker : std::as_const(m_workers)) {
        if (!worker.home)
            continue;
        QMetaObject::invokeMethod(
            worker.home, [clock = m_clock, at = worker.answeredAt] { at->store(clock.elapsed()); },
            Qt::QueuedConnection);
    }
}

void ServiceNotifier::updateStatus()
{
    const QString status = m_status ? m_status() : QString();
    if (status == m_lastStatus)
        return;
    m_lastStatus = status;
    send("STATUS=" + status.toUtf8());
}
