#include "frontends/serialfrontend.h"
#include "model/simmodule.h"

#include <QSerialPort>
#include <QSignalSpy>
#include <QtTest>

using namespace vornsim;

static bool waitRead(QSerialPort &port)
{
    return port.bytesAvailable() > 0 || QSignalSpy(&port, &QSerialPort::readyRead).wait(1000);
}

// The serial front end's echo modes and faults, driven by a QSerialPort client in the same event
// loop. Plain line echo is exercised end to end by the serial link's tests.
class tst_SimSerial : public QObject
{
    Q_OBJECT

    std::unique_ptr<SimModule> m_module;
    std::unique_ptr<SerialFrontEnd> m_front;
    std::unique_ptr<QSerialPort> m_port;

    bool start(const char *preset, const FaultOptions &faults)
    {
        m_module = SimModule::fromPreset(QString::fromLatin1(preset));
        m_front = std::make_unique<SerialFrontEnd>(m_module.get());
        m_front->setFaults(faults);
        if (!m_front->open() || !m_front->portPath().startsWith(QLatin1String("/dev/pts/")))
            return false;
        m_port = std::make_unique<QSerialPort>(m_front->portPath());
        m_port->setBaudRate(9600);
        return m_port->open(QIODevice::ReadWrite);
    }
    QByteArray readLine()
    {
        QByteArray data;
        while (!data.endsWith("\r\n") && waitRead(*m_port))
            data += m_port->readAll();
        return data;
    }
    /// Sends like a careful host for byte-echo modules: each byte only after the previous echo.
    /// Returns the echoes received.
    QByteArray sendBytes(const QByteArray &line)
    {
        QByteArray echoes;
        for (int i = 0; i < line.size() && m_port->write(line.constData() + i, 1) == 1; ++i) {
            if (!waitRead(*m_port))
                break;
            echoes += m_port->read(1);
        }
        return echoes;
    }

private slots:
    void cleanup()
    {
        m_port.reset();
        m_front.reset();
    }

    void byteEchoFollowsTheRelease()
    {
        QVERIFY(start("TX01B0", {})); // release 5.14 echoes byte by byte
        QVERIFY(m_front->byteEcho());
        m_module->setFirmwareRelease(QStringLiteral("4.30"));
        QVERIFY(!m_front->byteEcho());
    }

    void wrongEchoByte()
    {
        FaultOptions faults;
        faults.wrongEchoEvery = 3;
        QVERIFY(start("WD7A0", faults));
        QCOMPARE(sendBytes("*IDN?\r\n"),
            QByteArray("*I") + char('D' ^ 0x20) + "N?" + char('\r' ^ 0x20) + '\n');
        QVERIFY(readLine().startsWith("Vornwerk GmbH,WD7A0120p"));
    }

    void loneLineFeed()
    {
        FaultOptions faults;
        faults.loneLfEvery = 2;
        QVERIFY(start("TX01B0", faults));
        QSignalSpy lines(m_front.get(), &SerialFrontEnd::lineReceived);
        const QByteArray first = ":VOLT -10;:READ:VOLT?\r\n", second = ":VOLT -20;:READ:VOLT?\r\n";
        QCOMPARE(sendBytes(first), first);
        QCOMPARE(readLine(), QByteArray("-1.00000E1V\r\n"));
        // The second request gets a lone LF and is not acted on; the host sends it again.
        QCOMPARE(sendBytes(second), second);
        QVERIFY(waitRead(*m_port));
        QCOMPARE(m_port->readAll(), QByteArray("\n"));
        QCOMPARE(m_module->channel(0).voltageSet, -10.0);
        QCOMPARE(sendBytes(second), second);
        QCOMPARE(readLine(), QByteArray("-2.00000E1V\r\n"));
        QCOMPARE(lines.size(), 2);
    }

    void echoWithAnswer()
    {
        FaultOptions faults;
        faults.echoWithAnswer = true;
        QVERIFY(start("WD7A0", faults));
        QCOMPARE(sendBytes(":READ:MOD:CHAN?\r"), QByteArray(":READ:MOD:CHAN?\r"));
        m_port->write("\n");
        QCOMPARE(readLine(), QByteArray("\n1\r\n")); // the echo of the last byte leads the answer
    }
};

QTEST_GUILESS_MAIN(tst_SimSerial)
#include "tst_simserial.moc"
