#pragma once

#include "trendbuffer.h"

#include <QColor>
#include <QImage>
#include <QString>
#include <QWidget>

#include <vector>

/// Display units of the trend: the unit texts and the factors that turn volts and amperes into
/// them.
struct TrendUnits
{
    QString voltageUnit = QStringLiteral("V");
    QString currentUnit = QStringLiteral("A");
    double voltageScale = 1.0;
    double currentScale = 1.0;
};

/// Measured voltage (upper pane) and current (lower pane) of the ticked channels of a
/// TrendBuffer against time, with a legend strip below. Each series is drawn min/max-decimated
/// to the pane's pixel width, so the cost of a redraw depends on the width and the number of
/// channels, not on the number of samples.
class TrendPlot : public QWidget
{
    Q_OBJECT

public:
    /// \a buffer is not owned and must outlive the plot.
    explicit TrendPlot(const TrendBuffer *buffer, QWidget *parent = nullptr);

    /// The time range shown ends at \a endMs and is \a windowMs long.
    void setView(qint64 endMs, qint64 windowMs);
    qint64 viewEnd() const { return m_endMs; }
    qint64 viewWindow() const { return m_windowMs; }
    /// Bit n set: channel n is drawn.
    /// Pixel columns of a pane at the current width: one min/max pair each.
    int columnCount() const;
    void setChannelMask(quint64 mask);
    quint64 channelMask() const { return m_mask; }
    void setUnits(const TrendUnits &units);
    const TrendUnits &units() const { return m_units; }

    /// Draws the whole plot into \a target (also used for the PNG export and the benchmark).
    void render(QPainter &painter, const QRect &target);

    /// The colour of channel \a channel's lines and legend entry.
    static QColor channelColour(int channel);

    QSize sizeHint() const override { return { 800, 500 }; }
    QSize minimumSizeHint() const override { return { 300, 200 }; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void drawPane(QPainter &painter, const QRect &area, TrendBuffer::Quantity quantity,
        const QString &title, double scale);
    void drawTimeAxis(QPainter &painter, const QRect &plot);
    int drawLegend(QPainter &painter, const QRect &area, bool measureOnly);

    const TrendBuffer *m_buffer;
    qint64 m_endMs = 0;
    qint64 m_windowMs = 60000;
    quint64 m_mask = ~quint64(0);
    TrendUnits m_units;
    std::vector<std::vector<TrendBuffer::Range>> m_columns; ///< per channel, reused
    QImage m_layer; ///< the series of one pane, reused
};
