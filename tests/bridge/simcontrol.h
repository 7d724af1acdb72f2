#pragma once

#include "simprocess.h"

#include <QFile>
#include <QHostAddress>
#include <QList>
#include <QTcpSocket>

/// Sends one line to a port of a simulator (its module or its control port) and returns the
/// answer line.
inline QByteArray exchange(quint16 port, const QByteArray &line)
{
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, port);
    QByteArray answer;
    if (socket.waitForConnected(3000) && socket.write(line + "\r\n") > 0) {
        while (!answer.endsWith('\n') && socket.waitForReadyRead(3000))
            answer += socket.readAll();
    }
    return answer.trimmed();
}

/// Asks a simulator directly and returns the numbers of its answer (units stripped), in the
/// order of the queries and channels.
inline QList<double> ask(quint16 port, const QByteArray &query)
{
    QList<double> values;
    for (QByteArray field : exchange(port, query).replace(';', ',').split(',')) {
        while (!field.isEmpty() && QByteArrayView("VAC%/s").contains(field.back()))
            field.chop(1);
        values.append(field.toDouble());
    }
    return values;
}

inline quint16 portOf(const SimProcess &sim)
{
    return quint16(
        sim.endpoint().section(QLatin1Char(':'), -1).section(QLatin1Char('-'), 0, 0).toUInt());
}

/// Starts a simulated module on TCP \a port (0: a free one), without noise and with limits
/// below nominal, so that every value is its own.
inline bool startSimModule(SimProcess &sim, quint16 port, const char *preset, const char *serial,
    const QStringList &more = QStringList())
{
    return sim.start(
        QStringList { QStringLiteral("--tcp"), QString::number(port), QStringLiteral("--preset"),
            QLatin1String(preset), QStringLiteral("--serial-number"), QLatin1String(serial),
            QStringLiteral("--no-noise"), QStringLiteral("--limits"), QStringLiteral("90,100") }
            + more,
        "tcp");
}

/// The port of the control port a simulator started with "--control 0" prints after its ready
/// line; 0 when none came.
inline quint16 controlPortOf(SimProcess &sim)
{
    const QByteArray line = sim.nextLine(); // "control 127.0.0.1:<port>"
    return quint16(line.mid(line.lastIndexOf(':') + 1).toUInt());
}

inline bool writeFile(const QString &path, const QByteArray &text, QFile::Permissions permissions)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text) == text.size()
        && file.setPermissions(permissions);
}

/// Every channel of \a modules modules from \a firstPort on at \a volts, straight through the
/// modules' ports; false when one does not answer.
inline bool switchAllOn(quint16 firstPort, int modules, int volts)
{
    const QByteArray line = QStringLiteral(":VOLT %1,(@0-3);:VOLT ON,(@0-3);:READ:CHAN:CONT? (@0)")
                                .arg(volts)
                                .toLatin1();
    for (int m = 0; m < modules; ++m) {
        if (exchange(quint16(firstPort + m), line).isEmpty())
            return false;
    }
    return true;
}
