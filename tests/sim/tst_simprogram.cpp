#include <QProcess>
#include <QTcpSocket>
#include <QtTest>

// vorn-module-sim as a program: options and the ready line. The serial and GPIB ready lines are
// read by the links' end-to-end tests.
class tst_SimProgram : public QObject
{
    Q_OBJECT

private slots:
    void optionsThatEndAtOnce_data();
    void optionsThatEndAtOnce();
    void tcpWithExplicitIdentity();
};

void tst_SimProgram::optionsThatEndAtOnce_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QByteArray>("output"); // on stdout for 0, on stderr otherwise
    const auto row
        = [](const char *name, const QString &arguments, int exitCode, const QByteArray &output) {
              QTest::newRow(name) << arguments.split(QLatin1Char(' ')) << exitCode << output;
          };
    row("help", QStringLiteral("--help"), 0, "--echo-with-answer");
    row("presets", QStringLiteral("--list-presets"), 0, "KA2F\nTX01B0\n");
    row("unknown option", QStringLiteral("--bogus"), 2, "bogus");
    row("unknown preset", QStringLiteral("--preset XYZ"), 2, "unknown preset");
    row("too many channels", QStringLiteral("--channels 65"), 2, "--channels");
    row("port not a number", QStringLiteral("--tcp x"), 2, "--tcp");
    row("two media", QStringLiteral("--tcp 0 --serial"), 2, "choose one");
    row("GPIB address", QStringLiteral("--gpib 31"), 2, "GPIB address");
}

void tst_SimProgram::optionsThatEndAtOnce()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QByteArray, output);
    QProcess sim;
    sim.start(QStringLiteral(VORN_SIM_EXE), arguments);
    QVERIFY(sim.waitForFinished(5000));
    QCOMPARE(sim.exitStatus(), QProcess::NormalExit);
    QCOMPARE(sim.exitCode(), exitCode);
    const QByteArray out = sim.readAllStandardOutput();
    QVERIFY((exitCode == 0 ? out : sim.readAllStandardError()).contains(output));
    QVERIFY(exitCode == 0 || out.isEmpty());
}

void tst_SimProgram::tcpWithExplicitIdentity()
{
    QProcess sim;
    sim.start(QStringLiteral(VORN_SIM_EXE),
        QStringLiteral("--tcp 0 --manufacturer Vornwerk --device DRSB2x --serial-number 42 "
                       "--firmware DRSB --release 3.99 --channels 2")
            .split(QLatin1Char(' ')));
    QVERIFY(sim.waitForStarted(5000));
    while (!sim.canReadLine())
        QVERIFY(sim.waitForReadyRead(5000));
    const QByteArray line = sim.readLine().trimmed();
    QVERIFY2(line.startsWith("tcp 127.0.0.1:"), line.constData());
    QTcpSocket client;
    client.connectToHost(QHostAddress::LocalHost, quint16(line.mid(14).toUInt()));
    QVERIFY(client.waitForConnected(5000));
    client.write("*IDN?;:READ:MOD:CHAN?\r\n:READ:VOLT? (@0-1)\r\n");
    QByteArray answer;
    while (answer.count("\r\n") < 2 && client.waitForReadyRead(5000))
        answer += client.readAll();
    QCOMPARE(answer, QByteArray("Vornwerk,DRSB2x,42,3.99;2\r\n0.00000E0V,0.00000E0V\r\n"));
    // SIGTERM ends it cleanly.
    sim.terminate();
    QVERIFY(sim.waitForFinished(5000));
    QCOMPARE(sim.exitStatus(), QProcess::NormalExit);
}

QTEST_GUILESS_MAIN(tst_SimProgram)
#include "tst_simprogram.moc"
