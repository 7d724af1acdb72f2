#include "dialect/channellist.h"
#include "dialect/scpicommand.h"
#include "model/simmodule.h"

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
    void badInput_data();
    void badInput();
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
    const auto row = [](const char *name, const char *line, const char *expected) {
        QTest::newRow(name) << QByteArray(line) << QByteArray(expected);
    };
    row("emission", ":CONF:FILA:EMI:P 1;I 2;D 3;P?;I?;D?;:CONF:FILA:CURR:MIN 4;MAX 5;MIN?;MAX?",
        "CONF:FILA:EMI:P CONF:FILA:EMI:I CONF:FILA:EMI:D CONF:FILA:EMI:P? CONF:FILA:EMI:I? "
        "CONF:FILA:EMI:D? CONF:FILA:CURR:MIN CONF:FILA:CURR:MAX CONF:FILA:CURR:MIN? "
        "CONF:FILA:CURR:MAX?");
    row("common keeps path", ":CONF:ADJ ENABLE;KILL ENABLE;*CLS;:READ:MOD:CONT?",
        "CONF:ADJ CONF:KILL *CLS READ:MOD:CONT?");
    row("lower case", ":conf:inter:mode 1;mode?", "CONF:INTER:MODE CONF:INTER:MODE?");
    row("long forms", ":VOLTAGE:BOUNDS 5;:READ:MODULE:STATUS:INTERLOCK?",
        "VOLT:BOU READ:MOD:STAT:INTERLOCK?");
    row("empty commands", ";;:READ:VOLT?;;", "READ:VOLT?");
    row("empty node", ":READ::VOLT?", "!?");
}

void tst_SimDialect::compoundPaths()
{
    QFETCH(QByteArray, line);
    QFETCH(QByteArray, expected);
    QCOMPARE(headers(splitScpiLine(line)), expected);
}

/// "values @channels", "!@" for a list the module refuses.
static QByteArray described(const Parameters &p)
{
    QByteArray text = p.values.join('|');
    if (p.hasList) {
        QList<QByteArray> channels;
        for (int c : p.channels)
            channels << QByteArray::number(c);
        text += (p.listValid ? " @" : " !@") + channels.join(',');
    }
    return text;
}

void tst_SimDialect::parameters_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("expected"); // for a four-channel module
    const auto row = [](const char *name, const char *text, const char *expected) {
        QTest::newRow(name) << QByteArray(text) << QByteArray(expected);
    };
    row("value and channel", "1000,(@2)", "1000 @2");
    row("words and range", "EMCY OFF,(@0-3)", "EMCY OFF @0,1,2,3");
    row("query list", "(@0-3)", " @0,1,2,3");
    row("entries", "(@3,0-1,1)", " @3,0,1");
    row("no list", "0.0005", "0.0005");
    row("beyond count", "(@4)", " !@");
    row("reversed range", "(@3-1)", " !@");
    row("unclosed", "1,(@1", "1 !@");
    row("empty list", "(@)", " !@");
    row("not a number", "(@x)", " !@");
}

void tst_SimDialect::parameters()
{
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, expected);
    QCOMPARE(described(parseParameters(text, 4)), expected);
}

void tst_SimDialect::badInput_data()
{
    QTest::addColumn<QString>("preset");
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<QByteArray>("error"); // first entry of the error queue
    const auto row = [](const char *name, const char *preset, const QByteArray &line,
                         const QByteArray &answer, const QByteArray &error) {
        QTest::newRow(name) << QString::fromLatin1(preset) << line << answer << error;
    };
    row("empty", "KA2F", QByteArray(), QByteArray(), "0,");
    row("only separators", "KA2F", " ; ;", QByteArray(), "0,");
    row("unknown query", "KA2F", ":FOO:BAR?", "ERROR", "-113,");
    row("unknown set", "KA2F", ":FOO:BAR 1", QByteArray(), "-113,");
    row("unknown in compound", "KA2F", ":READ:MOD:CHAN?;:NOPE?;:READ:FIRM:NAME?", "4;ERROR;KA2F8",
        "-113,");
    row("channel beyond count", "KA2F", ":READ:VOLT? (@9)", "ERROR", "-171,");
    row("parameter on a query", "KA2F", ":READ:VOLT? 5", "ERROR", "-108,");
    row("binary junk", "KA2F", QByteArray("\xff\x01\x02?", 4), "ERROR", "-113,");
    row("bad number", "KA2F", ":VOLT abc,(@0)", QByteArray(), "-224,");
    row("missing value", "KA2F", ":CURR", QByteArray(), "-109,");
    row("filament query on a plain module", "KA2F", ":CONF:FILA:EMI:P?", "ERROR", "-113,");
    row("outputs on a plain module", "KA2F", ":CONF:OUTP? (@0-2)", "ERROR", "-113,");
    row("interlock on a plain module", "KA2F", ":READ:MOD:STATUS:INTERLOCK?", "ERROR", "-113,");
    row("huge line", "KA2F", QByteArray(200000, 'A') + '?', "ERROR", "-113,");
    // Refused values: the read-back shows the old value.
    row("above nominal", "KA2F", ":VOLT 7000,(@0);:READ:VOLT? (@0)", "0.00000E0V", "-222,");
    row("negative on positive", "KA2F", ":VOLT -5,(@0);:READ:VOLT? (@0)", "0.00000E0V", "-222,");
    row("positive on negative", "TX01B0", ":VOLT 5;:READ:VOLT?", "0.00000E0V", "-222,");
    row("current above nominal", "KA2F", ":CURR 1,(@0);:READ:CURR? (@0)", "4.00000E-3A", "-222,");
    row("filter steps", "KA2F", ":CONF:AVER 17;:CONF:AVER?", "64", "-222,");
    row("interface mode", "KA2F", ":CONF:INTER:MODE 7;MODE?", "0", "-222,");
    row("ramp negative", "KA2F", ":CONF:RAMP:VOLT -1;:READ:RAMP:VOLT?", "5.000E+00%/s", "-224,");
    row("output beyond range", "TQ88812p0000", ":CONF:OUTP 5,(@1);OUTP? (@0-2)", "0,0,0", "-222,");
}

void tst_SimDialect::badInput()
{
    QFETCH(QString, preset);
    QFETCH(QByteArray, line);
    QFETCH(QByteArray, answer);
    QFETCH(QByteArray, error);
    const auto module = SimModule::fromPreset(preset);
    QCOMPARE(module->handleLine(line), answer.isEmpty() ? answer : answer + "\r\n");
    QCOMPARE(bool(module->status() & modulebit::InputError), error != "0,");
    // The module keeps working and says what went wrong.
    const QByteArray after = module->handleLine(":SYS:ERR?;*OPC?");
    QVERIFY2(after.startsWith(error) && after.endsWith(";1\r\n"), after.constData());
}

void tst_SimDialect::errorQueueAndClear()
{
    const auto module = SimModule::fromPreset(QStringLiteral("KA2F"));
    module->handleLine(":NOPE 1");
    QVERIFY(module->eventStatus() & (1u << 6));
    QCOMPARE(module->handleLine(":SYS:ERR?"), QByteArray("-113,\"Undefined header\"\r\n"));
    QCOMPARE(module->handleLine(":SYST:ERR?"), QByteArray("0,\"No error\"\r\n"));
    module->handleLine("*CLS");
    QVERIFY(!(module->status() & modulebit::InputError));
    QCOMPARE(module->eventStatus(), quint16(0));
}

QTEST_GUILESS_MAIN(tst_SimDialect)
#include "tst_simdialect.moc"
