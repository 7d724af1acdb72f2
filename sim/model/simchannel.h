#pragma once

#include <QtGlobal>

namespace vornsim {

/// Bits of the channel status, event status and event mask words.
namespace channelbit {
enum : quint16 {
    Positive = 1u << 0,
    Arc = 1u << 1,
    InputError = 1u << 2,
    On = 1u << 3, ///< status "is on"; event "switched from on to off"
    Ramp = 1u << 4, ///< status "ramping"; event "end of ramp"
    Emergency = 1u << 5,
    ConstantCurrent = 1u << 6,
    ConstantVoltage = 1u << 7,
    LowCurrentRange = 1u << 8,
    ArcError = 1u << 9,
    CurrentBounds = 1u << 10,
    VoltageBounds = 1u << 11,
    ExternalInhibit = 1u << 12,
    Trip = 1u << 13,
    CurrentLimit = 1u << 14,
    VoltageLimit = 1u << 15,
};
}

/// Bits of the channel control word.
namespace channelcontrol {
enum : quint16 { SetOn = 1u << 3, SetEmergency = 1u << 5 };
}

/// State of one simulated channel. Values in volts and amperes; the words are what the module
/// reports. SimModule keeps `status` up to date after every command and every clock step.
struct SimChannel
{
    double voltageSet = 0.0;
    double currentSet = 0.0;
    double voltageBounds = 0.0;
    double currentBounds = 0.0;
    double voltageNominal = 0.0; ///< negative for a negative channel
    double currentNominal = 0.0;
    double voltageOutput = 0.0; ///< the output voltage, without measurement noise
    double currentOutput = 0.0; ///< the output current, without measurement noise
    double loadCurrent = 0.0; ///< a fixed current the load draws while the output is live
    double loadOhms = 0.0; ///< resistance of the connected load; 0 for none
    double leakagePerVolt = 0.0; ///< leakage current of a detector, A per V of output
    double arcRate = 0.0; ///< random arcs per minute while the output is live
    qint64 nextArcAt = 0; ///< model time (ms) of the next random arc when arcRate > 0
    qint64 lastArcAt = -1; ///< model time (ms) of the latest arc; -1 for none yet
    int arcsInRow = 0; ///< arcs that followed each other closely, the latest included
    quint64 arcRandom = 0; ///< state of the generator that spaces the random arcs
    bool on = false; ///< switched on by command (control bit "setON")
    bool emergency = false; ///< emergency off (control bit "setEMCY")
    bool tripped = false; ///< switched off by over-current with kill enabled
    bool arcError = false; ///< switched off by too many arcs in a row
    bool inhibit = false; ///< external inhibit input
    bool inputError = false; ///< the last set command for this channel was out of range
    bool epu = false; ///< the polarity follows the sign of the set voltage
    quint16 status = 0;
    quint16 eventStatus = 0; ///< latched events; cleared by the clear commands
    quint32 eventMask = 0; ///< events that count as "event active" for the module

    quint16 control() const
    {
        return quint16(
            (on ? channelcontrol::SetOn : 0) | (emergency ? channelcontrol::SetEmergency : 0));
    }
    bool live() const { return on && !emergency && !tripped && !inhibit; }
    /// Switching on again is how a trip or an arc error is acknowledged.
    void switchOn()
    {
        on = true;
        tripped = false;
        arcError = false;
        arcsInRow = 0;
    }
};

} // namespace vornsim
