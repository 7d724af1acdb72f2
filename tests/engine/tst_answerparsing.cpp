#include "enginedriver.h"

#include <QSignalSpy>
#include <QTest>

#include <limits>

using Values = QList<double>;

namespace {

/// Reads the model field named \a what: per-channel fields give one value per channel.
Values probe(const FakeLink &link, const QString &what)
{
    const Module &m = link.module();
    Values v;
    const int count = qMax(m.channelCount(), 1);
    for (int i = 0; i < count; ++i) {
        const Channel &c = m.channel(i);
        if (what == "voltageSet")
            v << c.voltageSet();
        else if (what == "voltageBounds")
            v << c.voltageBounds();
        else if (what == "voltageMeasure")
            v << c.voltageMeasure();
        else if (what == "voltageNominal")
            v << c.voltageNominal();
        else if (what == "currentSet")
            v << c.currentSet();
        else if (what == "currentBounds")
            v << c.currentBounds();
        else if (what == "currentMeasure")
            v << c.currentMeasure();
        else if (what == "currentNominal")
            v << c.currentNominal();
        else if (what == "status")
            v << c.status();
        else if (what == "eventStatus")
            v << c.eventStatus();
        else if (what == "eventMask")
            v << c.eventMask();
        else if (what == "control")
            v << c.control();
        else if (what == "epu")
            v << (c.epu() ? 1 : 0);
    }
    if (what == "ramps")
        v = { m.voltageRamp(), m.currentRamp() };
    else if (what == "supplies")
        v = { m.temperature(), m.supplyP24(), m.supplyP5(), m.supplyP12(), m.supplyN12() };
    else if (what == "limits")
        v = { m.voltageLimit(), m.currentLimit() };
    else if (what == "moduleWords")
        v = { double(m.control()), double(m.status()), double(m.eventStatus()),
            double(m.eventMask()) };
    else if (what == "average")
        v = { double(m.average()) };
    else if (what == "interfaceMode")
        v = { double(m.interfaceMode()) };
    else if (what == "outputs")
        v = { double(m.output(Module::VoltageOutput)), double(m.output(Module::FilamentOutput)),
            double(m.output(Module::DigitalOutput)) };
    else if (what == "interlock")
        v = { double(m.interlock()) };
    else if (what == "emission")
        v = { m.emissionParameterP(), m.emissionParameterI(), m.emissionParameterD(),
            m.filamentMinimum(), m.filamentMaximum() };
    return v;
}

/// A link whose cycle is stopped, so that each fed answer is parsed and nothing else happens.
void prepare(FakeLink &link, const QString &firmware, int channels)
{
    link.module().setFirmwareName(firmware);
    link.module().setChannelCount(channels);
    for (int i = 0; i < channels; ++i) {
        Channel &c = link.module().channel(i);
        c.setVoltageSet(7);
        c.setVoltageNominal(6000);
        c.setCurrentNominal(0.004f);
        c.setEventStatus(0);
        c.setStatus(7);
    }
    link.module().setVoltageRamp(7);
    link.module().setCurrentRamp(7);
    link.module().setVoltageLimit(7);
    link.module().setCurrentLimit(7);
    link.module().setTemperature(7);
    link.module().setSupplyP12(7);
    link.module().setSupplyN12(7);
    link.module().setControl(7);
    link.module().setEmissionParameterP(7);
    QTest::ignoreMessage(QtDebugMsg, "stop refresh");
    link.callStopRefresh();
}

} // namespace

class tst_AnswerParsing : public QObject
{
    Q_OBJECT

private slots:
    void answer_data();
    void answer();
    void channelEventStatusChangeRereadsConfiguration();
    void identity();
    void firmwareChoosesEcho_data();
    void firmwareChoosesEcho();
    void answerInPiecesIsProcessedOnce();
    void runawayAnswerIsCapped();
    void everyAnswerContinuesTheCycle();
    void answerCountGoesRoundWithoutOverflow();
};

