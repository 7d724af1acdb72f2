#pragma once

#include "brokersettings.h"
#include "linksettings.h"

#include <QByteArray>
#include <QHostAddress>
#include <QList>
#include <QString>

/// "vorn-module-bridge-<host name>": two bridges on different machines never push each other
/// off the broker with the same client id.
QString defaultClientId();

/// The "[broker]" section: where and how the bridge reaches its MQTT broker, and what it
/// publishes there.
struct BridgeBrokerSettings : BrokerSettings
{
    BridgeBrokerSettings() { clientId = defaultClientId(); }

    /// First topic level of everything the bridge publishes; no trailing "/".
    QString prefix = QStringLiteral("vorn");
    /// Most publishes per topic and second.
    double rate = 2.0;
    /// "insecure-commands = local-only": commands over an unauthenticated or unencrypted
    /// connection to a broker on this machine.
    bool insecureCommands = false;
    /// "insecure-password = on": the password may cross the network without TLS.
    bool insecurePassword = false;

    /// Whether the broker is on this machine (a loopback address or "localhost").
    bool isLocal() const;
    bool operator==(const BridgeBrokerSettings &other) const;
};

/// One module the bridge polls: a name for the log and the link that reaches it.
struct ModuleSettings
{
    /// The GPIB board of a "gpib" link.
    static constexpr int GpibBoard = 0;

    QString name;
    /// The link that reaches the module ("tcp", "serial" or "gpib").
    LinkSettings link;
    /// Set topics are subscribed only when this is true.
    bool commands = false;
    /// "sequences = FOLDER" (with commands on): the folder whose sequence files
    /// "<serial>/sequence/run" may name; empty for none.
    QString sequences;
    /// Polling cycle period in ms ("cycle"): one cycle, then a pause until it is over; 0 for
    /// none (as fast as the module answers). -1 while the file has not said: the [defaults].
    int cycleMs = -1;
    /// Line of the [module ...] header, for messages about the module.
    int line = 0;

    /// The endpoint as written in the file, for log lines.
    QString endpoint() const { return link.endpoint(); }
    /// The same module polled the same way: everything but the line of the section.
    bool sameModule(const ModuleSettings &other) const;
};

/// What every module has unless its own section says otherwise ("[defaults]").
struct ModuleDefaults
{
    int cycleMs = 0;
};

/// The bridge itself ("[bridge]").
struct ServiceSettings
{
    static constexpr quint16 DefaultMetricsPort = 9464;

    /// Where the metrics are served ("metrics = [ADDRESS:]PORT"); port 0 for nowhere.
    QHostAddress metricsAddress = QHostAddress(QHostAddress::LocalHost);
    quint16 metricsPort = 0;
};

struct BridgeSettings
{
    BridgeBrokerSettings broker;
    ModuleDefaults defaults;
    ServiceSettings service;
    QList<ModuleSettings> modules;
};

/// Reads the bridge's configuration, an INI-like text:
///
///     # comment            (also ";")
///     [broker]
///     host = 127.0.0.1     port, client-id, user, password, tls, ca-file, cert-file,
///     prefix = vorn        key-file, rate, keepalive, insecure-commands, insecure-password
///     [bridge]
///     metrics = 127.0.0.1:9464   (the metrics over HTTP; a port alone: on 127.0.0.1)
///     [defaults]
///     cycle = 1s           (a polling cycle a second; 500ms, 2.5s, 1min; 0: as fast as answered)
///     [module rack1-slot3]
///     tcp = 192.168.1.20:10001      (or: serial = /dev/ttyUSB0, or: gpib = 5)
///     commands = off
///     sequences = /srv/vorn/sequences   (an absolute folder; needs commands = on)
///     cycle = 0            (this module as fast as it answers)
///
/// Returns false with \a error naming the line ("line 7: unknown key ...") for a broken text,
/// and for settings that would expose the modules: commands over a connection that is not both
/// authenticated and encrypted (unless "insecure-commands = local-only" with a broker on this
/// machine), a password in the clear to another machine (unless "insecure-password = on").
/// A client certificate switches TLS on.
bool parseBridgeSettings(const QByteArray &text, BridgeSettings *settings, QString *error);

/// Opens and checks the file at \a path (see readConfigFile()), parses it, and checks that a
/// file with a password is readable by its owner alone, the key file as readConfigFile()
/// and keyFileProblem() require, and every module's sequences folder as folderProblem()
/// requires; \a error starts with the path.
bool loadBridgeSettings(const QString &path, BridgeSettings *settings, QString *error);
