#pragma once

#include <QList>
#include <QObject>
#include <QPointer>

class QTcpSocket;

/// Hands the requests of many TCP links to the network together, once the event loop has
/// served every answer that arrived, and starts each round with another link.
///
/// Writing each request at once, as one panel does, serves the modules in the order the event
/// loop reports their sockets, which is always the same: with a crate of modules on a busy
/// machine the first ones are asked again sooner and the last ones fall behind. Rotating the
/// order of the writes gives each module its turn first.
class WriteRound : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    /// Queues \a socket's written bytes for the next round.
    void add(QTcpSocket *socket);

private:
    void flush();

    QList<QPointer<QTcpSocket>> m_pending;
    bool m_scheduled = false;
    quint64 m_rounds = 0;
};
