#include <QProcess>
#include <QTcpSocket>
#include <QtTest>

// vorn-module-sim as a program: options and the ready line. The serial and GPIB ready lines are
// read by the links' end-to-end tests.
class tst_SimProgram : public QObject
{
    Q_OBJECT

private slots:
    void optionsThatEndAtOnce_data()
    {
        QTest::addColumn<QString>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QByteArray>("output"); // on stdout for 0, on stderr otherwise
        QTest::newRow("help") << "--help" << 0 << QByteArray("--echo-with-answer");
        QTest::newRow("version") << "--version" << 0
                                 << QByteArray("vorn-module-sim " VORN_VERSION "\n");
        QTest::newRow("presets") << "--list-presets" << 0 << QByteArray("KA2F\nTX01B0\n");
        QTest::newRow("unknown option") << "--bogus" << 2 << QByteArray("bogus");
        QTest::newRow("unknown preset") << "--preset XYZ" << 2 << QByteArray("unknown preset");
        QTest::newRow("too many channels") << "--channels 65" << 2 << QByteArray("--channels");
        QTest::newRow("port not a number") << "--tcp x" << 2 << QByteArray("--tcp");
        QTest::newRow("two media") << "--tcp 0 --serial" << 2 << QByteArray("choose one");
        QTest::newRow("GPIB address") << "--gpib 31" << 2 << QByteArray("GPIB address");
        QTest::newRow("control commands in help")
            << "--help" << 0 << QByteArray("inhibit CH on|off");
        QTest::newRow("load on a missing channel")
            << "--load 4=1e6" << 2 << QByteArray("--load: no channel 4");
        QTest::newRow("load without resistance") << "--load all=0" << 2 << QByteArray("--load");
        QTest::newRow("load with three values") << "--load 0=1,2,3" << 2 << QByteArray("--load");
        QTest::newRow("load without channel") << "--load 1e6" << 2 << QByteArray("CH=");
        QTest::newRow("arc rate") << "--arc-rate 0=fast" << 2 << QByteArray("--arc-rate");
        QTest::newRow("control port") << "--control 70000" << 2 << QByteArray("--control");
        QTest::newRow("limit above nominal") << "--limits 90,101" << 2 << QByteArray("--limits");
        QTest::newRow("modules over serial")
            << "--serial --modules 2" << 2 << QByteArray("--modules needs TCP");
        QTest::newRow("no modules") << "--modules 0" << 2 << QByteArray("--modules: 0");
        QTest::newRow("modules past the last port")
            << "--tcp 65535 --modules 2" << 2 << QByteArray("pass port 65535");
    }
    void optionsThatEndAtOnce()
    {
        QFETCH(QString, arguments);
        QFETCH(int, exitCode);
        QFETCH(QByteArray, output);
        QProcess sim;
        sim.start(QStringLiteral(VORN_SIM_EXE), arguments.split(QLatin1Char(' ')));
        QVERIFY(sim.waitForFinished(5000));
        QCOMPARE(sim.exitStatus(), QProcess::NormalExit);
        QCOMPARE(sim.exitCode(), exitCode);
        const QByteArray out = sim.readAllStandardOutput();
        QVERIFY((exitCode == 0 ? out : sim.readAllStandardError()).contains(output));
        QVERIFY(exitCode == 0 || out.isEmpty());
    }