void tst_AnswerParsing::answer_data()
{
    QTest::addColumn<QString>("firmware");
    QTest::addColumn<int>("channels");
    QTest::addColumn<int>("code");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("field");
    QTest::addColumn<Values>("expected");

    QTest::newRow("81 units stripped")
        << "KA2F" << 4 << 81 << QByteArray("1.00000E3V,2.5E2V,0.0V,0.0V") << "voltageSet"
        << Values { 1000, 250, 0, 0 };
    QTest::newRow("81 wrong count kept")
        << "KA2F" << 2 << 81 << QByteArray("1.00000E3V,2.5E2V,0.0V,0.0V") << "voltageSet"
        << Values { 7, 7 };
    QTest::newRow("81 truncated kept") << "KA2F" << 4 << 81 << QByteArray("1.0E3V,2.5E2V")
                                       << "voltageSet" << Values { 7, 7, 7, 7 };
    QTest::newRow("81 empty on one channel")
        << "TX01B0" << 1 << 81 << QByteArray("") << "voltageSet" << Values { 0 };
    QTest::newRow("81 garbage becomes 0")
        << "KA2F" << 2 << 81 << QByteArray("abc,1.5E1V") << "voltageSet" << Values { 0, 15 };
    QTest::newRow("81 error reply dropped")
        << "KA2F" << 2 << 81 << QByteArray("-113,\"Undefined header\",x") << "voltageSet"
        << Values { 7, 7 };
    QTest::newRow("84 bounds") << "KA2F" << 2 << 84 << QByteArray("6.00000E3V,1.0E1V")
                               << "voltageBounds" << Values { 6000, 10 };
    QTest::newRow("141 measured") << "KA2F" << 2 << 141 << QByteArray("-1.23400E2V,5.0E-1V")
                                  << "voltageMeasure" << Values { -123.4, 0.5 };
    QTest::newRow("83 nominal negative") << "KA2F" << 2 << 83 << QByteArray("-6.0E3V,6.0E3V")
                                         << "voltageNominal" << Values { -6000, 6000 };
    QTest::newRow("90 currents") << "KA2F" << 2 << 90 << QByteArray("2.50000E-4A,1.0E-3A")
                                 << "currentSet" << Values { 0.00025, 0.001 };
    QTest::newRow("93 bounds") << "KA2F" << 2 << 93 << QByteArray("1.0E-5A,0A") << "currentBounds"
                               << Values { 0.00001, 0 };
    QTest::newRow("142 measured") << "KA2F" << 2 << 142 << QByteArray("3.0E-6A,4.0E-6A")
                                  << "currentMeasure" << Values { 0.000003, 0.000004 };
    QTest::newRow("92 nominal") << "KA2F" << 2 << 92 << QByteArray("4.0E-3A,4.0E-3A")
                                << "currentNominal" << Values { 0.004, 0.004 };
    QTest::newRow("123 status low 16 bits")
        << "KA2F" << 2 << 123 << QByteArray("8,65544") << "status" << Values { 8, 8 };
    QTest::newRow("123 negative is 0")
        << "KA2F" << 2 << 123 << QByteArray("-1,136") << "status" << Values { 0, 136 };
    QTest::newRow("126 mask 32 bits") << "KA2F" << 2 << 126 << QByteArray("4294967295,65536")
                                      << "eventMask" << Values { 4294967295.0, 65536 };
    QTest::newRow("122 control") << "KA2F" << 2 << 122 << QByteArray("8,40") << "control"
                                 << Values { 8, 40 };
    QTest::newRow("174 epu") << "DRSB" << 4 << 174 << QByteArray("YES,NO,1,yes") << "epu"
                             << Values { 1, 0, 1, 0 };
    QTest::newRow("96 absolute ramps")
        << "TX01B0" << 1 << 96 << QByteArray("2.000E+01V/s;1.000E-04A/s") << "ramps"
        << Values { 20, 0.0001 };
    QTest::newRow("96 percent ramps")
        << "KA2F" << 4 << 96 << QByteArray("5.000E+00%/s;5.000E+00%/s") << "ramps"
        << Values { 5, 5 };
    QTest::newRow("96 bare percent")
        << "KA2F" << 4 << 96 << QByteArray("5%;6%") << "ramps" << Values { 5, 6 };
    QTest::newRow("96 one field") << "KA2F" << 4 << 96 << QByteArray("3.0E+00V/s") << "ramps"
                                  << Values { 3, 7 };
    QTest::newRow("108 five fields")
        << "KA2F" << 4 << 108 << QByteArray("31.5C;24.1V;5.02V;12.1V;-11.9V") << "supplies"
        << Values { 31.5, 24.1, 5.02, 12.1, -11.9 };
    QTest::newRow("108 three fields") << "KA2F" << 4 << 108 << QByteArray("30C;24V;5V")
                                      << "supplies" << Values { 30, 24, 5, 7, 7 };
    QTest::newRow("108 four fields") << "KA2F" << 4 << 108 << QByteArray("30C;24V;5V;12V")
                                     << "supplies" << Values { 30, 24, 5, 7, 7 };
    QTest::newRow("108 one field")
        << "KA2F" << 4 << 108 << QByteArray("29C") << "supplies" << Values { 29, 0, 0, 7, 7 };
    QTest::newRow("133 percent") << "KA2F8" << 4 << 133 << QByteArray("50.000%;100.000%")
                                 << "limits" << Values { 50, 100 };
    QTest::newRow("134 absolute") << "TX01B0" << 1 << 134 << QByteArray("3000V;0.002A") << "limits"
                                  << Values { 50, 50 };
    QTest::newRow("134 negative absolute")
        << "TX01B0" << 1 << 134 << QByteArray("-3000V;-0.001A") << "limits" << Values { 50, 25 };
    QTest::newRow("134 percent-based kept")
        << "KA2F" << 4 << 134 << QByteArray("40%;30%") << "limits" << Values { 40, 30 };
    QTest::newRow("133 one field")
        << "KA2F8" << 4 << 133 << QByteArray("50.000%") << "limits" << Values { 7, 7 };
    QTest::newRow("101 words") << "KA2F" << 4 << 101 << QByteArray("4096;65535;131073;70000")
                               << "moduleWords" << Values { 4096, 65535, 1, 70000 };
    QTest::newRow("101 three fields")
        << "KA2F" << 4 << 101 << QByteArray("1;2;3") << "moduleWords" << Values { 7, 0, 0, 0 };
    QTest::newRow("200 average") << "KA2F" << 4 << 200 << QByteArray("64") << "average"
                                 << Values { 64 };
    QTest::newRow("204 interface mode")
        << "TX01B1" << 1 << 204 << QByteArray("1") << "interfaceMode" << Values { 1 };
    QTest::newRow("245 outputs") << "F" << 1 << 245 << QByteArray("2,3,5") << "outputs"
                                 << Values { 2, 3, 5 };
    QTest::newRow("245 short outputs")
        << "F" << 1 << 245 << QByteArray("1") << "outputs" << Values { 1, 0, 0 };
    QTest::newRow("246 interlock")
        << "F" << 1 << 246 << QByteArray("129") << "interlock" << Values { 129 };
    QTest::newRow("247 emission") << "F" << 1 << 247 << QByteArray("0.5;0.25;0.125;1.5A;2.5A")
                                  << "emission" << Values { 0.5, 0.25, 0.125, 1.5, 2.5 };
    QTest::newRow("247 four fields") << "F" << 1 << 247 << QByteArray("0.5;0.25;0.125;1.5A")
                                     << "emission" << Values { 7, 0, 0, 0, 0 };
    QTest::newRow("104 not interpreted")
        << "KA2F" << 4 << 104 << QByteArray("77") << "moduleWords" << Values { 7, 0, 0, 0 };
}

