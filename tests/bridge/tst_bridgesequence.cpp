// Who has the last word over a module's high voltage while the bridge runs sequences: two
// modules that report one serial number, a reload of the file, a broker that goes away, and a
// bridge restarted against the same broker. The bridge program between simulated modules
// (their wire traced) and a real broker.
#include "bridge.h"
#include "bridgeprocess.h"
#include "brokerprocess.h"
#include "mqttprobe.h"
#include "simcontrol.h"

#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

class TestBridgeSequence : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY2(!BrokerProcess::program().isEmpty(), "mosquitto is missing; run scripts/deps.sh");
        QVERIFY(broker.start());
        QVERIFY(startSimModule(simA, 0, "KA2F", "1001", traced("a")));
        QVERIFY(startSimModule(simB, 0, "DRSB", "1002"));
        for (int i = 0; i < 2; ++i) {
            QVERIFY(startSimModule(twins[i], 0, "KA2F", "1101", traced(i == 0 ? "t1" : "t2")));
            twinControl[i] = controlPortOf(twins[i]);
        }
        writeSequences();
        QVERIFY(writeConfig(false));
        probe = std::make_unique<MqttProbe>(broker.port(), "#");
        bridge.start(config());
        QVERIFY2(probe->waitFor("vorn/1001/state", "online", Patience), bridge.read().constData());
        QVERIFY(probe->waitFor("vorn/1002/state", "online", Patience));
        QVERIFY(probe->waitFor("vorn/1101/state", "clash", Patience));
    }
    void cleanupTestCase() { bridge.stop(); }

    // Before, every command was refused while the serial numbers clashed, offs too.
    void clashTakesOnlySafetyCommands_data()
    {
        QTest::addColumn<QByteArray>("topic"); // below vorn/1101/
        QTest::addColumn<QByteArray>("payload");
        QTest::addColumn<QByteArray>("wire"); // on the wire of both modules; empty: refused
        QTest::newRow("set value")
            << QByteArray("ch/0/set/voltage") << QByteArray("10") << QByteArray();
        QTest::newRow("sequence run")
            << QByteArray("sequence/run") << QByteArray("long.json") << QByteArray();
        QTest::newRow("off") << QByteArray("ch/all/set/on") << QByteArray("0")
                             << QByteArray(":VOLT OFF");
        QTest::newRow("emergency off")
            << QByteArray("ch/all/set/emergency-off") << QByteArray("1") << QByteArray("EMCY OFF");
    }
    void clashTakesOnlySafetyCommands()
    {
        QFETCH(QByteArray, topic);
        QFETCH(QByteArray, payload);
        QFETCH(QByteArray, wire);
        QFile traces[2] = { QFile(tracePath("t1")), QFile(tracePath("t2")) };
        for (QFile &trace : traces) {
            QVERIFY(trace.open(QIODevice::ReadOnly));
            trace.seek(trace.size());
        }
        const qsizetype from = probe->messages.size();
        QVERIFY(probe->client->publish("vorn/1101/" + topic, payload, 1, false));
        if (wire.isEmpty()) {
            QVERIFY(spinUntil(
                [&]() {
                    return probe->payloads("vorn/1101/error", from)
                        .join('\n')
                        .contains(topic + " \"" + payload
                            + "\" refused: modules t1 and t2 report the same serial number 1101");
                },
                Patience));
            return;
        }
        QByteArray seen[2];
        QVERIFY2(spinUntil(
                     [&]() {
                         for (int i = 0; i < 2; ++i)
                             seen[i] += traces[i].readAll();
                         return seen[0].contains(wire) && seen[1].contains(wire);
                     },
                     Patience),
            probe->payloads("vorn/1101/error", from).join('\n').constData());
    }
    // Before, commands went to the first module of the file, offline: "module offline".
    void afterTheClashTheModuleOnlineTakesCommands()
    {
        for (const SimProcess &twin : twins)
            exchange(portOf(twin), ":VOLT EMCY CLR,(@0-3);:READ:CHAN:CONT? (@0-3)");
        QCOMPARE(exchange(twinControl[0], "stop"), QByteArray("ok"));
        QVERIFY(probe->waitFor("vorn/1101/state", "online", Patience));
        QVERIFY(probe->client->publish("vorn/1101/ch/0/set/voltage", "10", 1, false));
        QVERIFY2(
            spinUntil([&]() { return ask(portOf(twins[1]), ":READ:VOLT? (@0)").value(0) == 10.0; },
                Patience),
            probe->payloads("vorn/1101/error").join('\n').constData());
    }
    // Before, a reload restarted every module and ended every sequence; and a sequence ran on
    // while another module reported its serial number.
    void reloadKeepsRunningSequencesAndAClashHoldsThem()
    {
        QVERIFY(probe->client->publish("vorn/1101/sequence/run", "long.json", 1, false));
        QVERIFY2(waitForState("vorn/1101/", "running", "holding"),
            probe->last.value("vorn/1101/sequence/state").constData());
        const qsizetype from = probe->messages.size();
        // Module b's section changes; t3, a second link to t2's module, is new.
        QVERIFY(writeConfig(true));
        ::kill(pid_t(bridge.process.processId()), SIGHUP);
        QVERIFY2(bridge.waitForLog("configuration read again: 3 module(s) kept as they run, 1 "
                                   "ended, 2 started",
                     Patience),
            bridge.log.constData());
        QVERIFY(spinUntil(
            [&]() {
                return probe->payloads("vorn/1002/state", from)
                    == QList<QByteArray> { "offline", "online" };
            },
            Patience));
        QVERIFY2(waitForState("vorn/1101/", "paused", ""),
            probe->last.value("vorn/1101/sequence/state").constData());
        QVERIFY(state("vorn/1101/")
                    .value("reason")
                    .toString()
                    .contains(QLatin1String("another module reports the serial number 1101")));
        QVERIFY(!probe->payloads("vorn/1001/state", from).contains("offline"));
        QVERIFY(std::abs(ask(portOf(twins[1]), ":READ:VOLT? (@0-3)").value(2) - 200.0) < 1.0);
        // The abort goes to the module whose sequence it is.
        QVERIFY(probe->client->publish("vorn/1101/sequence/abort", "", 1, false));
        QVERIFY(waitForState("vorn/1101/", "aborted", ""));
        QVERIFY(spinUntil(
            [&]() {
                return (int(ask(portOf(twins[1]), ":READ:CHAN:STAT? (@0-3)").value(2)) & 8) == 0;
            },
            Patience));
    }
    // Before, a sequence stepped on without its broker.
    void brokerLostTakesTheRule_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("state");
        QTest::addColumn<double>("volts"); // set value of channel 1 afterwards
        QTest::addColumn<bool>("on");
        QTest::newRow("hold, the default")
            << QByteArray("lost-hold.json") << "paused" << 200.0 << true;
        QTest::newRow("ramp down") << QByteArray("lost-rampDown.json") << "aborted" << 0.0 << false;
        QTest::newRow("off") << QByteArray("lost-off.json") << "aborted" << 200.0 << false;
    }
    void brokerLostTakesTheRule()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, state);
        QFETCH(double, volts);
        QFETCH(bool, on);
        QVERIFY(probe->client->publish("vorn/1001/sequence/run", file, 1, false));
        QVERIFY2(waitForState("vorn/1001/", "running", "holding"),
            probe->last.value("vorn/1001/sequence/state").constData());
        const quint16 port = broker.port();
        broker.stop();
        spinFor(Bridge::BrokerLostGraceMs + 2000); // past the grace
        QVERIFY(broker.start(port));
        QVERIFY2(waitForState("vorn/1001/", state, ""),
            probe->last.value("vorn/1001/sequence/state").constData());
        QVERIFY(this->state("vorn/1001/")
                    .value("reason")
                    .toString()
                    .startsWith(QLatin1String("broker lost for 5 s")));
        QVERIFY2(spinUntil(
                     [&]() {
                         const QList<double> set = ask(portA(), ":READ:VOLT? (@0-3)");
                         const int status = int(ask(portA(), ":READ:CHAN:STAT? (@0-3)").value(1));
                         return std::abs(set.value(1) - volts) < 1.0 && bool(status & 8) == on;
                     },
                     Patience),
            bridge.read().constData());
        if (state == QLatin1String("paused")) {
            QVERIFY(probe->client->publish("vorn/1001/sequence/abort", "", 1, false));
            QVERIFY(waitForState("vorn/1001/", "aborted", ""));
        }
    }
    // Before, the bridge took its own retained state for a command on every connect, cleared it
    // and said so on "error".
    void retainedStateSurvivesARestart()
    {
        QVERIFY(probe->client->publish("vorn/1001/sequence/run", "long.json", 1, false));
        QVERIFY(waitForState("vorn/1001/", "running", "holding"));
        bridge.stop();
        QVERIFY(waitForState("vorn/1001/", "aborted", ""));
        const QByteArray stopped = probe->last.value("vorn/1001/sequence/state");
        QVERIFY2(stopped.contains("\"reason\":\"the bridge stopped\""), stopped.constData());
        const qsizetype from = probe->messages.size();
        bridge.start(config());
        QVERIFY(
            spinUntil([&]() { return probe->payloads("vorn/1001/state", from).contains("online"); },
                Patience));
        // Its answer comes after anything the subscriptions brought.
        QVERIFY(probe->client->publish("vorn/1001/sequence/pause", "", 1, false));
        QVERIFY(spinUntil(
            [&]() {
                return probe->payloads("vorn/1001/error", from)
                    .join('\n')
                    .contains("no sequence is running");
            },
            Patience));
        QVERIFY2(!probe->payloads("vorn/1001/error", from).join('\n').contains("sequence/state"),
            probe->payloads("vorn/1001/error", from).join('\n').constData());
        MqttProbe late(broker.port(), "vorn/1001/sequence/state");
        QVERIFY(late.waitFor("vorn/1001/sequence/state", stopped, Patience));
    }