    // One module, and several on consecutive ports whose serial numbers count up: the last one
    // answers with the highest.
    void tcpWithExplicitIdentity_data()
    {
        QTest::addColumn<int>("modules");
        QTest::newRow("one") << 1;
        QTest::newRow("three") << 3;
    }
    void tcpWithExplicitIdentity()
    {
        QFETCH(int, modules);
        QProcess sim;
        sim.start(QStringLiteral(VORN_SIM_EXE),
            QStringLiteral("--tcp 0 --manufacturer Vornwerk --device DRSB2x --serial-number 42 "
                           "--firmware DRSB --release 3.99 --channels 2 --modules %1")
                .arg(modules)
                .split(QLatin1Char(' ')));
        while (!sim.canReadLine())
            QVERIFY(sim.waitForReadyRead(5000));
        const QByteArray line = sim.readLine().trimmed();
        QVERIFY2(line.startsWith("tcp 127.0.0.1:"), line.constData());
        const QList<QByteArray> ports = line.mid(14).split('-');
        QCOMPARE(ports.size(), modules > 1 ? 2 : 1);
        QCOMPARE(ports.last().toInt() - ports.first().toInt(), modules - 1);
        QTcpSocket client;
        client.connectToHost(QHostAddress::LocalHost, quint16(ports.last().toUInt()));
        QVERIFY(client.waitForConnected(5000));
        client.write("*IDN?;:READ:MOD:CHAN?\r\n:READ:VOLT? (@0-1)\r\n");
        QByteArray answer;
        while (answer.count("\r\n") < 2 && client.waitForReadyRead(5000))
            answer += client.readAll();
        QCOMPARE(answer,
            "Vornwerk,DRSB2x," + QByteArray::number(41 + modules)
                + ",3.99;2\r\n0.00000E0V,0.00000E0V\r\n");
        sim.terminate(); // SIGTERM ends it cleanly
        QVERIFY(sim.waitForFinished(5000));
        QCOMPARE(sim.exitStatus(), QProcess::NormalExit);
    }

    // A loaded channel tripped through the control port, and a module that stops answering; of
    // two modules, the second addressed by its number.
    void controlPort()
    {
        QProcess sim;
        sim.start(QStringLiteral(VORN_SIM_EXE),
            QStringLiteral("--tcp 0 --modules 2 --control 0 --load all=1e6 --no-noise")
                .split(QLatin1Char(' ')));
        QList<QByteArray> ready;
        while (ready.size() < 2) {
            while (!sim.canReadLine())
                QVERIFY(sim.waitForReadyRead(5000));
            ready << sim.readLine().trimmed();
        }
        QVERIFY2(ready.at(1).startsWith("control 127.0.0.1:"), ready.at(1).constData());
        QTcpSocket wire;
        QTcpSocket control;
        wire.connectToHost(
            QHostAddress::LocalHost, quint16(ready.at(0).mid(14).split('-').first().toUInt()));
        control.connectToHost(QHostAddress::LocalHost, quint16(ready.at(1).mid(18).toUInt()));
        QVERIFY(wire.waitForConnected(5000) && control.waitForConnected(5000));
        const auto line = [](QTcpSocket &socket, const QByteArray &request, int ms = 5000) {
            socket.write(request);
            while (!socket.canReadLine() && socket.waitForReadyRead(ms)) { }
            return socket.readLine().trimmed();
        };
        // 100 %/s: 600 V within a second; 1 MOhm draws 0.6 mA.
        wire.write(":CONF:RAMP:VOLT 100;:VOLT 600,(@0);:VOLT ON,(@0)\r\n");
        QByteArray current;
        for (int i = 0; i < 50 && current != "6.00000E-4A"; ++i, QTest::qWait(100))
            current = line(wire, ":MEAS:CURR? (@0)\r\n");
        QCOMPARE(current, QByteArray("6.00000E-4A"));
        // Before, the control port reached the first module only, and tripped an off channel.
        QCOMPARE(line(control, "@1 trip 0\n"), QByteArray("error: channel 0 is not on, no trip"));
        QVERIFY(line(control, "@2 trip 0\n").startsWith("error: no module 2 (@0 to @1)"));
        QCOMPARE(line(control, "@0 trip 0\n"), QByteArray("ok"));
        QCOMPARE(line(wire, ":READ:CHAN:STAT? (@0);:MEAS:CURR? (@0)\r\n"),
            QByteArray("8193;0.00000E0A"));
        QVERIFY(line(control, "trip 9\r\n").startsWith("error: no channel 9"));
        QCOMPARE(line(control, "stop\n"), QByteArray("ok"));
        QCOMPARE(line(wire, "*IDN?\r\n", 300), QByteArray());
        QCOMPARE(line(control, "resume\n"), QByteArray("ok"));
        QCOMPARE(line(wire, ":READ:MOD:CHAN?\r\n"), QByteArray("4"));
        sim.terminate();
        QVERIFY(sim.waitForFinished(5000));
    }
};

QTEST_GUILESS_MAIN(tst_SimProgram)
#include "tst_simprogram.moc"
