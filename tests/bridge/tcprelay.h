#pragma once

#include <QHostAddress>
#include <QList>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>

/// A TCP relay on loopback between a client and a server on \a target, run by the test's event
/// loop: cut() ends every connection at once, as a network that goes away does, and refuses
/// new ones until reopen().
class TcpRelay : public QObject
{
public:
    explicit TcpRelay(quint16 target)
        : m_target(target)
    {
        connect(&m_server, &QTcpServer::newConnection, this, &TcpRelay::accept);
    }

    bool open(quint16 port = 0) { return m_server.listen(QHostAddress::LocalHost, port); }
    quint16 port() const { return m_server.serverPort(); }

    void cut()
    {
        m_port = m_server.serverPort();
        m_server.close();
        for (const QPointer<QTcpSocket> &socket : std::as_const(m_sockets)) {
            if (socket)
                socket->abort();
        }
        m_sockets.clear();
    }
    bool reopen() { return open(m_port); }

private:
    void accept()
    {
        while (QTcpSocket *client = m_server.nextPendingConnection()) {
            auto *server = new QTcpSocket(client);
            m_sockets << client << server;
            connect(client, &QTcpSocket::readyRead, server, [=] { server->write(client->readAll()); });
            connect(server, &QTcpSocket::readyRead, client, [=] { client->write(server->readAll()); });
            connect(client, &QTcpSocket::disconnected, server, &QTcpSocket::disconnectFromHost);
            connect(server, &QTcpSocket::disconnected, client, &QTcpSocket::disconnectFromHost);
            connect(client, &QTcpSocket::disconnected, client, &QObject::deleteLater);
            // What the client sent before the server's side is up waits in its buffer.
            connect(server, &QTcpSocket::connected, server, [=] { server->write(client->readAll()); });
            server->connectToHost(QHostAddress::LocalHost, m_target);
        }
    }

    QTcpServer m_server;
    quint16 m_target;
    quint16 m_port = 0;
    QList<QPointer<QTcpSocket>> m_sockets;
};
