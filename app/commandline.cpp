#include "commandline.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>

#include <cstdio>

namespace CommandLine {

static void print(FILE *stream, const QString &text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fflush(stream);
}

int handle(QCoreApplication &application)
{
    // The application name stays the program's file name: the desktop and the accessibility
    // bus know the running panel by it.
    QCoreApplication::setApplicationVersion(QStringLiteral(VORN_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(QCoreApplication::translate(
        "CommandLine", "Control panel for Vornwerk high-voltage power-supply modules."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    // Help and version win over anything else on the line, such as a Qt option that only a
    // QApplication would have taken out.
    const bool parsed = parser.parse(application.arguments());
    if (parser.isSet(help) || parser.isSet(QStringLiteral("help-all"))) {
        print(stdout, parser.helpText());
        return 0;
    }
    if (parser.isSet(version)) {
        print(stdout,
            QStringLiteral("Vorn SCPI Control %1\n").arg(QCoreApplication::applicationVersion()));
        return 0;
    }
    QString error = parser.errorText();
    if (parsed && !parser.positionalArguments().isEmpty()) {
        error = QCoreApplication::translate("CommandLine", "Unexpected argument '%1'.")
                    .arg(parser.positionalArguments().constFirst());
    }
    if (!parsed || !parser.positionalArguments().isEmpty()) {
        print(stderr,
            QCoreApplication::translate("CommandLine", "%1: %2\nTry '%1 --help'.\n")
                .arg(QFileInfo(QCoreApplication::arguments().constFirst()).fileName(), error));
        return 1;
    }
    return Continue;
}

} // namespace CommandLine
