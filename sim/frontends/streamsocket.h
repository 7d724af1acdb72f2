#pragma once

#include <QByteArray>
#include <QObject>

class QSocketNotifier;

namespace vornsim {

/// A connected stream socket on a plain descriptor, for a module's TCP sessions. Unlike a
/// QTcpSocket it keeps sending after the peer has shut down its sending side, so a host that
/// writes its requests and half-closes still gets every answer. Input is buffered up to a small
/// bound; beyond that the socket stops reading and TCP flow control holds the peer back.
class StreamSocket : public QObject
{
    Q_OBJECT

public:
    static constexpr qint64 readLimit = 64 * 1024;

    /// Takes ownership of the connected descriptor `fd`.
    explicit StreamSocket(int fd, QObject *parent = nullptr);
    ~StreamSocket() override;

    /// Takes up to `maximum` received bytes.
    QByteArray read(qint64 maximum);
    qint64 bytesAvailable() const { return m_input.size(); }
    /// True once the peer has sent its last byte (and the socket is not reading any more).
    bool inputEnded() const { return m_inputEnded; }
    /// Queues bytes and sends what the kernel takes at once.
    void write(const QByteArray &bytes);
    /// Bytes written but not yet handed to the kernel.
    qint64 bytesToWrite() const { return m_output.size(); }
    /// Closes once everything written has gone out.
    void closeWhenSent();
    bool isOpen() const { return m_fd >= 0; }
    QString peerAddress() const;

signals:
    void readyRead();
    /// The peer half-closed; bytes still buffered can be read.
    void inputFinished();
    void bytesWritten();
    /// The connection is gone (closed by us, or reset by the peer).
    void closed();

private:
    void onReadable();
    void onWritable();
    bool flush();
    void closeNow();

    int m_fd = -1;
    QSocketNotifier *m_readNotifier = nullptr;
    QSocketNotifier *m_writeNotifier = nullptr;
    QByteArray m_input;
    QByteArray m_output;
    bool m_inputEnded = false;
    bool m_closeWhenSent = false;
};

} // namespace vornsim
