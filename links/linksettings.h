#pragma once

#include <QString>

class QObject;
class SCPI_Parser;

/// Where one module is reached: the medium and its address. The panel's connection tabs and
/// the bridge's configuration file both describe a module this way.
struct LinkSettings
{
    enum class Kind { Serial, Tcp, Gpib };

    Kind kind = Kind::Tcp;
    /// Serial: the port name ("/dev/ttyUSB0", "COM3").
    QString serialPort;
    /// TCP: host text and port.
    QString host;
    quint16 port = 0;
    /// GPIB: the primary address, 1 to 30.
    int gpibAddress = 0;

    /// The endpoint for log lines: "tcp <host>:<port>", "serial <port>" or "gpib <address>".
    QString endpoint() const;
};

/// Makes the unopened link for \a settings as a child of \a parent (ownership passes to the
/// parent; the caller opens it with connectDevice()).
SCPI_Parser *makeLink(const LinkSettings &settings, QObject *parent);
