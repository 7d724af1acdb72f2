#include "scpi_serial.h"

#include <QTest>

/// A serial link fed with canned answers: the engine's answer processing runs unchanged, only
/// the medium is left out.
class CannedSerial : public SCPI_Serial
{
public:
    using SCPI_Serial::SCPI_Serial;

    void deliver(quint16 code, const QByteArray &bytes)
    {
        requestCode = code;
        pending = bytes;
        onAnswerReady();
    }
    bool readAnswer(QByteArray &answer) override
    {
        answer.append(pending);
        pending.clear();
        return answer.endsWith("\r\n");
    }
    void sendCommand(quint16 code, const QString &) override { requestCode = code; }

private:
    QByteArray pending;
};

class tst_EchoChoice : public QObject
{
    Q_OBJECT

private slots:
    void firmwareAnswerChoosesEchoMode_data()
    {
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<bool>("echo");
        QTest::newRow("TX01B0 4.x") << QByteArray("TX01B0;4.12") << false;
        QTest::newRow("TX01B0 5.x") << QByteArray("TX01B0;5.01") << true;
        QTest::newRow("TX01B0 release 5 without point") << QByteArray("TX01B0;5") << false;
        QTest::newRow("WD7A0 any release") << QByteArray("WD7A0;0.1") << true;
        QTest::newRow("WD7A0 longer name") << QByteArray("WD7A0X;1.00") << false;
        QTest::newRow("TX02B0 1.x") << QByteArray("TX02B0;1.30") << true;
        QTest::newRow("TX02B0 3.x") << QByteArray("TX02B0;3.10") << false;
        QTest::newRow("KA2F") << QByteArray("KA2F;2.06") << false;
    }
    void firmwareAnswerChoosesEchoMode()
    {
        QFETCH(QByteArray, answer);
        QFETCH(bool, echo);
        CannedSerial serial;
        serial.setCharacterEcho(!echo);
        serial.deliver(SCPI_Parser::ReadFirmware, answer + "\r\n");
        QCOMPARE(serial.characterEcho(), echo);
    }

    void malformedFirmwareAnswerKeepsEchoMode_data()
    {
        QTest::addColumn<QByteArray>("answer");
        QTest::newRow("one field") << QByteArray("TX01B0");
        QTest::newRow("three fields") << QByteArray("KA2F;2.06;x");
        QTest::newRow("empty") << QByteArray();
    }
    void malformedFirmwareAnswerKeepsEchoMode()
    {
        QFETCH(QByteArray, answer);
        CannedSerial serial;
        serial.deliver(SCPI_Parser::ReadFirmware, answer + "\r\n");
        QVERIFY(serial.characterEcho());
    }
};

QTEST_GUILESS_MAIN(tst_EchoChoice)
#include "tst_echochoice.moc"
