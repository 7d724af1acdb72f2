// The service manager's watchdog: pings from the event loop, and none while a worker thread of
// the bridge hangs, so that the service manager restarts a bridge whose GPIB engine is stuck.
#include "servicenotifier.h"
#include "spin.h"

#include <QSemaphore>
#include <QTest>
#include <QThread>

class TestServiceNotifier : public QObject
{
    Q_OBJECT

private slots:
    void noPingWhileAWorkerHangs()
    {
        qputenv("WATCHDOG_USEC", "300000"); // a ping every 100 ms
        qunsetenv("NOTIFY_SOCKET"); // the pings go nowhere
        QThread thread;
        QObject home;
        home.moveToThread(&thread);
        thread.start();
        ServiceNotifier notifier({});
        QCOMPARE(notifier.watchdogMs(), 300);
        notifier.setWorkers({ &home });
        QVERIFY(spinUntil([&]() { return notifier.pingCount() >= 3; }, 5000));
        QCOMPARE(notifier.missedPingCount(), 0u);

        QSemaphore release;
        QMetaObject::invokeMethod(&home, [&release]() { release.acquire(); }); // the worker hangs
        QVERIFY(spinUntil([&]() { return notifier.missedPingCount() >= 3; }, 5000));
        const quint64 pings = notifier.pingCount();
        spinFor(300);
        QCOMPARE(notifier.pingCount(), pings);

        release.release();
        QVERIFY(spinUntil([&]() { return notifier.pingCount() >= pings + 2; }, 5000));
        thread.quit();
        thread.wait();
    }
};

QTEST_GUILESS_MAIN(TestServiceNotifier)
#include "tst_servicenotifier.moc"
