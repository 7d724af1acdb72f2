#include "writeround.h"

#include <QTcpSocket>

#include <utility>

void WriteRound::add(QTcpSocket *socket)
{
    m_pending.append(socket);
    if (m_scheduled)
        return;
    m_scheduled = true;
    // A queued call runs after the socket notifications of this pass of the event loop.
    QMetaObject::invokeMethod(this, &WriteRound::flush, Qt::QueuedConnection);
}

void WriteRound::flush()
{
    m_scheduled = false;
    const QList<QPointer<QTcpSocket>> pending = std::exchange(m_pending, {});
    const qsizetype n = pending.size();
    const qsizetype first = qsizetype(m_rounds++ % quint64(n));
    for (qsizetype i = 0; i < n; ++i) {
        QTcpSocket *socket = pending.at((first + i) % n);
        if (socket && socket->state() == QAbstractSocket::ConnectedState)
            socket->flush();
    }
}
