#pragma once

#include <QObject>

#include <vector>

class QTcpServer;
class QTcpSocket;

namespace vornsim {

class SimModule;

/// The control port for tests and demos: a TCP server on the loopback address that takes one
/// text command a line (runControlCommand()) and answers each with one line, "ok" or
/// "error: ..." ending in LF. It provokes the module's conditions: trips, arcs, loads, the
/// safety loop, temperature, supplies, inhibit inputs, and a module that stops answering.
/// With several modules, a line "@N COMMAND" addresses the N-th (from 0), any other line the
/// first.
class ControlPort : public QObject
{
    Q_OBJECT

public:
    /// `module` is not owned and must outlive the port.
    explicit ControlPort(SimModule *module, QObject *parent = nullptr);
    /// `modules` (at least one) are not owned and must outlive the port.
    explicit ControlPort(std::vector<SimModule *> modules, QObject *parent = nullptr);

    /// Listens on 127.0.0.1; port 0 picks a free port. False when the port is taken.
    bool listen(quint16 port);
    quint16 serverPort() const;
    QString errorString() const;

private:
    void onNewConnection();
    void serve(QTcpSocket *socket);

    std::vector<SimModule *> m_modules;
    QTcpServer *m_server = nullptr;
};

} // namespace vornsim
