// The bridge program between two simulated modules and a real broker: values, commands, a trip's
// events and alarms, a module that stops and comes back, and a broker restart.
#include "brokerprocess.h"
#include "mqttprobe.h"
#include "simprocess.h"

#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

namespace {

/// Sends one line to a port of a simulator (its module or its control port) and returns the
/// answer line.
QByteArray exchange(quint16 port, const QByteArray &line)
{
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, port);
    QByteArray answer;
    if (socket.waitForConnected(3000) && socket.write(line + "\r\n") > 0) {
        while (!answer.endsWith('\n') && socket.waitForReadyRead(3000))
            answer += socket.readAll();
    }
    return answer.trimmed();
}

/// Asks a simulator directly and returns the numbers of its answer (units stripped), in the
/// order of the queries and channels.
QList<double> ask(quint16 port, const QByteArray &query)
{
    QList<double> values;
    for (QByteArray field : exchange(port, query).replace(';', ',').split(',')) {
        while (!field.isEmpty() && QByteArrayView("VAC%/s").contains(field.back()))
            field.chop(1);
        values.append(field.toDouble());
    }
    return values;
}

quint16 portOf(const SimProcess &sim)
{
    return quint16(sim.endpoint().section(QLatin1Char(':'), -1).toUInt());
}

} // namespace

