#pragma once

#include "linksettings.h"

#include <QByteArray>
#include <QList>
#include <QString>

/// Where and how the bridge reaches its MQTT broker.
struct BrokerSettings
{
    QString host = QStringLiteral("127.0.0.1");
    int port = 1883;
    QString clientId = QStringLiteral("vorn-module-bridge");
    QString user;
    QString password;
    bool tls = false;
    QString caFile;
    QString certFile;
    QString keyFile;
    /// First topic level of everything the bridge publishes; no trailing "/".
    QString prefix = QStringLiteral("vorn");
    /// Most publishes per topic and second.
    double rate = 2.0;
    int keepAlive = 30;
};

/// One module the bridge polls: a name for the log and the link that reaches it.
struct ModuleSettings
{
    enum class Link { Tcp, Serial, Gpib };

    QString name;
    Link link = Link::Tcp;
    QString host;
    quint16 port = 0;
    QString serialPort;
    int gpibAddress = 0;
    /// Set topics are subscribed only when this is true.
    bool commands = false;
    /// Line of the [module ...] header, for messages about the module.
    int line = 0;

    /// The link that reaches the module.
    LinkSettings linkSettings() const;
    /// The endpoint as written in the file, for log lines.
    QString endpoint() const { return linkSettings().endpoint(); }
};

struct BridgeSettings
{
    BrokerSettings broker;
    QList<ModuleSettings> modules;
};

/// Reads the bridge's configuration, an INI-like text:
///
///     # comment            (also ";")
///     [broker]
///     host = 127.0.0.1     port, client-id, user, password, tls, ca-file, cert-file,
///     prefix = vorn        key-file, rate, keepalive
///     [module rack1-slot3]
///     tcp = 192.168.1.20:10001      (or: serial = /dev/ttyUSB0, or: gpib = 5)
///     commands = off
///
/// Returns false with \a error naming the line ("line 7: unknown key ...") for a broken text.
bool parseBridgeSettings(const QByteArray &text, BridgeSettings *settings, QString *error);

/// Reads and parses the file at \a path; \a error starts with the path.
bool loadBridgeSettings(const QString &path, BridgeSettings *settings, QString *error);

/// Why the file at \a path must not be used as it is, or an empty text: a file that holds a
/// broker password may not be readable by other users.
QString permissionProblem(const QString &path, const BridgeSettings &settings);
