#pragma once

#include "faults/faultoptions.h"

#include <QHostAddress>
#include <QObject>

class QTcpServer;

namespace vornsim {

class SimModule;

/// The module's Ethernet interface: a TCP server that answers request lines ending in CR LF
/// with answer lines ending in CR LF. Several hosts may connect at once; they share the module.
///
/// In-process use: construct it with a module, listen(), and point the host at serverPort().
/// Faults set with setFaults() apply at once, also to open connections; their counters run per
/// connection.
class TcpFrontEnd : public QObject
{
    Q_OBJECT

public:
    /// `module` is not owned and must outlive the front end.
    explicit TcpFrontEnd(SimModule *module, QObject *parent = nullptr);
    ~TcpFrontEnd() override;

    /// Starts listening; port 0 picks a free port. Returns false when the port is taken.
    bool listen(const QHostAddress &address = QHostAddress::LocalHost, quint16 port = 0);
    quint16 serverPort() const;
    QString errorString() const;

    void setFaults(const FaultOptions &faults) { m_faults = faults; }
    const FaultOptions &faults() const { return m_faults; }
    /// Connections currently open.
    int connectionCount() const { return m_connections; }

signals:
    /// A complete request line arrived on any connection (without CR LF).
    void lineReceived(const QByteArray &line);
    void connectionCountChanged(int count);

private:
    void onNewConnection();

    SimModule *m_module = nullptr;
    QTcpServer *m_server = nullptr;
    FaultOptions m_faults;
    int m_connections = 0;
};

} // namespace vornsim