class TestBridgeBroker : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY2(!BrokerProcess::program().isEmpty(), "mosquitto is missing; run scripts/deps.sh");
        QVERIFY(broker.start());
        QVERIFY(startSim(
            simA, 0, "KA2F", "1001", { QStringLiteral("--control"), QStringLiteral("0") }));
        const QByteArray control = simA.nextLine(); // "control 127.0.0.1:<port>"
        controlA = quint16(control.mid(control.lastIndexOf(':') + 1).toUInt());
        QVERIFY(controlA != 0);
        QVERIFY(startSim(simB, 0, "DRSB", "1002"));
        portA = portOf(simA);
        // Ramp speeds apart from each other, so that every module value of A is its own.
        QCOMPARE(ask(portA, ":CONF:RAMP:VOLT 12.5;:CONF:RAMP:CURR 7.25;:READ:RAMP:VOLT?;CURR?"),
            QList<double>({ 12.5, 7.25 }));
        const QString config = dir.filePath(QStringLiteral("bridge.conf"));
        const QByteArray text = QStringLiteral("[broker]\nport = %1\nrate = 20\n"
                                               "[module a]\ntcp = 127.0.0.1:%2\ncommands = on\n"
                                               "[module b]\ntcp = 127.0.0.1:%3\n")
                                    .arg(broker.port())
                                    .arg(portA)
                                    .arg(portOf(simB))
                                    .toLatin1();
        QVERIFY(writeConfig(config, text, QFile::ReadOwner | QFile::WriteOwner));
        probe = std::make_unique<MqttProbe>(broker.port(), "vorn/#");
        bridge.setProgram(QStringLiteral(VORN_BRIDGE_PATH));
        bridge.setArguments({ config });
        bridge.setProcessChannelMode(QProcess::MergedChannels);
        connect(&bridge, &QProcess::readyRead, this, [this]() { bridgeLog += bridge.readAll(); });
        bridge.start();
        QVERIFY(bridge.waitForStarted(5000));
        QVERIFY2(probe->waitFor("vorn/1001/state", "online", Patience), bridgeLog.constData());
        QVERIFY2(probe->waitFor("vorn/1002/state", "online", Patience), bridgeLog.constData());
    }
    void cleanupTestCase()
    {
        bridge.terminate();
        QVERIFY(bridge.waitForFinished(5000));
        QCOMPARE(bridge.exitCode(), 0);
        // A clean end says goodbye for the bridge and its modules.
        QVERIFY(probe->waitFor("vorn/bridge/vorn-module-bridge/state", "offline", 5000));
        QCOMPARE(probe->last.value("vorn/1002/state"), QByteArray("offline"));
    }
    void refusesBadFiles_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<bool>("worldReadable");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QByteArray>("message");
        const auto row = [](const char *name, const char *text, bool worldReadable, int exitCode,
                             const char *message) {
            QTest::newRow(name) << QByteArray(text) << worldReadable << exitCode
                                << QByteArray(message);
        };
        const char *module = "[module a]\ngpib = 3\n";
        row("fine", module, true, 0, ": fine, 1 module(s)");
        row("broken line", "[module a]\ngpib = 3\nspeed = 9\n", false, 1,
            "line 3: unknown key \"speed\" in [module a]");
        row("readable password", "[broker]\nuser = u\npassword = x\n[module a]\ngpib = 3\n", true,
            1, "readable by every user");
        row("password, owner only", "[broker]\nuser = u\npassword = x\n[module a]\ngpib = 3\n",
            false, 0, ": fine, 1 module(s)");
    }
    void refusesBadFiles()
    {
        QFETCH(QByteArray, text);
        QFETCH(bool, worldReadable);
        QFETCH(int, exitCode);
        QFETCH(QByteArray, message);
        const QString path = dir.filePath(QStringLiteral("check.conf"));
        QVERIFY(writeConfig(path, text,
            QFile::ReadOwner | QFile::WriteOwner
                | (worldReadable ? QFile::ReadOther : QFile::Permissions())));
        QProcess check;
        check.setProcessChannelMode(QProcess::MergedChannels);
        check.start(QStringLiteral(VORN_BRIDGE_PATH), { QStringLiteral("--check"), path });
        QVERIFY(check.waitForFinished(10000));
        const QByteArray output = check.readAll();
        QCOMPARE(check.exitCode(), exitCode);
        QVERIFY2(output.contains(message), output.constData());
    }
    void publishesTheModulesValues()
    {
        const QHash<QByteArray, QByteArray> &last = probe->last;
        QCOMPARE(last.value("vorn/1001/device"), QByteArray("KA2F840p"));
        QCOMPARE(last.value("vorn/1001/channels"), QByteArray("4"));
        QCOMPARE(last.value("vorn/1002/firmware"), QByteArray("DRSB"));
        QCOMPARE(last.value("vorn/bridge/vorn-module-bridge/state"), QByteArray("online"));
        const QList<double> nominal = ask(portA, ":READ:VOLT:NOM? (@0-3)");
        const QList<double> current = ask(portA, ":READ:CURR:NOM? (@0-3)");
        QCOMPARE(nominal.size(), 4);
        for (int c = 0; c < 4; ++c) {
            const QByteArray ch = "vorn/1001/ch/" + QByteArray::number(c) + '/';
            QCOMPARE(last.value(ch + "voltage/nominal").toDouble(), nominal[c]);
            QCOMPARE(last.value(ch + "current/nominal").toDouble(), current[c]);
        }
        const quint32 status = last.value("vorn/1001/ch/0/status").toUInt();
        QVERIFY(status & 1); // positive polarity
        QVERIFY(last.value("vorn/1001/ch/0/status/names").startsWith("[\"isPos\""));
    }
    // Each module value under its own topic: the module reports a different number for each,
    // and each topic carries the number of its own query.
    void moduleValueTopics_data()
    {
        QTest::addColumn<QByteArray>("topic");
        QTest::addColumn<QByteArray>("query");
        const char *const rows[][2] = { { "temperature", ":READ:MOD:TEMP?" },
            { "supply/p24", ":READ:MOD:SUP:P24V?" }, { "supply/p5", ":READ:MOD:SUP:P5V?" },
            { "supply/p12", ":READ:MOD:SUP:P12V?" }, { "supply/n12", ":READ:MOD:SUP:N12V?" },
            { "ramp/voltage", ":READ:RAMP:VOLT?" }, { "ramp/current", ":READ:RAMP:CURR?" },
            { "limit/voltage", ":READ:VOLT:LIM?" }, { "limit/current", ":READ:CURR:LIM?" } };
        for (const auto &row : rows)
            QTest::newRow(row[0]) << QByteArray(row[0]) << QByteArray(row[1]);
    }
    void moduleValueTopics()
    {
        QFETCH(QByteArray, topic);
        QFETCH(QByteArray, query);
        const double value = ask(portA, query).value(0);
        QVERIFY2(!moduleValues.contains(value), "the module reports this value for two topics");
        moduleValues.append(value);
        const QByteArray full = "vorn/1001/" + topic;
        QVERIFY2(spinUntil([&]() { return float(last(full)) == float(value); }, Patience),
            qPrintable(QStringLiteral("%1 carries %2, the module says %3")
                           .arg(QLatin1String(full), QLatin1String(probe->last.value(full)))
                           .arg(value)));
    }
    void commands_data()
    {
        QTest::addColumn<QByteArray>("topic");
        QTest::addColumn<QByteArray>("payload");
        QTest::addColumn<double>("simulatorValue"); // the set voltage the module then reports
        QTest::addColumn<QByteArray>("error");
        QTest::newRow("commands off")
            << QByteArray("vorn/1002/ch/0/set/voltage") << QByteArray("100") << 0.0 << QByteArray();
        QTest::newRow("commands on") << QByteArray("vorn/1001/ch/1/set/voltage")
                                     << QByteArray("1000") << 1000.0 << QByteArray();
        QTest::newRow("out of range")
            << QByteArray("vorn/1001/ch/1/set/voltage") << QByteArray("7000") << 1000.0
            << QByteArray("outside 0 ... 6000 V of channel 1");
    }
    void commands()
    {
        QFETCH(QByteArray, topic);
        QFETCH(QByteArray, payload);
        QFETCH(double, simulatorValue);
        QFETCH(QByteArray, error);
        const QByteArray base = topic.left(topic.indexOf("/ch/") + 1);
        const quint16 port = base == "vorn/1001/" ? portA : portOf(simB);
        const int channel = topic.split('/').at(3).toInt();
        probe->last.remove(base + "error");
        QVERIFY(probe->client->publish(topic, payload, 1, false));
        if (!error.isEmpty()) {
            QVERIFY(spinUntil([&]() { return probe->last.contains(base + "error"); }, Patience));
            const QByteArray said = probe->last.value(base + "error");
            QVERIFY2(said.contains(error), said.constData());
        } else if (simulatorValue != 0.0) {
            QVERIFY(probe->waitFor(base + "ch/1/voltage/set", payload, Patience));
            QVERIFY(bridgeLog.contains("command channel 1: voltage 1000 V"));
        } else {
            spinFor(1500); // time enough for a command to arrive if it were carried out
            QVERIFY(!probe->last.contains(base + "error"));
        }
        QCOMPARE(ask(port, ":READ:VOLT? (@0-3)").value(channel), simulatorValue);
    }
    void tripReachesEventsAndAlarms()
    {
        QVERIFY(probe->waitFor("vorn/1001/alarms", "[]", Patience));
        const qsizetype seen = probe->messages.size();
        QCOMPARE(exchange(controlA, "trip 2"), QByteArray("ok"));
        QVERIFY(
            spinUntil([&]() { return probe->last.value("vorn/1001/alarms") != "[]"; }, Patience));
        const QJsonArray alarms
            = QJsonDocument::fromJson(probe->last.value("vorn/1001/alarms")).array();
        QCOMPARE(alarms.size(), 1);
        QCOMPARE(alarms.first()["channel"].toInt(), 2);
        QCOMPARE(alarms.first()["condition"].toString(), QStringLiteral("isTRP"));
        QCOMPARE(alarms.first()["text"].toString(), QStringLiteral("channel 2 tripped"));
        QJsonObject tripped;
        QVERIFY(spinUntil(
            [&]() {
                for (qsizetype i = seen; i < probe->messages.size(); ++i) {
                    const QJsonObject event
                        = QJsonDocument::fromJson(probe->messages.at(i).second).object();
                    if (probe->messages.at(i).first == "vorn/1001/events"
                        && event["text"].toString().startsWith(QLatin1String("channel 2 tripped")))
                        tripped = event;
                }
                return !tripped.isEmpty();
            },
            Patience));
        QCOMPARE(tripped["serial"].toInt(), 1001);
        QVERIFY(tripped["rose"].toArray().contains(QStringLiteral("isTRP")));
        QVERIFY(
            tripped.contains(QLatin1String("voltage")) && tripped.contains(QLatin1String("time")));

        // Switched on again, the trip is over and the alarm goes.
        QVERIFY(probe->client->publish("vorn/1001/ch/2/set/on", "1", 1, false));
        QVERIFY(probe->waitFor("vorn/1001/alarms", "[]", Patience));
    }
    void moduleStoppedAndBack()
    {
        simA.stop();
        QElapsedTimer clock;
        clock.start();
        QVERIFY(probe->waitFor("vorn/1001/state", "offline", 15000));
        qInfo("offline after %lld ms", clock.elapsed());
        QVERIFY(clock.elapsed() < 6000); // the 4 s watchdog, not the reconnect pause
        QCOMPARE(probe->last.value("vorn/1002/state"), QByteArray("online"));
        // The lost link is the alarm while it lasts.
        QVERIFY(spinUntil(
            [&]() {
                return probe->last.value("vorn/1001/alarms").contains("\"condition\":\"link\"");
            },
            Patience));
        QVERIFY(startSim(simA, portA, "KA2F", "1001"));
        QVERIFY2(probe->waitFor("vorn/1001/state", "online", Patience), bridgeLog.constData());
        QVERIFY(probe->waitFor("vorn/1001/alarms", "[]", Patience));
    }
    void brokerRestarted()
    {
        const quint16 port = broker.port();
        broker.stop();
        spinFor(500);
        QVERIFY(broker.start(port));
        // The broker kept nothing: what the probe sees now the bridge has published again.
        probe->last.clear();
        QVERIFY2(probe->waitFor("vorn/1001/state", "online", Patience), bridgeLog.constData());
        QVERIFY(probe->waitFor("vorn/bridge/vorn-module-bridge/state", "online", Patience));
        QVERIFY(probe->waitFor("vorn/1002/device", "DRSB140r", Patience));
        QVERIFY(probe->waitFor("vorn/1001/ch/3/voltage/nominal", "6000", Patience));
    }
    void tlsToTheBroker_data()
    {
        QTest::addColumn<QString>("caFile");
        QTest::addColumn<QByteArray>("logged");
        QTest::newRow("the broker's CA") << QStringLiteral("ca.crt") << QByteArray("connected to");
        QTest::newRow("another CA") << QStringLiteral("other.crt") << QByteArray("TLS error");
    }
    void tlsToTheBroker()
    {
        QFETCH(QString, caFile);
        QFETCH(QByteArray, logged);
        if (!QFile::exists(dir.filePath(QStringLiteral("server.crt"))))
            QVERIFY2(makeCertificates(), "openssl could not make the test certificates");
        BrokerProcess tlsBroker;
        QVERIFY(tlsBroker.start(0,
            QStringLiteral("cafile %1\ncertfile %2\nkeyfile %3\n")
                .arg(dir.filePath(QStringLiteral("ca.crt")),
                    dir.filePath(QStringLiteral("server.crt")),
                    dir.filePath(QStringLiteral("server.key")))
                .toLocal8Bit()));
        const QString config = dir.filePath(QStringLiteral("tls.conf"));
        QVERIFY(writeConfig(config,
            QStringLiteral("[broker]\nport = %1\nca-file = %2\n[module b]\ntcp = 127.0.0.1:%3\n")
                .arg(tlsBroker.port())
                .arg(dir.filePath(caFile))
                .arg(portOf(simB))
                .toLocal8Bit(),
            QFile::ReadOwner | QFile::WriteOwner));
        QProcess tlsBridge;
        tlsBridge.setProcessChannelMode(QProcess::MergedChannels);
        tlsBridge.start(QStringLiteral(VORN_BRIDGE_PATH), { config });
        QByteArray log;
        const bool seen = spinUntil(
            [&]() {
                tlsBridge.waitForReadyRead(50);
                log += tlsBridge.readAll();
                return log.contains(logged);
            },
            Patience);
        tlsBridge.terminate();
        tlsBridge.waitForFinished(5000);
        QVERIFY2(seen, log.constData());
    }

