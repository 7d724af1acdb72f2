#include "ptypeer.h"
#include "scpi_serial.h"

#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>

/// A serial link whose answers are collected by the test instead of being parsed, so the echo
/// handling can be watched request by request.
class ProbeSerial : public SCPI_Serial
{
public:
    using SCPI_Serial::SCPI_Serial;

    QList<QByteArray> answers;
    QByteArray buffer;
    int notifications = 0;

protected:
    void onAnswerReady() override
    {
        ++notifications;
        if (readAnswer(buffer)) {
            answers.append(buffer);
            buffer.clear();
        }
    }
};

/// Device behaviours built on a PtyPeer.
namespace device {

/// Echoes each byte at once and answers \a answer when a line is complete.
void byteEcho(PtyPeer &peer, const QByteArray &answer)
{
    peer.onBytes = [&peer, answer](const QByteArray &chunk) {
        peer.send(chunk);
        if (peer.received.endsWith("\r\n"))
            peer.send(answer);
    };
}

/// Echoes the whole line and the answer in one write once the line is complete.
void lineEcho(PtyPeer &peer, const QByteArray &echo, const QByteArray &answer)
{
    peer.onBytes = [&peer, echo, answer](const QByteArray &) {
        if (peer.received.endsWith("\r\n"))
            peer.send(echo + answer);
    };
}

} // namespace device

class tst_SerialEcho : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<PtyPeer> peer;
    std::unique_ptr<ProbeSerial> link;

    void openLink(bool characterEcho)
    {
        peer = std::make_unique<PtyPeer>();
        QVERIFY(peer->isOpen());
        link = std::make_unique<ProbeSerial>();
        link->setPortName(peer->path());
        link->setCharacterEcho(characterEcho);
        QVERIFY(link->connectDevice());
        QVERIFY(link->isConnected());
    }

