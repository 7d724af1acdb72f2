#pragma once

#include <QObject>
#include <QStringList>

/// Short names of the bits of the four module words (status, event status, event mask,
/// control), in the same form as the channel dictionary: 16 names separated by ",", entry i
/// naming bit i, "res" for a reserved bit. The module's health bits (status bits 8, 9, 10,
/// 12, 13, 14) are 1 in the healthy state. The class is a name holder only.
class CZelkModuleStatusBits : public QObject
{
    Q_OBJECT

public:
    CZelkModuleStatusBits() = delete;

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
