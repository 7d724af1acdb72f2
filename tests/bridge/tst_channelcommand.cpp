// Commands from the broker for one module: the topic and payload checked against the module's
// channels and nominal values, and the command line the engine then sends.
#include "channelcommand.h"
#include "fakelink.h"

#include <QTest>

#include <limits>
#include <memory>

class TestChannelCommand : public QObject
{
    Q_OBJECT

    std::unique_ptr<FakeLink> link;

private slots:
    /// A four-channel module: 6000 V / 4 mA, channel 3 bipolar; channel 2 nominal unknown.
    void init()
    {
        link = std::make_unique<FakeLink>();
        link->connectDevice();
        // Identified, so that the engine sends a queued command on the next answer.
        link->requestIdentity();
        link->feed("Vornwerk GmbH,KA2F840p,1001,2.07;4\r\n");
        Module &m = link->module();
        m.setChannelCount(4);
        m.setFirmwareName(QStringLiteral("KA2F"));
        for (int c = 0; c < 4; ++c) {
            m.channel(c).setVoltageNominal(c == 2 ? 0.0f : 6000.0f);
            m.channel(c).setCurrentNominal(0.004f);
        }
        m.channel(3).setEpu(true);
    }

    void checksTopicAndRange_data()
    {
        QTest::addColumn<QByteArray>("path");
        QTest::addColumn<QByteArray>("payload");
        QTest::addColumn<QString>("queued"); // the command line queued, or the refusal
        QTest::addColumn<float>("nominal0"); // the nominal voltage channel 0 reports
        const auto row = [](const char *name, const char *path, const char *payload,
                             const char *queued, float nominal0 = 6000.0f) {
            QTest::newRow(name) << QByteArray(path) << QByteArray(payload) << queued << nominal0;
        };
        const float inf = std::numeric_limits<float>::infinity();
        row("voltage", "ch/1/set/voltage", "1000", ":VOLT 1000,(@1);:READ:VOLT? (@0-3)\r\n");
        row("nominal is the top", "ch/0/set/voltage", " 6000 ",
            ":VOLT 6000,(@0);:READ:VOLT? (@0-3)\r\n");
        row("above nominal", "ch/0/set/voltage", "6000.5",
            "refused: 6000.5 V is outside 0 ... 6000 V of channel 0");
        row("negative, unipolar", "ch/0/set/voltage", "-1",
            "refused: -1 V is outside 0 ... 6000 V of channel 0");
        row("negative, bipolar", "ch/3/set/voltage", "-500",
            ":VOLT -500,(@3);:READ:VOLT? (@0-3)\r\n");
        row("current", "ch/0/set/current", "0.005",
            "refused: 0.005 A is outside 0 ... 0.004 A of channel 0");
        row("all, one unknown", "ch/all/set/voltage", "10",
            "refused: nominal voltage of channel 2 not known yet");
        row("all on, one unknown", "ch/all/set/on", "1",
            "refused: nominal voltage of channel 2 not known yet");
        row("all off", "ch/all/set/on", "0", ":VOLT OFF,(@0-3);:READ:CHAN:CONT? (@0-3)\r\n");
        row("emergency", "ch/1/set/emergency-off", "true",
            ":VOLT EMCY OFF,(@1);:READ:CHAN:CONT? (@0-3)\r\n");
        row("clear events", "ch/0/set/clear-events", "",
            ":EVENT CLEAR,(@0);:READ:CHAN:EV:STAT? (@0-3)\r\n");
        row("not a number", "ch/0/set/voltage", "1e3V", "refused: \"1e3V\" is no number");
        row("infinite", "ch/0/set/voltage", "inf", "refused: \"inf\" is no number");
        row("bad switch", "ch/0/set/on", "yes please",
            "refused: \"yes please\" is neither 1 nor 0");
        row("no such channel", "ch/4/set/on", "1", "refused: no channel 4 (0 to 3 or all)");
        row("unknown command", "ch/0/set/ramp", "1", "refused: unknown command \"ramp\"");
        // Before, "1e30" passed: every comparison with an infinite or undefined nominal is false.
        row("infinite nominal", "ch/0/set/voltage", "1e30",
            "refused: nominal voltage of channel 0 is \"inf\": no set value is taken for it", inf);
        row("undefined nominal, on", "ch/0/set/on", "1",
            "refused: nominal voltage of channel 0 is \"nan\": no set value is taken for it",
            std::numeric_limits<float>::quiet_NaN());
        row("infinite nominal, off", "ch/0/set/on", "0",
            ":VOLT OFF,(@0);:READ:CHAN:CONT? (@0-3)\r\n", inf);
        row("infinite nominal, emergency off", "ch/0/set/emergency-off", "1",
            ":VOLT EMCY OFF,(@0);:READ:CHAN:CONT? (@0-3)\r\n", inf);
        row("negative channel", "ch/0/set/voltage", "-500",
            ":VOLT -500,(@0);:READ:VOLT? (@0-3)\r\n", -3000.0f);
        for (const char *number : { "01", "+1", " 1", "-0", "1 ", "0x1" }) {
            QTest::newRow(qPrintable(QStringLiteral("channel \"%1\"").arg(QLatin1String(number))))
                << "ch/" + QByteArray(number) + "/set/on" << QByteArray("1")
                << QStringLiteral("refused: no channel %1 (0 to 3 or all)")
                       .arg(QLatin1String(number))
                << 6000.0f;
        }
    }
    void checksTopicAndRange()
    {
        QFETCH(QByteArray, path);
        QFETCH(QByteArray, payload);
        QFETCH(QString, queued);
        QFETCH(float, nominal0);
        link->module().channel(0).setVoltageNominal(nominal0);
        ChannelCommand command;
        QString error;
        if (!ChannelCommand::parse(path, payload, link->module().state(), &command, &error)) {
            QCOMPARE(QStringLiteral("refused: ") + error, queued);
            return;
        }
        command.apply(*link);
        link->feed("Vornwerk GmbH,KA2F840p,1001,2.07;4\r\n"); // the answer to the pending request
        QCOMPARE(link->lastSent(), queued);
    }
};

QTEST_GUILESS_MAIN(TestChannelCommand)
#include "tst_channelcommand.moc"
