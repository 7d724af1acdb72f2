#pragma once

#include "model/presets.h"
#include "model/simchannel.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QList>
#include <QRandomGenerator>

#include <array>
#include <memory>

namespace vornsim {

struct ScpiCommand;
struct Parameters;

/// Bits of the module status, event status, event mask and control words.
namespace modulebit {
enum : quint16 {
    Adjust = 1u << 0,
    HvOn = 1u << 3,
    Service = 1u << 4,
    InputError = 1u << 6,
    NoSumError = 1u << 8,
    NoRamp = 1u << 9,
    SafetyLoopGood = 1u << 10,
    EventActive = 1u << 11,
    ModuleGood = 1u << 12,
    SupplyGood = 1u << 13,
    TemperatureGood = 1u << 14,
    KillEnable = 1u << 15,
};
}
namespace modulecontrol {
enum : quint16 {
    SetInterlock = 1u << 5,
    DoClear = 1u << 6,
    SetAdjust = 1u << 12,
    SetKill = 1u << 14
};
}

/// A simulated high-voltage module: the device side of the SCPI dialect.
///
/// Feed it request lines with handleLine(); it answers like the module would. The model is
/// live: the output voltage of a channel that is on ramps toward its set value at the ramp speed,
/// the measured current follows the load, status words follow the state and events latch on
/// the edges of the status bits until a clear command. Time only moves when advance() is called
/// (Clock::Manual, the default, for deterministic tests) or, with Clock::RealTime, by the wall
/// clock each time a line is handled.
///
/// Unknown or malformed commands: a query answers "ERROR" in its place in the answer line, so a
/// host is never left waiting; a set command is ignored. Both put an entry into the error queue
/// (":SYS:ERR?") and set the module's input-error status bit until "*CLS".
///
/// A channel's load draws a fixed current, or follows the voltage through a resistance and a
/// leakage that grows with the voltage. A load that wants more than the set current (or the
/// current limit) makes the channel regulate constant current, or trip when kill is enabled.
/// Arcs come on request or at random at a rate per minute; arcsForError arcs, each less than
/// arcRowMs after the one before, switch the channel off with an arc error. An open safety loop
/// switches every channel off and keeps it off; an external inhibit does so for its channel.
///
/// Not thread-safe; use it from one thread (the front ends run in the Qt event loop).
class SimModule
{
public:
    static constexpr int MaxChannels = 64;
    enum class Clock { Manual, RealTime };
    enum Supply { P24 = 0, P5 = 1, P12 = 2, N12 = 3 };
    enum Output { VoltageOutput = 0, FilamentOutput = 1, DigitalOutput = 2 };
    /// Arcs in a row that switch a channel off; "in a row" is less than arcRowMs apart.
    static constexpr int arcsForError = 3;
    static constexpr int arcRowMs = 1000;
    /// How long the status word shows an arc ("isARC") after it happened.
    static constexpr int arcShownMs = 1000;

    /// Builds a module from a preset. The channel count is clamped to 1 to MaxChannels.
    explicit SimModule(const Preset &preset);
    /// A module of a named preset (see presetNames()), or null for an unknown name.
    static std::unique_ptr<SimModule> fromPreset(const QString &name);
    /// A module from an explicit identity, with ratings chosen by its family.
    static std::unique_ptr<SimModule> fromIdentity(const Identity &identity);

    SimModule(const SimModule &) = delete;
    SimModule &operator=(const SimModule &) = delete;

    /// Handles one request line given without its CR LF (a trailing CR or LF is tolerated).
    /// Returns the answer line ending with CR LF: the answers of the line's queries joined by
    /// ';'. Returns an empty array when the line held no query.
    /// While the module does not answer (setAnswering(false)) lines are dropped unprocessed.
    QByteArray handleLine(const QByteArray &line);

    /// Moves the model time forward by `ms` milliseconds (ramps, drift, events).
    void advance(int ms);
    /// Clock::RealTime lets every handleLine() first advance by the wall time since the last
    /// line. The program uses it; tests keep Clock::Manual and call advance().
    void setClock(Clock clock);
    Clock clock() const { return m_clock; }
    /// With Clock::RealTime, advances by the wall time since the last call; else nothing.
    void syncClock();
    /// Model time in milliseconds since construction.
    qint64 now() const { return m_now; }
    /// Noise on measured values and drift of temperature and supplies; on by default.
    void setNoise(bool on) { m_noise = on; }

    // Identity and family
    const Identity &identity() const { return m_identity; }
    int channelCount() const { return int(m_channels.size()); }
    bool percentBased() const;
    bool limitsInUnits() const;
    bool hasInputOutput() const;
    bool hasEmission() const;
    /// Serial-port echo style of this firmware: byte by byte (true) or whole lines.
    bool byteEcho() const;
    /// Changes the release reported by "*IDN?" and ":READ:FIRM:REL?".
    void setFirmwareRelease(const QString &release) { m_identity.firmwareRelease = release; }

    // Channel state; `index` must lie in 0 to channelCount() - 1.
    const SimChannel &channel(int index) const { return m_channels.at(size_t(index)); }
    /// The measured voltage as the next query would report it, without noise.
    double voltageMeasure(int index) const;
    double currentMeasure(int index) const { return m_channels.at(size_t(index)).currentOutput; }

