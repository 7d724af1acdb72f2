#pragma once

#include "faults/faultplan.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QTimer>

#include <functional>

namespace vornsim {

/// Writes a front end's output in order, with pauses where a fault asks for them: delayed
/// answers, split answers, an endless stream, closing after an answer. Everything goes through
/// the event loop; nothing blocks.
class OutputScheduler : public QObject
{
    Q_OBJECT

public:
    /// The transport behind the scheduler. `backlog` reports bytes written but not yet sent, so
    /// the endless stream does not pile up in memory.
    struct Sink
    {
        std::function<void(const QByteArray &)> write;
        std::function<qint64()> backlog;
        std::function<void()> close;
    };

    explicit OutputScheduler(Sink sink, QObject *parent = nullptr);

    /// Writes `data` after `delayMs` (counted from when everything queued before has gone out).
    void send(const QByteArray &data, int delayMs = 0);
    /// Sends one answer line as `plan` decides: on time, late, split, junk, endless or not at
    /// all; queues the close when the plan's answer budget is used up.
    void sendAnswer(FaultPlan &plan, const QByteArray &answer);
    /// Streams bytes without CR LF until `maxBytes` or `maxMs` is reached, or stop() is called.
    void sendEndless(qint64 maxBytes, int maxMs);
    /// Closes the transport once everything queued before has gone out.
    void closeWhenDone();
    /// Forgets everything still queued (the peer has gone).
    void stop();
    bool idle() const { return m_queue.isEmpty() && !m_timer.isActive(); }
    /// Bytes of the endless stream written so far (over the life of the scheduler).
    qint64 endlessBytesWritten() const { return m_endlessTotal; }

private:
    enum class Kind { Data, Endless, Close };
    struct Item
    {
        Kind kind = Kind::Data;
        QByteArray data;
        int delayMs = 0;
        qint64 maxBytes = 0;
        int maxMs = 0;
    };

    void pump();
    bool endlessStep(Item &item);

    Sink m_sink;
    QList<Item> m_queue;
    QTimer m_timer;
    QElapsedTimer m_endlessClock;
    qint64 m_endlessSent = 0;
    qint64 m_endlessTotal = 0;
    bool m_endlessRunning = false;
};

} // namespace vornsim
