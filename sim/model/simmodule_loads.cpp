// SimModule's loads and arcs: the load a channel's current follows, arcs on request and at
// random.
#include "model/simmodule.h"

#include "simlog.h"

#include <cmath>

namespace vornsim {

namespace {

/// The next number of a small deterministic generator (splitmix64), as a fraction in [0, 1).
double nextFraction(quint64 *state)
{
    quint64 z = (*state += 0x9e3779b97f4a7c15ull);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
    z ^= z >> 31;
    return double(z >> 11) / double(1ull << 53);
}

/// Milliseconds to the next random arc: exponentially distributed around 60000 / rate.
qint64 nextArcInterval(SimChannel &ch)
{
    if (ch.arcRate <= 0.0)
        return 0;
    const double ms = -std::log1p(-nextFraction(&ch.arcRandom)) * 60000.0 / ch.arcRate;
    return qMax<qint64>(1, qint64(std::ceil(qMin(ms, 1e12))));
}

} // namespace

void SimModule::setLoad(int index, double ohms, double leakagePerVolt)
{
    if (index < 0 || index >= channelCount())
        return;
    SimChannel &ch = m_channels[size_t(index)];
    ch.loadOhms = qMax(0.0, ohms);
    ch.leakagePerVolt = qMax(0.0, leakagePerVolt);
    step(0.0);
}

bool SimModule::arc(int index)
{
    if (index < 0 || index >= channelCount() || !arcAt(index, m_now))
        return false;
    refreshStatus();
    return true;
}

bool SimModule::arcAt(int index, qint64 at)
{
    SimChannel &ch = m_channels[size_t(index)];
    if (!ch.live() || ch.voltageOutput == 0.0)
        return false;
    const bool inRow = ch.lastArcAt >= 0 && at - ch.lastArcAt < arcRowMs;
    ch.arcsInRow = inRow ? ch.arcsInRow + 1 : 1;
    ch.lastArcAt = at;
    // Every arc is an event of its own, also one that follows before the status bit fell.
    ch.eventStatus |= channelbit::Arc;
    qCDebug(lcSim) << "arc on channel" << index;
    if (ch.arcsInRow >= arcsForError) {
        ch.arcError = true;
        ch.on = false;
        ch.voltageOutput = 0.0;
        ch.currentOutput = 0.0;
        qCDebug(lcSim) << "channel" << index << "switched off by an arc error";
    }
    return true;
}

void SimModule::setArcRate(int index, double perMinute)
{
    if (index < 0 || index >= channelCount())
        return;
    SimChannel &ch = m_channels[size_t(index)];
    ch.arcRate = qMax(0.0, perMinute);
    if (ch.arcRandom == 0)
        ch.arcRandom = (quint64(quint32(m_identity.serialNumber)) << 8) + quint64(index) + 1;
    ch.nextArcAt = m_now + nextArcInterval(ch);
}

void SimModule::randomArcs(int index)
{
    SimChannel &ch = m_channels[size_t(index)];
    while (ch.arcRate > 0.0 && ch.nextArcAt <= m_now) {
        const qint64 at = ch.nextArcAt;
        ch.nextArcAt = at + nextArcInterval(ch);
        arcAt(index, at);
    }
}

} // namespace vornsim
