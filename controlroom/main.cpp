// vorn-control-room: every module on the broker in one window.
#include "brokerdialog.h"
#include "controlroomwindow.h"
#include "secretstore.h"
#include "settingsstore.h"
#include "textonlyoptions.h"
#include "translations.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QSettings>

#include <memory>

int main(int argc, char *argv[])
{
    // --help and --version need no display (help2man asks for them while the program is
    // built): parser.process() answers them from a QCoreApplication and ends the program.
    const bool textOnly = asksForTextOnly(argc, argv, { "--broker", "--prefix" });
    const std::unique_ptr<QCoreApplication> owner(
        textOnly ? new QCoreApplication(argc, argv) : new QApplication(argc, argv));
    QCoreApplication &application = *owner;
    QApplication::setApplicationName(QStringLiteral("vorn-control-room"));
    QApplication::setApplicationVersion(QStringLiteral(VORN_VERSION));
    Translations::install(application);
    QGuiApplication::setDesktopFileName(QStringLiteral("de.vornwerk.VornControlRoom"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QCoreApplication::translate(
        "main", "Every Vornwerk module on an MQTT broker in one window, fed by the module bridges."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption broker(QStringLiteral("broker"),
        QCoreApplication::translate("main", "The broker, HOST or HOST:PORT (remembered)."),
        QStringLiteral("HOST[:PORT]"));
    const QCommandLineOption prefix(QStringLiteral("prefix"),
        QCoreApplication::translate("main", "The first topic level of the modules (remembered)."),
        QStringLiteral("PREFIX"));
    parser.addOption(broker);
    parser.addOption(prefix);
    parser.process(application);
    if (textOnly) // "--help" was the value of one of Qt's own options
        parser.showHelp(1);

    QSettings store(QSettings::IniFormat, QSettings::UserScope, SettingsStore::organization(),
        QLatin1String(SettingsStore::RoomApplication));
    QString topicPrefix;
    BrokerSettings settings = BrokerDialog::load(&store, &topicPrefix);
    if (parser.isSet(broker)) {
        const QString value = parser.value(broker);
        const int colon = int(value.lastIndexOf(QLatin1Char(':')));
        settings.host = colon > 0 ? value.left(colon) : value;
        if (colon > 0)
            settings.port = value.mid(colon + 1).toInt();
        store.setValue(QLatin1String(SettingsStore::Key::RoomBrokerHost), settings.host);
        store.setValue(QLatin1String(SettingsStore::Key::RoomBrokerPort), settings.port);
    }
    if (parser.isSet(prefix)) {
        topicPrefix = parser.value(prefix);
        store.setValue(QLatin1String(SettingsStore::Key::RoomPrefix), topicPrefix);
    }
    settings.password = SecretStore::readPassword(settings.host, settings.port, settings.user);

    ControlRoomWindow window(settings, topicPrefix.toUtf8(), &store);
    window.show();
    return application.exec();
}
