#include "trendplot.h"

#include <QDateTime>
#include <QLocale>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

constexpr int AxisWidth = 64; ///< room for the value labels left of a pane
constexpr int TitleHeight = 18;
constexpr int TimeLabelHeight = 18;
constexpr int Margin = 8;
/// Gaps between samples up to this long are drawn across; a lost link (4 s) breaks the trace.
constexpr qint64 BridgedGapMs = 2500;

/// 1, 2 or 5 times a power of ten, at least \a raw.
double niceStep(double raw)
{
    if (!(raw > 0.0) || !std::isfinite(raw))
        return 1.0;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    const double f = raw / power;
    return (f <= 1.0 ? 1.0 : f <= 2.0 ? 2.0 : f <= 5.0 ? 5.0 : 10.0) * power;
}

qint64 timeStep(qint64 windowMs)
{
    if (windowMs <= 60 * 1000)
        return 10 * 1000;
    if (windowMs <= 10 * 60 * 1000)
        return 60 * 1000;
    return 10 * 60 * 1000;
}

} // namespace

TrendPlot::TrendPlot(const TrendBuffer *buffer, QWidget *parent)
    : QWidget(parent)
    , m_buffer(buffer)
    , m_columns(static_cast<size_t>(buffer->channels()))
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TrendPlot::setView(qint64 endMs, qint64 windowMs)
{
    m_endMs = endMs;
    m_windowMs = std::max<qint64>(1000, windowMs);
    update();
}

int TrendPlot::columnCount() const
{
    return std::max(1, width() - AxisWidth - Margin);
}

void TrendPlot::setChannelMask(quint64 mask)
{
    m_mask = mask;
    update();
}

void TrendPlot::setUnits(const TrendUnits &units)
{
    // Called at every sample: only a real change may cost a redraw.
    if (units.voltageUnit == m_units.voltageUnit && units.currentUnit == m_units.currentUnit
        && units.voltageScale == m_units.voltageScale && units.currentScale == m_units.currentScale)
        return;
    m_units = units;
    update();
}

QColor TrendPlot::channelColour(int channel)
{
    // Golden-ratio hue steps keep neighbouring channels apart; alternate rows are darker.
    const int hue = static_cast<int>(std::fmod(channel * 222.492, 360.0));
    return QColor::fromHsv(hue, 230, channel % 2 ? 160 : 220);
}

void TrendPlot::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    render(painter, rect());
}

void TrendPlot::render(QPainter &painter, const QRect &target)
{
    painter.fillRect(target, palette().base());
    painter.setFont(font());
    const int legendHeight = drawLegend(painter, target, true);
    const QRect panes = target.adjusted(0, 0, 0, -legendHeight);
    const int half = panes.height() / 2;
    drawPane(painter, QRect(panes.left(), panes.top(), panes.width(), half), TrendBuffer::Voltage,
        tr("Measured voltage (%1)").arg(m_units.voltageUnit), m_units.voltageScale);
    drawPane(painter, QRect(panes.left(), panes.top() + half, panes.width(), panes.height() - half),
        TrendBuffer::Current, tr("Measured current (%1)").arg(m_units.currentUnit),
        m_units.currentScale);
    drawLegend(
        painter, QRect(target.left(), panes.bottom() + 1, target.width(), legendHeight), false);
}

