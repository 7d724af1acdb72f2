#include "scpi_serial.h"
#include "simprocess.h"

#include <QElapsedTimer>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>

class tst_SerialSim : public QObject
{
    Q_OBJECT

private:
    /// Opens a link to a simulator started with \a arguments and starts the request cycle.
    std::unique_ptr<SCPI_Serial> connectTo(SimProcess &sim, const QStringList &arguments)
    {
        if (!sim.start(QStringList { QStringLiteral("--serial") } + arguments, "serial"))
            return nullptr;
        auto link = std::make_unique<SCPI_Serial>();
        link->setPortName(sim.endpoint());
        if (!link->connectDevice())
            return nullptr;
        link->requestIdentity();
        link->restartFullRead();
        return link;
    }

private slots:
    void identifyConfigurePollAndSet_data()
    {
        QTest::addColumn<QString>("preset");
        QTest::addColumn<QStringList>("fault");
        QTest::addColumn<bool>("characterEcho");
        QTest::addColumn<int>("channels");
        QTest::newRow("byte echo, TX01B0 5.x") << "TX01B0" << QStringList() << true << 1;
        QTest::newRow("line echo, KA2F") << "KA2F" << QStringList() << false << 4;
        QTest::newRow("byte echo, lone LF after the echo")
            << "TX01B0" << QStringList { "--lone-lf-every", "3" } << true << 1;
        QTest::newRow("byte echo, last echo and answer in one read")
            << "TX01B0" << QStringList { "--echo-with-answer" } << true << 1;
    }
    void identifyConfigurePollAndSet()
    {
        QFETCH(QString, preset);
        QFETCH(QStringList, fault);
        QFETCH(bool, characterEcho);
        QFETCH(int, channels);
        SimProcess sim;
        auto link = connectTo(sim, QStringList { QStringLiteral("--preset"), preset } + fault);
        QVERIFY(link);
        QSignalSpy received(link.get(), &SCPI_Parser::dataReceived);
        QVERIFY(received.isValid());

        QTRY_VERIFY_WITH_TIMEOUT(received.size() >= PollingAnswers, Patience);
        QCOMPARE(link->module().channelCount(), channels);
        QVERIFY(link->module().firmwareName().startsWith(preset.left(4)));
        QCOMPARE(link->characterEcho(), characterEcho);
        QVERIFY(link->module().channel(0).voltageNominal() != 0.0f);
        QVERIFY(link->module().channel(channels - 1).currentNominal() != 0.0f);

        const int channel = channels - 1;
        // Negative modules take set values with their polarity's sign.
        const float target
            = link->module().channel(channel).voltageNominal() < 0 ? -100.0f : 100.0f;
        link->setVoltage(target, channel);
        QTRY_COMPARE_WITH_TIMEOUT(link->module().channel(channel).voltageSet(), target, Patience);
        link->disconnectDevice();
        QVERIFY(!link->isConnected());
    }

    void wrongEchoIsTracedAndHoldsTheRequest()
    {
        QTest::ignoreMessage(
            QtDebugMsg, QRegularExpression(QStringLiteral("^Error: echo is not correct\\. Echo:")));
        SimProcess sim;
        auto link = connectTo(sim,
            { QStringLiteral("--preset"), QStringLiteral("TX01B0"),
                QStringLiteral("--wrong-echo-every"), QStringLiteral("60") });
        QVERIFY(link);
        QSignalSpy received(link.get(), &SCPI_Parser::dataReceived);
        QVERIFY(received.isValid());
        // The link waits for the right echo that never comes: answers stop.
        int answers = -1;
        QElapsedTimer quiet;
        quiet.start();
        QVERIFY(QTest::qWaitFor(
            [&] {
                if (received.size() != answers) {
                    answers = int(received.size());
                    quiet.restart();
                }
                return quiet.elapsed() > 1000;
            },
            15000));
        QCOMPARE(link->echoPhase(), SCPI_Serial::EchoPhase::Echo);
        QVERIFY(link->pendingRequest() != 0);
    }
};

QTEST_GUILESS_MAIN(tst_SerialSim)
#include "tst_serialsim.moc"
