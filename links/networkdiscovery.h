#pragma once

#include <QHostAddress>
#include <QLoggingCategory>
#include <QObject>

class QUdpSocket;

Q_DECLARE_LOGGING_CATEGORY(lcDiscovery)

/// Finds modules with an Ethernet interface: sends a four-byte UDP query and reports every
/// datagram that comes back as an answer from the module at its sender address.
///
/// The socket is created and bound by the first scan() and kept until the object is destroyed;
/// later scans only send the query again. Modules answer to the port the query came from, so
/// when the usual local port is taken by another program any free port serves as well.
class NetworkDiscovery : public QObject
{
    Q_OBJECT

public:
    static constexpr quint16 DefaultLocalPort = 8000;
    static constexpr quint16 DefaultTargetPort = 30718;

    explicit NetworkDiscovery(QObject *parent = nullptr);
    ~NetworkDiscovery() override;

    /// Where the query goes; the limited broadcast address and port 30718 unless changed.
    void setTarget(const QHostAddress &address, quint16 port);
    QHostAddress targetAddress() const { return m_targetAddress; }
    quint16 targetPort() const { return m_targetPort; }
    /// The port the first scan binds (port 8000 unless changed).
    void setLocalPort(quint16 port) { m_localPort = port; }

    /// The query datagram: 00 00 00 F6.
    static QByteArray query();

    /// Sends the query, creating and binding the socket on the first call.
    void scan();
    /// Reads one pending answer (at most 1024 bytes) and returns its sender; a null address
    /// when none is pending.
    QHostAddress readAnswer();

    /// The port the socket is bound to; 0 before the first scan.
    quint16 boundPort() const;
    bool hasSocket() const { return socket != nullptr; }

signals:
    /// An answer is waiting for readAnswer().
    void answerReady();

private:
    QUdpSocket *socket = nullptr;
    QHostAddress m_targetAddress = QHostAddress(QHostAddress::Broadcast);
    quint16 m_targetPort = DefaultTargetPort;
    quint16 m_localPort = DefaultLocalPort;
};
