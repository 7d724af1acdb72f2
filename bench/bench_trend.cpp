// Redraw time of the trend plot: 64 channels over one hour (a full ring buffer) against
// 4 channels over one minute, each drawn into an image of a typical window's plot size.
//
// Usage: bench_trend [redraws per case, default 50]
#include "trendbuffer.h"
#include "trendplot.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>

#include <cmath>
#include <cstdio>
#include <ctime>

namespace {

/// Fills \a buffer with one hour at 10/s of drifting, noisy values for \a channels channels.
void fill(TrendBuffer &buffer, int channels, qint64 endMs)
{
    float volts[64];
    float amperes[64];
    const int samples = buffer.capacity();
    for (int k = 0; k < samples; ++k) {
        for (int ch = 0; ch < channels; ++ch) {
            const double phase = k * 0.001 + ch;
            volts[ch] = float(1000.0 * ch + 500.0 * std::sin(phase) + (k * 7919 % 13));
            amperes[ch] = float(0.001 * (1.0 + std::cos(phase)) + (k % 5) * 1e-6);
        }
        buffer.append(endMs - qint64(samples - k) * 100, volts, amperes, channels);
    }
}

double cpuMs()
{
    timespec t {};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

/// Mean wall-clock and processor time of one redraw, in milliseconds. On a shared machine the
/// processor time is the figure that does not depend on the other programs.
struct Timing
{
    double wall;
    double cpu;
};

Timing redraw(TrendPlot &plot, QImage &image, int runs)
{
    QElapsedTimer clock;
    clock.start();
    const double cpu = cpuMs();
    for (int i = 0; i < runs; ++i) {
        QPainter painter(&image);
        plot.render(painter, image.rect());
    }
    return { double(clock.nsecsElapsed()) / 1e6 / runs, (cpuMs() - cpu) / runs };
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 50;
    const qint64 end = 1'700'000'000'000;

    TrendBuffer buffer(64, TrendBuffer::DefaultCapacity);
    fill(buffer, 64, end);
    TrendPlot plot(&buffer);
    QImage image(1200, 700, QImage::Format_ARGB32_Premultiplied);
    plot.resize(image.size());

    plot.setChannelMask(~quint64(0));
    plot.setView(end, 60 * 60 * 1000);
    redraw(plot, image, 3); // warm-up
    const Timing full = redraw(plot, image, runs);
    plot.setView(end, 60 * 1000);
    const Timing minute = redraw(plot, image, runs);
    plot.setChannelMask(0xF);
    const Timing small = redraw(plot, image, runs);

    QElapsedTimer clock;
    clock.start();
    float volts[64] = {};
    float amperes[64] = {};
    const int appends = 100000;
    for (int k = 0; k < appends; ++k)
        buffer.append(end + k, volts, amperes, 64);
    const double appendUs = double(clock.nsecsElapsed()) / 1e3 / appends;

    std::printf("trend redraw %dx%d px, mean of %d:\n", image.width(), image.height(), runs);
    std::printf("  64 channels x 1 h (%d samples each): %.2f ms (processor %.2f ms)\n",
        buffer.size(), full.wall, full.cpu);
    std::printf("  64 channels x 1 min:                  %.2f ms (processor %.2f ms)\n",
        minute.wall, minute.cpu);
    std::printf("   4 channels x 1 min:                  %.2f ms (processor %.2f ms)\n", small.wall,
        small.cpu);
    std::printf("  one sample of 64 channels appended:   %.3f us\n", appendUs);
    std::printf(
        "  ring buffer memory: %.1f MB\n", double(buffer.capacity()) * (8 + 2 * 64 * 4) / 1e6);
    return 0;
}
