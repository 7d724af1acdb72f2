#include "frontends/streamsocket.h"

#include "simlog.h"

#include <QHostAddress>
#include <QSocketNotifier>

#include <cerrno>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace vornsim {

StreamSocket::StreamSocket(int fd, QObject *parent)
    : QObject(parent)
    , m_fd(fd)
    , m_readNotifier(new QSocketNotifier(fd, QSocketNotifier::Read, this))
    , m_writeNotifier(new QSocketNotifier(fd, QSocketNotifier::Write, this))
{
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
    m_writeNotifier->setEnabled(false);
    connect(m_readNotifier, &QSocketNotifier::activated, this, &StreamSocket::onReadable);
    connect(m_writeNotifier, &QSocketNotifier::activated, this, &StreamSocket::onWritable);
}

StreamSocket::~StreamSocket()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

QString StreamSocket::peerAddress() const
{
    sockaddr_storage address {};
    socklen_t length = sizeof address;
    if (m_fd < 0 || ::getpeername(m_fd, reinterpret_cast<sockaddr *>(&address), &length) != 0)
        return QString();
    return QHostAddress(reinterpret_cast<const sockaddr *>(&address)).toString();
}

QByteArray StreamSocket::read(qint64 maximum)
{
    const QByteArray bytes = m_input.left(maximum);
    m_input.remove(0, bytes.size());
    // Room again: take up reading where the bound stopped it.
    if (m_fd >= 0 && !m_inputEnded && m_input.size() < readLimit)
        m_readNotifier->setEnabled(true);
    return bytes;
}

void StreamSocket::onReadable()
{
    char chunk[16 * 1024];
    while (m_fd >= 0 && m_input.size() < readLimit) {
        const ssize_t n = ::recv(m_fd, chunk, sizeof chunk, 0);
        if (n > 0) {
            m_input.append(chunk, qsizetype(n));
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            break;
        m_readNotifier->setEnabled(false);
        if (n < 0) { // reset: nobody is left to answer
            qCDebug(lcSim) << "connection reset by the peer";
            emit readyRead();
            closeNow();
            return;
        }
        m_inputEnded = true;
        emit readyRead();
        emit inputFinished();
        return;
    }
    if (m_input.size() >= readLimit)
        m_readNotifier->setEnabled(false);
    if (!m_input.isEmpty())
        emit readyRead();
}

void StreamSocket::write(const QByteArray &bytes)
{
    if (m_fd < 0)
        return;
    m_output.append(bytes);
    if (flush())
        m_writeNotifier->setEnabled(!m_output.isEmpty());
}

bool StreamSocket::flush()
{
    while (!m_output.isEmpty()) {
        const ssize_t n = ::send(m_fd, m_output.constData(), size_t(m_output.size()), MSG_NOSIGNAL);
        if (n > 0) {
            m_output.remove(0, qsizetype(n));
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            return true;
        qCDebug(lcSim) << "connection lost while sending";
        closeNow();
        return false;
    }
    return true;
}

void StreamSocket::onWritable()
{
    const qint64 before = m_output.size();
    if (!flush())
        return;
    m_writeNotifier->setEnabled(!m_output.isEmpty());
    if (m_output.size() < before)
        emit bytesWritten();
    if (m_output.isEmpty() && m_closeWhenSent)
        closeNow();
}

void StreamSocket::closeWhenSent()
{
    m_closeWhenSent = true;
    if (m_output.isEmpty())
        closeNow();
}

void StreamSocket::closeNow()
{
    if (m_fd < 0)
        return;
    m_readNotifier->setEnabled(false);
    m_writeNotifier->setEnabled(false);
    ::close(m_fd);
    m_fd = -1;
    m_output.clear();
    emit closed();
}

} // namespace vornsim
