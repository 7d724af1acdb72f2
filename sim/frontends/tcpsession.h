#pragma once

#include "faults/faultplan.h"
#include "frontends/linebuffer.h"

#include <QObject>

class QTcpSocket;

namespace vornsim {

class OutputScheduler;
class SimModule;

/// One TCP connection to the simulated module: reads request lines, lets the module answer
/// them and writes the answers through the fault plan. Deletes itself when the peer goes.
class TcpSession : public QObject
{
    Q_OBJECT

public:
    /// Takes ownership of `socket`. `module` and `faults` belong to the front end and outlive
    /// the session.
    TcpSession(QTcpSocket *socket, SimModule *module, const FaultOptions *faults,
        QObject *parent = nullptr);

signals:
    /// A complete request line arrived (without CR LF).
    void lineReceived(const QByteArray &line);

private:
    void onReadyRead();

    QTcpSocket *m_socket = nullptr;
    SimModule *m_module = nullptr;
    FaultPlan m_plan;
    LineBuffer m_lines;
    OutputScheduler *m_output = nullptr;
};

} // namespace vornsim
