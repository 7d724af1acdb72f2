#include "channellist.h"
#include "scpicommand.h"
#include "simmodule.h"

#include <QtTest>

using namespace vornsim;

class tst_SimDialect : public QObject
{
    Q_OBJECT

private slots:
    void compoundPaths_data();
    void compoundPaths();
    void parameters_data();
    void parameters();
    void channelAddressing_data();
    void channelAddressing();
    void badLines_data();
    void badLines();
    void errorQueueAndClear();
};

static QByteArray headers(const QList<ScpiCommand> &commands)
{
    QList<QByteArray> list;
    for (const ScpiCommand &c : commands)
        list << (c.valid ? c.header : QByteArray("!")) + (c.query ? "?" : "");
    return list.join(' ');
}

void tst_SimDialect::compoundPaths_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("module words") << QByteArray(":READ:MOD:CONT?;STAT?;EV:STAT?;MASK?")
                                  << QByteArray("READ:MOD:CONT? READ:MOD:STAT? READ:MOD:EV:STAT? "
                                                "READ:MOD:EV:MASK?");
    QTest::newRow("ramps") << QByteArray(":READ:RAMP:VOLT?;CURR?")
                           << QByteArray("READ:RAMP:VOLT? READ:RAMP:CURR?");
    QTest::newRow("supplies") << QByteArray(":READ:MOD:TEMP?;SUP:P24V?;P5V?;P12V?;N12V?")
                              << QByteArray("READ:MOD:TEMP? READ:MOD:SUP:P24V? READ:MOD:SUP:P5V? "
                                            "READ:MOD:SUP:P12V? READ:MOD:SUP:N12V?");
    QTest::newRow("emission")
        << QByteArray(":CONF:FILA:EMI:P 1;I 2;D 3;P?;I?;D?;:CONF:FILA:CURR:MIN 4;MAX 5;MIN?;MAX?")
        << QByteArray("CONF:FILA:EMI:P CONF:FILA:EMI:I CONF:FILA:EMI:D CONF:FILA:EMI:P? "
                      "CONF:FILA:EMI:I? CONF:FILA:EMI:D? CONF:FILA:CURR:MIN CONF:FILA:CURR:MAX "
                      "CONF:FILA:CURR:MIN? CONF:FILA:CURR:MAX?");
    QTest::newRow("common keeps path")
        << QByteArray(":CONF:ADJ ENABLE;KILL ENABLE;*CLS;:READ:MOD:CONT?")
        << QByteArray("CONF:ADJ CONF:KILL *CLS READ:MOD:CONT?");
    QTest::newRow("identity") << QByteArray("*IDN?;:READ:MOD:CHAN?")
                              << QByteArray("*IDN? READ:MOD:CHAN?");
    QTest::newRow("lower case") << QByteArray(":conf:inter:mode 1;mode?")
                                << QByteArray("CONF:INTER:MODE CONF:INTER:MODE?");
    QTest::newRow("long forms") << QByteArray(":VOLTAGE:BOUNDS 5;:READ:MODULE:STATUS:INTERLOCK?")
                                << QByteArray("VOLT:BOU READ:MOD:STAT:INTERLOCK?");
    QTest::newRow("empty commands") << QByteArray(";;:READ:VOLT?;;") << QByteArray("READ:VOLT?");
    QTest::newRow("empty node") << QByteArray(":READ::VOLT?") << QByteArray("!?");
}

void tst_SimDialect::compoundPaths()
{
    QFETCH(QByteArray, line);
    QFETCH(QByteArray, expected);
    QCOMPARE(headers(splitScpiLine(line)), expected);
}

void tst_SimDialect::parameters_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("values");
    QTest::addColumn<bool>("hasList");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<QList<int>>("channels");
    QTest::newRow("value and channel")
        << QByteArray("1000,(@2)") << QByteArray("1000") << true << true << QList<int> { 2 };
    QTest::newRow("words and range") << QByteArray("EMCY OFF,(@0-3)") << QByteArray("EMCY OFF")
                                     << true << true << QList<int> { 0, 1, 2, 3 };
    QTest::newRow("query list") << QByteArray("(@0-3)") << QByteArray() << true << true
                                << QList<int> { 0, 1, 2, 3 };
    QTest::newRow("entries") << QByteArray("(@3,0-1,1)") << QByteArray() << true << true
                             << QList<int> { 3, 0, 1 };
    QTest::newRow("no list") << QByteArray("0.0005") << QByteArray("0.0005") << false << true
                             << QList<int>();
    QTest::newRow("beyond count") << QByteArray("(@4)") << QByteArray() << true << false
                                  << QList<int>();
    QTest::newRow("reversed range")
        << QByteArray("(@3-1)") << QByteArray() << true << false << QList<int>();
    QTest::newRow("unclosed") << QByteArray("1,(@1") << QByteArray("1") << true << false
                              << QList<int>();
    QTest::newRow("empty list") << QByteArray("(@)") << QByteArray() << true << false
                                << QList<int>();
    QTest::newRow("not a number") << QByteArray("(@x)") << QByteArray() << true << false
                                  << QList<int>();
}

