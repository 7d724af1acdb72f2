#pragma once

#include "trendbuffer.h"
#include "trendplot.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include <memory>

class ModuleRoster;
class QWidget;

/// The trend of the module chosen in the control room, from its measured topics: the measured
/// voltage and current of its channels, sampled each time the bridge has published new values,
/// drawn by the panel's trend plot over the time held, from a minute up to the last ten
/// minutes. A module's samples are kept from
/// the moment it was first chosen, for the last MaxModules modules chosen (an hour each at one
/// sample a second), so that going back to one shows its trend whole.
class RoomTrend : public QObject
{
    Q_OBJECT

public:
    static constexpr int MaxModules = 32;
    static constexpr int Capacity = 3600;
    static constexpr qint64 WindowMs = 10 * 60 * 1000;
    static constexpr qint64 MinWindowMs = 60 * 1000;

    /// Draws into a plot placed in \a pane's layout; \a roster must outlive the trend.
    RoomTrend(const ModuleRoster *roster, QWidget *pane, QObject *parent = nullptr);
    ~RoomTrend() override;

    /// Shows \a serial (0: none), \a channel alone or all its channels (-1).
    void show(int serial, int channel, const TrendUnits &units);
    TrendPlot *plot() const { return m_plot; }
    /// Samples of \a serial held (0 when it has no trend).
    int samples(int serial) const;

private:
    struct Series
    {
        explicit Series(int channels)
            : buffer(channels, Capacity)
        {
        }
        TrendBuffer buffer;
        qint64 lastValueMs = 0;
    };
    void sample();
    void redraw();

    const ModuleRoster *m_roster;
    QPointer<TrendPlot> m_plot;
    /// The modules with a trend, the most recently chosen last.
    QList<int> m_order;
    QHash<int, std::shared_ptr<Series>> m_series;
    std::unique_ptr<TrendBuffer> m_empty;
    int m_serial = 0;
    QTimer m_timer;
};
