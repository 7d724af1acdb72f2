// vorn-module-bridge: polls the configured modules and publishes them on an MQTT broker.
#include "bridge.h"
#include "bridgeconfig.h"
#include "mqttclient.h"
#include "quitonsignal.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vorn-module-bridge"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VORN_VERSION));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Polls Vornwerk high-voltage modules over TCP, serial or GPIB and publishes their values "
        "on an MQTT broker.\nIts manual page (man vorn-module-bridge) describes the configuration "
        "file and the topics."));
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
    const QString problem = permissionProblem(files.first(), settings);
    if (!problem.isEmpty()) {
        err << "vorn-module-bridge: " << problem << '\n';
        return 1;
    }
    if (parser.isSet(check)) {
        QTextStream(stdout) << files.first() << ": fine, " << settings.modules.size()
                            << " module(s), broker " << settings.broker.host << ':'
                            << settings.broker.port << '\n';
        return 0;
    }

    int code = 1;
    {
        Bridge bridge(settings);
        if (bridge.start()) {
            quitOnTermination(&app);
            code = QCoreApplication::exec();
            bridge.stop();
        }
    }
    MqttClient::releaseLibrary();
    return code;
}
