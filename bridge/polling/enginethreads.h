#pragma once

#include <QHash>
#include <QList>
#include <QObject>

class QThread;

/// The worker threads of the GPIB boards. A GPIB driver call blocks its caller for up to the
/// device time-out, so the engines of a board's modules run on a thread of their own, one per
/// board because the modules of a board share its bus; the TCP and serial modules, driven by
/// their sockets, stay on the bridge's thread. Each thread is started on first use and ended
/// when this object is destroyed, which must be after everything living on it is gone.
///
/// The driver loader keeps one driver status for the program: with more than one board its
/// calls would have to be serialised. The configuration names board 0 alone.
class EngineThreads
{
public:
    EngineThreads() = default;
    ~EngineThreads();
    EngineThreads(const EngineThreads &) = delete;
    EngineThreads &operator=(const EngineThreads &) = delete;

    /// An object living on the worker thread of GPIB board \a board, for making and calling
    /// the objects that run there.
    QObject *gpibBoard(int board);
    /// One object living on each worker thread started so far.
    QList<QObject *> homes() const;

private:
    struct Worker
    {
        QThread *thread = nullptr;
        QObject *home = nullptr;
    };
    QHash<int, Worker> m_workers;
};
