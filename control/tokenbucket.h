#pragma once

#include <QElapsedTimer>

#include <algorithm>

/// Lets through at most \a burst events at once and \a perSecond on average: each event takes
/// a token, and tokens come back at \a perSecond up to \a burst.
class TokenBucket
{
public:
    TokenBucket(double perSecond, double burst)
        : m_perSecond(perSecond)
        , m_burst(burst)
        , m_tokens(burst)
    {
        m_clock.start();
    }

    /// Takes a token; false when none is left.
    bool take()
    {
        const qint64 now = m_clock.elapsed();
        m_tokens = std::min(m_burst, m_tokens + double(now - m_last) * m_perSecond / 1000.0);
        m_last = now;
        if (m_tokens < 1.0)
            return false;
        m_tokens -= 1.0;
        return true;
    }

private:
    double m_perSecond;
    double m_burst;
    double m_tokens;
    qint64 m_last = 0;
    QElapsedTimer m_clock;
};
