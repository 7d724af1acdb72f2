#pragma once

#include <QString>

#include <functional>

class QObject;
class SCPI_Eth;
class SCPI_Gpib;
class SCPI_Parser;
class SCPI_Serial;

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
    bool operator==(const LinkSettings &o) const
    {
        return kind == o.kind && serialPort == o.serialPort && host == o.host && port == o.port
            && gpibAddress == o.gpibAddress;
    }
};

/// What makes the link object of each kind, as a child of its argument; an empty one makes the
/// plain SCPI_Eth, SCPI_Serial or SCPI_Gpib. The bridge makes links of classes derived from
/// these (paced, writing through its write round).
struct LinkClasses
{
    std::function<SCPI_Eth *(QObject *parent)> tcp;
    std::function<SCPI_Serial *(QObject *parent)> serial;
    std::function<SCPI_Gpib *(QObject *parent)> gpib;
};

/// Makes the unopened link for \a settings as a child of \a parent (ownership passes to the
/// parent; the caller opens it with connectDevice()), of the class \a classes makes for its
/// kind, and gives it the address of \a settings.
SCPI_Parser *makeLink(
    const LinkSettings &settings, QObject *parent, const LinkClasses &classes = LinkClasses());
