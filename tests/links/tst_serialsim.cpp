#include "scpi_serial.h"
#include "simprocess.h"

#include <QSignalSpy>
#include <QTest>

// The serial link against the simulator program on a pseudo-terminal. The echo faults are
// tested on each side alone: the link's in tst_seriallink, the simulator's in tst_simserial.
class tst_SerialSim : public QObject
{
    Q_OBJECT

private slots:
    void identifyConfigurePollAndSet_data()
    {
        QTest::addColumn<QString>("preset");
        QTest::addColumn<bool>("characterEcho");
        QTest::addColumn<int>("channels");
        QTest::newRow("byte echo, negative TX01B0 5.x") << "TX01B0" << true << 1;
        QTest::newRow("line echo, KA2F") << "KA2F" << false << 4;
    }
    void identifyConfigurePollAndSet()
    {
        QFETCH(QString, preset);
        QFETCH(int, channels);
        SimProcess sim;
        QVERIFY(sim.start(
            { QStringLiteral("--serial"), QStringLiteral("--preset"), preset }, "serial"));
        SCPI_Serial link;
        link.setPortName(sim.endpoint());
        QVERIFY(link.connectDevice());
        QSignalSpy received(&link, &SCPI_Parser::dataReceived);
        link.requestIdentity();
        link.restartFullRead();

        QTRY_VERIFY_WITH_TIMEOUT(received.size() >= PollingAnswers, Patience);
        QCOMPARE(link.module().channelCount(), channels);
        QVERIFY(link.module().firmwareName().startsWith(preset.left(4)));
        QTEST(link.characterEcho(), "characterEcho");
        // Negative modules take set values with their polarity's sign.
        const int last = channels - 1;
        QVERIFY(link.module().channel(last).currentNominal() != 0.0f);
        const float target = link.module().channel(last).voltageNominal() < 0 ? -100.0f : 100.0f;
        link.setVoltage(target, last);
        QTRY_COMPARE_WITH_TIMEOUT(link.module().channel(last).voltageSet(), target, Patience);
        link.disconnectDevice();
        QVERIFY(!link.isConnected());
    }
};

QTEST_GUILESS_MAIN(tst_SerialSim)
#include "tst_serialsim.moc"
