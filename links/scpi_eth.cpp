#include "scpi_eth.h"

#include <QTcpSocket>

SCPI_Eth::SCPI_Eth(QObject *parent)
    : SCPI_Parser(parent)
    , socket(new QTcpSocket(this))
{
    connect(socket, &QTcpSocket::readyRead, this, &SCPI_Eth::onAnswerReady);
}

SCPI_Eth::~SCPI_Eth() = default;

bool SCPI_Eth::connectDevice()
{
    answerCount = 0;
    if (socket)
        socket->connectToHost(m_host, m_port, QIODevice::ReadWrite);
    return true;
}

void SCPI_Eth::disconnectDevice()
{
    if (!socket)
        return;
    socket->disconnectFromHost();
    socket->close();
    delete socket;
    socket = nullptr;
}

bool SCPI_Eth::isConnected() const
{
    return socket && socket->state() == QAbstractSocket::ConnectedState;
}

QString SCPI_Eth::interfaceName() const
{
    return m_host;
}

void SCPI_Eth::sendCommand(quint16 code, const QString &command)
{
    if (socket) {
        // A connection the module closed or refused is opened again for this request; bytes
        // written while connecting are held by the socket and go out once it is up.
        if (!isConnected() && socket->state() != QAbstractSocket::ConnectingState
            && socket->state() != QAbstractSocket::HostLookupState)
            socket->connectToHost(m_host, m_port, QIODevice::ReadWrite);
        socket->write(command.toLocal8Bit());
        if (socket->state() == QAbstractSocket::ConnectedState)
            pushRequest();
    }
    requestCode = code;
}

void SCPI_Eth::pushRequest()
{
    socket->flush();
}

bool SCPI_Eth::readAnswer(QByteArray &answer)
{
    if (socket)
        answer.append(socket->read(socket->bytesAvailable()));
    return answer.endsWith("\r\n");
}
