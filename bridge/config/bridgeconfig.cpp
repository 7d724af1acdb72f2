#include "bridgeconfig.h"

#include "configfile.h"
#include "modulesession.h"

#include <QDir>
#include <QFileInfo>
#include <QHostAddress>
#include <QRegularExpression>
#include <QSet>
#include <QSysInfo>

#include <cmath>

namespace {

constexpr double MinRate = 0.01;
/// Shortest cycle period other than 0, in ms.
constexpr int MinCycleMs = 10;

/// "1s", "500ms", "2.5s", "1min", or "0" / "off" for none; -1 when the text is none of these.
int cyclePeriodMs(const QString &text)
{
    const QString v = text.trimmed().toLower();
    if (v == QLatin1String("0") || v == QLatin1String("off"))
        return 0;
    static const QRegularExpression pattern(QStringLiteral("^([0-9]+(?:\\.[0-9]+)?) *(ms|s|min)$"));
    const QRegularExpressionMatch match = pattern.match(v);
    if (!match.hasMatch())
        return -1;
    const QString unit = match.captured(2);
    const double scale = unit == QLatin1String("ms") ? 1.0 : unit == QLatin1String("s") ? 1e3 : 6e4;
    const double ms = match.captured(1).toDouble() * scale;
    return ms >= MinCycleMs && ms <= ModuleSession::MaxCyclePeriodMs ? int(std::lround(ms)) : -1;
}

/// Collects the first error with its line number.
struct Reader
{
    BridgeSettings *settings = nullptr;
    QString *error = nullptr;
    int line = 0;
    int brokerLine = 0;
    int defaultsLine = 0;
    int bridgeLine = 0;
    enum class Section { None, Broker, Defaults, Bridge, Module } section = Section::None;
    QSet<QString> seenKeys;

    bool fail(const QString &message)
    {
        *error = QStringLiteral("line %1: %2").arg(line).arg(message);
        return false;
    }

    bool toInt(const QString &key, const QString &value, int low, int high, int *out)
    {
        bool ok = false;
        const int v = value.toInt(&ok);
        if (!ok || v < low || v > high)
            return fail(
                QStringLiteral("invalid %1 \"%2\" (%3 to %4)").arg(key, value).arg(low).arg(high));
        *out = v;
        return true;
    }

    bool toBool(const QString &key, const QString &value, bool *out)
    {
        const QString v = value.toLower();
        if (v == QLatin1String("on") || v == QLatin1String("yes") || v == QLatin1String("true")
            || v == QLatin1String("1")) {
            *out = true;
            return true;
        }
        if (v == QLatin1String("off") || v == QLatin1String("no") || v == QLatin1String("false")
            || v == QLatin1String("0")) {
            *out = false;
            return true;
        }
        return fail(QStringLiteral("invalid %1 \"%2\" (on or off)").arg(key, value));
    }

    bool readableFile(const QString &key, const QString &value, QString *out)
    {
        if (!QFileInfo(value).isReadable())
            return fail(QStringLiteral("cannot read %1 \"%2\"").arg(key, value));
        *out = value;
        return true;
    }

    /// A section that may stand once; \a seenLine is where it stood first, or 0.
    bool single(const QString &name, int *seenLine, Section kind)
    {
        if (*seenLine > 0)
            return fail(QStringLiteral("a second [%1] section (the first is on line %2)")
                            .arg(name)
                            .arg(*seenLine));
        *seenLine = line;
        section = kind;
        return true;
    }

    bool header(const QString &text)
    {
        seenKeys.clear();
        const QString inner = text.mid(1, text.size() - 2).trimmed();
        if (inner == QLatin1String("broker"))
            return single(inner, &brokerLine, Section::Broker);
        if (inner == QLatin1String("defaults"))
            return single(inner, &defaultsLine, Section::Defaults);
        if (inner == QLatin1String("bridge"))
            return single(inner, &bridgeLine, Section::Bridge);
        if (inner == QLatin1String("module") || inner.startsWith(QLatin1String("module "))) {
            const QString name = inner.mid(6).trimmed();
            if (name.isEmpty())
                return fail(QStringLiteral("a module needs a name: [module NAME]"));
            for (const ModuleSettings &m : settings->modules) {
                if (m.name == name)
                    return fail(QStringLiteral("module \"%1\" is already defined on line %2")
                                    .arg(name)
                                    .arg(m.line));
            }
            ModuleSettings module;
            module.name = name;
            module.line = line;
            settings->modules.append(module);
            section = Section::Module;
            return true;
        }
        return fail(QStringLiteral("unknown section [%1] (broker, bridge, defaults or module NAME)")
                        .arg(inner));
    }

