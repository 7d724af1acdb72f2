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
