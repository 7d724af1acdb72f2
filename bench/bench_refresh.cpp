// Instructions the main window spends per answer: the real window, offscreen, behind a fake link
// that is answered as a polling module answers, the measured values changing on every reading;
// posted events (layout, repaint) run after each answer. The engine's parsing is included.
//
// Usage: valgrind --tool=callgrind bench_refresh [answers, default 2000]
// The answers of each channel count are one profile; its Ir divided by the answers printed is
// the instructions per answer. Without valgrind it prints microseconds per answer.
#include "callgrindmarks.h"
#include "enginedriver.h"
#include "windowtestsupport.h"

#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTextStream>

namespace {

/// The answer to the pending request: measured values that change with every reading (noise
/// of a few hundredths of a volt around 1000 V, of a few tenths of a microampere around 0.5 mA),
/// the engine tests' fillers for everything else.
QByteArray answer(const FakeLink &link, int reading)
{
    const int channels = link.module().channelCount();
    const auto list = [&](double base, double step, const char *unit) {
        QByteArray text;
        for (int c = 0; c < channels; ++c) {
            const double value = base + step * ((reading * 7 + c * 3) % 11 - 5);
            text += (c ? "," : "") + QByteArray::number(value, 'E', 5) + unit;
        }
        return text + "\r\n";
    };
    switch (link.lastCode()) {
    case SCPI_Parser::MeasureVoltage:
        return list(1000.0, 0.01, "V");
    case SCPI_Parser::MeasureCurrent:
        return list(0.0005, 1e-7, "A");
    default:
        return EngineDriver::filler(link.lastCode(), channels);
    }
}

double microsecondsPerAnswer(int channels, int answers)
{
    TestWindow window;
    window.show();
    window.widget<QTabWidget>("tabInterfaces")->setCurrentIndex(1);
    window.widget<QPushButton>("buttonConnect")->click();
    FakeLink &link = *window.fakeLink();
    EngineDriver::start(link, "KA2F840p", "KA2F8", "2.07", channels);
    for (int i = 0; i < 40; ++i) {
        link.feed(answer(link, i));
        QCoreApplication::processEvents();
    }
    QElapsedTimer clock;
    clock.start();
    CALLGRIND_ZERO_STATS;
    for (int i = 0; i < answers; ++i) {
        link.feed(answer(link, i));
        QCoreApplication::processEvents();
    }
    CALLGRIND_DUMP_STATS_AT(channels == 4 ? "4 channels" : "64 channels");
    return static_cast<double>(clock.nsecsElapsed()) / 1000.0 / answers;
}

}

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QLoggingCategory::setFilterRules(QStringLiteral("vorn.*.debug=false"));
    TemporarySettings settings;
    const int answers = argc > 1 ? qMax(1, atoi(argv[1])) : 2000;
    QTextStream out(stdout);
    for (int channels : { 4, 64 })
        out << channels << " channels: " << answers << " answers, "
            << microsecondsPerAnswer(channels, answers) << " us per answer\n";
    return 0;
}