    bool brokerKey(const QString &key, const QString &value)
    {
        BridgeBrokerSettings &b = settings->broker;
        if (key == QLatin1String("host")) {
            if (value.isEmpty())
                return fail(QStringLiteral("host is empty"));
            b.host = value;
        } else if (key == QLatin1String("port")) {
            return toInt(key, value, 1, 65535, &b.port);
        } else if (key == QLatin1String("client-id")) {
            if (value.isEmpty() || value.contains(QLatin1Char('/'))
                || value.contains(QLatin1Char('+')) || value.contains(QLatin1Char('#')))
                return fail(QStringLiteral("invalid client-id \"%1\"").arg(value));
            b.clientId = value;
        } else if (key == QLatin1String("user")) {
            b.user = value;
        } else if (key == QLatin1String("password")) {
            b.password = value;
        } else if (key == QLatin1String("tls")) {
            return toBool(key, value, &b.tls);
        } else if (key == QLatin1String("ca-file")) {
            return readableFile(key, value, &b.caFile);
        } else if (key == QLatin1String("cert-file")) {
            return readableFile(key, value, &b.certFile);
        } else if (key == QLatin1String("key-file")) {
            return readableFile(key, value, &b.keyFile);
        } else if (key == QLatin1String("prefix")) {
            QString p = value;
            while (p.endsWith(QLatin1Char('/')))
                p.chop(1);
            if (p.isEmpty() || p.contains(QLatin1Char('+')) || p.contains(QLatin1Char('#')))
                return fail(QStringLiteral("invalid prefix \"%1\"").arg(value));
            b.prefix = p;
        } else if (key == QLatin1String("rate")) {
            bool ok = false;
            const double r = value.toDouble(&ok);
            if (!ok || !(r >= MinRate) || r > 1000.0)
                return fail(
                    QStringLiteral("invalid rate \"%1\" (0.01 to 1000 publishes per second)")
                        .arg(value));
            b.rate = r;
        } else if (key == QLatin1String("keepalive")) {
            return toInt(key, value, 5, 3600, &b.keepAlive);
        } else if (key == QLatin1String("insecure-commands")) {
            if (value != QLatin1String("local-only") && value != QLatin1String("off"))
                return fail(QStringLiteral("invalid insecure-commands \"%1\" (local-only or off)")
                                .arg(value));
            b.insecureCommands = value == QLatin1String("local-only");
        } else if (key == QLatin1String("insecure-password")) {
            return toBool(key, value, &b.insecurePassword);
        } else {
            return fail(QStringLiteral("unknown key \"%1\" in [broker]").arg(key));
        }
        return true;
    }

    bool cycle(const QString &value, int *out)
    {
        const int ms = cyclePeriodMs(value);
        if (ms < 0)
            return fail(QStringLiteral("invalid cycle \"%1\" (a period such as 1s or 500ms, "
                                       "10ms to 60min, or 0 for none)")
                            .arg(value));
        *out = ms;
        return true;
    }

    bool defaultsKey(const QString &key, const QString &value)
    {
        if (key == QLatin1String("cycle"))
            return cycle(value, &settings->defaults.cycleMs);
        return fail(QStringLiteral("unknown key \"%1\" in [defaults]").arg(key));
    }

    /// "PORT" (on the loopback address), "ADDRESS:PORT", "[IPV6]:PORT" or "off".
    bool metrics(const QString &value)
    {
        ServiceSettings &service = settings->service;
        if (value == QLatin1String("off")) {
            service.metricsPort = 0;
            return true;
        }
        const int colon = value.lastIndexOf(QLatin1Char(':'));
        QString host = colon < 0 ? QString() : value.left(colon);
        if (host.startsWith(QLatin1Char('[')) && host.endsWith(QLatin1Char(']')))
            host = host.mid(1, host.size() - 2);
        const QHostAddress address(host);
        if (colon >= 0 && address.isNull())
            return fail(QStringLiteral("invalid metrics \"%1\": give an IP address, not a name "
                                       "(127.0.0.1:9464, [::1]:9464, 9464 or off)")
                            .arg(value));
        int port = 0;
        if (!toInt(QStringLiteral("metrics port"), value.mid(colon + 1), 1, 65535, &port))
            return false;
        service.metricsAddress = colon < 0 ? QHostAddress(QHostAddress::LocalHost) : address;
        service.metricsPort = quint16(port);
        return true;
    }

