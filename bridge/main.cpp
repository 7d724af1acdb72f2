// vorn-module-bridge: polls the configured modules and publishes them on an MQTT broker.
#include "bridge.h"
#include "bridgeconfig.h"
#include "bridgemetrics.h"
#include "metricsserver.h"
#include "modulepoller.h"
#include "mqttclient.h"
#include "servicenotifier.h"
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
    // The bridge of the present run; null between runs.
    const Bridge *current = nullptr;
    ServiceNotifier notifier([&current]() {
        if (!current)
            return QStringLiteral("starting");
        const BrokerSettings &broker = current->settings().broker;
        return QStringLiteral("%1 of %2 modules online, broker %3:%4 %5")
            .arg(current->onlineCount())
            .arg(current->pollers().size())
            .arg(broker.host)
            .arg(broker.port)
            .arg(current->client()->isConnected() ? QStringLiteral("connected")
                                                  : QStringLiteral("not connected"));
    });
    BridgeMetrics metrics;
    std::unique_ptr<MetricsServer> metricsServer;
    ServiceSettings served;
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
        notifier.reloading();
        reload = true;
        QCoreApplication::quit();
    });
    int code = 1;
    do {
        reload = false;
        Bridge bridge(settings);
        const ServiceSettings &service = settings.service;
        if (!metricsServer || service.metricsAddress != served.metricsAddress
            || service.metricsPort != served.metricsPort) {
            metricsServer.reset();
            served = service;
            if (service.metricsPort != 0) {
                metricsServer = std::make_unique<MetricsServer>(
                    [&]() { return current ? metrics.render(*current, &notifier) : QByteArray(); },
                    [&]() {
                        return current && current->client()->isConnected()
                            ? QString()
                            : QStringLiteral("the broker is not connected");
                    });
                QString problem;
                if (metricsServer->listenOn(service.metricsAddress, service.metricsPort, &problem))
                    qCInfo(lcBridge).noquote() << QStringLiteral("metrics on http://%1:%2/metrics")
                                                      .arg(service.metricsAddress.toString())
                                                      .arg(service.metricsPort);
                else
                    qCWarning(lcBridge).noquote()
                        << QStringLiteral("no metrics: cannot listen on %1 port %2: %3")
                               .arg(service.metricsAddress.toString())
                               .arg(service.metricsPort)
                               .arg(problem);
            }
        }
        // Ready once the broker has been tried, whether it was there or not.
        QObject::connect(
            bridge.client(), &MqttClient::connected, &notifier, &ServiceNotifier::ready);
        QObject::connect(
            bridge.client(), &MqttClient::attemptFailed, &notifier, &ServiceNotifier::ready);
        notifier.setWorkers(bridge.workerHomes());
        current = &bridge;
        if (!bridge.start()) {
            code = 1;
            break;
        }
        running = &bridge;
        code = QCoreApplication::exec();
        running = nullptr;
        bridge.stop(reload ? QStringLiteral("the bridge restarted with a changed [broker] section")
                           : QStringLiteral("the bridge stopped"));
        current = nullptr;
        notifier.setWorkers({});
    } while (reload);
    current = nullptr;
    metricsServer.reset();
    MqttClient::releaseLibrary();
    return code;
}
