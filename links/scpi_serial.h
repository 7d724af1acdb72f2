#pragma once

#include "scpi_parser.h"

#include <QByteArray>
#include <QLoggingCategory>
#include <QString>
#include <QStringList>
#include <memory>

class QSerialPort;

Q_DECLARE_LOGGING_CATEGORY(lcSerial)

/// The link to a module on a COM port (USB virtual COM port or RS-232), 9600 baud 8N1 without
/// flow control.
///
/// Modules on a serial line echo what they receive. Depending on the firmware the link either
/// writes a whole line and strips the echoed line from the front of the answer, or writes the
/// command one byte at a time and sends the next byte only after the previous one came back
/// (character echo). Character echo is on until the engine has read the firmware name and calls
/// setCharacterEcho(), so identification always goes out byte by byte.
///
/// Lifecycle: construct, setPortName(), connectDevice(); disconnectDevice() closes and releases
/// the port, after which only destruction is valid. Destroying an open link closes the port.
class SCPI_Serial : public SCPI_Parser
{
    Q_OBJECT

public:
    /// Where the current request stands in character-echo mode.
    enum class EchoPhase { Idle = 0, Echo = 1, Answer = 2 };

    /// Creates and configures the port (named "COM1") but opens nothing.
    explicit SCPI_Serial(QObject *parent = nullptr);
    ~SCPI_Serial() override;

    /// Sets the port to open: a bare name such as "COM3" or "ttyUSB0", or a device path.
    void setPortName(const QString &name);
    QString portName() const { return m_portName; }

    /// Chooses byte-by-byte transmission with echo check (true) or whole lines (false).
    void setCharacterEcho(bool on) override;
    bool characterEcho() const { return m_characterEcho; }
    EchoPhase echoPhase() const { return m_echoPhase; }

    /// Opens the port read/write. False, with the trace "connection error: <reason>", when it
    /// cannot be opened; false without a trace when it opened but the port reports an error.
    bool connectDevice() override;
    /// Closes the port and releases it.
    void disconnectDevice() override;
    /// True while the port is open.
    bool isConnected() const override;
    /// The port name as set.
    QString interfaceName() const override;
    /// Writes \a command with CR LF appended when missing: whole, or in character-echo mode its
    /// first byte (the rest follows echo by echo from readAnswer()). Reopens a closed port first.
    void sendCommand(quint16 requestCode, const QString &command) override;
    /// Collects answer bytes. True when \a answer holds one complete answer ending in CR LF,
    /// with the echoed request removed.
    bool readAnswer(QByteArray &answer) override;

    /// Names of the serial ports present, ordered as sortSerialPortNames() does.
    static QStringList listSerialPorts();
    /// Orders port names by the number after "COM" (COM1, COM3, COM10); names with equal numbers
    /// (every "ttyUSB0"-style name counts 0) follow in natural order (ttyS2 before ttyS10).
    static QStringList sortSerialPortNames(QStringList names);
    /// The number a port name sorts by: the decimal text after the first "COM", or for a name
    /// without "COM" the text from its third character on; 0 when that is no number.
    static int serialPortNumber(const QString &name);

private:
    /// A port that fails while open (adapter pulled out, terminal hung up) is traced once and
    /// closed, so that it cannot keep the event loop busy with the same error.
    void portFailed(int error);
    void writeNextCommandByte();
    bool readEchoedAnswer(QByteArray &answer);
    bool readLineAnswer(QByteArray &answer);

    QString m_portName = QStringLiteral("COM1");
    std::unique_ptr<QSerialPort> serialPort;
    bool m_characterEcho = true;
    EchoPhase m_echoPhase = EchoPhase::Idle;
    char echoByte = 0;
    int echoIndex = 0;
    bool failureTraced = false;
};
