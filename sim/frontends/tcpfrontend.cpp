#include "frontends/tcpfrontend.h"

#include "frontends/streamsocket.h"
#include "frontends/tcpsession.h"
#include "simlog.h"

#include <QTcpServer>

#include <functional>

namespace vornsim {

/// A server that hands over the descriptor of each accepted connection instead of a socket
/// object, so a session can keep answering after the host half-closes.
class DescriptorServer : public QTcpServer
{
public:
    using QTcpServer::QTcpServer;
    std::function<void(qintptr)> accepted;

protected:
    void incomingConnection(qintptr descriptor) override { accepted(descriptor); }
};

TcpFrontEnd::TcpFrontEnd(SimModule *module, QObject *parent)
    : QObject(parent)
    , m_module(module)
    , m_server(new DescriptorServer(this))
{
    m_server->accepted = [this](qintptr descriptor) { onNewConnection(descriptor); };
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

qint64 TcpFrontEnd::unsentBytes() const
{
    qint64 total = 0;
    for (const TcpSession *session : findChildren<TcpSession *>(Qt::FindDirectChildrenOnly))
        total += session->unsentBytes();
    return total;
}

void TcpFrontEnd::onNewConnection(qintptr descriptor)
{
    auto *socket = new StreamSocket(int(descriptor));
    qCDebug(lcSim) << "connection from" << socket->peerAddress();
    auto *session = new TcpSession(socket, m_module, &m_faults, this);
    connect(session, &TcpSession::lineReceived, this, &TcpFrontEnd::lineReceived);
    connect(session, &QObject::destroyed, this, [this]() {
        --m_connections;
        emit connectionCountChanged(m_connections);
    });
    ++m_connections;
    emit connectionCountChanged(m_connections);
}

} // namespace vornsim
