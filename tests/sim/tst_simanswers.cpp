#include "answerformat.h"
#include "presets.h"
#include "simmodule.h"

#include <QRegularExpression>
#include <QtTest>

using namespace vornsim;

// Every query the panel sends, per module family: the answer must be one well-formed line with
// the unit letters and field counts the panel strips and splits.
class tst_SimAnswers : public QObject
{
    Q_OBJECT

private slots:
    void formats_data();
    void formats();
    void everyQuery_data();
    void everyQuery();
    void identityExample();
    void limitsByFamily_data();
    void limitsByFamily();
    void setReadBackExample();
};

void tst_SimAnswers::formats_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("volts") << answerformat::measurement(1000, "V") << QByteArray("1.00000E3V");
    QTest::newRow("amperes") << answerformat::measurement(0.00025, "A")
                             << QByteArray("2.50000E-4A");
    QTest::newRow("zero") << answerformat::measurement(0, "V") << QByteArray("0.00000E0V");
    QTest::newRow("negative") << answerformat::measurement(-3000, "V") << QByteArray("-3.00000E3V");
    QTest::newRow("ramp V/s") << answerformat::ramp(20, "V/s") << QByteArray("2.000E+01V/s");
    QTest::newRow("ramp A/s") << answerformat::ramp(0.0001, "A/s") << QByteArray("1.000E-04A/s");
    QTest::newRow("ramp %/s") << answerformat::ramp(5, "%/s") << QByteArray("5.000E+00%/s");
    QTest::newRow("percent") << answerformat::percent(50) << QByteArray("50.000%");
    QTest::newRow("temperature") << answerformat::temperature(31.96) << QByteArray("32.0C");
}

void tst_SimAnswers::formats()
{
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, expected);
    QCOMPARE(text, expected);
}

void tst_SimAnswers::everyQuery_data()
{
    QTest::addColumn<QString>("preset");
    QTest::addColumn<QByteArray>("query");
    QTest::addColumn<QString>("pattern"); // for one field; %1 = channel count etc.
    QTest::addColumn<QString>("separator");
    QTest::addColumn<int>("fields");

    const QString volt = QStringLiteral("-?\\d\\.\\d{5}E-?\\d+V");
    const QString amp = QStringLiteral("-?\\d\\.\\d{5}E-?\\d+A");
    const QString word = QStringLiteral("\\d+");
    for (const QString &name : presetNames()) {
        const Preset p = *presetByName(name);
        const int n = p.identity.channels;
        const bool drs = p.identity.firmwareName.startsWith(QLatin1String("DRS"));
        const QByteArray list
            = (n == 1 && !drs) ? QByteArray() : " (@0-" + QByteArray::number(n - 1) + ')';
        const auto row = [&](const char *query, const QString &pattern, int fields,
                             const char *separator = ",") {
            QTest::addRow("%s %s", qPrintable(name), query)
                << name << QByteArray(query) + (QByteArray(query).endsWith('?') ? list : "")
                << pattern << QString::fromLatin1(separator) << fields;
        };
        row(":READ:VOLT?", volt, n);
        row(":READ:VOLT:BOU?", volt, n);
        row(":READ:VOLT:NOM?", volt, n);
        row(":MEAS:VOLT?", volt, n);
        row(":READ:CURR?", amp, n);
        row(":READ:CURR:BOU?", amp, n);
        row(":READ:CURR:NOM?", amp, n);
        row(":MEAS:CURR?", amp, n);
        row(":READ:CHAN:STAT?", word, n);
        row(":READ:CHAN:EV:STAT?", word, n);
        row(":READ:CHAN:EV:MASK?", word, n);
        row(":READ:CHAN:CONT?", word, n);
        row(":SYS:USER:EPU?", QStringLiteral("YES|NO"), n);
        row(":SYS:USER:READ:EPU?", QStringLiteral("YES|NO"), n);
        const bool percent = name == QLatin1String("KA2F") || name == QLatin1String("DRSB")
            || name == QLatin1String("TX02B0");
        const QString rampV = percent ? QStringLiteral("\\d\\.\\d{3}E[+-]\\d\\d%/s")
                                      : QStringLiteral("\\d\\.\\d{3}E[+-]\\d\\dV/s");
        const QString rampA = percent ? rampV : QStringLiteral("\\d\\.\\d{3}E[+-]\\d\\dA/s");
        QTest::addRow("%s ramps", qPrintable(name))
            << name << QByteArray(":READ:RAMP:VOLT?;CURR?")
            << QStringLiteral("(%1);(%2)").arg(rampV, rampA) << QString() << 1;
        QTest::addRow("%s module words", qPrintable(name))
            << name << QByteArray(":READ:MOD:CONT?;STAT?;EV:STAT?;MASK?") << word
            << QStringLiteral(";") << 4;
        QTest::addRow("%s supplies", qPrintable(name))
            << name << QByteArray(":READ:MOD:TEMP?;SUP:P24V?;P5V?;P12V?;N12V?")
            << QStringLiteral("-?\\d+\\.\\dC;(%1;){3}%1").arg(volt) << QString() << 1;
        QTest::addRow("%s firmware", qPrintable(name))
            << name << QByteArray(":READ:FIRM:NAME?;REL?")
            << QStringLiteral("%1;%2").arg(p.identity.firmwareName, p.identity.firmwareRelease)
            << QString() << 1;
        QTest::addRow("%s average", qPrintable(name))
            << name << QByteArray(":CONF:AVER?") << word << QString() << 1;
        QTest::addRow("%s interface mode", qPrintable(name))
            << name << QByteArray(":CONF:INTER:MODE?") << word << QString() << 1;
        QTest::addRow("%s limits", qPrintable(name))
            << name << QByteArray(":READ:VOLT:LIM?;:READ:CURR:LIM?")
            << QStringLiteral("\\d+\\.\\d{3}%;\\d+\\.\\d{3}%|%1;%2").arg(volt, amp) << QString()
            << 1;
    }
    const QString filament = QStringLiteral("TQ88812p0000");
    QTest::newRow("outputs") << filament << QByteArray(":CONF:OUTP? (@0-2)") << word
                             << QStringLiteral(",") << 3;
    QTest::newRow("interlock") << filament << QByteArray(":READ:MOD:STATUS:INTERLOCK?") << word
                               << QString() << 1;
    const QString plain = QStringLiteral("-?\\d\\.\\d{5}E-?\\d+");
    QTest::newRow("emission") << filament
                              << QByteArray(":CONF:FILA:EMI:P?;I?;D?;:CONF:FILA:CURR:MIN?;MAX?")
                              << QStringLiteral("(%1;){3}%2;%2").arg(plain, amp) << QString() << 1;
}

