#include "czelkchannelstatusbits.h"
#include "czelkmodulestatusbits.h"

#include <QtTest>

class tst_StatusBits : public QObject
{
    Q_OBJECT

private slots:
    void namesSitAtTheirBit_data();
    void namesSitAtTheirBit();
};

void tst_StatusBits::namesSitAtTheirBit_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QString>("expected");
    using Ch = CZelkChannelStatusBits;
    using Mod = CZelkModuleStatusBits;
    QTest::newRow("channel status")
        << Ch::statusNames()
        << "isPos,isARC,isIERR,isON,isRamp,isEMCY,isCC,isCV,isLCR,isARCERR,isCBND,isVBND,isEINH,"
           "isTRP,isCLIM,isVLIM";
    QTest::newRow("channel event status")
        << Ch::eventStatusNames()
        << "res,EARC,EIERR,EOn2Off,EEOR,EEMCY,ECC,ECV,res,EARCERR,ECBND,EVBND,EEINH,ETRP,ECLIM,"
           "EVLIM";
    QTest::newRow("channel event mask")
        << Ch::eventMaskNames()
        << "res,MEARC,MEIERR,MEOn2Off,MEEOR,MEEMCY,MECC,MECV,res,MEARCERR,MECBND,MEVBND,MEEINH,"
           "METRP,MECLIM,MEVLIM";
    QTest::newRow("channel control")
        << Ch::controlNames()
        << "res,res,res,setON,res,setEMCY,res,res,res,res,res,res,res,res,res,res";
    QTest::newRow("module status")
        << Mod::statusNames()
        << "isADJ,res,isLVINS,isHVon,isSrvc,isHwVLgd,isIERR,res,isnoSERR,isnoRAMP,isSFLPgd,"
           "isEVNTact,isMODgd,isSPLYgd,isTMPgd,isKILena";
    QTest::newRow("module event status") << Mod::eventStatusNames()
                                         << "res,res,ELVINS,res,ESrvc,EHwVLngd,EIERR,res,res,res,"
                                            "ESFLPngd,res,res,ESPLYngd,ETMPngd,res";
    QTest::newRow("module event mask")
        << Mod::eventMaskNames()
        << "res,res,res,res,MESrvc,MEHwVLngd,MEIERR,res,res,res,MESFLPngd,res,res,MESPLYngd,"
           "METMPngd,res";
    QTest::newRow("module control")
        << Mod::controlNames()
        << "res,res,res,res,res,setILK,doCLEAR,res,res,res,res,setENDN,setADJ,res,setKILena,res";
}

void tst_StatusBits::namesSitAtTheirBit()
{
    QFETCH(QStringList, names);
    QFETCH(QString, expected);
    // Entry i names bit i: one name too many or too few shifts every following bit.
    QCOMPARE(names, expected.split(QLatin1Char(',')));
}

QTEST_APPLESS_MAIN(tst_StatusBits)
#include "tst_statusbits.moc"
