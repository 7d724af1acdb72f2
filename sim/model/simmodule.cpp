#include "model/simmodule.h"

#include "model/family.h"
#include "simlog.h"

#include <cmath>

namespace vornsim {

namespace {

constexpr quint16 edgeEvents = channelbit::Arc | channelbit::InputError | channelbit::Emergency
    | channelbit::ConstantCurrent | channelbit::ConstantVoltage | channelbit::ArcError
    | channelbit::CurrentBounds | channelbit::VoltageBounds | channelbit::ExternalInhibit
    | channelbit::Trip | channelbit::CurrentLimit | channelbit::VoltageLimit;

// Events that a module latches when its health bits fall (or its service/error bits rise).
constexpr quint16 moduleEventService = 1u << 4;
constexpr quint16 moduleEventInputError = 1u << 6;
constexpr quint16 moduleEventSafetyLoop = 1u << 10;
constexpr quint16 moduleEventSupply = 1u << 13;
constexpr quint16 moduleEventTemperature = 1u << 14;

} // namespace

SimModule::SimModule(const Preset &preset)
    : m_identity(preset.identity)
    , m_voltageNominalAnswer(preset.voltageNominalAnswer)
    , m_random(quint32(preset.identity.serialNumber) ^ 0x5eedu)
{
    const int count = qBound(1, preset.identity.channels, MaxChannels);
    m_identity.channels = count;
    m_channels.resize(size_t(count));
    for (SimChannel &ch : m_channels) {
        ch.voltageNominal = preset.voltageNominal;
        ch.currentNominal = preset.currentNominal;
        ch.currentSet = preset.currentNominal;
        ch.epu = preset.epu;
    }
    if (percentBased()) {
        m_voltageRamp = 5.0;
        m_currentRamp = 5.0;
    } else {
        m_voltageRamp = std::abs(preset.voltageNominal) / 100.0;
        m_currentRamp = preset.currentNominal / 100.0;
    }
    m_wall.start();
    refreshStatus();
}

std::unique_ptr<SimModule> SimModule::fromPreset(const QString &name)
{
    const std::optional<Preset> preset = presetByName(name);
    if (!preset)
        return nullptr;
    return std::make_unique<SimModule>(*preset);
}

std::unique_ptr<SimModule> SimModule::fromIdentity(const Identity &identity)
{
    return std::make_unique<SimModule>(presetForIdentity(identity));
}

bool SimModule::percentBased() const
{
    return family::percentBased(m_identity.firmwareName, channelCount());
}

bool SimModule::limitsInUnits() const
{
    // A family that works in percent of nominal reports its limits in percent too.
    return family::limitsInUnits(m_identity.firmwareName) && !percentBased();
}

bool SimModule::hasInputOutput() const
{
    return family::hasInputOutput(m_identity.deviceName);
}

bool SimModule::hasEmission() const
{
    return family::hasEmission(m_identity.deviceName);
}

bool SimModule::byteEcho() const
{
    return family::byteEcho(m_identity.firmwareName, m_identity.firmwareRelease);
}

void SimModule::setClock(Clock clock)
{
    m_clock = clock;
    m_wallSynced = m_wall.elapsed();
}

void SimModule::syncClock()
{
    if (m_clock != Clock::RealTime)
        return;
    const qint64 wall = m_wall.elapsed();
    const qint64 delta = wall - m_wallSynced;
    m_wallSynced = wall;
    if (delta > 0)
        advance(int(qMin<qint64>(delta, 3600 * 1000)));
}

void SimModule::advance(int ms)
{
    if (ms <= 0)
        return;
    m_now += ms;
    step(ms / 1000.0);
}

double SimModule::rampSpeed(const SimChannel &ch) const
{
    const double speed
        = percentBased() ? m_voltageRamp * std::abs(ch.voltageNominal) / 100.0 : m_voltageRamp;
    // A ramp speed of 0 is accepted but would never finish; the output creeps at the slowest
    // speed the regulation supports instead.
    return qMax(speed, std::abs(ch.voltageNominal) * 1e-5);
}

void SimModule::step(double seconds)
{
    for (SimChannel &ch : m_channels)
        updateChannel(ch, seconds);
    for (int i = 0; i < channelCount(); ++i)
        randomArcs(i);
    refreshStatus();
}

double SimModule::targetVoltage(const SimChannel &ch) const
{
    if (!ch.live())
        return 0.0;
    // The output never goes beyond the voltage limit, whatever the set value.
    const double limit = m_voltageLimit * std::abs(ch.voltageNominal) / 100.0;
    return std::abs(ch.voltageSet) > limit ? std::copysign(limit, ch.voltageSet) : ch.voltageSet;
}

double SimModule::loadDemand(const SimChannel &ch) const
{
    const double volts = std::abs(ch.voltageOutput);
    if (volts <= 0.0)
        return 0.0;
    const double conductance = (ch.loadOhms > 0.0 ? 1.0 / ch.loadOhms : 0.0) + ch.leakagePerVolt;
    return ch.loadCurrent + volts * conductance;
}

double SimModule::currentCeiling(const SimChannel &ch) const
{
    const double limit = m_currentLimit * ch.currentNominal / 100.0;
    return limit < ch.currentSet ? limit : ch.currentSet;
}

double SimModule::regulatedVoltage(const SimChannel &ch) const
{
    // Under constant-current regulation the load is treated as resistive: the voltage falls in
    // proportion to the current the regulation allows.
    const double demand = loadDemand(ch);
    const double ceiling = currentCeiling(ch);
    if (demand > ceiling)
        return ch.voltageOutput * ceiling / demand;
    return ch.voltageOutput;
}

void SimModule::updateChannel(SimChannel &ch, double seconds)
{
    // An open safety loop and the inhibit input switch the channel off and keep it off.
    if (!m_safetyLoop || ch.inhibit)
        ch.on = false;
    if (ch.emergency || ch.tripped || ch.arcError || ch.inhibit || !m_safetyLoop) {
        // These cut the output at once, without a ramp.
        ch.voltageOutput = 0.0;
    } else {
        const double target = targetVoltage(ch);
        const double delta = target - ch.voltageOutput;
        double stepSize = rampSpeed(ch) * seconds;
        // A step without time moves nothing, even at an endless speed (infinity times 0).
        if (std::isnan(stepSize))
            stepSize = 0.0;
        ch.voltageOutput = std::abs(delta) <= stepSize
            ? target
            : ch.voltageOutput + std::copysign(stepSize, delta);
    }
    // More load than the channel may give: constant-current regulation, or a trip.
    const double demand = loadDemand(ch);
    const double ceiling = currentCeiling(ch);
    ch.currentOutput = demand > ceiling ? ceiling : demand;
    if (ch.live() && demand > ceiling && (m_control & modulecontrol::SetKill))
        trip(int(&ch - m_channels.data()));
}

quint16 SimModule::channelStatus(const SimChannel &ch) const
{
    using namespace channelbit;
    quint16 s = 0;
    const bool positive = ch.epu ? ch.voltageSet >= 0.0 : ch.voltageNominal >= 0.0;
    if (positive)
        s |= Positive;
    if (ch.inputError)
        s |= InputError;
    const bool live = ch.live();
    if (live)
        s |= On;
    const double demand = loadDemand(ch);
    const bool cc = live && demand > currentCeiling(ch);
    const bool ramping = !cc && std::abs(targetVoltage(ch) - ch.voltageOutput) > 1e-9;
    if (ramping)
        s |= Ramp;
    if (ch.emergency)
        s |= Emergency;
    if (cc)
        s |= ConstantCurrent;
    else if (live && !ramping)
        s |= ConstantVoltage;
    if (live && !ramping && ch.voltageBounds > 0.0
        && std::abs(regulatedVoltage(ch) - ch.voltageSet) > ch.voltageBounds)
        s |= VoltageBounds;
    if (live && ch.currentBounds > 0.0 && demand > ch.currentSet + ch.currentBounds)
        s |= CurrentBounds;
    if (ch.inhibit)
        s |= ExternalInhibit;
    if (ch.tripped)
        s |= Trip;
    if (std::abs(ch.voltageSet) > m_voltageLimit * std::abs(ch.voltageNominal) / 100.0 + 1e-9)
        s |= VoltageLimit;
    const double currentLimit = m_currentLimit * ch.currentNominal / 100.0 + 1e-12;
    if (ch.currentSet > currentLimit || demand > currentLimit)
        s |= CurrentLimit;
    if (ch.lastArcAt >= 0 && m_now - ch.lastArcAt < arcShownMs)
        s |= Arc;
    if (ch.arcError)
        s |= ArcError;
    return s;
}

void SimModule::refreshStatus()
{
    using namespace channelbit;
    bool anyOn = false;
    bool anyRamp = false;
    bool sumError = false;
    bool eventActive = false;
    for (SimChannel &ch : m_channels) {
        const quint16 old = ch.status;
        const quint16 now = channelStatus(ch);
        const quint16 rising = now & ~old;
        const quint16 falling = old & ~now;
        ch.eventStatus |= rising & edgeEvents;
        if (falling & On)
            ch.eventStatus |= On;
        if (falling & Ramp)
            ch.eventStatus |= Ramp;
        ch.status = now;
        anyOn = anyOn || (now & On);
        anyRamp = anyRamp || (now & Ramp);
        sumError = sumError || (now & (Trip | ArcError | channelbit::InputError));
        eventActive = eventActive || (ch.eventStatus & ch.eventMask);
    }

    using modulebit::Adjust, modulebit::HvOn, modulebit::Service, modulebit::NoSumError,
        modulebit::NoRamp, modulebit::SafetyLoopGood, modulebit::EventActive, modulebit::ModuleGood,
        modulebit::SupplyGood, modulebit::TemperatureGood, modulebit::KillEnable;
    const bool supplyGood = std::abs(m_supplies[P24] - 24.0) < 2.4
        && std::abs(m_supplies[P5] - 5.0) < 0.5 && std::abs(m_supplies[P12] - 12.0) < 1.2
        && std::abs(m_supplies[N12] + 12.0) < 1.2;
    const bool temperatureGood = m_temperature < 55.0;
    quint16 s = 0;
    if (m_control & modulecontrol::SetAdjust)
        s |= Adjust;
    if (anyOn)
        s |= HvOn;
    if (m_service)
        s |= Service;
    if (m_inputError)
        s |= modulebit::InputError;
    if (!sumError)
        s |= NoSumError;
    if (!anyRamp)
        s |= NoRamp;
    if (m_safetyLoop)
        s |= SafetyLoopGood;
    if (supplyGood)
        s |= SupplyGood;
    if (temperatureGood)
        s |= TemperatureGood;
    if (supplyGood && temperatureGood && m_safetyLoop && !m_service && !sumError)
        s |= ModuleGood;
    if (m_control & modulecontrol::SetKill)
        s |= KillEnable;

    const quint16 rising = s & ~m_status;
    const quint16 falling = m_status & ~s;
    if (rising & Service)
        m_eventStatus |= moduleEventService;
    if (rising & modulebit::InputError)
        m_eventStatus |= moduleEventInputError;
    if (falling & SafetyLoopGood)
        m_eventStatus |= moduleEventSafetyLoop;
    if (falling & SupplyGood)
        m_eventStatus |= moduleEventSupply;
    if (falling & TemperatureGood)
        m_eventStatus |= moduleEventTemperature;
    if (eventActive || (m_eventStatus & m_eventMask))
        s |= EventActive;
    m_status = s;
}

double SimModule::noise(double amplitude) const
{
    if (!m_noise || amplitude <= 0.0)
        return 0.0;
    return (m_random.generateDouble() * 2.0 - 1.0) * amplitude;
}

double SimModule::voltageMeasure(int index) const
{
    return regulatedVoltage(m_channels.at(size_t(index)));
}

double SimModule::temperature() const
{
    if (!m_noise)
        return m_temperature;
    // A slow drift of a few tenths of a degree, as a module warming and cooling with its load.
    return m_temperature + 0.3 * std::sin(double(m_now) / 60000.0);
}

double SimModule::supply(Supply which) const
{
    if (!m_noise)
        return m_supplies.at(which);
    return m_supplies.at(which) * (1.0 + 0.001 * std::sin(double(m_now) / 45000.0 + which));
}

void SimModule::inputError(const ScpiCommand &, const char *what)
{
    m_inputError = true;
    if (m_errors.size() < 16)
        m_errors << QByteArray(what);
}

void SimModule::clearChannelEvents(int index)
{
    SimChannel &ch = m_channels[size_t(index)];
    ch.eventStatus = 0;
    ch.inputError = false;
}

void SimModule::clearAll()
{
    for (int i = 0; i < channelCount(); ++i)
        clearChannelEvents(i);
    m_eventStatus = 0;
    m_inputError = false;
    m_errors.clear();
    refreshStatus();
}

// --- provoking states -------------------------------------------------------------------------

void SimModule::setLoadCurrent(int index, double amperes)
{
    if (index < 0 || index >= channelCount())
        return;
    m_channels[size_t(index)].loadCurrent = qMax(0.0, amperes);
    step(0.0);
}

bool SimModule::trip(int index)
{
    if (index < 0 || index >= channelCount() || !m_channels[size_t(index)].live())
        return false;
    SimChannel &ch = m_channels[size_t(index)];
    ch.tripped = true;
    ch.on = false;
    ch.voltageOutput = 0.0;
    ch.currentOutput = 0.0;
    qCDebug(lcSim) << "channel" << index << "tripped";
    refreshStatus();
    return true;
}

void SimModule::setInhibit(int index, bool on)
{
    if (index < 0 || index >= channelCount())
        return;
    m_channels[size_t(index)].inhibit = on;
    step(0.0);
}

void SimModule::raiseChannelEvent(int index, quint16 bits)
{
    if (index < 0 || index >= channelCount())
        return;
    m_channels[size_t(index)].eventStatus |= bits;
    refreshStatus();
}

void SimModule::raiseModuleEvent(quint16 bits)
{
    m_eventStatus |= bits;
    refreshStatus();
}

void SimModule::setVoltageSet(int index, double volts)
{
    if (index < 0 || index >= channelCount())
        return;
    m_channels[size_t(index)].voltageSet = volts;
    refreshStatus();
}

void SimModule::setCurrentSet(int index, double amperes)
{
    if (index < 0 || index >= channelCount())
        return;
    m_channels[size_t(index)].currentSet = amperes;
    step(0.0);
}

void SimModule::setChannelOn(int index, bool on)
{
    if (index < 0 || index >= channelCount())
        return;
    SimChannel &ch = m_channels[size_t(index)];
    if (on)
        ch.switchOn();
    else
        ch.on = false;
    step(0.0);
}

void SimModule::setTemperature(double celsius)
{
    m_temperature = celsius;
    refreshStatus();
}

void SimModule::setSupply(Supply which, double volts)
{
    m_supplies.at(which) = volts;
    refreshStatus();
}

void SimModule::setSafetyLoop(bool closed)
{
    m_safetyLoop = closed;
    qCDebug(lcSim) << "safety loop" << (closed ? "closed" : "open");
    step(0.0);
}

void SimModule::setServiceNeeded(bool on)
{
    m_service = on;
    refreshStatus();
}

void SimModule::setLimits(double voltagePercent, double currentPercent)
{
    m_voltageLimit = voltagePercent;
    m_currentLimit = currentPercent;
    refreshStatus();
}

} // namespace vornsim
