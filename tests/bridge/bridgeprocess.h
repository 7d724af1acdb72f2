#pragma once

#include "spin.h"

#include <QProcess>
#include <QStringList>

/// The bridge program run by a test with a configuration file of the test's own; keeps what
/// it logs.
class BridgeProcess
{
public:
    ~BridgeProcess() { stop(); }

    void start(const QString &config)
    {
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(QStringLiteral(VORN_BRIDGE_PATH), { config });
    }

    /// Runs the event loop until the log holds \a text \a times; false after \a ms.
    bool waitForLog(const QByteArray &text, int ms, int times = 1)
    {
        return spinUntil(
            [&]() {
                read();
                return log.count(text) >= times;
            },
            ms);
    }

    /// Everything logged so far.
    const QByteArray &read()
    {
        log += process.readAll();
        return log;
    }

    void stop()
    {
        if (process.state() == QProcess::NotRunning)
            return;
        process.terminate();
        if (!process.waitForFinished(5000)) {
            process.kill();
            process.waitForFinished(3000);
        }
    }

    QProcess process;
    QByteArray log;
};
