#pragma once

#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

#include <atomic>
#include <functional>
#include <memory>

/// Tells the service manager how the bridge is (sd_notify; nothing happens when the bridge was
/// not started as a notify service): READY once it has read its file and made its first attempt
/// at the broker, RELOADING while it reads the file again, a STATUS line whenever the text of
/// the status function changes (looked at every second), and, when the service has a watchdog,
/// WATCHDOG pings at a third of its interval from the event loop, so that a hung loop is
/// restarted. A ping leaves only when every worker thread given has run a queued call since
/// the last one, so that a hung worker is restarted too.
class ServiceNotifier : public QObject
{
    Q_OBJECT

public:
    /// \a status makes the STATUS text.
    explicit ServiceNotifier(std::function<QString()> status, QObject *parent = nullptr);

    /// The bridge works: READY (once until reloading()).
    void ready();
    /// The bridge reads its file again and starts anew.
    void reloading();
    /// The event loops of \a homes (objects living on worker threads, not owned) must answer
    /// too.
    void setWorkers(const QList<QObject *> &homes);

    /// The watchdog interval the service manager asked for, in ms; 0 for none.
    int watchdogMs() const { return m_watchdogMs; }
    /// Pings sent, and pings left out because a worker did not answer, since construction.
    quint64 pingCount() const { return m_pings; }
    quint64 missedPingCount() const { return m_missedPings; }

private:
    struct Worker
    {
        QPointer<QObject> home;
        /// When (on m_clock, in ms) the worker last ran the queued call; shared with the call.
        std::shared_ptr<std::atomic<qint64>> answeredAt;
    };

    void tick();
    void updateStatus();
    static void send(const QByteArray &state);

    std::function<QString()> m_status;
    QString m_lastStatus;
    QList<Worker> m_workers;
    QElapsedTimer m_clock;
    QTimer m_watchdog;
    QTimer m_statusTimer;
    qint64 m_lastPingAt = 0;
    int m_watchdogMs = 0;
    bool m_ready = false;
    quint64 m_pings = 0;
    quint64 m_missedPings = 0;
};
