#include "enginedriver.h"

#include <QSignalSpy>
#include <QTest>

#include <functional>
#include <limits>

using Values = QList<double>;
/// Reads the model fields a row checks.
using Probe = std::function<Values(const Module &)>;
Q_DECLARE_METATYPE(Probe)

namespace {

/// A per-channel field of every channel the module reports.
template <typename T> Probe each(T (Channel::*field)() const)
{
    return [field](const Module &m) {
        Values v;
        for (int i = 0; i < m.channelCount(); ++i)
            v << double((m.channel(i).*field)());
        return v;
    };
}

/// Module fields, in the order given.
template <typename... Getters> Probe fields(Getters... getters)
{
    return [=](const Module &m) { return Values { double((m.*getters)())... }; };
}

/// A link whose cycle is stopped, so that each fed answer is parsed and nothing else happens.
/// The fields an answer may leave alone hold 7 beforehand.
void prepare(FakeLink &link, const QString &firmware, int channels)
{
    Module &m = link.module();
    m.setFirmwareName(firmware);
    m.setChannelCount(channels);
    for (int i = 0; i < channels; ++i) {
        Channel &c = m.channel(i);
        c.setVoltageSet(7);
        c.setVoltageNominal(6000);
        c.setCurrentNominal(0.004f);
        c.setStatus(7);
    }
    for (auto set : { &Module::setVoltageRamp, &Module::setCurrentRamp, &Module::setVoltageLimit,
             &Module::setCurrentLimit, &Module::setTemperature, &Module::setSupplyP12,
             &Module::setSupplyN12, &Module::setEmissionParameterP })
        (m.*set)(7);
    m.setControl(7);
    QTest::ignoreMessage(QtDebugMsg, "stop refresh");
    link.callStopRefresh();
}

} // namespace

