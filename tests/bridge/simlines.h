#pragma once

#include "simprocess.h"

#include <QHostAddress>
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

/// The (first) TCP port of a simulator.
inline quint16 portOf(const SimProcess &sim)
{
    return quint16(
        sim.endpoint().section(QLatin1Char(':'), -1).section(QLatin1Char('-'), 0, 0).toUInt());
}

/// The control port a simulator started with "--control 0" prints after its ready line.
inline quint16 controlPortOf(SimProcess &sim)
{
    const QByteArray line = sim.nextLine(); // "control 127.0.0.1:<port>"
    return quint16(line.mid(line.lastIndexOf(':') + 1).toUInt());
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