void tst_SimAnswers::everyQuery()
{
    QFETCH(QString, preset);
    QFETCH(QByteArray, query);
    QFETCH(QString, pattern);
    QFETCH(QString, separator);
    QFETCH(int, fields);
    const auto module = SimModule::fromPreset(preset);
    QByteArray answer = module->handleLine(query);
    QVERIFY2(answer.endsWith("\r\n"), answer.constData());
    answer.chop(2);
    QVERIFY(!answer.contains('\r') && !answer.contains('\n'));
    const QList<QByteArray> parts = separator.isEmpty() ? QList<QByteArray> { answer }
                                                        : answer.split(separator.at(0).toLatin1());
    QCOMPARE(parts.size(), fields);
    const QRegularExpression re(QRegularExpression::anchoredPattern(pattern));
    for (const QByteArray &part : parts)
        QVERIFY2(re.match(QString::fromLatin1(part)).hasMatch(), part.constData());
}

void tst_SimAnswers::identityExample()
{
    const auto module = SimModule::fromPreset(QStringLiteral("TQ88812p0000"));
    QCOMPARE(module->handleLine("*IDN?;:READ:MOD:CHAN?"),
        QByteArray("Vornwerk GmbH,TQ88812p0000,4711,3.02;1\r\n"));
}

void tst_SimAnswers::limitsByFamily_data()
{
    QTest::addColumn<QString>("preset");
    QTest::addColumn<QByteArray>("answer");
    QTest::newRow("percent") << "KA2F" << QByteArray("100.000%;100.000%\r\n");
    QTest::newRow("DRS percent") << "DRSB" << QByteArray("100.000%;100.000%\r\n");
    QTest::newRow("absolute") << "GLW802" << QByteArray("5.00000E2V;1.00000E-2A\r\n");
    QTest::newRow("absolute, negative module")
        << "TX01B0" << QByteArray("3.00000E3V;5.00000E-3A\r\n");
}

void tst_SimAnswers::limitsByFamily()
{
    QFETCH(QString, preset);
    QFETCH(QByteArray, answer);
    const auto module = SimModule::fromPreset(preset);
    QCOMPARE(module->handleLine(":READ:VOLT:LIM?;:READ:CURR:LIM?"), answer);
}

void tst_SimAnswers::setReadBackExample()
{
    const auto module = SimModule::fromPreset(QStringLiteral("KA2F"));
    QCOMPARE(module->handleLine(":VOLT 1000,(@2);:READ:VOLT? (@0-3)"),
        QByteArray("0.00000E0V,0.00000E0V,1.00000E3V,0.00000E0V\r\n"));
    QCOMPARE(module->handleLine(":VOLT 1.23457e+03,(@0-3);:READ:VOLT? (@0-3)"),
        QByteArray("1.23457E3V,1.23457E3V,1.23457E3V,1.23457E3V\r\n"));
}

QTEST_GUILESS_MAIN(tst_SimAnswers)
#include "tst_simanswers.moc"