class tst_AnswerParsing : public QObject
{
    Q_OBJECT

private slots:
    void answer_data()
    {
        QTest::addColumn<QString>("firmware");
        QTest::addColumn<int>("channels");
        QTest::addColumn<int>("code");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<Probe>("probe");
        QTest::addColumn<Values>("expected");
        auto row = [](const char *name, const char *firmware, int channels, int code,
                       const char *text, const Probe &probe, const Values &expected) {
            QTest::newRow(name) << firmware << channels << code << QByteArray(text) << probe
                                << expected;
        };
        const Probe ramps = fields(&Module::voltageRamp, &Module::currentRamp);
        const Probe supplies = fields(&Module::temperature, &Module::supplyP24, &Module::supplyP5,
            &Module::supplyP12, &Module::supplyN12);
        const Probe limits = fields(&Module::voltageLimit, &Module::currentLimit);
        const Probe words
            = fields(&Module::control, &Module::status, &Module::eventStatus, &Module::eventMask);
        const Probe emission = fields(&Module::emissionParameterP, &Module::emissionParameterI,
            &Module::emissionParameterD, &Module::filamentMinimum, &Module::filamentMaximum);
        const Probe outputs = [](const Module &m) {
            return Values { double(m.output(Module::VoltageOutput)),
                double(m.output(Module::FilamentOutput)), double(m.output(Module::DigitalOutput)) };
        };
        const char *ka = "KA2F";
        const Probe vSet = each(&Channel::voltageSet);

        row("81 units stripped", ka, 4, 81, "1.00000E3V,2.5E2V,0.0V,0.0V", vSet,
            { 1000, 250, 0, 0 });
        row("81 wrong count kept", ka, 2, 81, "1.00000E3V,2.5E2V,0.0V,0.0V", vSet, { 7, 7 });
        row("81 truncated kept", ka, 4, 81, "1.0E3V,2.5E2V", vSet, { 7, 7, 7, 7 });
        row("81 garbage becomes 0", ka, 2, 81, "abc,1.5E1V", vSet, { 0, 15 });
        row("81 error reply dropped", ka, 2, 81, "-113,\"Undefined header\",x", vSet, { 7, 7 });
        row("84 bounds", ka, 2, 84, "6.00000E3V,1.0E1V", each(&Channel::voltageBounds),
            { 6000, 10 });
        row("141 measured", ka, 2, 141, "-1.23400E2V,5.0E-1V", each(&Channel::voltageMeasure),
            { -123.4, 0.5 });
        row("83 nominal negative", ka, 2, 83, "-6.0E3V,6.0E3V", each(&Channel::voltageNominal),
            { -6000, 6000 });
        row("90 currents", ka, 2, 90, "2.50000E-4A,1.0E-3A", each(&Channel::currentSet),
            { 0.00025, 0.001 });
        row("93 bounds", ka, 2, 93, "1.0E-5A,0A", each(&Channel::currentBounds), { 0.00001, 0 });
        row("142 measured", ka, 2, 142, "3.0E-6A,4.0E-6A", each(&Channel::currentMeasure),
            { 0.000003, 0.000004 });
        // The nominal currents differ from the 4 mA set beforehand, so a wrong field shows.
        row("92 nominal", ka, 2, 92, "3.0E-3A,-4.0E-3A", each(&Channel::currentNominal),
            { 0.003, -0.004 });
        row("123 status low 16 bits", ka, 2, 123, "8,65544", each(&Channel::status), { 8, 8 });
        row("123 negative is 0", ka, 2, 123, "-1,136", each(&Channel::status), { 0, 136 });
        row("126 mask 32 bits", ka, 2, 126, "4294967295,65536", each(&Channel::eventMask),
            { 4294967295.0, 65536 });
        row("122 control", ka, 2, 122, "8,40", each(&Channel::control), { 8, 40 });
        row("174 epu", "DRSB", 4, 174, "YES,NO,1,yes", each(&Channel::epu), { 1, 0, 1, 0 });
        row("96 absolute ramps", "TX01B0", 1, 96, "2.000E+01V/s;1.000E-04A/s", ramps,
            { 20, 0.0001 });
        row("96 percent ramps", ka, 4, 96, "5.000E+00%/s;5.000E+00%/s", ramps, { 5, 5 });
        row("96 bare percent", ka, 4, 96, "5%;6%", ramps, { 5, 6 });
        row("96 one field", ka, 4, 96, "3.0E+00V/s", ramps, { 3, 7 });
        row("108 five fields", ka, 4, 108, "31.5C;24.1V;5.02V;12.1V;-11.9V", supplies,
            { 31.5, 24.1, 5.02, 12.1, -11.9 });
        row("108 four fields", ka, 4, 108, "30C;24V;5V;12V", supplies, { 30, 24, 5, 7, 7 });
        row("108 one field", ka, 4, 108, "29C", supplies, { 29, 0, 0, 7, 7 });
        row("133 percent", "KA2F8", 4, 133, "50.000%;100.000%", limits, { 50, 100 });
        row("133 one field", "KA2F8", 4, 133, "50.000%", limits, { 7, 7 });
        row("134 absolute", "TX01B0", 1, 134, "3000V;0.002A", limits, { 50, 50 });
        row("134 negative absolute", "TX01B0", 1, 134, "-3000V;-0.001A", limits, { 50, 25 });
        row("134 percent-based kept", ka, 4, 134, "40%;30%", limits, { 40, 30 });
        row("101 words", ka, 4, 101, "4096;65535;131073;70000", words, { 4096, 65535, 1, 70000 });
        row("101 three fields", ka, 4, 101, "1;2;3", words, { 7, 0, 0, 0 });
        row("200 average", ka, 4, 200, "64", fields(&Module::average), { 64 });
        row("204 interface mode", "TX01B1", 1, 204, "1", fields(&Module::interfaceMode), { 1 });
        row("245 outputs", "F", 1, 245, "2,3,5", outputs, { 2, 3, 5 });
        row("245 short outputs", "F", 1, 245, "1", outputs, { 1, 0, 0 });
        row("246 interlock", "F", 1, 246, "129", fields(&Module::interlock), { 129 });
        row("247 emission", "F", 1, 247, "0.5;0.25;0.125;1.5A;2.5A", emission,
            { 0.5, 0.25, 0.125, 1.5, 2.5 });
        row("247 four fields", "F", 1, 247, "0.5;0.25;0.125;1.5A", emission, { 7, 0, 0, 0, 0 });
    }

    void answer()
    {
        QFETCH(QString, firmware);
        QFETCH(int, channels);
        QFETCH(int, code);
        QFETCH(QByteArray, text);
        QFETCH(Probe, probe);
        QFETCH(Values, expected);

        FakeLink link;
        prepare(link, firmware, channels);
        link.sendCommand(static_cast<quint16>(code), QStringLiteral("query\r\n"));
        link.feed(text + "\r\n");

        const Values actual = probe(link.module());
        QCOMPARE(actual.size(), expected.size());
        for (int i = 0; i < actual.size(); ++i) {
            if (!qFuzzyCompare(float(actual.at(i)) + 1.0f, float(expected.at(i)) + 1.0f))
                QFAIL(qPrintable(QStringLiteral("value %1: %2 != %3")
                                     .arg(i)
                                     .arg(actual.at(i))
                                     .arg(expected.at(i))));
        }
        QCOMPARE(link.pendingRequest(), quint16(0));
        QCOMPARE(link.bufferedAnswerSize(), 0);
    }