private:
    double last(const QByteArray &topic) const { return probe->last.value(topic).toDouble(); }
    bool writeConfig(const QString &path, const QByteArray &text, QFile::Permissions permissions)
    {
        QFile file(path);
        return file.open(QIODevice::WriteOnly) && file.write(text) == text.size()
            && file.setPermissions(permissions);
    }
    bool startSim(SimProcess &sim, quint16 port, const char *preset, const char *serial,
        const QStringList &more = QStringList())
    {
        return sim.start(
            QStringList { QStringLiteral("--tcp"), QString::number(port),
                QStringLiteral("--preset"), QLatin1String(preset),
                QStringLiteral("--serial-number"), QLatin1String(serial),
                QStringLiteral("--no-noise"), QStringLiteral("--limits"), QStringLiteral("90,100") }
                + more,
            "tcp");
    }
    bool makeCertificates()
    {
        QFile ext(dir.filePath(QStringLiteral("ext")));
        if (!ext.open(QIODevice::WriteOnly) || ext.write("subjectAltName=IP:127.0.0.1\n") <= 0)
            return false;
        ext.close();
        const QString key = "-newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes ";
        for (const QString &arguments :
            { "req -x509 " + key + "-keyout ca.key -out ca.crt -days 1 -subj /CN=test-ca",
                "req -x509 " + key + "-keyout other.key -out other.crt -days 1 -subj /CN=other-ca",
                "req " + key + "-keyout server.key -out server.csr -subj /CN=127.0.0.1",
                QStringLiteral("x509 -req -in server.csr -CA ca.crt -CAkey ca.key "
                               "-CAcreateserial -out server.crt -days 1 -extfile ext") }) {
            QProcess p;
            p.setWorkingDirectory(dir.path());
            p.start(QStringLiteral("openssl"), arguments.split(QLatin1Char(' ')));
            if (!p.waitForFinished(30000) || p.exitStatus() != QProcess::NormalExit
                || p.exitCode() != 0)
                return false;
        }
        return true;
    }

    QTemporaryDir dir;
    BrokerProcess broker;
    SimProcess simA; // KA2F, serial 1001, commands on
    SimProcess simB; // DRSB, serial 1002, commands off
    quint16 portA = 0;
    quint16 controlA = 0; // simA's control port
    QList<double> moduleValues; // of A, one per topic checked so far
    QProcess bridge;
    QByteArray bridgeLog;
    std::unique_ptr<MqttProbe> probe;
};

QTEST_GUILESS_MAIN(TestBridgeBroker)
#include "tst_bridgebroker.moc"
