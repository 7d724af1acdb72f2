#include "trendbuffer.h"

#include <algorithm>

TrendBuffer::TrendBuffer(int channels, int capacity)
    : m_channels(std::max(1, channels))
    , m_capacity(std::max(1, capacity))
    , m_times(static_cast<size_t>(m_capacity))
    , m_values(static_cast<size_t>(2) * m_channels * m_capacity)
{
}

void TrendBuffer::clear()
{
    m_head = 0;
    m_size = 0;
    ++m_appends;
}

void TrendBuffer::append(qint64 timeMs, const float *volts, const float *amperes, int count)
{
    int slot;
    if (m_size < m_capacity) {
        slot = physical(m_size);
        ++m_size;
    } else {
        slot = m_head;
        m_head = physical(1);
    }
    ++m_appends;
    m_times[slot] = timeMs;
    const float nan = std::numeric_limits<float>::quiet_NaN();
    for (int ch = 0; ch < m_channels; ++ch) {
        const bool present = ch < count;
        series(Voltage, ch)[slot] = present ? volts[ch] : nan;
        series(Current, ch)[slot] = present ? amperes[ch] : nan;
    }
}

int TrendBuffer::lowerBound(qint64 timeMs) const
{
    int low = 0;
    int high = m_size;
    while (low < high) {
        const int mid = low + (high - low) / 2;
        if (time(mid) < timeMs)
            low = mid + 1;
        else
            high = mid;
    }
    return low;
}

void TrendBuffer::decimate(Quantity quantity, int channel, qint64 fromMs, qint64 toMs, int columns,
    std::vector<Range> &out) const
{
    out.assign(static_cast<size_t>(std::max(0, columns)), Range());
    if (columns <= 0 || toMs <= fromMs || channel < 0 || channel >= m_channels)
        return;

    // Column boundaries as sample indices: the samples of column c are [starts[c], starts[c+1]).
    if (m_startsAppends != m_appends || m_startsFrom != fromMs || m_startsTo != toMs
        || m_columnStarts.size() != static_cast<size_t>(columns) + 1) {
        m_columnStarts.resize(static_cast<size_t>(columns) + 1);
        const double span = static_cast<double>(toMs - fromMs);
        for (int c = 0; c <= columns; ++c) {
            const qint64 edge = fromMs + static_cast<qint64>(span * c / columns);
            m_columnStarts[static_cast<size_t>(c)] = lowerBound(c == columns ? toMs : edge);
        }
        m_startsAppends = m_appends;
        m_startsFrom = fromMs;
        m_startsTo = toMs;
    }

    const float *values = series(quantity, channel);
    const auto scan = [](const float *v, const float *end, float &low, float &high) {
        for (; v != end; ++v) {
            // NaN (no value for this channel) fails both comparisons and is skipped.
            if (*v < low)
                low = *v;
            if (*v > high)
                high = *v;
        }
    };
    for (int c = 0; c < columns; ++c) {
        const int first = m_columnStarts[static_cast<size_t>(c)];
        const int last = m_columnStarts[static_cast<size_t>(c) + 1];
        if (first >= last)
            continue;
        float low = std::numeric_limits<float>::infinity();
        float high = -low;
        // The samples of a column are one stretch of the ring, or two where it wraps.
        const int begin = physical(first);
        const int count = last - first;
        const int straight = std::min(count, m_capacity - begin);
        scan(values + begin, values + begin + straight, low, high);
        scan(values, values + (count - straight), low, high);
        if (low <= high)
            out[static_cast<size_t>(c)] = { low, high };
    }
}

void TrendBuffer::bridgeShortGaps(std::vector<Range> &columns, int maxColumns)
{
    const int count = static_cast<int>(columns.size());
    int previous = -1; // the last filled column
    for (int c = 0; c < count; ++c) {
        Range &next = columns[static_cast<size_t>(c)];
        if (next.isEmpty())
            continue;
        const int gap = c - previous - 1;
        if (previous >= 0 && gap > 0 && gap <= maxColumns) {
            const Range &last = columns[static_cast<size_t>(previous)];
            const float from = (last.min + last.max) / 2;
            const float to = (next.min + next.max) / 2;
            for (int k = 1; k <= gap; ++k) {
                const float v = from + (to - from) * float(k) / float(gap + 1);
                columns[static_cast<size_t>(previous + k)] = { v, v };
            }
        }
        previous = c;
    }
}