    bool bridgeKey(const QString &key, const QString &value)
    {
        if (key == QLatin1String("metrics"))
            return metrics(value);
        return fail(QStringLiteral("unknown key \"%1\" in [bridge]").arg(key));
    }

    bool moduleKey(const QString &key, const QString &value)
    {
        ModuleSettings &m = settings->modules.last();
        const int links = int(seenKeys.contains(QStringLiteral("tcp")))
            + int(seenKeys.contains(QStringLiteral("serial")))
            + int(seenKeys.contains(QStringLiteral("gpib")));
        if (links > 1)
            return fail(QStringLiteral("module \"%1\" has more than one link").arg(m.name));
        if (key == QLatin1String("tcp")) {
            const int colon = value.lastIndexOf(QLatin1Char(':'));
            int port = 0;
            if (colon <= 0)
                return fail(QStringLiteral("invalid tcp \"%1\" (host:port)").arg(value));
            if (!toInt(QStringLiteral("tcp port"), value.mid(colon + 1), 1, 65535, &port))
                return false;
            m.link.kind = LinkSettings::Kind::Tcp;
            m.link.host = value.left(colon);
            m.link.port = static_cast<quint16>(port);
        } else if (key == QLatin1String("serial")) {
            if (value.isEmpty())
                return fail(QStringLiteral("serial port is empty"));
            m.link.kind = LinkSettings::Kind::Serial;
            m.link.serialPort = value;
        } else if (key == QLatin1String("gpib")) {
            m.link.kind = LinkSettings::Kind::Gpib;
            return toInt(QStringLiteral("gpib address"), value, 1, 30, &m.link.gpibAddress);
        } else if (key == QLatin1String("commands")) {
            return toBool(key, value, &m.commands);
        } else if (key == QLatin1String("sequences")) {
            if (!QDir::isAbsolutePath(value))
                return fail(
                    QStringLiteral("sequences must be an absolute folder, not \"%1\"").arg(value));
            m.sequences = QDir::cleanPath(value);
        } else if (key == QLatin1String("cycle")) {
            return cycle(value, &m.cycleMs);
        } else {
            return fail(QStringLiteral("unknown key \"%1\" in [module %2]").arg(key, m.name));
        }
        return true;
    }

    bool entry(const QString &text)
    {
        const int equals = text.indexOf(QLatin1Char('='));
        if (equals <= 0)
            return fail(QStringLiteral("expected \"key = value\" or a [section]"));
        const QString key = text.left(equals).trimmed();
        const QString value = text.mid(equals + 1).trimmed();
        if (section == Section::None)
            return fail(QStringLiteral("\"%1\" before the first [section]").arg(key));
        if (seenKeys.contains(key))
            return fail(QStringLiteral("\"%1\" is given twice").arg(key));
        seenKeys.insert(key);
        switch (section) {
        case Section::Broker:
            return brokerKey(key, value);
        case Section::Defaults:
            return defaultsKey(key, value);
        case Section::Bridge:
            return bridgeKey(key, value);
        default:
            return moduleKey(key, value);
        }
    }
};

bool hasLink(const QSet<QString> &keys)
{
    return keys.contains(QStringLiteral("tcp")) || keys.contains(QStringLiteral("serial"))
        || keys.contains(QStringLiteral("gpib"));
}

/// Why the broker settings put the modules at risk, or an empty text.
QString exposure(const BridgeSettings &settings)
{
    const BridgeBrokerSettings &b = settings.broker;
    if (!b.password.isEmpty() && !b.tls && !b.isLocal() && !b.insecurePassword) {
        return QStringLiteral("the password would cross the network to %1 in the clear: switch "
                              "tls on (or allow it with insecure-password = on)")
            .arg(b.host);
    }
    if (b.insecureCommands && !b.isLocal()) {
        return QStringLiteral("insecure-commands = local-only needs a broker on this machine, "
                              "not %1")
            .arg(b.host);
    }
    const bool authenticated = !b.password.isEmpty() || !b.certFile.isEmpty();
    if ((authenticated && b.tls) || b.insecureCommands)
        return QString();
    for (const ModuleSettings &m : settings.modules) {
        if (m.commands) {
            return QStringLiteral(
                "line %1: module \"%2\" takes commands, but anyone who reaches the broker "
                "could send them: connect with tls and a user and password (or a client "
                "certificate), or, for a broker on this machine, set insecure-commands = "
                "local-only")
                .arg(m.line)
                .arg(m.name);
        }
    }
    return QString();
}

} // namespace