void TrendPlot::drawPane(QPainter &painter, const QRect &area, TrendBuffer::Quantity quantity,
    const QString &title, double scale)
{
    const QRect plot = area.adjusted(AxisWidth, TitleHeight, -Margin, -TimeLabelHeight);
    const QColor text = palette().color(QPalette::Text);
    painter.setPen(text);
    painter.drawText(
        area.adjusted(AxisWidth, 0, 0, 0).topLeft() + QPoint(0, TitleHeight - 5), title);
    if (plot.width() < 2 || plot.height() < 2)
        return;

    const qint64 from = m_endMs - m_windowMs;
    const int columns = plot.width();
    const int channels = m_buffer->channels();
    float low = std::numeric_limits<float>::infinity();
    float high = -low;
    for (int ch = 0; ch < channels && ch < 64; ++ch) {
        auto &out = m_columns[static_cast<size_t>(ch)];
        if (!(m_mask >> ch & 1u)) {
            out.clear();
            continue;
        }
        m_buffer->decimate(quantity, ch, from, m_endMs, columns, out);
        TrendBuffer::bridgeShortGaps(
            out, static_cast<int>(BridgedGapMs * columns / std::max<qint64>(1, m_windowMs)));
        for (const TrendBuffer::Range &r : out) {
            if (r.min < low)
                low = r.min;
            if (r.max > high)
                high = r.max;
        }
    }

    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(plot.adjusted(0, 0, -1, -1));
    drawTimeAxis(painter, plot);
    if (!(low <= high)) {
        painter.setPen(text);
        painter.drawText(plot, Qt::AlignCenter, tr("No data"));
        return;
    }

    // Value axis in display units, with a little room above and below the data.
    double lo = low * scale;
    double hi = high * scale;
    // A flat trace gets 5 % of its value above and below, a flat zero one display unit.
    const double pad = hi > lo ? (hi - lo) * 0.05 : (hi != 0.0 ? std::abs(hi) * 0.05 : 1.0);
    lo -= pad;
    hi += pad;
    const double step = niceStep((hi - lo) / 5.0);
    const QLocale locale;
    const auto yOf
        = [&](double v) { return plot.bottom() - (v - lo) / (hi - lo) * (plot.height() - 1); };
    for (double v = std::ceil(lo / step) * step; v <= hi; v += step) {
        const double y = yOf(v);
        painter.setPen(QPen(palette().color(QPalette::Midlight), 0, Qt::DotLine));
        painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
        painter.setPen(text);
        const double shown = std::abs(v) < step * 1e-6 ? 0.0 : v;
        painter.drawText(QRectF(area.left(), y - 8, AxisWidth - 4, 16),
            Qt::AlignRight | Qt::AlignVCenter, locale.toString(shown, 'g', 6));
    }

    // The series are written straight into an image, one vertical span per pixel column from
    // the column's minimum to its maximum, stretched to meet the previous column: a connected
    // trace at a cost that depends on the pixel width only, far below that of stroking lines.
    if (m_layer.size() != plot.size())
        m_layer = QImage(plot.size(), QImage::Format_ARGB32_Premultiplied);
    m_layer.fill(Qt::transparent);
    const int rows = plot.height();
    const double rowsPerUnit = (rows - 1) / (hi - lo);
    const auto rowOf = [&](float v) {
        const double r = std::round((hi - double(v) * scale) * rowsPerUnit);
        return static_cast<int>(std::clamp(r, 0.0, double(rows - 1)));
    };
    uchar *bits = m_layer.bits();
    const qsizetype stride = m_layer.bytesPerLine();
    for (int ch = 0; ch < channels && ch < 64; ++ch) {
        const auto &out = m_columns[static_cast<size_t>(ch)];
        if (out.empty())
            continue;
        const QRgb colour = channelColour(ch).rgba();
        int previousTop = -1;
        int previousBottom = -1;
        for (int c = 0; c < columns; ++c) {
            const TrendBuffer::Range &r = out[static_cast<size_t>(c)];
            if (r.isEmpty()) {
                // A column without samples (no connection) breaks the trace.
                previousTop = -1;
                continue;
            }
            int top = rowOf(r.max);
            int bottom = rowOf(r.min);
            const int spanTop = top;
            const int spanBottom = bottom;
            if (previousTop >= 0) {
                top = std::min(top, previousBottom);
                bottom = std::max(bottom, previousTop);
            }
            uchar *pixel = bits + top * stride + c * 4;
            for (int y = top; y <= bottom; ++y, pixel += stride)
                *reinterpret_cast<QRgb *>(pixel) = colour;
            previousTop = spanTop;
            previousBottom = spanBottom;
        }
    }
    painter.drawImage(plot.topLeft(), m_layer);
}

void TrendPlot::drawTimeAxis(QPainter &painter, const QRect &plot)
{
    const qint64 from = m_endMs - m_windowMs;
    const qint64 step = timeStep(m_windowMs);
    const QColor text = palette().color(QPalette::Text);
    for (qint64 t = (from / step + 1) * step; t < m_endMs; t += step) {
        const double x = plot.left() + double(t - from) * plot.width() / double(m_windowMs);
        painter.setPen(QPen(palette().color(QPalette::Midlight), 0, Qt::DotLine));
        painter.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
        painter.setPen(text);
        const QString label
            = QDateTime::fromMSecsSinceEpoch(t).toString(QStringLiteral("HH:mm:ss"));
        painter.drawText(QRectF(x - 40, plot.bottom() + 2, 80, TimeLabelHeight - 2),
            Qt::AlignHCenter | Qt::AlignTop, label);
    }
}

int TrendPlot::drawLegend(QPainter &painter, const QRect &area, bool measureOnly)
{
    const QFontMetrics metrics(font());
    const int entryWidth = metrics.horizontalAdvance(tr("Ch %1").arg(63)) + 28;
    const int rowHeight = metrics.height() + 4;
    const int perRow = std::max(1, (area.width() - AxisWidth) / entryWidth);
    int shown = 0;
    for (int ch = 0; ch < m_buffer->channels() && ch < 64; ++ch) {
        if (!(m_mask >> ch & 1u))
            continue;
        if (!measureOnly) {
            const int x = area.left() + AxisWidth + (shown % perRow) * entryWidth;
            const int y = area.top() + (shown / perRow) * rowHeight;
            painter.fillRect(QRect(x, y + rowHeight / 2 - 2, 18, 4), channelColour(ch));
            painter.setPen(palette().color(QPalette::Text));
            painter.drawText(QRect(x + 22, y, entryWidth - 22, rowHeight),
                Qt::AlignLeft | Qt::AlignVCenter, tr("Ch %1").arg(ch));
        }
        ++shown;
    }
    return shown == 0 ? 0 : ((shown + perRow - 1) / perRow) * rowHeight + 4;
}
