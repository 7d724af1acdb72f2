#include "scpi_eth.h"

#include <QTcpSocket>

#include <utility>

SCPI_Eth::SCPI_Eth(QObject *parent)
    : SCPI_Eth(parent, false)
{
}

SCPI_Eth::SCPI_Eth(QObject *parent, bool laterPush)
    : SCPI_Parser(parent)
    , socket(new QTcpSocket(this))
    // A request handed over at once goes straight to the network: a buffered socket would
    // copy it and switch its write notification on and off for every request. The answer is
    // read whole as soon as it is there, so reading needs no buffer either.
    , openMode(laterPush ? QIODevice::ReadWrite : QIODevice::ReadWrite | QIODevice::Unbuffered)
{
    connect(socket, &QTcpSocket::readyRead, this, &SCPI_Eth::onAnswerReady);
    connect(socket, &QTcpSocket::connected, this, &SCPI_Eth::onConnected);
}

SCPI_Eth::~SCPI_Eth() = default;

bool SCPI_Eth::connectDevice()
{
    answerCount = 0;
    held.clear();
    if (socket)
        socket->connectToHost(m_host, m_port, openMode);
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
        if (isConnected()) {
            // Encoded into the same buffer each time: a request costs no allocation.
            encoder.resetState();
            outgoing.resize(encoder.requiredSpace(command.size()));
            outgoing.truncate(encoder.appendToBuffer(outgoing.data(), command) - outgoing.data());
            socket->write(outgoing.constData(), outgoing.size());
            pushRequest();
        } else {
            // A connection the module closed or refused is opened again for this request, which
            // goes out once the connection is up. Only the newest request is kept: the engine
            // waits for the answer to that one alone. Bytes are not handed to a socket that is
            // not connected, where a refused connection would leave them behind.
            held = command.toLocal8Bit();
            if (socket->state() == QAbstractSocket::UnconnectedState)
                socket->connectToHost(m_host, m_port, openMode);
        }
    }
    requestCode = code;
}

void SCPI_Eth::onConnected()
{
    if (held.isEmpty())
        return;
    socket->write(std::exchange(held, {}));
    pushRequest();
}

void SCPI_Eth::pushRequest()
{
    socket->flush();
}

bool SCPI_Eth::readAnswer(QByteArray &answer)
{
    if (!socket)
        return answer.endsWith("\r\n");
    // Straight into the answer, without a buffer of its own in between. A notification with
    // nothing to read is the module hanging up: an unbuffered socket notices that only when it
    // is asked for a byte.
    const qint64 available = qMax<qint64>(socket->bytesAvailable(), 1);
    const qsizetype had = answer.size();
    answer.resize(had + available);
    const qint64 got = socket->read(answer.data() + had, available);
    answer.truncate(had + qMax<qint64>(got, 0));
    return answer.endsWith("\r\n");
}
