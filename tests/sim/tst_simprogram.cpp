#include <QProcess>
#include <QSerialPort>
#include <QSignalSpy>
#include <QTcpSocket>
#include <QtTest>

// vorn-module-sim as a program: options, the ready line, and a client on each medium.
class tst_SimProgram : public QObject
{
    Q_OBJECT

private slots:
    void helpNamesEveryOption();
    void badOptions_data();
    void badOptions();
    void tcpWithExplicitIdentity();
    void serialByteEcho();

private:
    static QByteArray readyLine(QProcess &sim, const QStringList &arguments);
};

QByteArray tst_SimProgram::readyLine(QProcess &sim, const QStringList &arguments)
{
    sim.start(QStringLiteral(VORN_SIM_EXE), arguments);
    if (!sim.waitForStarted(5000))
        return {};
    while (!sim.canReadLine()) {
        if (!sim.waitForReadyRead(5000))
            return {};
    }
    return sim.readLine().trimmed();
}

void tst_SimProgram::helpNamesEveryOption()
{
    QProcess sim;
    sim.start(QStringLiteral(VORN_SIM_EXE), { QStringLiteral("--help") });
    QVERIFY(sim.waitForFinished(5000));
    QCOMPARE(sim.exitCode(), 0);
    const QByteArray help = sim.readAllStandardOutput();
    for (const char *option : { "--tcp", "--address", "--serial", "--gpib", "--gpib-silent",
             "--gpib-socket", "--preset", "--list-presets", "--manufacturer", "--device",
             "--serial-number", "--firmware", "--release", "--channels", "--split", "--delay",
             "--drop-every", "--garbage-every", "--close-after", "--endless-after",
             "--wrong-echo-every", "--lone-lf-every", "--echo-with-answer", "--no-noise" })
        QVERIFY2(help.contains(option), option);

    sim.start(QStringLiteral(VORN_SIM_EXE), { QStringLiteral("--list-presets") });
    QVERIFY(sim.waitForFinished(5000));
    const QByteArray presets = sim.readAllStandardOutput();
    QVERIFY(presets.contains("KA2F\n"));
    QVERIFY(presets.contains("TQ88812p0000\n"));
}

void tst_SimProgram::badOptions_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("message");
    QTest::newRow("unknown option")
        << QStringList { QStringLiteral("--bogus") } << QByteArray("bogus");
    QTest::newRow("unknown preset") << QStringList { QStringLiteral("--preset"),
        QStringLiteral("XYZ") } << QByteArray("unknown preset");
    QTest::newRow("too many channels") << QStringList { QStringLiteral("--channels"),
        QStringLiteral("65") } << QByteArray("--channels");
    QTest::newRow("port not a number")
        << QStringList { QStringLiteral("--tcp"), QStringLiteral("x") } << QByteArray("--tcp");
    QTest::newRow("two media") << QStringList { QStringLiteral("--tcp"), QStringLiteral("0"),
        QStringLiteral("--serial") }
                               << QByteArray("choose one");
    QTest::newRow("GPIB address") << QStringList { QStringLiteral("--gpib"), QStringLiteral("31") }
                                  << QByteArray("GPIB address");
}

void tst_SimProgram::badOptions()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, message);
    QProcess sim;
    sim.start(QStringLiteral(VORN_SIM_EXE), arguments);
    QVERIFY(sim.waitForFinished(5000));
    QCOMPARE(sim.exitStatus(), QProcess::NormalExit);
    QCOMPARE(sim.exitCode(), 2);
    QVERIFY(sim.readAllStandardOutput().isEmpty());
    QVERIFY(sim.readAllStandardError().contains(message));
}

void tst_SimProgram::tcpWithExplicitIdentity()
{
    QProcess sim;
    const QByteArray line = readyLine(sim,
        { QStringLiteral("--tcp"), QStringLiteral("0"), QStringLiteral("--manufacturer"),
            QStringLiteral("Vornwerk GmbH"), QStringLiteral("--device"), QStringLiteral("DRSB2x"),
            QStringLiteral("--serial-number"), QStringLiteral("42"), QStringLiteral("--firmware"),
            QStringLiteral("DRSB"), QStringLiteral("--release"), QStringLiteral("3.99"),
            QStringLiteral("--channels"), QStringLiteral("2") });
    QVERIFY2(line.startsWith("tcp 127.0.0.1:"), line.constData());
    const quint16 port = quint16(line.mid(line.lastIndexOf(':') + 1).toUInt());
    QVERIFY(port != 0);
    QTcpSocket client;
    client.connectToHost(QHostAddress::LocalHost, port);
    QVERIFY(client.waitForConnected(5000));
    client.write("*IDN?;:READ:MOD:CHAN?\r\n:READ:VOLT? (@0-1)\r\n");
    QByteArray answer;
    while (answer.count("\r\n") < 2 && client.waitForReadyRead(5000))
        answer += client.readAll();
    QCOMPARE(answer, QByteArray("Vornwerk GmbH,DRSB2x,42,3.99;2\r\n0.00000E0V,0.00000E0V\r\n"));
    sim.terminate();
    QVERIFY(sim.waitForFinished(5000));
    QCOMPARE(sim.exitStatus(), QProcess::NormalExit);
}

void tst_SimProgram::serialByteEcho()
{
    QProcess sim;
    const QByteArray line = readyLine(
        sim, { QStringLiteral("--serial"), QStringLiteral("--preset"), QStringLiteral("WD7A0") });
    QVERIFY2(line.startsWith("serial /dev/pts/"), line.constData());
    QSerialPort port(QString::fromLocal8Bit(line.mid(7)));
    port.setBaudRate(9600);
    QVERIFY(port.open(QIODevice::ReadWrite));
    const QByteArray request = ":READ:MOD:CHAN?\r\n";
    for (char c : request) {
        port.write(&c, 1);
        QVERIFY(port.waitForReadyRead(2000));
        QCOMPARE(port.read(1), QByteArray(1, c));
    }
    QByteArray answer = port.readAll();
    while (!answer.endsWith("\r\n") && port.waitForReadyRead(2000))
        answer += port.readAll();
    QCOMPARE(answer, QByteArray("1\r\n"));
    port.close();
    sim.terminate();
    QVERIFY(sim.waitForFinished(5000));
}

QTEST_GUILESS_MAIN(tst_SimProgram)
#include "tst_simprogram.moc"
