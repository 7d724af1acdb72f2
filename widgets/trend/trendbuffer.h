#pragma once

#include <QtGlobal>

#include <limits>
#include <utility>
#include <vector>

/// Samples of measured voltage and current of up to 64 channels at common times, in a ring of
/// fixed capacity: once full, each new sample replaces the oldest, so memory stays flat however
/// long the program runs. Values are SI (volts, amperes); times are milliseconds and must not
/// decrease from one append() to the next.
class TrendBuffer
{
public:
    enum Quantity { Voltage = 0, Current = 1 };

    /// The smallest and largest value of one pixel column; both NaN when it holds no sample.
    struct Range
    {
        float min = std::numeric_limits<float>::quiet_NaN();
        float max = std::numeric_limits<float>::quiet_NaN();
        bool isEmpty() const { return min != min; }
    };

    /// One hour at ten samples per second.
    static constexpr int DefaultCapacity = 36000;

    explicit TrendBuffer(int channels = 64, int capacity = DefaultCapacity);

    int channels() const { return m_channels; }
    int capacity() const { return m_capacity; }
    /// Samples held, at most capacity().
    int size() const { return m_size; }
    void clear();

    /// Appends one sample time with \a count values per quantity (channels beyond \a count and
    /// beyond channels() are ignored; missing ones are stored as NaN).
    void append(qint64 timeMs, const float *volts, const float *amperes, int count);

    /// Sample \a index counted from the oldest (0) to the newest (size() - 1).
    qint64 time(int index) const { return m_times[physical(index)]; }
    float value(Quantity quantity, int channel, int index) const
    {
        return series(quantity, channel)[physical(index)];
    }

    /// Index of the first sample at or after \a timeMs (size() when none).
    int lowerBound(qint64 timeMs) const;

    /// Min/max decimation: the samples in [\a fromMs, \a toMs) of one channel's quantity are
    /// spread over \a columns equal pixel columns, and each column gets the smallest and the
    /// largest value that falls into it, so no spike is lost however many samples share a
    /// column. \a out is resized to \a columns.
    void decimate(Quantity quantity, int channel, qint64 fromMs, qint64 toMs, int columns,
        std::vector<Range> &out) const;
    /// Fills runs of at most \a maxColumns empty columns between two filled ones with values on
    /// the straight line between them: where the samples are sparser than the pixel columns the
    /// trace stays whole, while a longer gap (no connection) still breaks it.
    static void bridgeShortGaps(std::vector<Range> &columns, int maxColumns);

private:
    int physical(int index) const
    {
        const int p = m_head + index;
        return p >= m_capacity ? p - m_capacity : p;
    }
    const float *series(Quantity quantity, int channel) const
    {
        return m_values.data()
            + (static_cast<size_t>(quantity) * m_channels + static_cast<size_t>(channel))
            * m_capacity;
    }
    float *series(Quantity quantity, int channel)
    {
        return const_cast<float *>(std::as_const(*this).series(quantity, channel));
    }

    int m_channels;
    int m_capacity;
    int m_head = 0; ///< physical slot of the oldest sample
    int m_size = 0;
    std::vector<qint64> m_times;
    std::vector<float> m_values; ///< [quantity][channel][slot]
    quint64 m_appends = 0; ///< changes whenever the samples do
    // Column boundaries of the last decimate(): every channel of one redraw shares them.
    mutable std::vector<int> m_columnStarts;
    mutable qint64 m_startsFrom = 0;
    mutable qint64 m_startsTo = 0;
    mutable quint64 m_startsAppends = ~quint64(0);
};
