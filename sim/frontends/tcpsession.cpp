#include "frontends/tcpsession.h"

#include "faults/outputscheduler.h"
#include "frontends/streamsocket.h"
#include "model/simmodule.h"
#include "simlog.h"

namespace vornsim {

namespace {
/// Bytes taken from the socket at a time, so a burst of requests is answered in portions.
constexpr qint64 readChunk = 4096;
} // namespace

TcpSession::TcpSession(
    StreamSocket *socket, SimModule *module, const FaultOptions *faults, QObject *parent)
    : QObject(parent)
    , m_socket(socket)
    , m_module(module)
    , m_plan(faults)
{
    socket->setParent(this);
    OutputScheduler::Sink sink;
    sink.write = [this](const QByteArray &bytes) { m_socket->write(bytes); };
    sink.backlog = [this]() { return m_socket->bytesToWrite(); };
    sink.close = [this]() {
        if (!m_closing) {
            qCDebug(lcSim) << "closing the connection after" << m_plan.options().closeAfter
                           << "answers";
        }
        m_socket->closeWhenSent();
    };
    m_output = new OutputScheduler(sink, this);
    connect(socket, &StreamSocket::readyRead, this, &TcpSession::processInput);
    connect(socket, &StreamSocket::inputFinished, this, &TcpSession::processInput);
    connect(socket, &StreamSocket::bytesWritten, this, &TcpSession::processInput);
    connect(socket, &StreamSocket::closed, this, [this]() {
        m_output->stop();
        deleteLater();
    });
}

qint64 TcpSession::unsentBytes() const
{
    return m_socket->bytesToWrite() + m_output->queuedBytes();
}

void TcpSession::processInput()
{
    while (m_socket->isOpen() && !m_closing && unsentBytes() <= maxUnsent) {
        if (m_pending.isEmpty()) {
            const QByteArray bytes = m_socket->read(readChunk);
            if (bytes.isEmpty())
                break;
            m_pending = m_lines.append(bytes);
            continue;
        }
        answer(m_pending.takeFirst());
    }
    // The host has said everything: close once the last answer has gone out.
    if (m_socket->isOpen() && !m_closing && m_socket->inputEnded() && m_pending.isEmpty()
        && m_socket->bytesAvailable() == 0) {
        qCDebug(lcSim) << "host finished sending; closing after the last answer";
        m_closing = true;
        m_output->closeWhenDone();
    }
}

void TcpSession::answer(const LineBuffer::Line &line)
{
    QByteArray text;
    if (line.overlong) {
        qCDebug(lcSim) << "request line too long, dropped";
        text = QByteArrayLiteral("ERROR\r\n");
    } else {
        emit lineReceived(line.text);
        text = m_module->handleLine(line.text);
    }
    if (!text.isEmpty())
        m_output->sendAnswer(m_plan, text);
}

} // namespace vornsim