void tst_SimDialect::parameters()
{
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, values);
    QFETCH(bool, hasList);
    QFETCH(bool, valid);
    QFETCH(QList<int>, channels);
    const Parameters p = parseParameters(text, 4);
    QCOMPARE(p.values.join('|'), values);
    QCOMPARE(p.hasList, hasList);
    QCOMPARE(p.listValid, valid);
    QCOMPARE(p.channels, channels);
}

void tst_SimDialect::channelAddressing_data()
{
    QTest::addColumn<QString>("preset");
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<int>("fields");
    QTest::newRow("one channel, no list") << "TX01B0" << QByteArray(":READ:VOLT?") << 1;
    QTest::newRow("one channel, list accepted") << "TX01B0" << QByteArray(":READ:VOLT? (@0)") << 1;
    QTest::newRow("DRS with list") << "DRSB" << QByteArray(":READ:VOLT? (@0-0)") << 1;
    QTest::newRow("all four") << "KA2F" << QByteArray(":READ:VOLT? (@0-3)") << 4;
    QTest::newRow("one of four") << "KA2F" << QByteArray(":MEAS:CURR? (@1)") << 1;
    QTest::newRow("four without list") << "KA2F" << QByteArray(":READ:CHAN:STAT?") << 4;
    QTest::newRow("eight") << "GLW802" << QByteArray(":READ:CHAN:CONT? (@0-7)") << 8;
    QTest::newRow("outputs are not channels")
        << "TQ88812p0000" << QByteArray(":CONF:OUTP? (@0-2)") << 3;
}

void tst_SimDialect::channelAddressing()
{
    QFETCH(QString, preset);
    QFETCH(QByteArray, line);
    QFETCH(int, fields);
    const auto module = SimModule::fromPreset(preset);
    QVERIFY(module);
    QByteArray answer = module->handleLine(line);
    QVERIFY(answer.endsWith("\r\n"));
    answer.chop(2);
    QVERIFY(!answer.contains("ERROR"));
    QCOMPARE(answer.split(',').size(), fields);
}

void tst_SimDialect::badLines_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QByteArray>("answer");
    QTest::newRow("empty") << QByteArray() << QByteArray();
    QTest::newRow("only separators") << QByteArray(" ; ;") << QByteArray();
    QTest::newRow("unknown query") << QByteArray(":FOO:BAR?") << QByteArray("ERROR\r\n");
    QTest::newRow("unknown set") << QByteArray(":FOO:BAR 1") << QByteArray();
    QTest::newRow("unknown in compound")
        << QByteArray(":READ:MOD:CHAN?;:NOPE?;:READ:FIRM:NAME?") << QByteArray("4;ERROR;KA2F8\r\n");
    QTest::newRow("channel beyond count")
        << QByteArray(":READ:VOLT? (@9)") << QByteArray("ERROR\r\n");
    QTest::newRow("parameter on a query") << QByteArray(":READ:VOLT? 5") << QByteArray("ERROR\r\n");
    QTest::newRow("binary junk") << QByteArray("\xff\x01\x02?", 4) << QByteArray("ERROR\r\n");
    QTest::newRow("bad number") << QByteArray(":VOLT abc,(@0)") << QByteArray();
    QTest::newRow("missing value") << QByteArray(":CURR") << QByteArray();
    QTest::newRow("filament query on a plain module")
        << QByteArray(":CONF:FILA:EMI:P?") << QByteArray("ERROR\r\n");
    QTest::newRow("huge line") << QByteArray(200000, 'A') + '?' << QByteArray("ERROR\r\n");
}

void tst_SimDialect::badLines()
{
    QFETCH(QByteArray, line);
    QFETCH(QByteArray, answer);
    const auto module = SimModule::fromPreset(QStringLiteral("KA2F"));
    QCOMPARE(module->handleLine(line), answer);
    // The module keeps working after any of these.
    QCOMPARE(module->handleLine(":READ:MOD:CHAN?"), QByteArray("4\r\n"));
}

void tst_SimDialect::errorQueueAndClear()
{
    const auto module = SimModule::fromPreset(QStringLiteral("KA2F"));
    module->handleLine(":NOPE 1");
    QVERIFY(module->status() & modulebit::InputError);
    QVERIFY(module->eventStatus() & (1u << 6));
    QCOMPARE(module->handleLine(":SYS:ERR?"), QByteArray("-113,\"Undefined header\"\r\n"));
    QCOMPARE(module->handleLine(":SYST:ERR?"), QByteArray("0,\"No error\"\r\n"));
    module->handleLine("*CLS");
    QVERIFY(!(module->status() & modulebit::InputError));
    QCOMPARE(module->eventStatus(), quint16(0));
}

QTEST_GUILESS_MAIN(tst_SimDialect)
#include "tst_simdialect.moc"
