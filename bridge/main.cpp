// vorn-module-bridge: polls the configured modules and publishes them on an MQTT broker.
#include "bridge.h"
#include "bridgeconfig.h"
#include "modulepoller.h"
#include "mqttclient.h"
#include "signalwatch.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>

#include <sys/resource.h>

namespace {

/// Raises the soft limit on open files to the hard one: every module holds a socket, and a
/// thousand of them pass the usual soft limit of 1024.
void raiseOpenFileLimit()
{
    rlimit files = {};
    if (getrlimit(RLIMIT_NOFILE, &files) == 0 && files.rlim_cur < files.rlim_max) {
        files.rlim_cur = files.rlim_max;
        setrlimit(RLIMIT_NOFILE, &files);
    }
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    // First of all, so that a signal never ends the bridge without its goodbye to the broker.
    SignalWatch signalWatch;
    QCoreApplication::setApplicationName(QStringLiteral("vorn-module-bridge"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VORN_VERSION));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Polls Vornwerk high-voltage modules over TCP, serial or GPIB and publishes their values "
        "on an MQTT broker.\nIts manual page (man vorn-module-bridge) describes the configuration "
        "file and the topics. SIGHUP reads the file again."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption check(
        QStringLiteral("check"), QStringLiteral("Check the configuration file and exit."));
    parser.addOption(check);
    parser.addPositionalArgument(QStringLiteral("config"), QStringLiteral("Configuration file."));
    parser.process(app);

    QTextStream err(stderr);
    const QStringList files = parser.positionalArguments();
    if (files.size() != 1) {
        err << "vorn-module-bridge: give exactly one configuration file (see --help)\n";
        return 2;
    }
    BridgeSettings settings;
    QString error;
    if (!loadBridgeSettings(files.first(), &settings, &error)) {
        err << "vorn-module-bridge: " << error << '\n';
        return 1;
    }
    if (parser.isSet(check)) {
        QTextStream(stdout) << files.first() << ": fine, " << settings.modules.size()
                            << " module(s), broker " << settings.broker.host << ':'
                            << settings.broker.port << '\n';
        return 0;
    }

    raiseOpenFileLimit();
    bool reload = false;
    Bridge *running = nullptr;
    QObject::connect(
        &signalWatch, &SignalWatch::terminationRequested, &app, &QCoreApplication::quit);
    QObject::connect(&signalWatch, &SignalWatch::reloadRequested, &app, [&]() {
        BridgeSettings fresh;
        QString problem;
        if (!loadBridgeSettings(files.first(), &fresh, &problem)) {
            qCWarning(lcBridge).noquote() << "configuration not read again:" << problem;
            return;
        }
        settings = fresh;
        // Unchanged modules keep running; only a changed [broker] section makes all anew.
        if (running && running->reload(fresh))
            return;
        qCInfo(lcBridge).noquote()
            << "configuration read again with a changed [broker] section; restarting";
        reload = true;
        QCoreApplication::quit();
    });
    int code = 1;
    do {
        reload = false;
        Bridge bridge(settings);
        if (!bridge.start()) {
            code = 1;
            break;
        }
        running = &bridge;
        code = QCoreApplication::exec();
        running = nullptr;
        bridge.stop(reload ? QStringLiteral("the bridge restarted with a changed [broker] section")
                           : QStringLiteral("the bridge stopped"));
    } while (reload);
    MqttClient::releaseLibrary();
    return code;
}
