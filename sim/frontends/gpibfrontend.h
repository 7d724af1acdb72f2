#pragma once

#include "faults/faultoptions.h"

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QObject>
#include <QString>

#include <memory>

class QLocalServer;

namespace vornsim {

class GpibConnection;
class SimModule;
struct GpibDevice;

/// A GPIB bus for the stand-in driver library (sim/frontends/gpib-standin): modules and silent
/// listeners at primary addresses, reached over a local socket. Each write to a module is one
/// message (EOI ends it; an LF inside ends a line too); each answer waits in the module's output
/// until read, and a read returns it with END, cut at the reader's count (the rest stays for the
/// next read). A new write drops unread output, as an instrument does when it gets a new command.
///
/// Faults: answer delay, dropped, garbage and endless answers as for TCP; splitting and
/// closing do not apply to GPIB.
class GpibFrontEnd : public QObject
{
    Q_OBJECT

public:
    explicit GpibFrontEnd(QObject *parent = nullptr);
    ~GpibFrontEnd() override;

    /// Puts `module` (not owned; it must outlive the front end) at primary address `pad`.
    void addModule(int pad, SimModule *module);
    /// A listener at `pad` that takes every command and never answers.
    void addSilentListener(int pad);
    /// Listens on the local socket `path` (an old socket file there is removed).
    bool listen(const QString &path);
    QString socketPath() const;
    QString errorString() const;
    void setFaults(const FaultOptions &faults) { m_faults = faults; }
    const FaultOptions &faults() const { return m_faults; }

    /// Present addresses in ascending order.
    QList<int> addresses() const;
    GpibDevice *device(int pad) const;
    /// Interface clear: drops every device's pending input and output.
    void interfaceClear();
    /// Selected device clear; false when nobody is at `pad`.
    bool deviceClear(int pad);
    /// One message to the device at `pad`; false when nobody is there. `eoi` ends the message.
    bool write(int pad, const QByteArray &data, bool eoi);

signals:
    /// A complete request line arrived for the device at `pad` (without CR LF).
    void lineReceived(int pad, const QByteArray &line);

private:
    friend class GpibConnection;
    void onNewConnection();
    void answer(int pad, const std::shared_ptr<GpibDevice> &device, const QByteArray &text);
    void notifyOutput(int pad);

    QLocalServer *m_server = nullptr;
    QMap<int, std::shared_ptr<GpibDevice>> m_devices;
    FaultOptions m_faults;
    QList<GpibConnection *> m_connections;
};

} // namespace vornsim
