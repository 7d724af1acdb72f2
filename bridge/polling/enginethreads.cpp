#include "enginethreads.h"

#include <QThread>

EngineThreads::~EngineThreads()
{
    for (const Worker &worker : std::as_const(m_workers)) {
        worker.thread->quit();
        worker.thread->wait();
        // The thread is over: its objects can go from here.
        delete worker.home;
        delete worker.thread;
    }
}

QObject *EngineThreads::gpibBoard(int board)
{
    Worker &worker = m_workers[board];
    if (!worker.thread) {
        worker.thread = new QThread;
        worker.thread->setObjectName(QStringLiteral("gpib%1").arg(board));
        worker.home = new QObject;
        worker.home->moveToThread(worker.thread);
        worker.thread->start();
    }
    return worker.home;
}

QList<QObject *> EngineThreads::homes() const
{
    QList<QObject *> homes;
    for (const Worker &worker : m_workers)
        homes.append(worker.home);
    return homes;
}
