#include "frontends/tcpsession.h"

#include "faults/outputscheduler.h"
#include "model/simmodule.h"
#include "simlog.h"

#include <QTcpSocket>

namespace vornsim {

TcpSession::TcpSession(
    QTcpSocket *socket, SimModule *module, const FaultOptions *faults, QObject *parent)
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
        qCDebug(lcSim) << "closing the connection after" << m_plan.options().closeAfter
                       << "answers";
        m_socket->disconnectFromHost();
    };
    m_output = new OutputScheduler(sink, this);
    connect(socket, &QTcpSocket::readyRead, this, &TcpSession::onReadyRead);
    connect(socket, &QTcpSocket::disconnected, this, [this]() {
        m_output->stop();
        deleteLater();
    });
}

void TcpSession::onReadyRead()
{
    const QList<LineBuffer::Line> lines = m_lines.append(m_socket->readAll());
    for (const LineBuffer::Line &line : lines) {
        if (m_socket->state() != QAbstractSocket::ConnectedState)
            return;
        QByteArray answer;
        if (line.overlong) {
            qCDebug(lcSim) << "request line too long, dropped";
            answer = QByteArrayLiteral("ERROR\r\n");
        } else {
            emit lineReceived(line.text);
            answer = m_module->handleLine(line.text);
        }
        if (!answer.isEmpty())
            m_output->sendAnswer(m_plan, answer);
    }
}

} // namespace vornsim
