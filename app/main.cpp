#include "commandline.h"
#include "ethcontrol.h"
#include "translations.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char *argv[])
{
    if (asksForTextOnly(argc, argv)) {
        QCoreApplication textOnly(argc, argv);
        Translations::install(textOnly);
        return CommandLine::handle(textOnly);
    }
    QApplication application(argc, argv);
    Translations::install(application);
    if (const int exitCode = CommandLine::handle(application); exitCode != CommandLine::Continue)
        return exitCode;
    QGuiApplication::setDesktopFileName(QStringLiteral("de.vornwerk.VornScpiControl"));
    QApplication::setAttribute(Qt::AA_DontUseNativeMenuBar);
    EthControl window;
    window.setWindowIcon(QIcon(QStringLiteral(":/") + QStringLiteral("VornScpiControl64x64.ico")));
    window.show();
    return application.exec();
}
