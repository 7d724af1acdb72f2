#include "networkdiscovery.h"

#include <QUdpSocket>

Q_LOGGING_CATEGORY(lcDiscovery, "vorn.links.discovery")

namespace {
constexpr qint64 maximumAnswerSize = 1024;
}

NetworkDiscovery::NetworkDiscovery(QObject *parent)
    : QObject(parent)
{
}

NetworkDiscovery::~NetworkDiscovery() = default;

void NetworkDiscovery::setTarget(const QHostAddress &address, quint16 port)
{
    m_targetAddress = address;
    m_targetPort = port;
}

QByteArray NetworkDiscovery::query()
{
    return QByteArray("\x00\x00\x00\xF6", 4);
}

void NetworkDiscovery::scan()
{
    if (!socket) {
        socket = new QUdpSocket(this);
        if (!socket->bind(QHostAddress::AnyIPv4, m_localPort, QUdpSocket::ShareAddress)) {
            const QString reason = socket->errorString();
            socket->bind(QHostAddress::AnyIPv4, 0, QUdpSocket::ShareAddress);
            qCDebug(lcDiscovery) << "port" << m_localPort << "is not free (" << reason
                                 << "), answers come to port" << socket->localPort();
        }
        connect(socket, &QUdpSocket::readyRead, this, &NetworkDiscovery::answerReady);
    }
    socket->writeDatagram(query(), m_targetAddress, m_targetPort);
}

QHostAddress NetworkDiscovery::readAnswer()
{
    if (!socket || !socket->hasPendingDatagrams())
        return {};
    QByteArray datagram(maximumAnswerSize, '\0');
    QHostAddress sender;
    if (socket->readDatagram(datagram.data(), datagram.size(), &sender) < 0)
        return {};
    return sender;
}

quint16 NetworkDiscovery::boundPort() const
{
    return socket ? socket->localPort() : 0;
}
