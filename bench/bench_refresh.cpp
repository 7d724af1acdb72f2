// Instructions the main window spends per answer beyond the engine: the real window, offscreen,
// behind a fake link, refreshed a fixed number of times with measured values that change on
// every answer, as a polling module's do; posted events (layout, repaint) run after each one.
//
// Usage: valgrind --tool=callgrind bench_refresh [answers, default 2000]
// The refreshes of each channel count are one profile; its Ir divided by the answers printed is
// the window's instructions per answer. Without valgrind it prints microseconds per answer.
#include "callgrindmarks.h"
#include "windowtestsupport.h"

#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTextStream>

namespace {

double microsecondsPerAnswer(int channels, int answers)
{
    TestWindow window;
    window.show();
    window.widget<QTabWidget>("tabInterfaces")->setCurrentIndex(1);
    window.widget<QPushButton>("buttonConnect")->click();
    Module &module = window.fakeLink()->module();
    module.setChannelCount(channels);
    module.setFirmwareName(QStringLiteral("KA2F"));
    for (int c = 0; c < channels; ++c) {
        Channel &channel = module.channel(c);
        channel.setStatus(c % 2 ? 0x0088 : 0x0008);
        channel.setVoltageSet(1000.0f);
        channel.setCurrentSet(0.001f);
    }
    for (int i = 0; i < 20; ++i) {
        window.updateDisplayTimer();
        QCoreApplication::processEvents();
    }
    QElapsedTimer clock;
    clock.start();
    CALLGRIND_ZERO_STATS;
    for (int answer = 0; answer < answers; ++answer) {
        // The engine updates one channel's readings per answer.
        Channel &channel = module.channel(answer % channels);
        channel.setVoltageMeasure(999.0f + static_cast<float>(answer % 7) * 0.01f);
        channel.setCurrentMeasure(0.0005f + static_cast<float>(answer % 5) * 1e-7f);
        window.updateDisplayTimer();
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
