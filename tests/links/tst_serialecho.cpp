#include "ptypeer.h"
#include "scpi_serial.h"

#include <QRegularExpression>
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

/// How the device end misbehaves in character-echo mode.
enum class Fault { None, LoneLineFeed, LastEchoWithAnswer, StrayByteAfterFirstEcho };
Q_DECLARE_METATYPE(Fault)

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
        // Character echo is left on by default: identification must go out byte by byte.
        if (!characterEcho)
            link->setCharacterEcho(false);
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
    }

    // A pseudo-terminal always reports 8 data bits without parity, so only the settings it
    // keeps can be checked here.
    void portIs9600BaudOneStopBitWithoutFlowControl()
    {
        openLink(false);
        const termios line = peer->settings();
        QCOMPARE(cfgetospeed(&line), speed_t(B9600));
        QCOMPARE(line.c_cflag & (CSTOPB | CRTSCTS), tcflag_t(0));
        QCOMPARE(line.c_iflag & (IXON | IXOFF), tcflag_t(0));
    }

    void wholeLine_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QByteArray>("echo");
        QTest::addColumn<QByteArray>("answer");
        QTest::newRow("CR LF appended, echo stripped")
            << ":READ:CURR?" << QByteArray(":READ:CURR?\r\n") << QByteArray("2.0A\r\n");
        QTest::newRow("CR LF kept") << ":READ:CURR?\r\n"
                                    << QByteArray(":READ:CURR?\r\n") << QByteArray("2.0A\r\n");
        QTest::newRow("one byte differs, nothing stripped")
            << ":READ:CURR?" << QByteArray(":READ:CURX?\r\n")
            << QByteArray(":READ:CURX?\r\n2.0A\r\n");
        QTest::newRow("no echo") << ":READ:CURR?" << QByteArray() << QByteArray("2.0A\r\n");
    }
    void wholeLine()
    {
        QFETCH(QString, command);
        QFETCH(QByteArray, echo);
        QFETCH(QByteArray, answer);
        openLink(false);
        peer->onBytes = [this, echo](const QByteArray &) {
            if (peer->received.endsWith("\r\n"))
                peer->send(echo + "2.0A\r\n");
        };
        link->sendCommand(SCPI_Parser::ReadCurrentSet, command);
        QCOMPARE(link->pendingRequest(), quint16(SCPI_Parser::ReadCurrentSet));
        QTRY_COMPARE(link->answers.size(), 1);
        QCOMPARE(peer->received, QByteArray(":READ:CURR?\r\n"));
        QCOMPARE(link->answers.first(), answer);
    }

    void wholeLineAnswerInPiecesCompletesOnce()
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

    void characterEcho_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<Fault>("fault");
        QTest::addColumn<QByteArray>("written");
        const QByteArray line = ":READ:VOLT?\r\n";
        QTest::newRow("CR LF appended") << ":READ:VOLT?" << Fault::None << line;
        QTest::newRow("CR LF kept") << ":READ:VOLT?\r\n" << Fault::None << line;
        QTest::newRow("lone LF after the echo: line sent again")
            << ":READ:VOLT?" << Fault::LoneLineFeed << line + line;
        QTest::newRow("last echo and answer in one read")
            << ":READ:VOLT?" << Fault::LastEchoWithAnswer << line;
        QTest::newRow("stray byte after an echo is dropped")
            << ":READ:VOLT?" << Fault::StrayByteAfterFirstEcho << line;
    }
    void characterEcho()
    {
        QFETCH(QString, command);
        QFETCH(Fault, fault);
        QFETCH(QByteArray, written);
        openLink(true);
        int lines = 0;
        peer->onBytes = [&](const QByteArray &chunk) {
            const bool first = peer->received.size() == 1;
            if (!peer->received.endsWith("\r\n")) {
                peer->send(fault == Fault::StrayByteAfterFirstEcho && first ? chunk + "Z" : chunk);
            } else if (fault == Fault::LoneLineFeed && ++lines == 1) {
                peer->send(chunk);
                peer->send("\n");
            } else if (fault == Fault::LastEchoWithAnswer) {
                peer->send(chunk + "4.0E3V\r\n");
            } else {
                peer->send(chunk);
                peer->send("4.0E3V\r\n");
            }
        };
        link->sendCommand(SCPI_Parser::ReadVoltageSet, command);
        QCOMPARE(link->echoPhase(), SCPI_Serial::EchoPhase::Echo);
        QTRY_COMPARE(link->answers.size(), 1);
        QCOMPARE(link->answers.first(), QByteArray("4.0E3V\r\n"));
        QCOMPARE(peer->received, written);
        // The next byte never leaves before the echo of the previous one.
        QCOMPARE(peer->chunkSizes, QList<int>(written.size(), 1));
        QCOMPARE(link->echoPhase(), SCPI_Serial::EchoPhase::Idle);
    }

    void wrongEchoStopsTransmissionUntilTheRightOne()
    {
        openLink(true);
        peer->onBytes = [this](const QByteArray &chunk) {
            peer->send(peer->received.size() == 1 ? QByteArray("X") : chunk);
            if (peer->received.endsWith("\r\n"))
                peer->send("OK\r\n");
        };
        QTest::ignoreMessage(QtDebugMsg, "Error: echo is not correct. Echo: X");
        link->sendCommand(SCPI_Parser::ReadAverage, QStringLiteral(":CONF:AVER?"));
        QTRY_COMPARE(link->notifications, 1);
        QTest::qWait(100);
        QCOMPARE(peer->received, QByteArray(":"));
        QCOMPARE(link->echoPhase(), SCPI_Serial::EchoPhase::Echo);

        peer->send(":");
        QTRY_COMPARE(link->answers.size(), 1);
        QCOMPARE(link->answers.first(), QByteArray("OK\r\n"));
        QCOMPARE(peer->received, QByteArray(":CONF:AVER?\r\n"));
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

    void afterDisconnectNothingIsWritten_data()
    {
        QTest::addColumn<bool>("characterEcho");
        QTest::newRow("whole line") << false;
        QTest::newRow("character echo") << true;
    }
    void afterDisconnectNothingIsWritten()
    {
        QFETCH(bool, characterEcho);
        openLink(characterEcho);
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
