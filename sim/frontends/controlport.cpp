#include "frontends/controlport.h"

#include "frontends/linebuffer.h"
#include "model/controlcommand.h"
#include "simlog.h"

#include <QTcpServer>
#include <QTcpSocket>

#include <memory>

namespace vornsim {

ControlPort::ControlPort(SimModule *module, QObject *parent)
    : ControlPort(std::vector<SimModule *> { module }, parent)
{
}

ControlPort::ControlPort(std::vector<SimModule *> modules, QObject *parent)
    : QObject(parent)
    , m_modules(std::move(modules))
    , m_server(new QTcpServer(this))
{
    connect(m_server, &QTcpServer::newConnection, this, &ControlPort::onNewConnection);
}

bool ControlPort::listen(quint16 port)
{
    return m_server->listen(QHostAddress::LocalHost, port);
}

quint16 ControlPort::serverPort() const
{
    return m_server->serverPort();
}

QString ControlPort::errorString() const
{
    return m_server->errorString();
}

void ControlPort::onNewConnection()
{
    while (QTcpSocket *socket = m_server->nextPendingConnection())
        serve(socket);
}

void ControlPort::serve(QTcpSocket *socket)
{
    qCDebug(lcSim) << "control connection from" << socket->peerAddress();
    auto lines = std::make_shared<LineBuffer>();
    connect(socket, &QTcpSocket::readyRead, socket, [this, socket, lines]() {
        for (const LineBuffer::Line &line : lines->append(socket->readAll())) {
            const QByteArray answer = line.overlong ? QByteArrayLiteral("error: line too long")
                                                    : runControlCommand(m_modules, line.text);
            socket->write(answer + '\n');
        }
    });
    connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
}

} // namespace vornsim
