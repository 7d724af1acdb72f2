#pragma once

#include "faults/faultplan.h"
#include "frontends/linebuffer.h"
#include "frontends/pseudoterminal.h"

#include <QObject>

class QSocketNotifier;

namespace vornsim {

class OutputScheduler;
class SimModule;

/// The module on a serial port, through a pseudo-terminal. Like a real module it echoes every
/// byte it receives and then answers. Firmware that echoes byte by byte ("WD7A0", "TX01B0"
/// release 5.x, "TX02B0" release 1.x) expects the host to send the next byte only after the
/// echo of the previous one; the others take whole lines. Both echo each byte as it arrives;
/// with the echo-with-answer fault a line-echo module holds the echo of the whole line back
/// and sends it in one write with the answer.
///
/// Works in-process (a QSocketNotifier on the master side runs in the caller's event loop) and
/// in the vorn-module-sim program (--serial). The host opens portPath() with 9600 8N1.
class SerialFrontEnd : public QObject
{
    Q_OBJECT

public:
    enum class Echo { Auto, Bytes, Lines };

    /// `module` is not owned and must outlive the front end.
    explicit SerialFrontEnd(SimModule *module, QObject *parent = nullptr);
    ~SerialFrontEnd() override;

    /// Opens the pseudo-terminal pair. False with errorString() on failure.
    bool open();
    /// The /dev/pts/N path a host opens as its serial port; empty until open().
    QString portPath() const { return m_pty.slavePath(); }
    QString errorString() const { return m_pty.errorString(); }

    void setFaults(const FaultOptions &faults) { m_faults = faults; }
    const FaultOptions &faults() const { return m_faults; }
    /// Echo style; Auto follows the module's firmware and release at each line.
    void setEcho(Echo echo) { m_echo = echo; }
    bool byteEcho() const;

signals:
    /// A complete request line arrived (without CR LF).
    void lineReceived(const QByteArray &line);

private:
    void onReadable();
    void onWritable();
    void handleByte(char byte);
    void write(const QByteArray &bytes);
    static char wrongEcho(char byte) { return char(byte ^ 0x20); }

    SimModule *m_module = nullptr;
    PseudoTerminal m_pty;
    QSocketNotifier *m_readNotifier = nullptr;
    QSocketNotifier *m_writeNotifier = nullptr;
    FaultOptions m_faults;
    FaultPlan m_plan { &m_faults };
    LineBuffer m_lines;
    QByteArray m_echoLine; ///< whole-line echo collected so far
    QByteArray m_heldEcho; ///< the last echo byte, held back to leave with the answer
    QByteArray m_out; ///< bytes the pty did not take yet
    OutputScheduler *m_output = nullptr;
    Echo m_echo = Echo::Auto;
};

} // namespace vornsim
