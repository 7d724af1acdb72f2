#pragma once

#include "scpi_parser.h"

#include <QIODevice>
#include <QPointer>
#include <QStringEncoder>

class QTcpSocket;

/// The link to a module's Ethernet interface over TCP. The socket is a child of the link; a
/// lost or refused connection is reopened by the next request.
class SCPI_Eth : public SCPI_Parser
{
    Q_OBJECT

public:
    explicit SCPI_Eth(QObject *parent = nullptr);
    ~SCPI_Eth() override;

    void setPort(quint16 port) { m_port = port; }
    quint16 port() const { return m_port; }
    void setHostAddress(const QString &host) { m_host = host; }
    QString hostAddress() const { return m_host; }

    /// Starts connecting and returns true at once: an unreachable host shows up only as
    /// answers that do not come.
    bool connectDevice() override;
    void disconnectDevice() override;
    bool isConnected() const override;
    /// The host text as it was set, without the port.
    QString interfaceName() const override;
    void sendCommand(quint16 requestCode, const QString &command) override;
    bool readAnswer(QByteArray &answer) override;

protected:
    /// For a link whose pushRequest() hands requests to the network later (\a laterPush): its
    /// socket keeps written requests in a buffer until it is flushed.
    SCPI_Eth(QObject *parent, bool laterPush);

    /// Hands a written request to the network. The default does it at once: the poll rate is
    /// the round-trip rate, and every event-loop pass of delay counts. A link that overrides it
    /// to hand requests over later must be constructed with laterPush.
    virtual void pushRequest();
    QTcpSocket *tcpSocket() const { return socket; }

private:
    void onConnected();

    QTcpSocket *socket = nullptr;
    /// The request made while the connection is not up yet.
    QByteArray held;
    /// 8-bit text of the requests, as QString::toLocal8Bit() gives it.
    QStringEncoder encoder { QStringConverter::System };
    QByteArray outgoing;
    QString m_host;
    quint16 m_port = 0;
    QIODevice::OpenMode openMode;
};
