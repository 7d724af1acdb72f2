// vorn-module-sim: a simulated high-voltage module for the panel, the tests and demos.
#include "quitonsignal.h"
#include "simoptions.h"
#include "simprogram.h"

#include <QCoreApplication>
#include <QLoggingCategory>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vorn-module-sim"));

    vornsim::SimOptions options;
    QString message;
    int exitCode = 0;
    if (!vornsim::parseSimOptions(QCoreApplication::arguments(), &options, &message, &exitCode)) {
        std::fputs(qPrintable(message), exitCode == 0 ? stdout : stderr);
        if (exitCode != 0)
            std::fputs("\n", stderr);
        return exitCode;
    }
    QLoggingCategory::setFilterRules(options.verbose ? QStringLiteral("vorn.sim.debug=true")
                                                     : QStringLiteral("vorn.sim.debug=false"));

    vornsim::SimProgram program;
    if (!program.start(options, &message)) {
        std::fprintf(stderr, "vorn-module-sim: %s\n", qPrintable(message));
        return 1;
    }
    vornsim::quitOnSignal(&app);
    std::printf("%s\n", qPrintable(program.readyLine()));
    if (!program.controlLine().isEmpty())
        std::printf("%s\n", qPrintable(program.controlLine()));
    std::fflush(stdout);
    return app.exec();
}
