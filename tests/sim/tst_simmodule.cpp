#include "dialect/answerformat.h"
#include "dialect/channellist.h"
#include "model/controlcommand.h"
#include "model/presets.h"
#include "model/simmodule.h"

#include <QRegularExpression>
#include <QtTest>

using namespace vornsim;

static const QString Volt = QStringLiteral("-?\\d\\.\\d{5}E-?\\d+V");

static std::unique_ptr<SimModule> quiet(const char *preset)
{
    auto m = SimModule::fromPreset(QString::fromLatin1(preset));
    m->setNoise(false);
    return m;
}

/// The answer to \a line without its CR LF; empty for a line without answer.
static QByteArray ask(SimModule &m, const QByteArray &line)
{
    const QByteArray answer = m.handleLine(line);
    return answer.endsWith("\r\n") ? answer.chopped(2) : answer;
}

static bool matches(const QString &pattern, const QByteArray &text)
{
    return QRegularExpression(QRegularExpression::anchoredPattern(pattern))
        .match(QString::fromLatin1(text))
        .hasMatch();
}

// The simulated module without a front end: the dialect, the form of every answer, the model.
class tst_SimModule : public QObject
{
    Q_OBJECT

private slots:
    void parameters_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("expected"); // "values @channels" of four, "!@" when refused
        const char *rows[][2] = { { "1000,(@2)", "1000 @2" },
            { "EMCY OFF,(@0-3)", "EMCY OFF @0,1,2,3" }, { "(@0-3)", " @0,1,2,3" },
            { "(@3,0-1,1)", " @3,0,1" }, { "0.0005", "0.0005" }, { "(@4)", " !@" },
            { "(@3-1)", " !@" }, { "1,(@1", "1 !@" }, { "(@)", " !@" }, { "(@x)", " !@" } };
        for (const auto &row : rows)
            QTest::newRow(row[0]) << QByteArray(row[0]) << QByteArray(row[1]);
    }

    void parameters()
    {
        QFETCH(QByteArray, text);
        const Parameters p = parseParameters(text, 4);
        QByteArray described = p.values.join('|');
        if (p.hasList) {
            QList<QByteArray> channels;
            for (int c : p.channels)
                channels << QByteArray::number(c);
            described += (p.listValid ? " @" : " !@") + channels.join(',');
        }
        QTEST(described, "expected");
    }

    // Every query the panel sends, per module family: one line with the unit letters and field
    // counts the panel strips and splits.
    void everyQuery_data()
    {
        QTest::addColumn<QString>("preset");
        QTest::addColumn<QByteArray>("query");
        QTest::addColumn<QString>("pattern"); // of the whole answer line
        const QString amp = QStringLiteral("-?\\d\\.\\d{5}E-?\\d+A"), word = QStringLiteral("\\d+");
        for (const QString &name : presetNames()) {
            const Identity id = presetByName(name)->identity;
            const int n = id.channels;
            const QByteArray list = n == 1 && !id.firmwareName.startsWith(QLatin1String("DRS"))
                ? QByteArray()
                : " (@0-" + QByteArray::number(n - 1) + ')';
            const auto row = [&](const char *query, const QString &pattern, bool perChannel) {
                QTest::addRow("%s %s", qPrintable(name), query)
                    << name << QByteArray(query) + (perChannel ? list : QByteArray())
                    << (perChannel
                               ? QStringLiteral("%1(,%1){%2}").arg(pattern, QString::number(n - 1))
                               : pattern);
            };
            for (const char *q :
                { ":READ:VOLT?", ":READ:VOLT:BOU?", ":READ:VOLT:NOM?", ":MEAS:VOLT?" })
                row(q, Volt, true);
            for (const char *q :
                { ":READ:CURR?", ":READ:CURR:BOU?", ":READ:CURR:NOM?", ":MEAS:CURR?" })
                row(q, amp, true);
            for (const char *q : { ":READ:CHAN:STAT?", ":READ:CHAN:EV:STAT?", ":READ:CHAN:EV:MASK?",
                     ":READ:CHAN:CONT?" })
                row(q, word, true);
            for (const char *q : { ":SYS:USER:EPU?", ":SYS:USER:READ:EPU?" })
                row(q, QStringLiteral("(YES|NO)"), true);
            const bool percent = name == QLatin1String("KA2F") || name == QLatin1String("DRSB")
                || name == QLatin1String("TX02B0");
            const QString ramp = QStringLiteral("\\d\\.\\d{3}E[+-]\\d\\d");
            row(":READ:RAMP:VOLT?;CURR?",
                percent ? QStringLiteral("%1%/s;%1%/s").arg(ramp)
                        : QStringLiteral("%1V/s;%1A/s").arg(ramp),
                false);
            row(":READ:MOD:CONT?;STAT?;EV:STAT?;MASK?", QStringLiteral("\\d+(;\\d+){3}"), false);
            row(":READ:MOD:TEMP?;SUP:P24V?;P5V?;P12V?;N12V?",
                QStringLiteral("-?\\d+\\.\\dC(;%1){4}").arg(Volt), false);
            row(":READ:FIRM:NAME?;REL?", id.firmwareName + ';' + id.firmwareRelease, false);
            row(":CONF:AVER?;:CONF:INTER:MODE?", QStringLiteral("\\d+;\\d+"), false);
        }
        const QString filament = QStringLiteral("TQ88812p0000");
        QTest::newRow("outputs") << filament << QByteArray(":CONF:OUTP? (@0-2)")
                                 << "\\d+,\\d+,\\d+";
        QTest::newRow("interlock") << filament << QByteArray(":READ:MOD:STATUS:INTERLOCK?") << word;
        QTest::newRow("emission") << filament
                                  << QByteArray(":CONF:FILA:EMI:P?;I?;D?;:CONF:FILA:CURR:MIN?;MAX?")
                                  << QStringLiteral("(-?\\d\\.\\d{5}E-?\\d+;){3}%1;%1").arg(amp);
    }

    void everyQuery()
    {
        QFETCH(QString, preset);
        QFETCH(QByteArray, query);
        QFETCH(QString, pattern);
        const QByteArray answer = SimModule::fromPreset(preset)->handleLine(query);
        QVERIFY2(
            answer.endsWith("\r\n") && matches(pattern, answer.chopped(2)), answer.constData());
    }

    void setAndReadBack_data()
    {
        QTest::addColumn<QString>("preset");
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QByteArray>("answer");
        const auto row = [](const char *preset, const char *line, const char *answer) {
            QTest::newRow(line) << QString::fromLatin1(preset) << QByteArray(line)
                                << QByteArray(answer);
        };
        // The engine's own set lines, as its tests show them, and other forms a host may send.
        row("KA2F", ":VOLT 1000,(@2);:READ:VOLT? (@0-3)",
            "0.00000E0V,0.00000E0V,1.00000E3V,0.00000E0V");
        row("KA2F", ":CONF:RAMP:VOLT 2.5;:READ:RAMP:VOLT?;CURR?", "2.500E+00%/s;5.000E+00%/s");
        row("KA2F", ":CONF:AVER 16;:CONF:AVER?", "16");
        row("KA2F", ":SYS:USER:CONFIG SAVE;*OPC?", "1");
        row("KA2F", ":VOLT 1.5E3V,(@0);:READ:VOLT? (@0)", "1.50000E3V");
        row("KA2F", ":VOLT 5;:READ:VOLT?", "5.00000E0V,5.00000E0V,5.00000E0V,5.00000E0V");
        row("KA2F", ":VOLT:BOU 10,(@0);:READ:VOLT:BOU? (@0)", "1.00000E1V");
        row("DRSB", ":CURR:BOU 1e-5,(@0);:READ:CURR:BOU? (@0-0)", "1.00000E-5A");
        row("TX01B1", ":CONF:RAMP:CURR 2e-5;:READ:RAMP:VOLT?;CURR?", "3.000E+01V/s;2.000E-05A/s");
        row("TX01B1", ":conf:inter:mode 1;mode?", "1"); // a path stays for the next command
        row("KA2F", ":VOLTAGE:BOUNDS 5,(@1);:READ:VOLTAGE:BOUNDS? (@1)", "5.00000E0V");
        row("KA2F", ":CONF:ADJ ENABLE;KILL ENABLE;*CLS;:READ:MOD:CONT?", "20480");
        row("KA2F", ":CONF:ADJ ENABLE;ADJ DISABLE;KILL DISABLE;:READ:MOD:CONT?", "0");
        row("TX01B0", ":VOLT -1000;:READ:VOLT? (@0)", "-1.00000E3V");
        row("DRSB", ":VOLT -1000,(@0);:READ:VOLT? (@0-0)", "-1.00000E3V");
        // Outputs are addressed like channels; the digital one takes 0 to 7, the others 0 to 3.
        row("TQ88812p0000", ":CONF:OUTP 2,(@1);OUTP 5,(@2);OUTP? (@0-2)", "0,2,5");
        row("TQ88812p0000",
            ":CONF:FILA:EMI:P 0.5;I 0.25;D 0;P?;I?;D?;:CONF:FILA:CURR:MIN 0.1;MAX 2;MIN?;MAX?",
            "5.00000E-1;2.50000E-1;0.00000E0;1.00000E-1A;2.00000E0A");
        // Limits: in percent for the percent-based families, in units for the others.
        const char *limits = ":READ:VOLT:LIM?;:READ:CURR:LIM?";
        QTest::newRow("KA2F limits")
            << "KA2F" << QByteArray(limits) << QByteArray("100.000%;100.000%");
        QTest::newRow("DRSB limits")
            << "DRSB" << QByteArray(limits) << QByteArray("100.000%;100.000%");
        QTest::newRow("GLW802 limits")
            << "GLW802" << QByteArray(limits) << QByteArray("5.00000E2V;1.00000E-2A");
        QTest::newRow("TX01B0 limits")
            << "TX01B0" << QByteArray(limits) << QByteArray("3.00000E3V;5.00000E-3A");
    }

    void setAndReadBack()
    {
        QFETCH(QString, preset);
        QFETCH(QByteArray, line);
        QTEST(ask(*SimModule::fromPreset(preset), line), "answer");
    }

    void badInput_data()
    {
        QTest::addColumn<QString>("preset");
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<QByteArray>("error"); // first entry of the error queue
        const auto row = [](const char *name, const char *preset, const QByteArray &line,
                             const QByteArray &answer, const char *error) {
            QTest::newRow(name) << QString::fromLatin1(preset) << line << answer
                                << QByteArray(error);
        };
        row("empty", "KA2F", QByteArray(), QByteArray(), "0,");
        row("only separators", "KA2F", " ; ;", QByteArray(), "0,");
        row("empty commands", "KA2F", ";;:READ:MOD:CHAN?;;", "4", "0,");
        row("empty node", "KA2F", ":READ::VOLT?", "ERROR", "-113,");
        row("unknown query", "KA2F", ":FOO:BAR?", "ERROR", "-113,");
        row("unknown set", "KA2F", ":FOO:BAR 1", QByteArray(), "-113,\"Undefined header\"");
        row("unknown in compound", "KA2F", ":READ:MOD:CHAN?;:NOPE?;:READ:FIRM:NAME?",
            "4;ERROR;KA2F8", "-113,");
        row("channel beyond count", "KA2F", ":READ:VOLT? (@9)", "ERROR", "-171,");
        row("parameter on a query", "KA2F", ":READ:VOLT? 5", "ERROR", "-108,");
        row("binary junk", "KA2F", QByteArray("\xff\x01\x02?", 4), "ERROR", "-113,");
        row("bad number", "KA2F", ":VOLT abc,(@0)", QByteArray(), "-224,");
        row("missing value", "KA2F", ":CURR", QByteArray(), "-109,");
        row("filament query on a plain module", "KA2F", ":CONF:FILA:EMI:P?", "ERROR", "-113,");
        row("huge line", "KA2F", QByteArray(200000, 'A') + '?', "ERROR", "-113,");
        // Refused values: the read-back shows the old value.
        row("above nominal", "KA2F", ":VOLT 7000,(@0);:READ:VOLT? (@0)", "0.00000E0V", "-222,");
        row("negative on positive", "KA2F", ":VOLT -5,(@0);:READ:VOLT? (@0)", "0.00000E0V",
            "-222,");
        row("positive on negative", "TX01B0", ":VOLT 5;:READ:VOLT?", "0.00000E0V", "-222,");
        row("current above nominal", "KA2F", ":CURR 1,(@0);:READ:CURR? (@0)", "4.00000E-3A",
            "-222,");
        row("filter steps", "KA2F", ":CONF:AVER 17;:CONF:AVER?", "64", "-222,");
        row("interface mode", "KA2F", ":CONF:INTER:MODE 7;MODE?", "0", "-222,");
        row("ramp negative", "KA2F", ":CONF:RAMP:VOLT -1;:READ:RAMP:VOLT?", "5.000E+00%/s",
            "-224,");
        row("ramp beyond range", "KA2F", ":CONF:RAMP:VOLT 3e306;:READ:RAMP:VOLT?", "5.000E+00%/s",
            "-222,");
        row("ramp beyond nominal", "GLW802", ":CONF:RAMP:VOLT 1e300;:READ:RAMP:VOLT?",
            "5.000E+00V/s", "-222,");
        row("ramp not a number", "DRSB", ":CONF:RAMP:CURR nan;:READ:RAMP:CURR?", "5.000E+00%/s",
            "-224,");
        row("infinite value", "KA2F", ":VOLT inf,(@0);:READ:VOLT? (@0)", "0.00000E0V", "-224,");
        row("output beyond range", "TQ88812p0000", ":CONF:OUTP 5,(@1);OUTP? (@0-2)", "0,0,0",
            "-222,");
    }

    void badInput()
    {
        QFETCH(QString, preset);
        QFETCH(QByteArray, line);
        QFETCH(QByteArray, answer);
        QFETCH(QByteArray, error);
        const auto module = SimModule::fromPreset(preset);
        QCOMPARE(module->handleLine(line), answer.isEmpty() ? answer : answer + "\r\n");
        QCOMPARE(bool(module->status() & modulebit::InputError), error != "0,");
        QCOMPARE(bool(module->eventStatus() & (1u << 6)), error != "0,");
        // The module keeps working and says what went wrong, once; *CLS clears the error state.
        const QByteArray after = module->handleLine(":SYS:ERR?;*OPC?");
        QVERIFY2(after.startsWith(error) && after.endsWith(";1\r\n"), after.constData());
        QCOMPARE(module->handleLine(":SYST:ERR?;*CLS"), QByteArray("0,\"No error\"\r\n"));
        QCOMPARE(module->status() & modulebit::InputError, 0);
        QCOMPARE(module->eventStatus(), quint16(0));
    }

    void formatterAlwaysWritesANumber_data()
    {
        QTest::addColumn<double>("value");
        QTest::newRow("nan") << qQNaN();
        QTest::newRow("inf") << qInf();
        QTest::newRow("-inf") << -qInf();
        QTest::newRow("largest") << 1.7976931348623157e308;
    }

    void formatterAlwaysWritesANumber()
    {
        QFETCH(double, value);
        for (const QByteArray &text :
            { answerformat::measurement(value, "V"), answerformat::ramp(value, "%/s") })
            QVERIFY2(
                matches(QStringLiteral("-?\\d\\.\\d+E[-+]?\\d+(V|%/s)"), text), text.constData());
    }

    // A refused ramp must not spoil the output: measuring goes on with numbers, after OFF too.
    void absurdRampKeepsMeasuring()
    {
        const auto module = SimModule::fromPreset(QStringLiteral("KA2F"));
        module->handleLine(":VOLT 1000,(@0);:VOLT ON,(@0);:CONF:RAMP:VOLT 3e306");
        module->advance(500);
        module->handleLine(":VOLT OFF,(@0)");
        module->advance(500);
        const QByteArray answer = ask(*module, ":MEAS:VOLT? (@0)");
        QVERIFY2(matches(Volt, answer), answer.constData());
    }

    void ramps()
    {
        using namespace channelbit;
        const auto bits = [](SimModule &m, quint16 mask) { return m.channel(0).status & mask; };
        // KA2F: 5 %/s of 6000 V is 300 V/s.
        auto m = quiet("KA2F");
        ask(*m, ":VOLT 600,(@0);:VOLT ON,(@0)");
        QCOMPARE(bits(*m, On | Ramp | ConstantVoltage), On | Ramp);
        QVERIFY(!(m->status() & modulebit::NoRamp));
        m->advance(1000);
        QCOMPARE(ask(*m, ":MEAS:VOLT? (@0)"), QByteArray("3.00000E2V"));
        QCOMPARE(m->channel(0).eventStatus & Ramp, 0);
        m->advance(1000);
        QCOMPARE(ask(*m, ":MEAS:VOLT? (@0)"), QByteArray("6.00000E2V"));
        QCOMPARE(bits(*m, On | Ramp | ConstantVoltage), On | ConstantVoltage);
        QCOMPARE(m->status() & (modulebit::NoRamp | modulebit::HvOn),
            modulebit::NoRamp | modulebit::HvOn);
        // End of ramp and constant voltage latched.
        QCOMPARE(ask(*m, ":READ:CHAN:EV:STAT? (@0)").toInt(), int(Ramp | ConstantVoltage));
        ask(*m, ":EVENT CLEAR,(@0);:VOLT OFF,(@0)");
        m->advance(1000);
        QCOMPARE(m->voltageMeasure(0), 300.0);
        m->advance(5000);
        QCOMPARE(m->voltageMeasure(0), 0.0);
        QCOMPARE(m->channel(0).eventStatus & (On | Ramp), On | Ramp); // on-to-off, end of ramp
        QVERIFY(!(m->status() & modulebit::HvOn));
        QCOMPARE(
            ask(*m, ":READ:CHAN:EV:STAT? (@1-3)"), QByteArray("0,0,0")); // the others never moved
        // An absolute-ramp family ramps in V/s.
        m = quiet("TX01B1");
        ask(*m, ":CONF:RAMP:VOLT 100;:VOLT 1000;:VOLT ON");
        m->advance(2500);
        QCOMPARE(m->voltageMeasure(0), 250.0);
    }

    void channelControlBits()
    {
        using namespace channelbit;
        auto m = quiet("KA2F");
        QCOMPARE(ask(*m, ":VOLT ON,(@1);:VOLT EMCY OFF,(@1);:READ:CHAN:CONT? (@0-3)"),
            QByteArray("0,40,0,0"));
        QCOMPARE(m->channel(1).status & (Emergency | On), Emergency);
        QVERIFY(m->channel(1).eventStatus & Emergency);
        QCOMPARE(ask(*m, ":VOLT OFF,(@1);:VOLT EMCY CLR,(@1);:READ:CHAN:CONT? (@0-3)"),
            QByteArray("0,0,0,0"));
    }

    void loadAndRegulation()
    {
        using namespace channelbit;
        auto m = quiet("KA2F");
        ask(*m, ":VOLT 1000,(@0);:CURR 0.002,(@0);:VOLT ON,(@0)");
        m->advance(10000);
        m->setLoadCurrent(0, 0.001);
        QCOMPARE(ask(*m, ":MEAS:CURR? (@0)"), QByteArray("1.00000E-3A"));
        QVERIFY(m->channel(0).status & ConstantVoltage);
        // More load than the current set: constant-current regulation, the voltage falls.
        m->setLoadCurrent(0, 0.004);
        QCOMPARE(m->channel(0).status & (ConstantCurrent | ConstantVoltage), ConstantCurrent);
        QCOMPARE(
            ask(*m, ":MEAS:CURR? (@0);:MEAS:VOLT? (@0)"), QByteArray("2.00000E-3A;5.00000E2V"));
        QVERIFY(m->channel(0).eventStatus & ConstantCurrent);
        // With kill enabled the same load trips the channel.
        ask(*m, ":CONF:KILL ENABLE");
        m->advance(10);
        QVERIFY(m->channel(0).status & Trip);
        QCOMPARE(m->voltageMeasure(0), 0.0);
        QVERIFY(!(m->status() & modulebit::NoSumError));
    }

    // A resistive load with leakage at 1000 V on KA2F (6000 V, 4 mA): the current follows the
    // voltage; beyond the set current (or the current limit) the channel regulates or trips.
    void loadRegulation_data()
    {
        using namespace channelbit;
        QTest::addColumn<double>("ohms");
        QTest::addColumn<double>("leakage"); // A per V
        QTest::addColumn<double>("currentSet");
        QTest::addColumn<bool>("kill");
        QTest::addColumn<double>("limit"); // percent, voltage and current
        QTest::addColumn<double>("bounds"); // volts; the current bounds are bounds / 1e7 A
        QTest::addColumn<QByteArray>("measured");
        QTest::addColumn<int>("status"); // of the bits below
        QTest::addColumn<int>("events");
        const auto row
            = [](const char *name, double ohms, double leakage, double currentSet, bool kill,
                  double limit, double bounds, const char *measured, int status, int events) {
                  QTest::newRow(name) << ohms << leakage << currentSet << kill << limit << bounds
                                      << QByteArray(measured) << status << events;
              };
        row("no load", 0, 0, 4e-3, false, 100, 0, "1.00000E3V;0.00000E0A", On | ConstantVoltage,
            ConstantVoltage);
        row("resistor", 1e6, 0, 4e-3, false, 100, 0, "1.00000E3V;1.00000E-3A", On | ConstantVoltage,
            ConstantVoltage);
        row("detector leakage", 1e9, 1e-9, 4e-3, true, 100, 0, "1.00000E3V;2.00000E-6A",
            On | ConstantVoltage, ConstantVoltage);
        row("constant current", 1e6, 0, 5e-4, false, 100, 0, "5.00000E2V;5.00000E-4A",
            On | ConstantCurrent, ConstantCurrent);
        row("trip with kill enabled", 1e6, 0, 5e-4, true, 100, 0, "0.00000E0V;0.00000E0A", Trip,
            On | Trip);
        row("bounds", 1e6, 0, 5e-4, false, 100, 100, "5.00000E2V;5.00000E-4A",
            On | ConstantCurrent | VoltageBounds | CurrentBounds,
            ConstantCurrent | VoltageBounds | CurrentBounds);
        row("within bounds", 1e6, 0, 5e-4, false, 100, 6000, "5.00000E2V;5.00000E-4A",
            On | ConstantCurrent, ConstantCurrent);
        // 10 %: 600 V and 0.4 mA. The output stops at the voltage limit; a load that wants more
        // than the current limit gets the limit.
        row("limits", 1e6, 0, 4e-3, false, 10, 0, "4.00000E2V;4.00000E-4A",
            On | ConstantCurrent | CurrentLimit | VoltageLimit,
            ConstantCurrent | CurrentLimit | VoltageLimit);
        row("limits with a small load", 1e7, 0, 4e-4, false, 10, 0, "6.00000E2V;6.00000E-5A",
            On | ConstantVoltage | VoltageLimit, ConstantVoltage | VoltageLimit);
    }

    void loadRegulation()
    {
        using namespace channelbit;
        QFETCH(double, ohms);
        QFETCH(double, leakage);
        QFETCH(double, currentSet);
        QFETCH(bool, kill);
        QFETCH(double, limit);
        QFETCH(double, bounds);
        auto m = quiet("KA2F");
        m->setLoad(0, ohms, leakage);
        ask(*m,
            QByteArray(kill ? ":CONF:KILL ENABLE" : ":CONF:KILL DISABLE")
                + ";:CONF:RAMP:VOLT 100;:VOLT 1000,(@0);:VOLT:BOU " + QByteArray::number(bounds)
                + ",(@0);:CURR:BOU " + QByteArray::number(bounds / 1e7) + ",(@0);:CURR "
                + QByteArray::number(currentSet) + ",(@0);:VOLT ON,(@0)");
        m->setLimits(limit, limit);
        m->advance(1000);
        QTEST(ask(*m, ":MEAS:VOLT? (@0);:MEAS:CURR? (@0)"), "measured");
        const quint16 bits = On | ConstantCurrent | ConstantVoltage | Trip | CurrentLimit
            | VoltageLimit | VoltageBounds | CurrentBounds;
        QTEST(int(m->channel(0).status & bits), "status");
        QTEST(int(m->channel(0).eventStatus & bits), "events");
        QCOMPARE(bool(m->status() & modulebit::NoSumError), !(m->channel(0).status & Trip));
    }

    // Conditions provoked through the control port's commands, on four channels at 100 V: what
    // the channels and the module say, what *CLS clears and what switching on again brings.
    void conditions_data()
    {
        using namespace modulebit;
        QTest::addColumn<QByteArray>("command");
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<QByteArray>("status"); // channel status words
        QTest::addColumn<QByteArray>("events"); // channel event words
        QTest::addColumn<int>("lost"); // module status bits that fell
        QTest::addColumn<int>("moduleEvents");
        QTest::addColumn<QByteArray>("onAgain"); // channel status words after ":VOLT ON"
        const auto row = [](const char *name, const QByteArray &command, const char *status,
                             const char *events, int lost, int moduleEvents, const char *onAgain) {
            QTest::newRow(name) << command << QByteArray("ok") << QByteArray(status)
                                << QByteArray(events) << lost << moduleEvents
                                << QByteArray(onAgain);
        };
        // On at 100 V: positive, on, constant voltage (137); end of ramp and constant voltage
        // latched (144); switched off adds on-to-off (8).
        const char *on = "137,137,137,137", *latched = "144,144,144,144";
        row("safety loop", "interlock open", "1,1,1,1", "152,152,152,152",
            HvOn | SafetyLoopGood | ModuleGood, 1 << 10, "1,1,1,1");
        row("inhibit", "inhibit 1 on", "137,4097,137,137", "144,4248,144,144", 0, 0,
            "137,4097,137,137");
        row("trip", "trip 2", "137,137,8193,137", "144,144,8344,144", NoSumError | ModuleGood, 0,
            on);
        row("arc", "arc 3", "137,137,137,139", "144,144,144,146", 0, 0, on);
        row("temperature", "temperature 70", on, latched, TemperatureGood | ModuleGood, 1 << 14,
            on);
        row("supply", "SUPPLY n12 -9.5", on, latched, SupplyGood | ModuleGood, 1 << 13, on);
        row("load everywhere", "load all 1e6 0", on, latched, 0, 0, on);
        // Bad commands change nothing and say why.
        const auto refused = [&](const char *name, const QByteArray &command, const char *answer) {
            QTest::newRow(name) << command << QByteArray(answer) << QByteArray(on)
                                << QByteArray(latched) << 0 << 0 << QByteArray(on);
        };
        refused("unknown", "frobnicate 1", "error: unknown");
        refused("empty", "", "error: empty");
        refused("no such channel", "trip 4", "error: no channel");
        refused("bad state", "inhibit 1 maybe", "error: say");
        refused("short circuit", "load 0 0", "error: the load");
        refused("too few words", "supply p5", "error: usage");
        refused("binary junk", QByteArray("\xff\x01 all", 6), "error: unknown");
    }

    void conditions()
    {
        QFETCH(QByteArray, command);
        QFETCH(QByteArray, answer);
        QFETCH(int, lost);
        auto m = quiet("KA2F");
        ask(*m, ":VOLT 100;:VOLT ON");
        m->advance(1000);
        const quint16 healthy = m->status();
        const QByteArray said = runControlCommand(*m, command);
        QVERIFY2(said.startsWith(answer), said.constData());
        QTEST(ask(*m, ":READ:CHAN:STAT? (@0-3)"), "status");
        QTEST(ask(*m, ":READ:CHAN:EV:STAT? (@0-3)"), "events");
        QCOMPARE(int(healthy & ~m->status() & ~modulebit::EventActive), lost);
        QTEST(int(m->eventStatus()), "moduleEvents");
        // *CLS clears every event; the conditions stay.
        QCOMPARE(
            ask(*m, "*CLS;:READ:CHAN:EV:STAT? (@0-3);:READ:MOD:EV:STAT?"), QByteArray("0,0,0,0;0"));
        QCOMPARE(int(healthy & ~m->status() & ~modulebit::EventActive), lost);
        ask(*m, ":VOLT ON");
        m->advance(1000);
        QTEST(ask(*m, ":READ:CHAN:STAT? (@0-3)"), "onAgain");
    }

    void arcError()
    {
        using namespace channelbit;
        auto m = quiet("KA2F");
        QVERIFY(!m->arc(0)); // no voltage, no arc
        ask(*m, ":VOLT 100,(@0);:VOLT ON,(@0);:CONF:CHAN:EV:MASK 512,(@0)");
        m->advance(1000);
        QVERIFY(m->arc(0));
        m->advance(SimModule::arcShownMs);
        QCOMPARE(m->channel(0).status & Arc, 0);
        QVERIFY(m->channel(0).eventStatus & Arc);
        // Arcs in a row switch the channel off; the masked arc error makes an event active.
        for (int i = 0; i < SimModule::arcsForError; ++i) {
            QCOMPARE(m->channel(0).status & ArcError, 0);
            m->advance(SimModule::arcRowMs - 1);
            QVERIFY(m->arc(0));
        }
        QCOMPARE(m->channel(0).status & (Arc | ArcError | On), Arc | ArcError);
        QCOMPARE(m->channel(0).eventStatus & (ArcError | On), ArcError | On);
        QCOMPARE(
            m->status() & (modulebit::NoSumError | modulebit::EventActive), modulebit::EventActive);
        QVERIFY(!m->arc(0));
        ask(*m, ":EVENT CLEAR,(@0)");
        QCOMPARE(m->channel(0).eventStatus, quint16(0));
        QVERIFY(m->channel(0).status & ArcError); // until switched on again
        ask(*m, ":VOLT ON,(@0)");
        QCOMPARE(m->channel(0).status & ArcError, 0);
    }

    // Random arcs fall at the same model times however the clock steps.
    void randomArcsAreReproducible()
    {
        std::unique_ptr<SimModule> modules[] = { quiet("KA2F"), quiet("KA2F") };
        for (auto &m : modules) {
            ask(*m, ":VOLT 100,(@1);:VOLT ON,(@1)");
            m->advance(1000);
            m->setArcRate(1, 60.0);
        }
        modules[0]->advance(60000);
        for (int i = 0; i < 600; ++i)
            modules[1]->advance(100);
        QVERIFY(modules[0]->channel(1).status & channelbit::ArcError);
        QCOMPARE(modules[1]->channel(1).lastArcAt, modules[0]->channel(1).lastArcAt);
        QCOMPARE(modules[1]->channel(1).status, modules[0]->channel(1).status);
        QCOMPARE(modules[0]->channel(0).eventStatus & channelbit::Arc, 0);
    }

    void stoppedModuleDropsLines()
    {
        auto m = quiet("KA2F");
        QCOMPARE(runControlCommand(*m, "stop"), QByteArray("ok"));
        QCOMPARE(m->handleLine(":VOLT 5;:READ:VOLT? (@0)"), QByteArray());
        QCOMPARE(runControlCommand(*m, " RESUME "), QByteArray("ok"));
        QCOMPARE(ask(*m, ":READ:VOLT? (@0)"), QByteArray("0.00000E0V"));
    }

    void tripLatchesUntilCleared()
    {
        auto m = quiet("KA2F");
        ask(*m, ":VOLT 100,(@2);:VOLT ON,(@2)");
        m->trip(2);
        QCOMPARE(
            ask(*m, ":READ:CHAN:EV:STAT? (@2)").toInt() & channelbit::Trip, int(channelbit::Trip));
        QCOMPARE(ask(*m, ":READ:CHAN:CONT? (@2)"), QByteArray("0"));
        ask(*m, ":EVENT CLEAR,(@2)");
        QCOMPARE(ask(*m, ":READ:CHAN:EV:STAT? (@2)"), QByteArray("0"));
        // The status keeps the trip until the channel is switched on again.
        QVERIFY(m->channel(2).status & channelbit::Trip);
        ask(*m, ":VOLT ON,(@2)");
        QVERIFY(!(m->channel(2).status & channelbit::Trip));
    }

    void eventMasksDriveEventActive()
    {
        using namespace modulebit;
        auto m = quiet("KA2F");
        m->raiseChannelEvent(3, channelbit::Arc);
        QVERIFY(!(m->status() & EventActive));
        ask(*m, ":CONF:CHAN:EV:MASK 2,(@3)");
        QVERIFY(m->status() & EventActive);
        ask(*m, "*CLS");
        QCOMPARE(m->channel(3).eventStatus, quint16(0));
        QVERIFY(!(m->status() & EventActive));
        // Module events latch on falling "good" bits and count once the module mask has them.
        QCOMPARE(m->status() & (TemperatureGood | ModuleGood), TemperatureGood | ModuleGood);
        m->setTemperature(70.0);
        QCOMPARE(m->status() & (TemperatureGood | ModuleGood | EventActive), 0);
        QCOMPARE(ask(*m, ":READ:MOD:EV:STAT?").toInt(), 1 << 14);
        ask(*m, ":CONF:EV:MASK 16384");
        QVERIFY(m->status() & EventActive);
        m->setTemperature(31.96);
        QCOMPARE(ask(*m, ":READ:MOD:TEMP?"), QByteArray("32.0C"));
        ask(*m, ":CONF:EV CLEAR");
        QCOMPARE(m->eventStatus(), quint16(0));
        m->setSupply(SimModule::P24, 18.0);
        QCOMPARE(m->eventStatus(), quint16(1u << 13));
    }

    void noiseStaysSmall()
    {
        auto m = SimModule::fromPreset(QStringLiteral("KA2F"));
        ask(*m, ":VOLT 1000,(@0);:VOLT ON,(@0)");
        for (int i = 0; i < 20; ++i) {
            m->advance(i == 0 ? 10000 : 500);
            QVERIFY(qAbs(ask(*m, ":MEAS:VOLT? (@0)").chopped(1).toDouble() - 1000.0) < 1.0);
        }
        const double t = ask(*m, ":READ:MOD:TEMP?").chopped(1).toDouble();
        QVERIFY(t > 30.0 && t < 34.0);
    }
};

QTEST_GUILESS_MAIN(tst_SimModule)
#include "tst_simmodule.moc"
