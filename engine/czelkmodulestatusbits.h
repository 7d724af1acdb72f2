#pragma once

#include <QObject>
#include <QStringList>

/// The bits of the four module words (status, event status, event mask, control): their masks,
/// and their short names in the same form as the channel dictionary: 16 names separated by ",",
/// entry i naming bit i, "res" for a reserved bit. The class is a name holder only.
class CZelkModuleStatusBits : public QObject
{
    Q_OBJECT

public:
    CZelkModuleStatusBits() = delete;

    /// Masks of the status word's bits.
    enum StatusBit : quint16 {
        Adjust = 1u << 0,
        LiveInsertion = 1u << 2,
        HighVoltageOn = 1u << 3,
        Service = 1u << 4,
        HardwareVoltageLimitGood = 1u << 5,
        InputError = 1u << 6,
        /// Shown by the module dialog only; the name list has it reserved.
        CommandComplete = 1u << 7,
        NoSumError = 1u << 8,
        NoRamp = 1u << 9,
        SafetyLoopGood = 1u << 10,
        EventActive = 1u << 11,
        ModuleGood = 1u << 12,
        SupplyGood = 1u << 13,
        TemperatureGood = 1u << 14,
        KillEnable = 1u << 15,
    };
    /// The health bits: 1 is the healthy state, and a 0 reports the condition (a sum error, a
    /// ramp, an open safety loop, a module, supply or temperature not good).
    static constexpr quint16 HealthBits
        = NoSumError | NoRamp | SafetyLoopGood | ModuleGood | SupplyGood | TemperatureGood;
    /// Masks of the event status word's bits; the event mask word enables each at the same
    /// position. An event latches the condition of the status bit at its position: that the
    /// status bit is 1, or for a health bit (and the hardware voltage limit) that it is 0.
    enum EventBit : quint16 {
        EventLiveInsertion = LiveInsertion,
        EventService = Service,
        EventHardwareVoltageLimitNotGood = HardwareVoltageLimitGood,
        EventInputError = InputError,
        EventSafetyLoopNotGood = SafetyLoopGood,
        EventSupplyNotGood = SupplyGood,
        EventTemperatureNotGood = TemperatureGood,
    };
    /// Masks of the control word's bits.
    enum ControlBit : quint16 {
        SetInterlock = 1u << 5,
        DoClear = 1u << 6,
        SetBigEndian = 1u << 11,
        SetAdjust = 1u << 12,
        SetKillEnable = 1u << 14,
        /// Set by the module dialog only; the name list has it reserved.
        DoSaveValues = 1u << 15,
    };

    static constexpr const char Status[]
        = "isADJ,res,isLVINS,isHVon,isSrvc,isHwVLgd,isIERR,res,"
          "isnoSERR,isnoRAMP,isSFLPgd,isEVNTact,isMODgd,isSPLYgd,isTMPgd,isKILena";
    static constexpr const char EventStatus[] = "res,res,ELVINS,res,ESrvc,EHwVLngd,EIERR,res,res,"
                                                "res,ESFLPngd,res,res,ESPLYngd,ETMPngd,res";
    static constexpr const char EventMask[]
        = "res,res,res,res,MESrvc,MEHwVLngd,MEIERR,res,res,res,MESFLPngd,res,res,MESPLYngd,"
          "METMPngd,res";
    static constexpr const char Control[]
        = "res,res,res,res,res,setILK,doCLEAR,res,res,res,res,setENDN,setADJ,res,setKILena,res";

    /// The names of one word as 16 strings indexed by bit number.
    static QStringList statusNames();
    static QStringList eventStatusNames();
    static QStringList eventMaskNames();
    static QStringList controlNames();
};
