#include "frontends/serialfrontend.h"

#include "faults/outputscheduler.h"
#include "model/simmodule.h"
#include "simlog.h"

#include <QSocketNotifier>

#include <cerrno>
#include <unistd.h>

namespace vornsim {

SerialFrontEnd::SerialFrontEnd(SimModule *module, QObject *parent)
    : QObject(parent)
    , m_module(module)
{
    OutputScheduler::Sink sink;
    sink.write = [this](const QByteArray &bytes) { write(bytes); };
    sink.backlog = [this]() { return qint64(m_out.size()); };
    sink.close = []() {}; // a serial line cannot be closed by the module
    m_output = new OutputScheduler(sink, this);
}

SerialFrontEnd::~SerialFrontEnd() = default;

bool SerialFrontEnd::open()
{
    delete m_readNotifier;
    delete m_writeNotifier;
    m_readNotifier = nullptr;
    m_writeNotifier = nullptr;
    if (!m_pty.open())
        return false;
    m_readNotifier = new QSocketNotifier(m_pty.masterFd(), QSocketNotifier::Read, this);
    connect(m_readNotifier, &QSocketNotifier::activated, this, &SerialFrontEnd::onReadable);
    m_writeNotifier = new QSocketNotifier(m_pty.masterFd(), QSocketNotifier::Write, this);
    m_writeNotifier->setEnabled(false);
    connect(m_writeNotifier, &QSocketNotifier::activated, this, &SerialFrontEnd::onWritable);
    qCDebug(lcSim) << "serial port at" << m_pty.slavePath();
    return true;
}

bool SerialFrontEnd::byteEcho() const
{
    if (m_echo == Echo::Auto)
        return m_module->byteEcho();
    return m_echo == Echo::Bytes;
}

void SerialFrontEnd::onReadable()
{
    char buffer[4096];
    const ssize_t n = ::read(m_pty.masterFd(), buffer, sizeof buffer);
    if (n <= 0)
        return;
    for (ssize_t i = 0; i < n; ++i)
        handleByte(buffer[i]);
}

void SerialFrontEnd::handleByte(char byte)
{
    const bool bytes = byteEcho();
    const char echo = m_plan.nextEchoWrong() ? wrongEcho(byte) : byte;
    if (bytes) {
        if (byte == '\n' && m_faults.echoWithAnswer)
            m_heldEcho = QByteArray(1, echo);
        else
            m_output->send(QByteArray(1, echo));
    } else if (!m_faults.echoWithAnswer) {
        // A module echoes every byte as it arrives, whatever its firmware; the families differ
        // in whether the host must wait for each echo before it sends the next byte.
        m_output->send(QByteArray(1, echo));
    } else if (m_echoLine.size() <= LineBuffer::maxLine) {
        m_echoLine += echo;
    }

    const QList<LineBuffer::Line> lines = m_lines.append(QByteArray(1, byte));
    if (lines.isEmpty())
        return;
    const LineBuffer::Line &line = lines.first();
    QByteArray echoOut = bytes ? m_heldEcho : m_echoLine;
    m_heldEcho.clear();
    m_echoLine.clear();

    if (m_plan.nextLoneLf()) {
        // The module asks for the whole request again and does not act on it.
        qCDebug(lcSim) << "lone LF instead of an answer to" << line.text;
        if (!echoOut.isEmpty())
            m_output->send(echoOut);
        m_output->send(QByteArrayLiteral("\n"), 5);
        return;
    }
    QByteArray answer;
    if (line.overlong) {
        answer = QByteArrayLiteral("ERROR\r\n");
    } else {
        emit lineReceived(line.text);
        answer = m_module->handleLine(line.text);
    }
    if (m_faults.echoWithAnswer && !answer.isEmpty()) {
        m_plan.nextAnswer();
        m_output->send(echoOut + answer);
        return;
    }
    if (!echoOut.isEmpty())
        m_output->send(echoOut);
    if (!answer.isEmpty())
        m_output->sendAnswer(m_plan, answer);
}

void SerialFrontEnd::write(const QByteArray &bytes)
{
    m_out += bytes;
    onWritable();
}

void SerialFrontEnd::onWritable()
{
    while (!m_out.isEmpty()) {
        const ssize_t n = ::write(m_pty.masterFd(), m_out.constData(), size_t(m_out.size()));
        if (n <= 0) {
            if (n < 0 && errno != EAGAIN && errno != EINTR) {
                qCDebug(lcSim) << "serial write failed, output dropped";
                m_out.clear();
            }
            break;
        }
        m_out.remove(0, int(n));
    }
    if (m_writeNotifier)
        m_writeNotifier->setEnabled(!m_out.isEmpty());
}

} // namespace vornsim