QString defaultClientId()
{
    QString host = QSysInfo::machineHostName();
    host.remove(QRegularExpression(QStringLiteral("[^A-Za-z0-9._-]")));
    return host.isEmpty() ? QStringLiteral("vorn-module-bridge")
                          : QStringLiteral("vorn-module-bridge-") + host;
}

bool BridgeBrokerSettings::isLocal() const
{
    return host == QLatin1String("localhost") || QHostAddress(host).isLoopback();
}

bool BridgeBrokerSettings::operator==(const BridgeBrokerSettings &o) const
{
    return BrokerSettings::operator==(o) && prefix == o.prefix && rate == o.rate
        && insecureCommands == o.insecureCommands && insecurePassword == o.insecurePassword;
}

bool ModuleSettings::sameModule(const ModuleSettings &o) const
{
    return name == o.name && link == o.link && commands == o.commands && sequences == o.sequences
        && cycleMs == o.cycleMs;
}

bool parseBridgeSettings(const QByteArray &text, BridgeSettings *settings, QString *error)
{
    *settings = BridgeSettings();
    Reader reader;
    reader.settings = settings;
    reader.error = error;
    bool moduleOpen = false;
    int moduleLine = 0;
    const auto closeModule = [&]() {
        if (moduleOpen && !hasLink(reader.seenKeys)) {
            reader.line = moduleLine;
            return reader.fail(QStringLiteral("module \"%1\" has no link (tcp, serial or gpib)")
                                   .arg(settings->modules.last().name));
        }
        if (moduleOpen && !settings->modules.last().sequences.isEmpty()
            && !settings->modules.last().commands) {
            reader.line = moduleLine;
            return reader.fail(QStringLiteral("module \"%1\" has sequences but takes no commands "
                                              "(commands = on)")
                                   .arg(settings->modules.last().name));
        }
        return true;
    };
    const QList<QByteArray> lines = text.split('\n');
    for (const QByteArray &raw : lines) {
        ++reader.line;
        const QString line = QString::fromUtf8(raw).trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#'))
            || line.startsWith(QLatin1Char(';')))
            continue;
        if (line.startsWith(QLatin1Char('['))) {
            const int here = reader.line;
            if (!closeModule())
                return false;
            reader.line = here;
            if (!line.endsWith(QLatin1Char(']')))
                return reader.fail(QStringLiteral("a section header ends with \"]\""));
            if (!reader.header(line))
                return false;
            moduleOpen = reader.section == Reader::Section::Module;
            moduleLine = reader.line;
            continue;
        }
        if (!reader.entry(line))
            return false;
    }
    if (!closeModule())
        return false;
    const BridgeBrokerSettings &b = settings->broker;
    if (!b.certFile.isEmpty() != !b.keyFile.isEmpty()) {
        *error = QStringLiteral("cert-file and key-file go together");
        return false;
    }
    if (!b.password.isEmpty() && b.user.isEmpty()) {
        *error = QStringLiteral("a password needs a user");
        return false;
    }
    if (!b.caFile.isEmpty() || !b.certFile.isEmpty())
        settings->broker.tls = true;
    if (settings->modules.isEmpty()) {
        *error = QStringLiteral("no module: add a [module NAME] section with its link");
        return false;
    }
    for (ModuleSettings &m : settings->modules) {
        if (m.cycleMs < 0)
            m.cycleMs = settings->defaults.cycleMs;
    }
    *error = exposure(*settings);
    return error->isEmpty();
}

bool loadBridgeSettings(const QString &path, BridgeSettings *settings, QString *error)
{
    CheckedFile file;
    if (!readConfigFile(path, &file, error))
        return false;
    QString problem;
    if (!parseBridgeSettings(file.text, settings, &problem)) {
        *error = QStringLiteral("%1: %2").arg(path, problem);
        return false;
    }
    if (!settings->broker.password.isEmpty())
        problem = secretFileProblem(path, file.mode);
    if (problem.isEmpty() && !settings->broker.keyFile.isEmpty()) {
        problem = keyFileProblem(settings->broker.keyFile);
        if (!problem.isEmpty())
            problem = QStringLiteral("%1: %2").arg(path, problem);
    }
    for (const ModuleSettings &m : std::as_const(settings->modules)) {
        if (!problem.isEmpty())
            break;
        if (m.sequences.isEmpty())
            continue;
        problem = folderProblem(m.sequences);
        if (!problem.isEmpty())
            problem = QStringLiteral("%1: line %2: the sequences of module \"%3\": %4")
                          .arg(path)
                          .arg(m.line)
                          .arg(m.name, problem);
    }
    *error = problem;
    return problem.isEmpty();
}
