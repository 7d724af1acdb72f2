#include "frontends/serialfrontend.h"
#include "model/simmodule.h"

#include <QSerialPort>
#include <QSignalSpy>
#include <QtTest>

using namespace vornsim;

// The serial front end's echo modes and faults, driven by a QSerialPort client in the same event
// loop. Plain line echo is exercised end to end by the serial link's tests.
class tst_SimSerial : public QObject
{
    Q_OBJECT

private slots:
    void byteEcho();
    void wrongEchoByte();
    void loneLineFeed();
    void echoWithAnswer();

private:
    bool start(const char *preset, const FaultOptions &faults = FaultOptions());
    QByteArray readLine();
    QByteArray sendBytes(const QByteArray &line);

    std::unique_ptr<SimModule> m_module;
    std::unique_ptr<SerialFrontEnd> m_front;
    std::unique_ptr<QSerialPort> m_port;
};

bool tst_SimSerial::start(const char *preset, const FaultOptions &faults)
{
    m_port.reset();
    m_front.reset();
    m_module = SimModule::fromPreset(QString::fromLatin1(preset));
    m_front = std::make_unique<SerialFrontEnd>(m_module.get());
    m_front->setFaults(faults);
    if (!m_front->open() || !m_front->portPath().startsWith(QLatin1String("/dev/pts/")))
        return false;
    m_port = std::make_unique<QSerialPort>(m_front->portPath());
    m_port->setBaudRate(9600);
    return m_port->open(QIODevice::ReadWrite);
}

static bool waitRead(QSerialPort &port, int ms)
{
    if (port.bytesAvailable() > 0)
        return true;
    QSignalSpy spy(&port, &QSerialPort::readyRead);
    return spy.wait(ms);
}

QByteArray tst_SimSerial::readLine()
{
    QByteArray data;
    while (!data.endsWith("\r\n") && waitRead(*m_port, 1000))
        data += m_port->readAll();
    return data;
}

/// Sends like a careful host for byte-echo modules: each byte only after the previous echo.
/// Returns the echoes received.
QByteArray tst_SimSerial::sendBytes(const QByteArray &line)
{
    QByteArray echoes;
    for (char c : line) {
        m_port->write(&c, 1);
        if (!waitRead(*m_port, 1000))
            break;
        echoes += m_port->read(1);
    }
    return echoes;
}

void tst_SimSerial::byteEcho()
{
    // The echo mode follows the release the module reports, not the preset it started from.
    QVERIFY(start("TX01B0")); // release 5.14 echoes byte by byte
    QVERIFY(m_front->byteEcho());
    m_module->setFirmwareRelease(QStringLiteral("4.30"));
    QVERIFY(!m_front->byteEcho());
}

void tst_SimSerial::wrongEchoByte()
{
    FaultOptions faults;
    faults.wrongEchoEvery = 3;
    QVERIFY(start("WD7A0", faults));
    const QByteArray echoes = sendBytes("*IDN?\r\n");
    QCOMPARE(echoes.size(), 7);
    QCOMPARE(echoes.at(0), '*');
    QCOMPARE(echoes.at(2), char('D' ^ 0x20));
    QCOMPARE(echoes.at(5), char('\r' ^ 0x20));
    QVERIFY(readLine().startsWith("Vornwerk GmbH,WD7A0120p"));
}

void tst_SimSerial::loneLineFeed()
{
    FaultOptions faults;
    faults.loneLfEvery = 2;
    QVERIFY(start("TX01B0", faults));
    QSignalSpy lines(m_front.get(), &SerialFrontEnd::lineReceived);
    QVERIFY(lines.isValid());
    const QByteArray line = ":VOLT -10;:READ:VOLT?\r\n";
    QCOMPARE(sendBytes(line), line);
    QCOMPARE(readLine(), QByteArray("-1.00000E1V\r\n"));
    // The second request gets a lone LF and is not acted on; the host sends it again.
    const QByteArray second = ":VOLT -20;:READ:VOLT?\r\n";
    QCOMPARE(sendBytes(second), second);
    QVERIFY(waitRead(*m_port, 1000));
    QCOMPARE(m_port->readAll(), QByteArray("\n"));
    QCOMPARE(m_module->channel(0).voltageSet, -10.0);
    QCOMPARE(sendBytes(second), second);
    QCOMPARE(readLine(), QByteArray("-2.00000E1V\r\n"));
    QCOMPARE(lines.size(), 2);
}

void tst_SimSerial::echoWithAnswer()
{
    FaultOptions faults;
    faults.echoWithAnswer = true;
    QVERIFY(start("WD7A0", faults));
    const QByteArray line = ":READ:MOD:CHAN?\r\n";
    QCOMPARE(sendBytes(line.chopped(1)), line.chopped(1));
    m_port->write("\n");
    // The echo of the last byte leads the answer.
    QCOMPARE(readLine(), QByteArray("\n1\r\n"));
}

QTEST_GUILESS_MAIN(tst_SimSerial)
#include "tst_simserial.moc"
