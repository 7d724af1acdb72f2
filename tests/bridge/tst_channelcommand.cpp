#include "channelcommand.h"
#include "fakelink.h"

#include <QTest>

#include <memory>

/// A four-channel module: 6000 V / 4 mA, channel 3 bipolar; channel 2 nominal unknown.
class TestChannelCommand : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void checksTopicAndRange_data();
    void checksTopicAndRange();

private:
    std::unique_ptr<FakeLink> link;
};

void TestChannelCommand::init()
{
    link = std::make_unique<FakeLink>();
    link->connectDevice();
    // Identified, so that the engine sends a queued command on the next answer.
    link->requestIdentity();
    link->feed("Vornwerk GmbH,KA2F840p,1001,2.07;4\r\n");
    link->sent.clear();
    Module &m = link->module();
    m.setChannelCount(4);
    m.setFirmwareName(QStringLiteral("KA2F"));
    for (int c = 0; c < 4; ++c) {
        m.channel(c).setVoltageNominal(c == 2 ? 0.0f : 6000.0f);
        m.channel(c).setCurrentNominal(0.004f);
    }
    m.channel(3).setEpu(true);
}

void TestChannelCommand::checksTopicAndRange_data()
{
    QTest::addColumn<QByteArray>("path");
    QTest::addColumn<QByteArray>("payload");
    QTest::addColumn<QString>("queued"); // the command line queued, or the refusal
    QTest::newRow("voltage") << QByteArray("ch/1/set/voltage") << QByteArray("1000")
                             << ":VOLT 1000,(@1);:READ:VOLT? (@0-3)\r\n";
    QTest::newRow("nominal is the top") << QByteArray("ch/0/set/voltage") << QByteArray(" 6000 ")
                                        << ":VOLT 6000,(@0);:READ:VOLT? (@0-3)\r\n";
    QTest::newRow("above nominal") << QByteArray("ch/0/set/voltage") << QByteArray("6000.5")
                                   << "refused: 6000.5 outside 0 ... 6000 V of channel 0";
    QTest::newRow("negative, unipolar") << QByteArray("ch/0/set/voltage") << QByteArray("-1")
                                        << "refused: -1 outside 0 ... 6000 V of channel 0";
    QTest::newRow("negative, bipolar") << QByteArray("ch/3/set/voltage") << QByteArray("-500")
                                       << ":VOLT -500,(@3);:READ:VOLT? (@0-3)\r\n";
    QTest::newRow("current") << QByteArray("ch/0/set/current") << QByteArray("0.005")
                             << "refused: 0.005 outside 0 ... 0.004 A of channel 0";
    QTest::newRow("all, one unknown") << QByteArray("ch/all/set/voltage") << QByteArray("10")
                                      << "refused: nominal value of channel 2 not known yet";
    QTest::newRow("all on") << QByteArray("ch/all/set/on") << QByteArray("1")
                            << ":VOLT ON,(@0-3);:READ:CHAN:CONT? (@0-3)\r\n";
    QTest::newRow("emergency") << QByteArray("ch/1/set/emergency-off") << QByteArray("true")
                               << ":VOLT EMCY OFF,(@1);:READ:CHAN:CONT? (@0-3)\r\n";
    QTest::newRow("clear events") << QByteArray("ch/0/set/clear-events") << QByteArray()
                                  << ":EVENT CLEAR,(@0);:READ:CHAN:EV:STAT? (@0-3)\r\n";
    QTest::newRow("not a number") << QByteArray("ch/0/set/voltage") << QByteArray("1e3V")
                                  << "refused: \"1e3V\" is no number";
    QTest::newRow("infinite") << QByteArray("ch/0/set/voltage") << QByteArray("inf")
                              << "refused: \"inf\" is no number";
    QTest::newRow("bad switch") << QByteArray("ch/0/set/on") << QByteArray("yes please")
                                << "refused: \"yes please\" is neither 1 nor 0";
    QTest::newRow("no such channel")
        << QByteArray("ch/4/set/on") << QByteArray("1") << "refused: no channel 4 (0 to 3 or all)";
    QTest::newRow("unknown command")
        << QByteArray("ch/0/set/ramp") << QByteArray("1") << "refused: unknown command \"ramp\"";
}

void TestChannelCommand::checksTopicAndRange()
{
    QFETCH(QByteArray, path);
    QFETCH(QByteArray, payload);
    QFETCH(QString, queued);
    ChannelCommand command;
    QString error;
    if (!ChannelCommand::parse(path, payload, *link, &command, &error)) {
        QCOMPARE(QStringLiteral("refused: ") + error, queued);
        return;
    }
    command.apply(*link);
    link->feed("Vornwerk GmbH,KA2F840p,1001,2.07;4\r\n"); // the answer to the pending request
    QCOMPARE(link->lastSent(), queued);
}

QTEST_GUILESS_MAIN(TestChannelCommand)
#include "tst_channelcommand.moc"
