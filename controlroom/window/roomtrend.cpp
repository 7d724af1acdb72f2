#include "roomtrend.h"

#include "roster.h"
#include "trendplot.h"

#include <QDateTime>
#include <QBoxLayout>
#include <QWidget>

#include <vector>

RoomTrend::RoomTrend(const ModuleRoster *roster, QWidget *pane, QObject *parent)
    : QObject(parent)
    , m_roster(roster)
    , m_empty(std::make_unique<TrendBuffer>(1, 1))
{
    m_plot = new TrendPlot(m_empty.get(), pane);
    m_plot->setObjectName(QStringLiteral("plotTrend"));
    if (auto *layout = qobject_cast<QBoxLayout *>(pane->layout()))
        layout->addWidget(m_plot, 1);
    m_timer.setInterval(500);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        sample();
        redraw();
    });
    m_timer.start();
}

RoomTrend::~RoomTrend()
{
    // The plot draws from the buffers that go with the trend.
    delete m_plot;
}

void RoomTrend::show(int serial, int channel, const TrendUnits &units)
{
    if (serial && !m_series.contains(serial)) {
        while (m_order.size() >= MaxModules)
            m_series.remove(m_order.takeFirst());
        // As many channels as the module has now (more than it had are not drawn).
        const RoomModule *module = m_roster->module(serial);
        const int channels = module && module->state.channelsInUse() > 0
            ? qMin(module->state.channelsInUse(), 64)
            : 8;
        m_series.insert(serial, std::make_shared<Series>(channels));
    }
    if (serial) {
        m_order.removeAll(serial);
        m_order.append(serial);
    }
    if (serial != m_serial) {
        // The plot keeps a pointer to its buffer: another module gets a plot of its own.
        m_serial = serial;
        const std::shared_ptr<Series> series = m_series.value(serial);
        QWidget *pane = m_plot->parentWidget();
        auto *plot = new TrendPlot(series ? &series->buffer : m_empty.get(), pane);
        plot->setObjectName(m_plot->objectName());
        if (pane->layout())
            delete pane->layout()->replaceWidget(m_plot, plot);
        delete m_plot;
        m_plot = plot;
    }
    m_plot->setChannelMask(channel >= 0 ? quint64(1) << channel : ~quint64(0));
    m_plot->setUnits(units);
    sample();
    redraw();
}

int RoomTrend::samples(int serial) const
{
    const std::shared_ptr<Series> series = m_series.value(serial);
    return series ? series->buffer.size() : 0;
}

void RoomTrend::sample()
{
    std::vector<float> volts;
    std::vector<float> amperes;
    for (auto it = m_series.begin(); it != m_series.end(); ++it) {
        const RoomModule *module = m_roster->module(it.key());
        Series &series = *it.value();
        if (!module || module->lastValueMs <= series.lastValueMs)
            continue;
        series.lastValueMs = module->lastValueMs;
        const int channels = module->state.channelsInUse();
        volts.resize(size_t(channels));
        amperes.resize(size_t(channels));
        for (int c = 0; c < channels; ++c) {
            volts[size_t(c)] = module->state.channels[size_t(c)].voltageMeasure();
            amperes[size_t(c)] = module->state.channels[size_t(c)].currentMeasure();
        }
        series.buffer.append(module->lastValueMs, volts.data(), amperes.data(), channels);
    }
}

void RoomTrend::redraw()
{
    // From the first sample on, growing from a minute to the last ten minutes.
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    const std::shared_ptr<Series> series = m_series.value(m_serial);
    const qint64 held = series && series->buffer.size() > 0 ? now - series->buffer.time(0) : 0;
    m_plot->setView(now, qBound(MinWindowMs, held, WindowMs));
}
