#include "faults/outputscheduler.h"

#include "simlog.h"

namespace vornsim {

namespace {
constexpr qint64 endlessChunk = 64 * 1024;
constexpr qint64 endlessBacklog = 256 * 1024;
} // namespace

OutputScheduler::OutputScheduler(Sink sink, QObject *parent)
    : QObject(parent)
    , m_sink(std::move(sink))
{
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &OutputScheduler::pump);
}

void OutputScheduler::send(const QByteArray &data, int delayMs)
{
    Item item;
    item.data = data;
    item.delayMs = delayMs;
    m_queue << item;
    pump();
}

void OutputScheduler::sendAnswer(FaultPlan &plan, const QByteArray &answer)
{
    const FaultOptions &o = plan.options();
    switch (plan.nextAnswer()) {
    case FaultPlan::Action::Send: {
        const QList<QByteArray> pieces = plan.segments(answer);
        for (int i = 0; i < pieces.size(); ++i)
            send(pieces.at(i), i == 0 ? o.answerDelayMs : o.splitDelayMs);
        break;
    }
    case FaultPlan::Action::Drop:
        qCDebug(lcSim) << "answer dropped";
        break;
    case FaultPlan::Action::Garbage:
        send(FaultPlan::garbage(int(answer.size())), o.answerDelayMs);
        break;
    case FaultPlan::Action::Endless:
        sendEndless(o.endlessBytes, o.endlessMs);
        break;
    }
    if (plan.closeDue())
        closeWhenDone();
}

void OutputScheduler::sendEndless(qint64 maxBytes, int maxMs)
{
    Item item;
    item.kind = Kind::Endless;
    item.maxBytes = maxBytes;
    item.maxMs = maxMs;
    m_queue << item;
    pump();
}

void OutputScheduler::closeWhenDone()
{
    Item item;
    item.kind = Kind::Close;
    m_queue << item;
    pump();
}

void OutputScheduler::stop()
{
    m_queue.clear();
    m_timer.stop();
    m_endlessRunning = false;
}

void OutputScheduler::pump()
{
    while (!m_timer.isActive() && !m_queue.isEmpty()) {
        Item &front = m_queue.first();
        if (front.delayMs > 0) {
            const int delay = front.delayMs;
            front.delayMs = 0;
            m_timer.start(delay);
            return;
        }
        if (front.kind == Kind::Endless) {
            if (endlessStep(front))
                return;
            m_queue.removeFirst();
            continue;
        }
        const Item item = m_queue.takeFirst();
        if (item.kind == Kind::Data)
            m_sink.write(item.data);
        else
            m_sink.close();
    }
}

bool OutputScheduler::endlessStep(Item &item)
{
    if (!m_endlessRunning) {
        m_endlessRunning = true;
        m_endlessSent = 0;
        m_endlessClock.start();
        qCDebug(lcSim) << "endless answer started";
    }
    if (m_endlessSent >= item.maxBytes || m_endlessClock.elapsed() >= item.maxMs) {
        qCDebug(lcSim) << "endless answer stopped after" << m_endlessSent << "bytes";
        m_endlessRunning = false;
        return false;
    }
    if (!m_sink.backlog || m_sink.backlog() < endlessBacklog) {
        static const QByteArray pattern = QByteArrayLiteral("1.00000E3V,");
        QByteArray chunk;
        const qint64 size = qMin(endlessChunk, item.maxBytes - m_endlessSent);
        chunk.reserve(size + pattern.size());
        while (chunk.size() < size)
            chunk += pattern;
        chunk.truncate(size);
        m_sink.write(chunk);
        m_endlessSent += size;
        m_endlessTotal += size;
    }
    m_timer.start(2);
    return true;
}

} // namespace vornsim
