#include "model/presets.h"
#include "model/simmodule.h"

#include <QRegularExpression>
#include <QtTest>

using namespace vornsim;

// Every query the panel sends, per module family: the answer must be one well-formed line with
// the unit letters and field counts the panel strips and splits.
class tst_SimAnswers : public QObject
{
    Q_OBJECT

private slots:
    void everyQuery_data();
    void everyQuery();
    void limitsByFamily_data();
    void limitsByFamily();
};

void tst_SimAnswers::everyQuery_data()
{
    QTest::addColumn<QString>("preset");
    QTest::addColumn<QByteArray>("query");
    QTest::addColumn<QString>("pattern"); // for one field
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
        // Per-channel queries carry the list (\a n fields, ","); module queries do not.
        const auto row = [&](const char *query, const QString &pattern, int fields = 0,
                             const char *separator = "") {
            QTest::addRow("%s %s", qPrintable(name), query)
                << name << QByteArray(query) + (fields ? QByteArray() : list) << pattern
                << QString::fromLatin1(fields ? separator : ",") << (fields ? fields : n);
        };
        for (const char *q : { ":READ:VOLT?", ":READ:VOLT:BOU?", ":READ:VOLT:NOM?", ":MEAS:VOLT?" })
            row(q, volt);
        for (const char *q : { ":READ:CURR?", ":READ:CURR:BOU?", ":READ:CURR:NOM?", ":MEAS:CURR?" })
            row(q, amp);
        for (const char *q : { ":READ:CHAN:STAT?", ":READ:CHAN:EV:STAT?", ":READ:CHAN:EV:MASK?",
                 ":READ:CHAN:CONT?" })
            row(q, word);
        for (const char *q : { ":SYS:USER:EPU?", ":SYS:USER:READ:EPU?" })
            row(q, QStringLiteral("YES|NO"));
        const bool percent = name == QLatin1String("KA2F") || name == QLatin1String("DRSB")
            || name == QLatin1String("TX02B0");
        const QString rampV = percent ? QStringLiteral("\\d\\.\\d{3}E[+-]\\d\\d%/s")
                                      : QStringLiteral("\\d\\.\\d{3}E[+-]\\d\\dV/s");
        const QString rampA = percent ? rampV : QStringLiteral("\\d\\.\\d{3}E[+-]\\d\\dA/s");
        row(":READ:RAMP:VOLT?;CURR?", QStringLiteral("(%1);(%2)").arg(rampV, rampA), 1);
        row(":READ:MOD:CONT?;STAT?;EV:STAT?;MASK?", word, 4, ";");
        row(":READ:MOD:TEMP?;SUP:P24V?;P5V?;P12V?;N12V?",
            QStringLiteral("-?\\d+\\.\\dC;(%1;){3}%1").arg(volt), 1);
        row(":READ:FIRM:NAME?;REL?",
            QStringLiteral("%1;%2").arg(p.identity.firmwareName, p.identity.firmwareRelease), 1);
        row(":CONF:AVER?", word, 1);
        row(":CONF:INTER:MODE?", word, 1);
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
    QByteArray answer = SimModule::fromPreset(preset)->handleLine(query);
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

QTEST_GUILESS_MAIN(tst_SimAnswers)
#include "tst_simanswers.moc"
