#pragma once

#include <QtGlobal>

#include <array>
#include <atomic>

/// How long a module's polling cycles take, from the end of one to the end of the next (with a
/// cycle period: the period as kept), counted in buckets for the metrics: recorded on the
/// thread of the module's engine, read from any thread.
class CycleTimes
{
public:
    /// Upper bounds of the buckets in ms; a last bucket takes everything longer.
    static constexpr std::array<int, 11> BoundsMs
        = { 5, 10, 25, 50, 100, 250, 500, 1000, 2000, 5000, 10000 };

    /// What has been recorded so far: per bucket the cycles up to its bound (not cumulative),
    /// then those beyond the last; and the sum of all their times.
    struct Counts
    {
        std::array<quint64, BoundsMs.size() + 1> buckets {};
        quint64 sumMs = 0;

        Counts &operator+=(const Counts &other)
        {
            for (size_t i = 0; i < buckets.size(); ++i)
                buckets[i] += other.buckets[i];
            sumMs += other.sumMs;
            return *this;
        }
    };

    void record(qint64 ms)
    {
        size_t bucket = 0;
        while (bucket < BoundsMs.size() && ms > BoundsMs[bucket])
            ++bucket;
        m_buckets[bucket].fetch_add(1, std::memory_order_relaxed);
        m_sumMs.fetch_add(quint64(qMax<qint64>(0, ms)), std::memory_order_relaxed);
    }

    Counts counts() const
    {
        Counts c;
        for (size_t i = 0; i < c.buckets.size(); ++i)
            c.buckets[i] = m_buckets[i].load(std::memory_order_relaxed);
        c.sumMs = m_sumMs.load(std::memory_order_relaxed);
        return c;
    }

private:
    std::array<std::atomic<quint64>, BoundsMs.size() + 1> m_buckets {};
    std::atomic<quint64> m_sumMs { 0 };
};