void tst_AnswerParsing::answer()
{
    QFETCH(QString, firmware);
    QFETCH(int, channels);
    QFETCH(int, code);
    QFETCH(QByteArray, text);
    QFETCH(QString, field);
    QFETCH(Values, expected);

    FakeLink link;
    prepare(link, firmware, channels);
    link.sendCommand(static_cast<quint16>(code), QStringLiteral("query\r\n"));
    link.feed(text + "\r\n");

    const Values actual = probe(link, field);
    QCOMPARE(actual.size(), expected.size());
    for (int i = 0; i < actual.size(); ++i) {
        if (!qFuzzyCompare(float(actual.at(i)) + 1.0f, float(expected.at(i)) + 1.0f))
            QFAIL(qPrintable(
                QStringLiteral("value %1: %2 != %3").arg(i).arg(actual.at(i)).arg(expected.at(i))));
    }
    QCOMPARE(link.pendingRequest(), quint16(0));
    QCOMPARE(link.bufferedAnswerSize(), 0);
}

void tst_AnswerParsing::channelEventStatusChangeRereadsConfiguration()
{
    FakeLink link;
    EngineDriver::start(link, "KA2F", "KA2F", "2.05", 4);
    while (link.lastCode() != SCPI_Parser::ReadChannelEventStatus)
        EngineDriver::answer(link);
    link.feed("0,0,0,0\r\n");
    QVERIFY(!link.isFullRead());

    while (link.lastCode() != SCPI_Parser::ReadChannelEventStatus)
        EngineDriver::answer(link);
    link.feed("0,0,16,0\r\n");
    QVERIFY(link.isFullRead());
    QCOMPARE(link.module().channel(2).eventStatus(), quint16(16));
}