    void channelEventStatusChangeRereadsConfiguration()
    {
        FakeLink link;
        EngineDriver::start(link, "KA2F", "KA2F", "2.05", 4);
        for (const QByteArray &eventStatus : { QByteArray("0,0,0,0"), QByteArray("0,0,16,0") }) {
            while (link.lastCode() != SCPI_Parser::ReadChannelEventStatus)
                EngineDriver::answer(link);
            link.feed(eventStatus + "\r\n");
            QCOMPARE(link.isFullRead(), eventStatus.contains("16"));
        }
        QCOMPARE(link.module().channel(2).eventStatus(), quint16(16));
    }

    void firmware()
    {
        // Which firmware echoes is the serial link's concern, tested with it; here: the answer
        // reaches the model, the display and the link once, and a malformed one is ignored whole.
        FakeLink link;
        QSignalSpy firmware(&link, &SCPI_Parser::updateFirmwareName);
        QVERIFY(firmware.isValid());
        prepare(link, QString(), 1);
        for (const QByteArray &answer : { QByteArray("TX01B0;5.02"), QByteArray("OTHER;1.0;x") }) {
            link.sendCommand(
                SCPI_Parser::ReadFirmware, QStringLiteral(":READ:FIRM:NAME?;REL?\r\n"));
            link.feed(answer + "\r\n");
        }
        QCOMPARE(link.echoChoices, QList<bool> { true });
        QCOMPARE(link.module().firmwareName(), QStringLiteral("TX01B0"));
        QCOMPARE(firmware.count(), 1);
    }

    void runawayAnswerIsCapped()
    {
        FakeLink link;
        prepare(link, "KA2F", 4);
        link.sendCommand(SCPI_Parser::ReadVoltageSet, QStringLiteral("q\r\n"));
        QTest::ignoreMessage(QtDebugMsg, "answer too long");
        for (int i = 0; i < 17; ++i) {
            link.feed(QByteArray(4096, 'x'));
            QVERIFY(link.bufferedAnswerSize() <= SCPI_Parser::MaxAnswerSize);
        }
        QCOMPARE(link.bufferedAnswerSize(), 0);
        QCOMPARE(link.pendingRequest(), quint16(SCPI_Parser::ReadVoltageSet));
        // The cycle goes on with the next complete answer.
        link.feed("1V,2V,3V,4V\r\n");
        QCOMPARE(link.module().channel(3).voltageSet(), 4.0f);
    }

    void everyAnswerContinuesTheCycle()
    {
        FakeLink link;
        EngineDriver::start(link, "KA2F8", "KA2F8", "2.05", 4);
        // Whatever the module answers, the next request follows.
        for (const char *junk :
            { "\r\n", ";;;;\r\n", ",,,,,,,,\r\n", "\xff\xfe\r\n", " \t \r\n" }) {
            const int before = link.sent.size();
            link.feed(junk);
            QCOMPARE(link.sent.size(), before + 1);
        }
    }

    void answerCountGoesRoundWithoutOverflow()
    {
        // Regression: the count overflowed a signed int after 2^31 answers and went negative.
        FakeLink link;
        prepare(link, "KA2F", 4);
        QSignalSpy received(&link, &SCPI_Parser::dataReceived);
        QSignalSpy display(&link, &SCPI_Parser::updateDisplay);
        QVERIFY(received.isValid() && display.isValid());
        link.setAnswerCount(std::numeric_limits<int>::max() - 1);
        for (int i = 0; i < 3; ++i)
            link.feed("1V,2V,3V,4V\r\n");
        QCOMPARE(received.count(), 3);
        QCOMPARE(received.at(0).at(0).toInt(), std::numeric_limits<int>::max());
        QCOMPARE(received.at(1).at(0).toInt(), 0);
        QCOMPARE(received.at(2).at(0).toInt(), 1);
        QCOMPARE(display.count(), 3); // one display refresh per answer
    }
};

QTEST_GUILESS_MAIN(tst_AnswerParsing)
#include "tst_answerparsing.moc"
