// How soon the MQTT client asks the broker again: soon when the broker went away,
// after a growing pause when the broker refused it, and soon again while a sequence needs it.
#include "brokerprocess.h"
#include "mqttclient.h"
#include "spin.h"

#include <QTest>

class TestMqttReconnect : public QObject
{
    Q_OBJECT

private slots:
    void pauses_data()
    {
        QTest::addColumn<bool>("refusing"); // else no broker at all
        QTest::addColumn<bool>("keepShort"); // a sequence is active
        QTest::addColumn<bool>("grows"); // a pause beyond the short ones comes
        QTest::newRow("broker gone") << false << false << false;
        // Before, every loss made the pause grow to 30 s.
        QTest::newRow("refused: the pause grows") << true << false << true;
        QTest::newRow("refused while a sequence runs") << true << true << false;
    }
    void pauses()
    {
        QFETCH(bool, refusing);
        QFETCH(bool, keepShort);
        QFETCH(bool, grows);
        QTemporaryDir dir;
        const QString passwords = dir.filePath(QStringLiteral("passwords"));
        QFile(passwords).open(QIODevice::WriteOnly); // nobody may log in with a password
        BrokerProcess broker;
        BrokerSettings settings;
        settings.clientId = QStringLiteral("tst-mqttreconnect");
        settings.user = QStringLiteral("nobody");
        settings.password = QStringLiteral("wrong");
        if (refusing) {
            QVERIFY(broker.start(0, "password_file " + passwords.toLocal8Bit() + '\n'));
            settings.port = broker.port();
        } else {
            QTcpServer probe; // a port where nothing listens
            QVERIFY(probe.listen(QHostAddress::LocalHost, 0));
            settings.port = probe.serverPort();
        }
        MqttClient client(settings, QByteArray(), QByteArray());
        client.setKeepPausesShort([keepShort] { return keepShort; });
        const MqttClient::LossKind kind
            = refusing ? MqttClient::LossKind::Refused : MqttClient::LossKind::Gone;
        QList<int> pauses;
        QVERIFY(client.start());
        QVERIFY2(spinUntil(
                     [&]() {
                         if (client.lossCount(kind) > quint64(pauses.size()))
                             pauses << client.lastPauseMs();
                         return pauses.size() == 4;
                     },
                     30000),
            qPrintable(QStringLiteral("pauses %1").arg(pauses.size())));
        const int longest = *std::max_element(pauses.begin(), pauses.end());
        QCOMPARE(longest > MqttClient::ShortPauseMs, grows);
        QVERIFY(longest <= MqttClient::RefusedMaxPauseMs);
        QCOMPARE(client.lossCount(MqttClient::LossKind::Kicked), quint64(0));
    }
};

QTEST_GUILESS_MAIN(TestMqttReconnect)
#include "tst_mqttreconnect.moc"