private slots:
    void cleanup()
    {
        link.reset();
        peer.reset();
    }

    void missingPortFailsWithTrace()
    {
        SCPI_Serial serial;
        serial.setPortName(QStringLiteral("/nonexistent/ttyVORN0"));
        QTest::ignoreMessage(
            QtDebugMsg, QRegularExpression(QStringLiteral("^connection error: .+")));
        QVERIFY(!serial.connectDevice());
        QVERIFY(!serial.isConnected());
        // The owner's usual reaction to a failed open must be safe.
        serial.disconnectDevice();
        QVERIFY(!serial.isConnected());
    }

    void lineTerminator_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<bool>("characterEcho");
        QTest::newRow("appended, whole line") << ":READ:VOLT?" << false;
        QTest::newRow("kept, whole line") << ":READ:VOLT?\r\n" << false;
        QTest::newRow("appended, byte echo") << ":READ:VOLT?" << true;
        QTest::newRow("kept, byte echo") << ":READ:VOLT?\r\n" << true;
    }
    void lineTerminator()
    {
        QFETCH(QString, command);
        QFETCH(bool, characterEcho);
        openLink(characterEcho);
        if (characterEcho)
            device::byteEcho(*peer, "1.0V\r\n");
        else
            device::lineEcho(*peer, ":READ:VOLT?\r\n", "1.0V\r\n");
        link->sendCommand(SCPI_Parser::ReadVoltageSet, command);
        QCOMPARE(link->pendingRequest(), quint16(SCPI_Parser::ReadVoltageSet));
        QTRY_COMPARE(link->answers.size(), 1);
        QCOMPARE(peer->received, QByteArray(":READ:VOLT?\r\n"));
        QCOMPARE(link->answers.first(), QByteArray("1.0V\r\n"));
    }

    void wholeLineEchoIsStrippedOnlyWhenExact_data()
    {
        QTest::addColumn<QByteArray>("echo");
        QTest::addColumn<QByteArray>("answer");
        QTest::newRow("exact echo") << QByteArray(":READ:CURR?\r\n") << QByteArray("2.0A\r\n");
        QTest::newRow("one byte differs")
            << QByteArray(":READ:CURX?\r\n") << QByteArray(":READ:CURX?\r\n2.0A\r\n");
        QTest::newRow("no echo") << QByteArray() << QByteArray("2.0A\r\n");
    }
    void wholeLineEchoIsStrippedOnlyWhenExact()
    {
        QFETCH(QByteArray, echo);
        QFETCH(QByteArray, answer);
        openLink(false);
        device::lineEcho(*peer, echo, "2.0A\r\n");
        link->sendCommand(SCPI_Parser::ReadCurrentSet, QStringLiteral(":READ:CURR?"));
        QTRY_COMPARE(link->answers.size(), 1);
        QCOMPARE(link->answers.first(), answer);
    }

    void answerInPiecesCompletesOnce()
    {
        openLink(false);
        peer->onBytes = [this](const QByteArray &) {
            if (peer->received.endsWith("\r\n"))
                peer->send(":MEAS:VOLT?\r\n12.");
        };
        link->sendCommand(SCPI_Parser::MeasureVoltage, QStringLiteral(":MEAS:VOLT?"));
        QTRY_COMPARE(link->buffer, QByteArray("12."));
        QVERIFY(link->answers.isEmpty());
        peer->send("5V\r\n");
        QTRY_COMPARE(link->answers.size(), 1);
        QCOMPARE(link->answers.first(), QByteArray("12.5V\r\n"));
    }

    void byteEchoSendsOneByteAtATime()
    {
        openLink(true);
        device::byteEcho(*peer, "3.5V\r\n");
        const QByteArray command = "*IDN?;:READ:MOD:CHAN?\r\n";
        link->sendCommand(SCPI_Parser::ReadIdentity, QString::fromLatin1(command));
        QCOMPARE(link->echoPhase(), SCPI_Serial::EchoPhase::Echo);
        QTRY_COMPARE(link->answers.size(), 1);
        QCOMPARE(link->answers.first(), QByteArray("3.5V\r\n"));
        QCOMPARE(peer->received, command);
        // The next byte never leaves before the echo of the previous one.
        QCOMPARE(peer->chunkSizes, QList<int>(command.size(), 1));
        QCOMPARE(link->echoPhase(), SCPI_Serial::EchoPhase::Idle);
    }

    void wrongEchoStopsTransmission()
    {
        openLink(true);
        bool spoil = true;
        peer->onBytes = [this, &spoil](const QByteArray &chunk) {
            peer->send(spoil ? QByteArray("X") : chunk);
            spoil = false;
            if (peer->received.endsWith("\r\n"))
                peer->send("OK\r\n");
        };
        QTest::ignoreMessage(QtDebugMsg, "Error: echo is not correct. Echo: X");
        link->sendCommand(SCPI_Parser::ReadAverage, QStringLiteral(":CONF:AVER?"));
        QTRY_COMPARE(link->notifications, 1);
        QTest::qWait(100);
        QCOMPARE(peer->received, QByteArray(":"));
        QCOMPARE(link->echoPhase(), SCPI_Serial::EchoPhase::Echo);

        // The expected echo arriving late lets the request go on.
        peer->send(":");
        QTRY_COMPARE(link->answers.size(), 1);
        QCOMPARE(link->answers.first(), QByteArray("OK\r\n"));
        QCOMPARE(peer->received, QByteArray(":CONF:AVER?\r\n"));
    }

    void loneLineFeedRetransmits()
    {
        openLink(true);
        int lines = 0;
        peer->onBytes = [this, &lines](const QByteArray &chunk) {
            peer->send(chunk);
            if (peer->received.endsWith("\r\n"))
                peer->send(++lines == 1 ? QByteArray("\n") : QByteArray("7\r\n"));
        };
        link->sendCommand(SCPI_Parser::ReadAverage, QStringLiteral(":CONF:AVER?"));
        QTRY_COMPARE(link->answers.size(), 1);
        QCOMPARE(link->answers.first(), QByteArray("7\r\n"));
        QCOMPARE(peer->received, QByteArray(":CONF:AVER?\r\n:CONF:AVER?\r\n"));
    }

    void lastEchoAndAnswerInOneRead()
    {
        openLink(true);
        peer->onBytes = [this](const QByteArray &chunk) {
            if (peer->received.endsWith("\r\n"))
                peer->send(chunk + "4.0E3V\r\n");
            else
                peer->send(chunk);
        };
        link->sendCommand(SCPI_Parser::ReadVoltageSet, QStringLiteral(":READ:VOLT?"));
        QTRY_COMPARE(link->answers.size(), 1);
        QCOMPARE(link->answers.first(), QByteArray("4.0E3V\r\n"));
    }

    void strayByteAfterEchoIsDropped()
    {
        openLink(true);
        bool first = true;
        peer->onBytes = [this, &first](const QByteArray &chunk) {
            peer->send(first ? chunk + "Z" : chunk);
            first = false;
            if (peer->received.endsWith("\r\n"))
                peer->send("1\r\n");
        };
        link->sendCommand(SCPI_Parser::ReadInterlock, QStringLiteral(":READ:X?"));
        QTRY_COMPARE(link->answers.size(), 1);
        QCOMPARE(link->answers.first(), QByteArray("1\r\n"));
        QCOMPARE(peer->received, QByteArray(":READ:X?\r\n"));
    }

    void closedPortIsReopenedBySend()
    {
        peer = std::make_unique<PtyPeer>();
        QVERIFY(peer->isOpen());
        ProbeSerial serial;
        serial.setPortName(peer->path());
        serial.setCharacterEcho(false);
        serial.sendCommand(SCPI_Parser::ReadAverage, QStringLiteral(":CONF:AVER?"));
        QVERIFY(serial.isConnected());
        QTRY_COMPARE(peer->received, QByteArray(":CONF:AVER?\r\n"));
    }

    void destroyingAnOpenLinkReleasesThePort()
    {
        openLink(false);
        ProbeSerial second;
        second.setPortName(peer->path());
        QTest::ignoreMessage(QtDebugMsg, QRegularExpression(QStringLiteral("^connection error: ")));
        QVERIFY(!second.connectDevice());
        link.reset();
        QVERIFY(second.connectDevice());
    }

    void afterDisconnectNothingIsWritten()
    {
        openLink(false);
        link->disconnectDevice();
        QVERIFY(!link->isConnected());
        link->sendCommand(SCPI_Parser::ReadAverage, QStringLiteral(":CONF:AVER?"));
        QByteArray buffer;
        QVERIFY(!link->readAnswer(buffer));
        QTest::qWait(50);
        QVERIFY(peer->received.isEmpty());
    }
};

QTEST_GUILESS_MAIN(tst_SerialEcho)
#include "tst_serialecho.moc"
