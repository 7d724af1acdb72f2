#pragma once

#include "scpi_parser.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

/// The link to a module on a GPIB bus (board 0) through the NI-488.2 driver.
///
/// Each request is written with one ibwrt; the bus has no data-arrival signal, so the link
/// schedules the engine's answer processing 20 ms after a successful write, which then reads
/// with one ibrd of up to 1024 bytes: one read is one complete answer (EOI ends it). Driver calls
/// block the calling (GUI) thread for up to the 300 ms device time-out.
///
/// Lifecycle: construct, setPrimaryAddress(), connectDevice(); disconnectDevice() takes the
/// device offline. Destroying a still open link takes it offline too.
class SCPI_Gpib : public SCPI_Parser
{
    Q_OBJECT

public:
    /// Largest answer one read takes; longer answers are cut here.
    static constexpr int MaxAnswerBytes = 1024;

    explicit SCPI_Gpib(QObject *parent = nullptr);
    ~SCPI_Gpib() override;

    /// The module's primary address; set before connectDevice().
    void setPrimaryAddress(int address) { m_primaryAddress = address; }
    int primaryAddress() const { return m_primaryAddress; }
    /// The driver's unit descriptor: 0 none, negative when opening failed.
    int deviceDescriptor() const { return m_deviceDescriptor; }

    /// Opens a descriptor for the primary address (T300ms, EOI with each write) and clears the
    /// device. False with the trace "ibdev Error" (no driver, bad address) or "ibclr Error" (the
    /// device does not respond).
    bool connectDevice() override;
    /// Takes the device offline and forgets the descriptor.
    void disconnectDevice() override;
    /// True while a descriptor is held.
    bool isConnected() const override;
    /// "GPIB:<primary address>".
    QString interfaceName() const override;
    /// Writes \a command unchanged. On a failed write traces "ibwrt Error", clears requestCode
    /// and schedules nothing.
    void sendCommand(quint16 requestCode, const QString &command) override;
    /// Reads one answer; false with the trace "ibrd Error" when the read fails (time-out).
    bool readAnswer(QByteArray &answer) override;

    /// Lists the instruments on board 0 (addresses 1 to 30) as "<address> <identity>", the
    /// identity being the simplified reply to "*IDN?\n"; a listener that does not answer gives
    /// "<address> ". Empty without a driver. Blocks for the interface clear, the listener search
    /// and up to two time-outs per instrument.
    static QStringList scanGpibBus();

private:
    int m_deviceDescriptor = 0;
    int m_primaryAddress = 0;
};
