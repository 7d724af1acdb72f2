#include "simoptions.h"

#include "model/controlcommand.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cmath>

namespace vornsim {

namespace {

/// Most modules one simulator serves over TCP.
constexpr int MaxTcpModules = 10000;

struct Numbers
{
    QCommandLineParser &parser;
    QString *error;

    /// A non-negative integer option; keeps `*value` when the option is absent.
    template <typename T> bool get(const QString &name, T *value, qint64 maximum = 0x7fffffff)
    {
        if (!parser.isSet(name))
            return true;
        bool ok = false;
        const qint64 v = parser.value(name).toLongLong(&ok);
        if (!ok || v < 0 || v > maximum) {
            *error = QStringLiteral("invalid value for --%1: %2").arg(name, parser.value(name));
            return false;
        }
        *value = T(v);
        return true;
    }
};

bool addressList(const QString &text, const QString &name, QList<int> *list, QString *error)
{
    for (const QString &part : text.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        bool ok = false;
        const int pad = part.trimmed().toInt(&ok);
        if (!ok || pad < 1 || pad > 30) {
            *error = QStringLiteral("invalid GPIB address for --%1: %2 (1 to 30)").arg(name, part);
            return false;
        }
        if (!list->contains(pad))
            list->append(pad);
    }
    return true;
}

void declareOptions(QCommandLineParser &parser)
{
    parser.setApplicationDescription(QStringLiteral(
        "Simulated Vornwerk high-voltage module speaking the SCPI dialect.\n"
        "Without options: a four-channel KA2F module on TCP 127.0.0.1:10001.\n"
        "When ready it prints one line to stdout: \"tcp <address>:<port>\", "
        "\"serial <pty path>\" or \"gpib <socket path>\".\n"
        "Unknown queries answer ERROR in their place; unknown set commands are ignored."));
    parser.addHelpOption();
    parser.addVersionOption();
    const auto opt = [&parser](const char *name, const char *help, const char *value = nullptr) {
        QCommandLineOption o(QString::fromLatin1(name), QString::fromLatin1(help));
        if (value)
            o.setValueName(QString::fromLatin1(value));
        parser.addOption(o);
    };
    opt("tcp", "Listen on TCP port PORT (0 picks a free port; default 10001).", "PORT");
    opt("address", "Listen address for TCP (default 127.0.0.1).", "ADDR");
    opt("modules",
        "Serve N modules over TCP on consecutive ports from --tcp (with --tcp 0, a free row "
        "below 32768), their serial numbers counting up; the ready line then names the first "
        "and the last port, \"tcp <address>:<first>-<last>\".",
        "N");
    opt("serial", "Open a pseudo-terminal and act as a module on a serial port.");
    opt("gpib", "Put modules at these GPIB primary addresses (1-30), e.g. 5 or 5,7.",
        "ADDR[,ADDR...]");
    opt("gpib-silent", "Add listeners at these addresses that never answer.", "ADDR[,ADDR...]");
    opt("gpib-socket",
        "Local socket the stand-in GPIB library connects to (its VORN_GPIB_SOCKET); default "
        "/tmp/vorn-gpib-<pid>.sock.",
        "PATH");
    opt("preset", "Module kind (default KA2F); see --list-presets.", "NAME");
    opt("list-presets", "Print the preset names and exit.");
    opt("manufacturer", "Override the manufacturer in the identity answer.", "TEXT");
    opt("device", "Override the device name.", "TEXT");
    opt("serial-number", "Override the serial number.", "N");
    opt("firmware", "Override the firmware name.", "NAME");
    opt("release", "Override the firmware release, e.g. 4.08.", "TEXT");
    opt("channels", "Override the channel count (1-64).", "N");
    opt("nominal-voltage", "Nominal voltage per channel in V (negative: negative module).", "V");
    opt("nominal-current", "Nominal current per channel in A.", "A");
    opt("limits", "Voltage and current limit in percent of nominal (default 100,100).", "V,I");
    opt("nominal-voltage-answer",
        "Fault: report TEXT (e.g. inf or nan) as every channel's nominal voltage.", "TEXT");
    opt("no-noise", "Exact measured values; no noise, no drift.");
    opt("load",
        "A load on channel CH (a number or all): a resistance in ohms plus an optional leakage "
        "that grows with the voltage, in A per V. Repeatable.",
        "CH=OHMS[,LEAK_A_PER_V]");
    opt("arc-rate",
        "Random arcs on channel CH (a number or all) while it has voltage, PER_MIN a minute on "
        "average; three arcs less than a second apart switch the channel off (arc error). The "
        "arcs follow a fixed pseudo-random sequence per serial number and channel. Repeatable.",
        "CH=PER_MIN");
    opt("control",
        "Open the control port on 127.0.0.1:PORT (0 picks a free port) and print \"control "
        "127.0.0.1:<port>\" after the ready line. One command a line, answered \"ok\" or "
        "\"error: ...\"; the commands are listed at the end.",
        "PORT");
    opt("verbose", "Trace commands and faults (logging category vorn.sim) to stderr.");
    opt("trace",
        "Append every received request line to FILE (GPIB lines start with the address and a "
        "blank).",
        "FILE");
    opt("split", "Fault: write each answer in N segments.", "N");
    opt("split-delay", "Fault: pause between segments in ms (default 20).", "MS");
    opt("delay", "Fault: send every answer MS milliseconds late.", "MS");
    opt("drop-every", "Fault: swallow every Nth answer (1: never answer).", "N");
    opt("garbage-every", "Fault: replace every Nth answer by junk ending in CR LF.", "N");
    opt("close-after", "Fault: close the TCP connection after N answers.", "N");
    opt("endless-after", "Fault: the Nth answer becomes an endless stream without CR LF.", "N");
    opt("endless-bytes", "Fault: the endless stream stops after N bytes (default 8 MiB).", "N");
    opt("endless-ms", "Fault: the endless stream stops after MS ms (default 10000).", "MS");
    opt("wrong-echo-every", "Fault (serial): every Nth echoed byte is wrong.", "N");
    opt("lone-lf-every", "Fault (serial): every Nth request gets a lone LF instead of its answer.",
        "N");
    opt("echo-with-answer", "Fault (serial): echo and answer leave in one write.");
}

/// --help, --version, --list-presets and stray arguments: false when parsing ends here.
bool handleInformational(const QCommandLineParser &parser, QString *message, int *exitCode)
{
    if (parser.isSet(QStringLiteral("help"))) {
        *message = parser.helpText()
            + QStringLiteral(
                "\nControl port commands (CH is a channel number or all). With several "
                "modules\n(--modules N, several --gpib addresses) a command acts on "
                "the first, or,\nafter a prefix @M, on module M counted from 0 "
                "(\"@3 trip 0\": the fourth port\nor GPIB address):\n")
            + controlCommandHelp() + QLatin1Char('\n');
        *exitCode = 0;
        return false;
    }
    if (parser.isSet(QStringLiteral("version"))) {
        *message = QStringLiteral("vorn-module-sim " VORN_VERSION "\n");
        *exitCode = 0;
        return false;
    }
    if (parser.isSet(QStringLiteral("list-presets"))) {
        *message = presetNames().join(QLatin1Char('\n')) + QLatin1Char('\n');
        *exitCode = 0;
        return false;
    }
    if (!parser.positionalArguments().isEmpty()) {
        *message
            = QStringLiteral("unexpected argument: %1").arg(parser.positionalArguments().first());
        return false;
    }
    return true;
}

/// --tcp, --serial or --gpib with its addresses and socket, and the listen address.
bool parseTransport(const QCommandLineParser &parser, SimOptions *o, QString *message)
{
    const int transports = int(parser.isSet(QStringLiteral("tcp")))
        + int(parser.isSet(QStringLiteral("serial"))) + int(parser.isSet(QStringLiteral("gpib")));
    if (transports > 1) {
        *message = QStringLiteral("choose one of --tcp, --serial and --gpib");
        return false;
    }
    if (parser.isSet(QStringLiteral("serial")))
        o->transport = SimOptions::Transport::Serial;
    if (parser.isSet(QStringLiteral("gpib"))) {
        o->transport = SimOptions::Transport::Gpib;
        if (!addressList(parser.value(QStringLiteral("gpib")), QStringLiteral("gpib"),
                &o->gpibAddresses, message))
            return false;
    }
    if (parser.isSet(QStringLiteral("gpib-silent"))) {
        if (o->transport != SimOptions::Transport::Gpib) {
            *message = QStringLiteral("--gpib-silent needs --gpib");
            return false;
        }
        if (!addressList(parser.value(QStringLiteral("gpib-silent")), QStringLiteral("gpib-silent"),
                &o->gpibSilent, message))
            return false;
    }
    o->gpibSocket = parser.isSet(QStringLiteral("gpib-socket"))
        ? parser.value(QStringLiteral("gpib-socket"))
        : QStringLiteral("/tmp/vorn-gpib-%1.sock").arg(QCoreApplication::applicationPid());
    if (parser.isSet(QStringLiteral("address")))
        o->address = parser.value(QStringLiteral("address"));
    if (parser.isSet(QStringLiteral("modules"))) {
        bool ok = false;
        o->modules = parser.value(QStringLiteral("modules")).toInt(&ok);
        if (!ok || o->modules < 1 || o->modules > MaxTcpModules) {
            *message = QStringLiteral("invalid value for --modules: %1 (1 to %2)")
                           .arg(parser.value(QStringLiteral("modules")))
                           .arg(MaxTcpModules);
            return false;
        }
        if (o->transport != SimOptions::Transport::Tcp) {
            *message = QStringLiteral("--modules needs TCP");
            return false;
        }
    }
    return true;
}

/// The preset and the identity overrides given as text.
bool parsePreset(const QCommandLineParser &parser, SimOptions *o, QString *message)
{
    const QString presetName = parser.isSet(QStringLiteral("preset"))
        ? parser.value(QStringLiteral("preset"))
        : QStringLiteral("KA2F");
    const std::optional<Preset> preset = presetByName(presetName);
    if (!preset) {
        *message = QStringLiteral("unknown preset: %1 (known: %2)")
                       .arg(presetName, presetNames().join(QStringLiteral(", ")));
        return false;
    }
    o->preset = *preset;
    Identity &id = o->preset.identity;
    if (parser.isSet(QStringLiteral("manufacturer")))
        id.manufacturer = parser.value(QStringLiteral("manufacturer"));
    if (parser.isSet(QStringLiteral("device")))
        id.deviceName = parser.value(QStringLiteral("device"));
    if (parser.isSet(QStringLiteral("firmware")))
        id.firmwareName = parser.value(QStringLiteral("firmware"));
    if (parser.isSet(QStringLiteral("release")))
        id.firmwareRelease = parser.value(QStringLiteral("release"));
    return true;
}

/// The port, the numeric identity overrides and the fault counters.
bool parseIntegers(QCommandLineParser &parser, SimOptions *o, QString *message)
{
    Identity &id = o->preset.identity;
    Numbers n { parser, message };
    if (!n.get(QStringLiteral("tcp"), &o->port, 65535)
        || !n.get(QStringLiteral("serial-number"), &id.serialNumber)
        || !n.get(QStringLiteral("channels"), &id.channels, 64)
        || !n.get(QStringLiteral("split"), &o->faults.splitParts)
        || !n.get(QStringLiteral("split-delay"), &o->faults.splitDelayMs)
        || !n.get(QStringLiteral("delay"), &o->faults.answerDelayMs)
        || !n.get(QStringLiteral("drop-every"), &o->faults.dropEvery)
        || !n.get(QStringLiteral("garbage-every"), &o->faults.garbageEvery)
        || !n.get(QStringLiteral("close-after"), &o->faults.closeAfter)
        || !n.get(QStringLiteral("endless-after"), &o->faults.endlessAfter)
        || !n.get(QStringLiteral("endless-bytes"), &o->faults.endlessBytes, Q_INT64_C(1) << 40)
        || !n.get(QStringLiteral("endless-ms"), &o->faults.endlessMs)
        || !n.get(QStringLiteral("wrong-echo-every"), &o->faults.wrongEchoEvery)
        || !n.get(QStringLiteral("lone-lf-every"), &o->faults.loneLfEvery))
        return false;
    if (id.channels < 1) {
        *message = QStringLiteral("invalid value for --channels: 0 (1 to 64)");
        return false;
    }
    if (o->port != 0 && int(o->port) + o->modules - 1 > 65535) {
        *message = QStringLiteral("--modules %1 from port %2 pass port 65535")
                       .arg(o->modules)
                       .arg(o->port);
        return false;
    }
    return true;
}

/// --nominal-voltage and --nominal-current.
bool parseNominals(const QCommandLineParser &parser, SimOptions *o, QString *message)
{
    for (const char *name : { "nominal-voltage", "nominal-current" }) {
        const QString key = QString::fromLatin1(name);
        if (!parser.isSet(key))
            continue;
        bool ok = false;
        const double v = parser.value(key).toDouble(&ok);
        // A finite, non-zero value up to a megavolt or a megaampere; a current is positive.
        if (!ok || !std::isfinite(v) || v == 0.0 || std::abs(v) > 1e6
            || (key == QLatin1String("nominal-current") && v < 0.0)) {
            *message = QStringLiteral("invalid value for --%1: %2").arg(key, parser.value(key));
            return false;
        }
        (key == QLatin1String("nominal-voltage") ? o->preset.voltageNominal
                                                 : o->preset.currentNominal)
            = v;
    }
    return true;
}

/// "CH=VALUES" of --load and --arc-rate: the channels and the values split at ",".
bool channelSetting(const QString &option, const QString &text, int channelCount,
    QList<int> *channels, QList<QByteArray> *values, QString *message)
{
    const int equals = int(text.indexOf(QLatin1Char('=')));
    if (equals < 0) {
        *message = QStringLiteral("invalid value for --%1: %2 (CH=...)").arg(option, text);
        return false;
    }
    QString error;
    if (!parseChannelWord(text.left(equals).toLatin1(), channelCount, channels, &error)) {
        *message = QStringLiteral("invalid value for --%1: %2").arg(option, error);
        return false;
    }
    *values = text.mid(equals + 1).toLatin1().split(',');
    return true;
}

/// --load, --arc-rate and --control; after the channel count is known.
bool parseConditions(QCommandLineParser &parser, SimOptions *o, QString *message)
{
    const int count = o->preset.identity.channels;
    for (const QString &text : parser.values(QStringLiteral("load"))) {
        SimOptions::Load load;
        QList<QByteArray> values;
        QString error;
        if (!channelSetting(QStringLiteral("load"), text, count, &load.channels, &values, message))
            return false;
        if (values.size() > 2
            || !parseLoadValues(
                values.value(0), values.value(1), &load.ohms, &load.leakagePerVolt, &error)) {
            *message = QStringLiteral("invalid value for --load: %1 (%2)")
                           .arg(text, error.isEmpty() ? QStringLiteral("CH=OHMS[,LEAK]") : error);
            return false;
        }
        o->loads << load;
    }
    for (const QString &text : parser.values(QStringLiteral("arc-rate"))) {
        SimOptions::ArcRate rate;
        QList<QByteArray> values;
        if (!channelSetting(
                QStringLiteral("arc-rate"), text, count, &rate.channels, &values, message))
            return false;
        bool ok = false;
        rate.perMinute = values.first().toDouble(&ok);
        // Up to 100 arcs a second; more would keep the model busy with arcs alone.
        if (!ok || values.size() != 1 || !(rate.perMinute >= 0.0 && rate.perMinute <= 6000.0)) {
            *message
                = QStringLiteral("invalid value for --arc-rate: %1 (0 to 6000 a minute)").arg(text);
            return false;
        }
        o->arcRates << rate;
    }
    if (parser.isSet(QStringLiteral("control"))) {
        quint16 port = 0;
        Numbers n { parser, message };
        if (!n.get(QStringLiteral("control"), &port, 65535))
            return false;
        o->controlPort = port;
    }
    return true;
}

/// --limits V,I: two percentages from 0 to 100.
bool parseLimits(const QCommandLineParser &parser, SimOptions *o, QString *message)
{
    if (!parser.isSet(QStringLiteral("limits")))
        return true;
    const QString text = parser.value(QStringLiteral("limits"));
    const QStringList parts = text.split(QLatin1Char(','));
    double values[2] = {};
    bool ok = parts.size() == 2;
    for (int i = 0; ok && i < 2; ++i) {
        values[i] = parts.at(i).trimmed().toDouble(&ok);
        ok = ok && values[i] >= 0.0 && values[i] <= 100.0;
    }
    if (!ok) {
        *message
            = QStringLiteral("invalid value for --limits: %1 (V,I in percent, 0 to 100)").arg(text);
        return false;
    }
    o->voltageLimit = values[0];
    o->currentLimit = values[1];
    return true;
}

} // namespace

bool parseSimOptions(
    const QStringList &arguments, SimOptions *options, QString *message, int *exitCode)
{
    QCommandLineParser parser;
    declareOptions(parser);
    *exitCode = 2;
    if (!parser.parse(arguments)) {
        *message = parser.errorText();
        return false;
    }
    if (!handleInformational(parser, message, exitCode))
        return false;

    SimOptions o;
    if (!parseTransport(parser, &o, message) || !parsePreset(parser, &o, message)
        || !parseIntegers(parser, &o, message) || !parseNominals(parser, &o, message)
        || !parseConditions(parser, &o, message) || !parseLimits(parser, &o, message))
        return false;
    o.faults.echoWithAnswer = parser.isSet(QStringLiteral("echo-with-answer"));
    o.noise = !parser.isSet(QStringLiteral("no-noise"));
    o.verbose = parser.isSet(QStringLiteral("verbose"));
    o.traceFile = parser.value(QStringLiteral("trace"));
    o.preset.voltageNominalAnswer
        = parser.value(QStringLiteral("nominal-voltage-answer")).toLatin1();
    *options = o;
    *exitCode = 0;
    return true;
}

} // namespace vornsim
