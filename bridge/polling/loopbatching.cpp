#include "loopbatching.h"

#include <QAbstractEventDispatcher>

#include <chrono>
#include <thread>

LoopBatching::LoopBatching(int intervalUs, QObject *parent)
    : QObject(parent)
    , m_intervalNs(qint64(intervalUs) * 1000)
{
    m_clock.start();
    if (QAbstractEventDispatcher *dispatcher = QAbstractEventDispatcher::instance()) {
        connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this,
            &LoopBatching::beforeWaiting);
    }
}

void LoopBatching::beforeWaiting()
{
    qint64 now = m_clock.nsecsElapsed();
    if (m_lastWait >= 0 && now - m_lastWait < m_intervalNs) {
        std::this_thread::sleep_for(std::chrono::nanoseconds(m_intervalNs - (now - m_lastWait)));
        now = m_clock.nsecsElapsed();
    }
    m_lastWait = now;
}
