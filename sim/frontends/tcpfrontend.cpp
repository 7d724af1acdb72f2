#include "frontends/tcpfrontend.h"

#include "frontends/tcpsession.h"
#include "simlog.h"

#include <QTcpServer>
#include <QTcpSocket>

namespace vornsim {

TcpFrontEnd::TcpFrontEnd(SimModule *module, QObject *parent)
    : QObject(parent)
    , m_module(module)
    , m_server(new QTcpServer(this))
{
    connect(m_server, &QTcpServer::newConnection, this, &TcpFrontEnd::onNewConnection);
}

TcpFrontEnd::~TcpFrontEnd() = default;

bool TcpFrontEnd::listen(const QHostAddress &address, quint16 port)
{
    return m_server->listen(address, port);
}

quint16 TcpFrontEnd::serverPort() const
{
    return m_server->serverPort();
}

QString TcpFrontEnd::errorString() const
{
    return m_server->errorString();
}

void TcpFrontEnd::onNewConnection()
{
    while (QTcpSocket *socket = m_server->nextPendingConnection()) {
        qCDebug(lcSim) << "connection from" << socket->peerAddress().toString();
        auto *session = new TcpSession(socket, m_module, &m_faults, this);
        connect(session, &TcpSession::lineReceived, this, &TcpFrontEnd::lineReceived);
        connect(session, &QObject::destroyed, this, [this]() {
            --m_connections;
            emit connectionCountChanged(m_connections);
        });
        ++m_connections;
        emit connectionCountChanged(m_connections);
    }
}

} // namespace vornsim
