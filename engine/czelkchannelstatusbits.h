#pragma once

#include <QObject>
#include <QStringList>

/// Short names of the bits of the four channel words (status, event status, event mask,
/// control). Each text holds 16 names separated by "," without blanks; entry i names bit i,
/// bit 0 being the least significant bit. "res" marks a reserved bit that has no meaning.
/// The class is a name holder only and cannot be instantiated.
class CZelkChannelStatusBits : public QObject
{
    Q_OBJECT

public:
    CZelkChannelStatusBits() = delete;

    /// Bit positions of the status word; the event status word latches the same conditions at
    /// the same positions.
    enum StatusBit : quint16 {
        Arc = 1u << 1,
        On = 1u << 3,
        Ramp = 1u << 4,
        Emergency = 1u << 5,
        ArcError = 1u << 9,
        Inhibit = 1u << 12,
        Trip = 1u << 13,
    };
    /// Bit positions of the control word.
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
