#pragma once

#include <QElapsedTimer>
#include <QObject>

/// Lets the answers of many modules gather between two passes of the event loop.
///
/// Each pass that waits for the sockets asks the system about every one of them (poll()), which
/// with hundreds of modules costs more than the answer that woke it. Once installed, a pass that
/// would wait for events sooner than \a intervalUs after the previous one first lets the rest of
/// that time go by, so that it takes all the answers that came meanwhile at once: the loop's
/// processor time falls with the number of passes, and an answer waits at most that long.
class LoopBatching : public QObject
{
    Q_OBJECT

public:
    /// On the event loop of the calling thread.
    explicit LoopBatching(int intervalUs, QObject *parent = nullptr);

private:
    void beforeWaiting();

    qint64 m_intervalNs;
    QElapsedTimer m_clock;
    qint64 m_lastWait = -1;
};
