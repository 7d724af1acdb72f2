#include "ethcontrol.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QApplication::setAttribute(Qt::AA_DontUseNativeMenuBar);
    EthControl window;
    window.setWindowIcon(QIcon(QStringLiteral(":/") + QStringLiteral("VornScpiControl64x64.ico")));
    window.show();
    return application.exec();
}