void tst_AnswerParsing::identity()
{
    FakeLink link;
    QSignalSpy name(&link, &SCPI_Parser::updateDeviceName);
    QSignalSpy serial(&link, &SCPI_Parser::updateSerialNumber);
    QVERIFY(name.isValid() && serial.isValid());
    link.connectDevice();
    link.requestIdentity();
    link.feed("Vornwerk GmbH,TQ88812p0000,4711,3.02;1\r\n");
    QCOMPARE(link.module().deviceName(), QStringLiteral("TQ88812p0000"));
    QCOMPARE(link.module().serialNumber(), 4711);
    QCOMPARE(link.module().firmwareRelease(), QStringLiteral("3.02"));
    QCOMPARE(link.module().channelCount(), 1);
    QCOMPARE(name.count(), 1);
    QCOMPARE(name.at(0).at(0).toString(), QStringLiteral("TQ88812p0000"));
    QCOMPARE(serial.at(0).at(0).toInt(), 4711);

    // A module claiming more channels than the model holds is clamped.
    link.requestIdentity();
    link.feed("Vornwerk GmbH,BIG,1,1.0;200\r\n");
    QCOMPARE(link.module().channelCount(), 64);
}

void tst_AnswerParsing::firmwareChoosesEcho_data()
{
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<bool>("echo");
    QTest::newRow("WD7A0") << QByteArray("WD7A0;0.1") << true;
    QTest::newRow("WD7A0 longer name") << QByteArray("WD7A0X;0.1") << false;
    QTest::newRow("TX01B0 4.x") << QByteArray("TX01B0;4.12") << false;
    QTest::newRow("TX01B0 5.x") << QByteArray("TX01B0;5.02") << true;
    QTest::newRow("TX01B0 50") << QByteArray("TX01B0;50") << false;
    QTest::newRow("TX02B0 1.x") << QByteArray("TX02B0;1.00") << true;
    QTest::newRow("TX02B0 2.x") << QByteArray("TX02B0;2.00") << false;
    QTest::newRow("KA2F") << QByteArray("KA2F;5.0") << false;
}

