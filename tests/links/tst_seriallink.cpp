#include "ptypeer.h"
#include "scpi_serial.h"

#include <QRegularExpression>
#include <QTest>

#include <utility>

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

/// A serial link fed with canned answers: the engine's answer processing runs unchanged, only
/// the medium is left out.
class CannedSerial : public SCPI_Serial
{
public:
    void deliver(quint16 code, const QByteArray &bytes)
    {
        requestCode = code;
        pending = bytes;
        onAnswerReady();
    }
    bool readAnswer(QByteArray &answer) override
    {
        answer.append(std::exchange(pending, QByteArray()));
        return answer.endsWith("\r\n");
    }
    void sendCommand(quint16 code, const QString &) override { requestCode = code; }

private:
    QByteArray pending;
};

/// How the device end misbehaves in character-echo mode.
enum class Fault { None, LoneLineFeed, LastEchoWithAnswer, StrayByteAfterFirstEcho };
Q_DECLARE_METATYPE(Fault)

class tst_SerialLink : public QObject
{
    Q_OBJECT

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
        serial.disconnectDevice(); // the owner's usual reaction to a failed open must be safe
    }

    // A pseudo-terminal always reports 8 data bits without parity; only the rest is checked.
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
        const QByteArray line = ":READ:CURR?\r\n";
        QTest::newRow("CR LF appended, echo stripped")
            << ":READ:CURR?" << line << QByteArray("2.0A\r\n");
        QTest::newRow("CR LF kept") << ":READ:CURR?\r\n" << line << QByteArray("2.0A\r\n");
        QTest::newRow("one byte differs, nothing stripped")
            << ":READ:CURR?" << QByteArray(":READ:CURX?\r\n")
            << QByteArray(":READ:CURX?\r\n2.0A\r\n");
        QTest::newRow("no echo") << ":READ:CURR?" << QByteArray() << QByteArray("2.0A\r\n");
    }
    void wholeLine()
    {
        QFETCH(QString, command);
        QFETCH(QByteArray, echo);
        openLink(false);
        peer->onBytes = [this, echo](const QByteArray &) {
            if (peer->received.endsWith("\r\n"))
                peer->send(echo + "2.0A\r\n");
        };
        link->sendCommand(SCPI_Parser::ReadCurrentSet, command);
        QCOMPARE(link->pendingRequest(), quint16(SCPI_Parser::ReadCurrentSet));
        QTRY_COMPARE(link->answers.size(), 1);
        QCOMPARE(peer->received, QByteArray(":READ:CURR?\r\n"));
        QTEST(link->answers.first(), "answer");
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
        QTRY_COMPARE(link->answers, QList<QByteArray> { "12.5V\r\n" });
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
            } else if (fault == Fault::LastEchoWithAnswer) {
                peer->send(chunk + "4.0E3V\r\n");
            } else {
                peer->send(chunk);
                peer->send(fault == Fault::LoneLineFeed && ++lines == 1 ? "\n" : "4.0E3V\r\n");
            }
        };
        link->sendCommand(SCPI_Parser::ReadVoltageSet, command);
        QCOMPARE(link->echoPhase(), SCPI_Serial::EchoPhase::Echo);
        QTRY_COMPARE(link->answers, QList<QByteArray> { "4.0E3V\r\n" });
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
        QTRY_COMPARE(link->answers, QList<QByteArray> { "OK\r\n" });
        QCOMPARE(peer->received, QByteArray(":CONF:AVER?\r\n"));
    }

    void closedPortIsReopenedBySend()
    {
        peer = std::make_unique<PtyPeer>();
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

    // The firmware answer chooses the echo mode; a malformed one leaves it as it was.
    void firmwareAnswerChoosesEchoMode_data()
    {
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<bool>("before");
        QTest::addColumn<bool>("after");
        QTest::newRow("TX01B0 4.x") << QByteArray("TX01B0;4.12") << true << false;
        QTest::newRow("TX01B0 5.x") << QByteArray("TX01B0;5.01") << false << true;
        QTest::newRow("TX01B0 release 5 without point") << QByteArray("TX01B0;5") << true << false;
        QTest::newRow("WD7A0 any release") << QByteArray("WD7A0;0.1") << false << true;
        QTest::newRow("WD7A0 longer name") << QByteArray("WD7A0X;1.00") << true << false;
        QTest::newRow("TX02B0 1.x") << QByteArray("TX02B0;1.30") << false << true;
        QTest::newRow("TX02B0 3.x") << QByteArray("TX02B0;3.10") << true << false;
        QTest::newRow("KA2F") << QByteArray("KA2F;2.06") << true << false;
        QTest::newRow("one field") << QByteArray("TX01B0") << true << true;
        QTest::newRow("three fields") << QByteArray("KA2F;2.06;x") << true << true;
        QTest::newRow("empty") << QByteArray() << true << true;
    }
    void firmwareAnswerChoosesEchoMode()
    {
        QFETCH(QByteArray, answer);
        QFETCH(bool, before);
        CannedSerial serial;
        serial.setCharacterEcho(before);
        serial.deliver(SCPI_Parser::ReadFirmware, answer + "\r\n");
        QTEST(serial.characterEcho(), "after");
    }

    void portOrder_data()
    {
        QTest::addColumn<QStringList>("present");
        QTest::addColumn<QStringList>("listed");
        const auto row = [](const char *name, const char *present, const char *listed) {
            QTest::newRow(name) << QString::fromLatin1(present).split(QLatin1Char(' '))
                                << QString::fromLatin1(listed).split(QLatin1Char(' '));
        };
        row("COM numbers", "COM10 COM3 COM1", "COM1 COM3 COM10");
        row("Linux names in natural order", "ttyS10 ttyUSB0 ttyS2 ttyACM1 ttyS1",
            "ttyACM1 ttyS1 ttyS2 ttyS10 ttyUSB0");
        row("Linux names count 0, before COM1", "COM2 ttyUSB1 COM1 ttyUSB0",
            "ttyUSB0 ttyUSB1 COM1 COM2");
        row("number after the first COM", "xCOM12 COM4 COMCOM5", "COMCOM5 COM4 xCOM12");
        row("leading zeros", "tty010 tty9", "tty9 tty010");
        // Numbers: "" 0, "COMx" 0, "x" 0, "COM7" 7, "ab12" 12 (third character on).
        QTest::newRow("text that is no number counts 0") << QStringList { "ab12", "COM7", "x",
            "COMx", "" } << QStringList { "", "COMx", "x", "COM7", "ab12" };
        QTest::newRow("empty") << QStringList() << QStringList();
    }
    void portOrder()
    {
        QFETCH(QStringList, present);
        QFETCH(QStringList, listed);
        QCOMPARE(SCPI_Serial::sortSerialPortNames(present), listed);
        // The result does not depend on the order the system reports the ports in.
        std::reverse(present.begin(), present.end());
        QCOMPARE(SCPI_Serial::sortSerialPortNames(present), listed);
    }
};

QTEST_GUILESS_MAIN(tst_SerialLink)
#include "tst_seriallink.moc"