private:
    QStringList traced(const char *name) const
    {
        return { QStringLiteral("--control"), QStringLiteral("0"), QStringLiteral("--trace"),
            tracePath(name) };
    }
    QString tracePath(const char *name) const
    {
        return dir.filePath(QLatin1String(name) + QStringLiteral(".trace"));
    }
    QString config() const { return dir.filePath(QStringLiteral("bridge.conf")); }
    quint16 portA() const { return portOf(simA); }
    QString folder() const { return dir.filePath(QStringLiteral("sequences")); }
    QJsonObject state(const QByteArray &base) const
    {
        return QJsonDocument::fromJson(probe->last.value(base + "sequence/state")).object();
    }
    /// Waits until the module's sequence state is \a name (and in \a phase, unless empty).
    bool waitForState(const QByteArray &base, const QString &name, const QString &phase)
    {
        return spinUntil(
            [&]() {
                const QJsonObject s = state(base);
                return s.value("state").toString() == name
                    && (phase.isEmpty() || s.value("phase").toString() == phase);
            },
            Patience);
    }
    /// Modules t1 and t2 (one serial number), a and b; \a reloaded: b's section changed and
    /// t3, a second link to t2's module, added.
    bool writeConfig(bool reloaded)
    {
        const QString sequences = QStringLiteral("commands = on\nsequences = %1\n").arg(folder());
        QString text = QStringLiteral("[broker]\nport = %1\nrate = 20\n"
                                      "insecure-commands = local-only\n")
                           .arg(broker.port());
        text += QStringLiteral("[module t1]\ntcp = 127.0.0.1:%1\n").arg(portOf(twins[0]))
            + sequences;
        text += QStringLiteral("[module t2]\ntcp = 127.0.0.1:%1\n").arg(portOf(twins[1]))
            + sequences;
        text += QStringLiteral("[module a]\ntcp = 127.0.0.1:%1\n").arg(portA()) + sequences;
        text += QStringLiteral("[module b]\ntcp = 127.0.0.1:%1\n").arg(portOf(simB));
        if (reloaded) {
            text += QStringLiteral("cycle = 100ms\n[module t3]\ntcp = 127.0.0.1:%1\n")
                        .arg(portOf(twins[1]))
                + sequences;
        }
        return writeFile(config(), text.toLatin1(), QFile::ReadOwner | QFile::WriteOwner);
    }
    void writeSequences()
    {
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("sequences")));
        QVERIFY(QFile::setPermissions(folder(),
            QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadOther
                | QFile::ExeOther));
        const QFile::Permissions mode = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther;
        const QString steps = QStringLiteral(
            R"({ "version": 1, "steps": [ { "voltage": 200, "rampSpeed": 3000, "hold": 120 },
                                           { "voltage": 400, "hold": 120 } ],
                 "safety": { "rampDownSpeed": 3000, "abort": "%1" %2 } })");
        QVERIFY(writeFile(folder() + QStringLiteral("/long.json"),
            steps.arg(QStringLiteral("rampDown"), QString()).toLatin1(), mode));
        QVERIFY(writeFile(folder() + QStringLiteral("/lost-hold.json"),
            steps.arg(QStringLiteral("off"), QString()).toLatin1(), mode));
        for (const char *action : { "rampDown", "off" })
            QVERIFY(writeFile(folder() + QStringLiteral("/lost-%1.json").arg(QLatin1String(action)),
                steps
                    .arg(QStringLiteral("off"),
                        QStringLiteral(R"(, "brokerLost": "%1")").arg(QLatin1String(action)))
                    .toLatin1(),
                mode));
    }

    QTemporaryDir dir;
    BrokerProcess broker;
    SimProcess simA; // KA2F, serial 1001
    SimProcess simB; // DRSB, serial 1002
    SimProcess twins[2]; // KA2F, both serial 1101
    quint16 twinControl[2] = {};
    BridgeProcess bridge;
    std::unique_ptr<MqttProbe> probe;
};

QTEST_GUILESS_MAIN(TestBridgeSequence)
#include "tst_bridgesequence.moc"
