#pragma once

// The bridge program and simulated modules as the benchmarks run them: a bridge with a file of
// the bench's own, read through its metrics, and a simulator of many modules.
#include "metricsprobe.h"
#include "simcontrol.h"
#include "simprocess.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>

/// The bridge program with a file of the bench's own, its metrics on a port of their own.
class BridgeRun
{
public:
    ~BridgeRun()
    {
        if (process.state() != QProcess::NotRunning) {
            process.terminate();
            process.waitForFinished(10000);
        }
    }

    /// \a modules are "[module ...]" sections; the [broker] and [bridge] come from here.
    bool start(quint16 brokerPort, const QByteArray &modules, const QByteArray &defaults)
    {
        metricsPort = freeLoopbackPort();
        const QByteArray text = QStringLiteral("[broker]\nport = %1\nclient-id = bench\n"
                                               "insecure-commands = local-only\n"
                                               "[bridge]\nmetrics = %2\n[defaults]\n")
                                    .arg(brokerPort)
                                    .arg(metricsPort)
                                    .toLatin1()
            + defaults + modules;
        QFile file(dir.filePath(QStringLiteral("bridge.conf")));
        if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size())
            return false;
        file.close();
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner);
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        // Warnings only: a line per command would be the bench's own load.
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_LOGGING_RULES"), QStringLiteral("vorn.*.info=false"));
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(VORN_BRIDGE_PATH), { file.fileName() });
        return process.waitForStarted(10000);
    }

    double metric(const QByteArray &name) const { return scrapeMetric(metricsPort, name); }
    bool allOnline(int modules) const
    {
        return metric("vorn_bridge_modules{state=\"online\"}") == modules;
    }
    long rss() const { return residentKiB(QString::number(process.processId())); }

    QTemporaryDir dir;
    QProcess process;
    quint16 metricsPort = 0;
};

/// "[module mN]" sections for the simulator's modules from \a firstPort, commands on.
inline QByteArray moduleSections(quint16 firstPort, int modules)
{
    QByteArray text;
    for (int m = 0; m < modules; ++m)
        text += QStringLiteral("[module m%1]\ntcp = 127.0.0.1:%2\ncommands = on\n")
                    .arg(m)
                    .arg(firstPort + m)
                    .toLatin1();
    return text;
}

/// Starts \a sim with \a modules 4-channel modules from serial \a firstSerial, a control port
/// and \a more options, and switches every channel on at 100 V (so that it can trip); the
/// control port, or 0.
inline quint16 startModules(SimProcess &sim, int modules, int firstSerial, const QStringList &more = {})
{
    if (!sim.start(
            QStringList { QStringLiteral("--tcp"), QStringLiteral("0"),
                QStringLiteral("--channels"), QStringLiteral("4"), QStringLiteral("--modules"),
                QString::number(modules), QStringLiteral("--serial-number"),
                QString::number(firstSerial), QStringLiteral("--control"), QStringLiteral("0") }
                + more,
            "tcp")) {
        std::fprintf(stderr, "the simulator does not start\n");
        return 0;
    }
    const quint16 control = controlPortOf(sim);
    if (!switchAllOn(portOf(sim), modules, 100)) {
        std::fprintf(stderr, "a simulated module does not answer\n");
        return 0;
    }
    return control;
}

