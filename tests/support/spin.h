#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTimer>

/// Runs the event loop until \a done returns true or \a timeoutMs have passed; returns whether
/// \a done came true. Unlike QTest::qWaitFor it never sleeps between events, so a request
/// cycle between two parties in this process runs at full speed.
template <typename Predicate> bool spinUntil(Predicate done, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    QTimer wake; // wakes the loop now and then, so the deadline is noticed
    wake.start(5);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

/// Runs the event loop for \a ms milliseconds.
inline void spinFor(int ms)
{
    spinUntil([] { return false; }, ms);
}