    // Module state
    quint16 control() const { return m_control; }
    quint16 status() const { return m_status; }
    quint16 eventStatus() const { return m_eventStatus; }
    quint16 eventMask() const { return m_eventMask; }
    double temperature() const;
    double supply(Supply which) const;
    double voltageRamp() const { return m_voltageRamp; } ///< V/s, or %/s when percentBased()
    double currentRamp() const { return m_currentRamp; } ///< A/s, or %/s when percentBased()
    double voltageLimit() const { return m_voltageLimit; } ///< percent of nominal
    double currentLimit() const { return m_currentLimit; } ///< percent of nominal
    int average() const { return m_average; }
    int interfaceMode() const { return m_interfaceMode; }
    int output(Output which) const { return m_outputs.at(which); }
    int interlock() const { return m_interlock; }
    double emissionP() const { return m_emission.at(0); }
    double emissionI() const { return m_emission.at(1); }
    double emissionD() const { return m_emission.at(2); }
    double filamentMinimum() const { return m_filamentMinimum; }
    double filamentMaximum() const { return m_filamentMaximum; }
    bool hvOk() const { return m_hvOk; } ///< ":CONF:HVDRSB HV_OK" received
    int configurationSaves() const { return m_configSaves; }
    QList<QByteArray> errorQueue() const { return m_errors; }

    bool answering() const { return m_answering; }

    // Provoking states from a test, the options and the control port. Channel setters ignore
    // an index out of range.
    void setLoadCurrent(int index, double amperes);
    /// A resistive load of `ohms` (0: none) plus a leakage of `leakagePerVolt` A per volt.
    void setLoad(int index, double ohms, double leakagePerVolt = 0.0);
    /// Random arcs at `perMinute` on average while the output is live; 0 for none.
    void setArcRate(int index, double perMinute);
    /// Trips the channel as an over-current with kill enabled would. False (nothing happens)
    /// when the channel is not on: a module trips only a channel whose output is live.
    bool trip(int index);
    void setInhibit(int index, bool on);
    /// One arc now. False (nothing happens) when the channel has no output voltage.
    bool arc(int index);
    /// Latches channel event bits directly.
    void raiseChannelEvent(int index, quint16 bits);
    /// Latches module event bits directly.
    void raiseModuleEvent(quint16 bits);
    void setVoltageSet(int index, double volts);
    void setCurrentSet(int index, double amperes);
    void setChannelOn(int index, bool on);
    void setTemperature(double celsius);
    void setSupply(Supply which, double volts);
    void setSafetyLoop(bool closed);
    void setServiceNeeded(bool on);
    void setInterlock(int bits) { m_interlock = bits; }
    void setLimits(double voltagePercent, double currentPercent);
    /// A module that stops answering drops every request line until it answers again.
    void setAnswering(bool on) { m_answering = on; }

private:
    QByteArray answerQuery(const ScpiCommand &cmd);
    bool executeSet(const ScpiCommand &cmd);
    QByteArray perChannel(
        const Parameters &p, const ScpiCommand &cmd, QByteArray (SimModule::*format)(int) const);
    bool addressed(const Parameters &p, const ScpiCommand &cmd, QList<int> *channels);
    void inputError(const ScpiCommand &cmd, const char *what);
    bool setChannelValue(const ScpiCommand &cmd, double SimChannel::*field);
    bool setVoltageCommand(const ScpiCommand &cmd);
    bool setModuleValue(const ScpiCommand &cmd);
    void clearChannelEvents(int index);
    void clearAll();
    void step(double seconds);
    void updateChannel(SimChannel &ch, double seconds);
    void randomArcs(int index);
    bool arcAt(int index, qint64 at);
    double targetVoltage(const SimChannel &ch) const;
    double loadDemand(const SimChannel &ch) const;
    double currentCeiling(const SimChannel &ch) const;
    double regulatedVoltage(const SimChannel &ch) const;
    void refreshStatus();
    quint16 channelStatus(const SimChannel &ch) const;
    double rampSpeed(const SimChannel &ch) const;
    double noise(double amplitude) const;

    QByteArray formatVoltageSet(int i) const;
    QByteArray formatCurrentSet(int i) const;
    QByteArray formatVoltageBounds(int i) const;
    QByteArray formatCurrentBounds(int i) const;
    QByteArray formatVoltageNominal(int i) const;
    QByteArray formatCurrentNominal(int i) const;
    QByteArray formatVoltageMeasure(int i) const;
    QByteArray formatCurrentMeasure(int i) const;
    QByteArray formatStatus(int i) const;
    QByteArray formatEventStatus(int i) const;
    QByteArray formatEventMask(int i) const;
    QByteArray formatControl(int i) const;
    QByteArray formatEpu(int i) const;

    Identity m_identity;
    QByteArray m_voltageNominalAnswer; ///< Preset::voltageNominalAnswer
    std::vector<SimChannel> m_channels;
    quint16 m_control = 0;
    quint16 m_status = 0;
    quint16 m_eventStatus = 0;
    quint16 m_eventMask = 0;
    double m_temperature = 32.0;
    std::array<double, 4> m_supplies { { 24.0, 5.0, 12.0, -12.0 } };
    double m_voltageRamp = 0.0;
    double m_currentRamp = 0.0;
    double m_voltageLimit = 100.0;
    double m_currentLimit = 100.0;
    int m_average = 64;
    int m_interfaceMode = 0;
    std::array<int, 3> m_outputs { { 0, 0, 0 } };
    int m_interlock = 0;
    std::array<double, 3> m_emission { { 1.0, 0.1, 0.0 } };
    double m_filamentMinimum = 0.0;
    double m_filamentMaximum = 2.5;
    bool m_hvOk = false;
    bool m_safetyLoop = true;
    bool m_service = false;
    bool m_inputError = false;
    bool m_answering = true;
    int m_configSaves = 0;
    QList<QByteArray> m_errors;

    Clock m_clock = Clock::Manual;
    QElapsedTimer m_wall;
    qint64 m_wallSynced = 0;
    qint64 m_now = 0;
    bool m_noise = true;
    mutable QRandomGenerator m_random;
};

} // namespace vornsim
