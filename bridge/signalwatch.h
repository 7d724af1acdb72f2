#pragma once

#include <QObject>

class QSocketNotifier;

/// Turns SIGTERM, SIGINT and SIGHUP into Qt signals on the event loop. Create it before
/// anything else starts, so that no signal that arrives early ends the program without a
/// goodbye to the broker; a signal that arrives before the event loop runs is reported once it
/// does. One per process: the handlers are process-wide.
class SignalWatch : public QObject
{
    Q_OBJECT

public:
    explicit SignalWatch(QObject *parent = nullptr);
    ~SignalWatch() override;

signals:
    /// SIGTERM or SIGINT.
    void terminationRequested();
    /// SIGHUP: read the configuration again.
    void reloadRequested();

private:
    void onReadable();

    QSocketNotifier *m_notifier = nullptr;
};
