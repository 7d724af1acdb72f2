#pragma once

#include "faults/faultplan.h"
#include "frontends/linebuffer.h"

#include <QList>
#include <QObject>

namespace vornsim {

class OutputScheduler;
class SimModule;
class StreamSocket;

/// One TCP connection to the simulated module: reads request lines, lets the module answer
/// them and writes the answers through the fault plan. Deletes itself when the connection is
/// gone.
///
/// A host that sends requests without reading the answers is held back: while more than
/// maxUnsent answer bytes wait to go out, the session takes no further request, and TCP flow
/// control stops the host; it goes on as the answers drain. A host that half-closes gets the
/// answers to everything it sent before the session closes.
class TcpSession : public QObject
{
    Q_OBJECT

public:
    static constexpr qint64 maxUnsent = 1024 * 1024;

    /// Takes ownership of `socket`. `module` and `faults` belong to the front end and outlive
    /// the session.
    TcpSession(StreamSocket *socket, SimModule *module, const FaultOptions *faults,
        QObject *parent = nullptr);

    /// Answer bytes waiting to go out: queued by a fault's pacing or not yet taken by the kernel.
    qint64 unsentBytes() const;

signals:
    /// A complete request line arrived (without CR LF).
    void lineReceived(const QByteArray &line);

private:
    void processInput();
    void answer(const LineBuffer::Line &line);

    StreamSocket *m_socket = nullptr;
    SimModule *m_module = nullptr;
    FaultPlan m_plan;
    LineBuffer m_lines;
    QList<LineBuffer::Line> m_pending; ///< complete lines not yet answered
    OutputScheduler *m_output = nullptr;
    bool m_closing = false;
};

} // namespace vornsim
