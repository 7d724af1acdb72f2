#pragma once

#include <QObject>
#include <QStringList>

/// The bits of the four channel words (status, event status, event mask, control): their
/// masks, and their short names. Each name text holds 16 names separated by "," without blanks;
/// entry i names bit i, bit 0 being the least significant bit. "res" marks a reserved bit that
/// has no meaning. The class is a name holder only and cannot be instantiated.
class CZelkChannelStatusBits : public QObject
{
    Q_OBJECT

public:
    CZelkChannelStatusBits() = delete;

    /// Masks of the status word's bits.
    enum StatusBit : quint16 {
        Positive = 1u << 0,
        Arc = 1u << 1,
        InputError = 1u << 2,
        On = 1u << 3,
        Ramp = 1u << 4,
        Emergency = 1u << 5,
        ConstantCurrent = 1u << 6,
        ConstantVoltage = 1u << 7,
        LowCurrentRange = 1u << 8,
        ArcError = 1u << 9,
        CurrentBounds = 1u << 10,
        VoltageBounds = 1u << 11,
        Inhibit = 1u << 12,
        Trip = 1u << 13,
        CurrentLimit = 1u << 14,
        VoltageLimit = 1u << 15,
    };
    /// Masks of the event status word's bits; the event mask word enables each at the same
    /// position. An event latches the condition of the status bit at its position, so the two
    /// words share their positions; only two events report a change instead: the channel went
    /// from on to off, and its ramp ended.
    enum EventBit : quint16 {
        EventArc = Arc,
        EventInputError = InputError,
        EventSwitchedOff = On,
        EventEndOfRamp = Ramp,
        EventEmergency = Emergency,
        EventConstantCurrent = ConstantCurrent,
        EventConstantVoltage = ConstantVoltage,
        EventArcError = ArcError,
        EventCurrentBounds = CurrentBounds,
        EventVoltageBounds = VoltageBounds,
        EventInhibit = Inhibit,
        EventTrip = Trip,
        EventCurrentLimit = CurrentLimit,
        EventVoltageLimit = VoltageLimit,
    };
    /// Every event bit; the others are reserved.
    static constexpr quint16 EventBits = EventArc | EventInputError | EventSwitchedOff
        | EventEndOfRamp | EventEmergency | EventConstantCurrent | EventConstantVoltage
        | EventArcError | EventCurrentBounds | EventVoltageBounds | EventInhibit | EventTrip
        | EventCurrentLimit | EventVoltageLimit;
    /// Masks of the control word's bits.
    enum ControlBit : quint16 {
        SetOn = 1u << 3,
        SetEmergency = 1u << 5,
    };

    static constexpr const char Status[]
        = "isPos,isARC,isIERR,isON,isRamp,isEMCY,isCC,isCV,"
          "isLCR,isARCERR,isCBND,isVBND,isEINH,isTRP,isCLIM,isVLIM";
    static constexpr const char EventStatus[] = "res,EARC,EIERR,EOn2Off,EEOR,EEMCY,ECC,ECV,"
                                                "res,EARCERR,ECBND,EVBND,EEINH,ETRP,ECLIM,EVLIM";
    static constexpr const char EventMask[]
        = "res,MEARC,MEIERR,MEOn2Off,MEEOR,MEEMCY,MECC,MECV,"
          "res,MEARCERR,MECBND,MEVBND,MEEINH,METRP,MECLIM,MEVLIM";
    static constexpr const char Control[]
        = "res,res,res,setON,res,setEMCY,res,res,res,res,res,res,res,res,res,res";

    /// The names of one word as 16 strings indexed by bit number.
    static QStringList statusNames();
    static QStringList eventStatusNames();
    static QStringList eventMaskNames();
    static QStringList controlNames();
};