void tst_AnswerParsing::firmwareChoosesEcho()
{
    QFETCH(QByteArray, answer);
    QFETCH(bool, echo);
    FakeLink link;
    QSignalSpy firmware(&link, &SCPI_Parser::updateFirmwareName);
    QVERIFY(firmware.isValid());
    prepare(link, QString(), 1);
    link.sendCommand(SCPI_Parser::ReadFirmware, QStringLiteral(":READ:FIRM:NAME?;REL?\r\n"));
    link.feed(answer + "\r\n");
    QCOMPARE(link.echoChoices, QList<bool> { echo });
    QCOMPARE(link.module().firmwareName(), QString::fromLatin1(answer.split(';').at(0)));
    QCOMPARE(firmware.count(), 1);

    // A firmware answer with a third field is ignored whole.
    link.sendCommand(SCPI_Parser::ReadFirmware, QStringLiteral(":READ:FIRM:NAME?;REL?\r\n"));
    link.feed("OTHER;1.0;x\r\n");
    QCOMPARE(link.echoChoices.size(), 1);
    QCOMPARE(firmware.count(), 1);
}

void tst_AnswerParsing::answerInPiecesIsProcessedOnce()
{
    FakeLink link;
    prepare(link, "KA2F", 4);
    QSignalSpy received(&link, &SCPI_Parser::dataReceived);
    QSignalSpy display(&link, &SCPI_Parser::updateDisplay);
    QVERIFY(received.isValid() && display.isValid());
    link.sendCommand(SCPI_Parser::ReadVoltageSet, QStringLiteral("q\r\n"));
    link.feed("1.0E3V,2.0E3V,");
    link.feed("");
    link.feed("3.0E3V,4.0E3V\r");
    QCOMPARE(received.count(), 0);
    link.feed("\n");
    QCOMPARE(received.count(), 1);
    QCOMPARE(display.count(), 1);
    QCOMPARE(link.module().channel(3).voltageSet(), 4000.0f);
}

void tst_AnswerParsing::runawayAnswerIsCapped()
{
    FakeLink link;
    prepare(link, "KA2F", 4);
    link.sendCommand(SCPI_Parser::ReadVoltageSet, QStringLiteral("q\r\n"));
    const QByteArray chunk(4096, 'x');
    QTest::ignoreMessage(QtDebugMsg, "answer too long");
    for (int i = 0; i < 17; ++i) {
        link.feed(chunk);
        QVERIFY(link.bufferedAnswerSize() <= SCPI_Parser::MaxAnswerSize);
    }
    QCOMPARE(link.bufferedAnswerSize(), 0);
    QCOMPARE(link.pendingRequest(), quint16(SCPI_Parser::ReadVoltageSet));
    // The cycle goes on with the next complete answer.
    link.feed("1V,2V,3V,4V\r\n");
    QCOMPARE(link.module().channel(3).voltageSet(), 4.0f);
}

void tst_AnswerParsing::everyAnswerContinuesTheCycle()
{
    FakeLink link;
    EngineDriver::start(link, "KA2F8", "KA2F8", "2.05", 4);
    // Whatever the module answers, the next request follows.
    const QList<QByteArray> junk { "\r\n", ";;;;\r\n", ",,,,,,,,\r\n", "\xff\xfe\r\n", " \t \r\n" };
    for (const QByteArray &answer : junk) {
        const int before = link.sent.size();
        link.feed(answer);
        QCOMPARE(link.sent.size(), before + 1);
    }
}

void tst_AnswerParsing::answerCountGoesRoundWithoutOverflow()
{
    // Regression: the count overflowed a signed int after 2^31 answers and went negative.
    FakeLink link;
    prepare(link, "KA2F", 4);
    QSignalSpy received(&link, &SCPI_Parser::dataReceived);
    QVERIFY(received.isValid());
    link.setAnswerCount(std::numeric_limits<int>::max() - 1);
    link.feed("1V,2V,3V,4V\r\n");
    link.feed("1V,2V,3V,4V\r\n");
    link.feed("1V,2V,3V,4V\r\n");
    QCOMPARE(received.count(), 3);
    QCOMPARE(received.at(0).at(0).toInt(), std::numeric_limits<int>::max());
    QCOMPARE(received.at(1).at(0).toInt(), 0);
    QCOMPARE(received.at(2).at(0).toInt(), 1);
}

QTEST_GUILESS_MAIN(tst_AnswerParsing)
#include "tst_answerparsing.moc"
