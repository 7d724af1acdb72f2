// The bridge program between simulated modules and a real broker: values, commands and their
// refusals, an off ahead of a flood, a trip's events and alarms, a module that stops and comes
// back, a broker restart, the broker's rules on who may command, a ramp sequence run, paused
// and aborted from the broker, and a bridge that is killed.
#include "bridgeprocess.h"
#include "brokerprocess.h"
#include "mqttprobe.h"
#include "simcontrol.h"

#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTest>

#include <csignal>

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
        controlA = controlPortOf(simA);
        QVERIFY(controlA != 0);
        QVERIFY(startSim(simB, 0, "DRSB", "1002"));
        portA = portOf(simA);
        // Ramp speeds apart from each other, so that every module value of A is its own.
        QCOMPARE(ask(portA, ":CONF:RAMP:VOLT 12.5;:CONF:RAMP:CURR 7.25;:READ:RAMP:VOLT?;CURR?"),
            QList<double>({ 12.5, 7.25 }));
        const QString config = dir.filePath(QStringLiteral("bridge.conf"));
        const QByteArray text = QStringLiteral("[broker]\nport = %1\nrate = 20\n"
                                               "insecure-commands = local-only\n"
                                               "[module a]\ntcp = 127.0.0.1:%2\ncommands = on\n"
                                               "sequences = %4\n"
                                               "[module b]\ntcp = 127.0.0.1:%3\n")
                                    .arg(broker.port())
                                    .arg(portA)
                                    .arg(portOf(simB))
                                    .arg(writeSequences())
                                    .toLatin1();
        QVERIFY(writeConfig(config, text, QFile::ReadOwner | QFile::WriteOwner));
        probe = std::make_unique<MqttProbe>(broker.port(), "#");
        bridge.start(config);
        startSecondBridge();
        QVERIFY2(probe->waitFor("vorn/1001/state", "online", Patience), bridge.read().constData());
        QVERIFY2(probe->waitFor("vorn/1002/state", "online", Patience), bridge.log.constData());
    }
    void cleanupTestCase()
    {
        bridge.process.terminate();
        QVERIFY(bridge.process.waitForFinished(5000));
        QCOMPARE(bridge.process.exitCode(), 0);
        // A clean end says goodbye for the bridge and its modules.
        QVERIFY(probe->waitFor(probe->last.value("vorn/1002/bridge"), "offline", 5000));
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
            1, "readable by other users");
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
        QVERIFY(last.value("vorn/1002/bridge").startsWith("vorn/bridge/vorn-module-bridge-"));
        QCOMPARE(last.value(last.value("vorn/1002/bridge")), QByteArray("online"));
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
        QTest::addColumn<bool>("retain");
        QTest::addColumn<double>("simulatorValue"); // the set voltage the module then reports
        QTest::addColumn<QByteArray>("error");
        const auto row = [](const char *name, const char *topic, const QByteArray &payload,
                             double value, const char *error, bool retain = false) {
            QTest::newRow(name) << QByteArray(topic) << payload << retain << value
                                << QByteArray(error);
        };
        row("commands off", "vorn/1002/ch/0/set/voltage", "100", 0.0, "");
        row("commands on", "vorn/1001/ch/1/set/voltage", "1000", 1000.0, "");
        row("out of range", "vorn/1001/ch/1/set/voltage", "7000", 1000.0,
            "outside 0 ... 6000 V of channel 1");
        row("channel with a leading zero", "vorn/1001/ch/01/set/voltage", "0", 1000.0,
            "no channel 01 (0 to 3 or all)");
        // Before, it was carried out and stayed armed on the broker for every later subscriber.
        row("retained", "vorn/1001/ch/1/set/voltage", "0", 1000.0,
            "\"0\" refused: retained commands are not carried out (cleared)", true);
        row("line break in the payload", "vorn/1001/ch/1/set/on", "1\r\nforged line", 1000.0,
            "ch/1/set/on \"1\\r\\nforged line\" refused");
        row("payload too long", "vorn/1001/ch/1/set/voltage", QByteArray(300, '1'), 1000.0,
            "a payload of 300 bytes is too long (at most 256)");
    }
    void commands()
    {
        QFETCH(QByteArray, topic);
        QFETCH(QByteArray, payload);
        QFETCH(bool, retain);
        QFETCH(double, simulatorValue);
        QFETCH(QByteArray, error);
        const QByteArray base = topic.left(topic.indexOf("/ch/") + 1);
        const quint16 port = base == "vorn/1001/" ? portA : portOf(simB);
        const int channel = topic.split('/').at(3).toInt();
        probe->last.remove(base + "error");
        QVERIFY(probe->client->publish(topic, payload, 1, retain));
        if (!error.isEmpty()) {
            QVERIFY(spinUntil([&]() { return probe->last.contains(base + "error"); }, Patience));
            const QByteArray said = probe->last.value(base + "error");
            QVERIFY2(said.contains(error), said.constData());
            QVERIFY(!bridge.read().contains("\nforged"));
            if (retain) // the bridge cleared it
                QVERIFY(spinUntil([&]() { return probe->payloads(topic).endsWith(""); }, Patience));
        } else if (simulatorValue != 0.0) {
            QVERIFY(probe->waitFor(base + "ch/1/voltage/set", payload, Patience));
            QVERIFY(bridge.read().contains("command channel 1: voltage 1000 V"));
        } else {
            spinFor(1500); // time enough for a command to arrive if it were carried out
            QVERIFY(!probe->last.contains(base + "error"));
        }
        QCOMPARE(ask(port, ":READ:VOLT? (@0-3)").value(channel), simulatorValue);
    }
    void tripReachesEventsAndAlarms()
    {
        QVERIFY(probe->waitFor("vorn/1001/alarms", "[]", Patience));
        // A module trips only a channel that is on.
        QCOMPARE(exchange(controlA, "trip 2"), QByteArray("error: channel 2 is not on, no trip"));
        QVERIFY(probe->client->publish("vorn/1001/ch/2/set/on", "1", 1, false));
        QVERIFY(spinUntil(
            [&]() { return probe->last.value("vorn/1001/ch/2/status/names").contains("isON"); },
            Patience));
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
    void refusalsAreRateLimited()
    {
        // Before, each of them was logged and published.
        const qsizetype from = probe->messages.size();
        for (int i = 0; i < 40; ++i)
            QVERIFY(probe->client->publish("vorn/1001/ch/9/set/on", "1", 0, false));
        QVERIFY(spinUntil(
            [&]() {
                return probe->payloads("vorn/1001/error", from)
                    .join()
                    .contains(" more commands refused");
            },
            Patience));
        QVERIFY(probe->payloads("vorn/1001/error", from).size() <= 8);
    }
    void safetyRefusals_data()
    {
        QTest::addColumn<QByteArray>("base");
        QTest::addColumn<QByteArray>("state");
        QTest::addColumn<QByteArray>("error");
        QTest::newRow("infinite nominal voltage")
            << QByteArray("x/2002/") << QByteArray("online")
            << QByteArray("nominal voltage of channel 0 is \"inf\": no set value is taken for it");
        QTest::newRow("two modules, one serial number")
            << QByteArray("x/1001/") << QByteArray("clash")
            << QByteArray("modules twin1 and twin2 report the same serial number 1001: while "
                          "they are online, only an off, an emergency off or a sequence abort is "
                          "taken, by each of them");
    }
    void safetyRefusals()
    {
        QFETCH(QByteArray, base);
        QFETCH(QByteArray, state);
        QFETCH(QByteArray, error);
        QVERIFY2(probe->waitFor(base + "state", state, Patience), second.read().constData());
        probe->last.remove(base + "error");
        QVERIFY(probe->client->publish(base + "ch/0/set/voltage", "10", 1, false));
        QVERIFY(spinUntil([&]() { return probe->last.contains(base + "error"); }, Patience));
        QVERIFY2(probe->last.value(base + "error").endsWith(error),
            probe->last.value(base + "error").constData());
    }
    void emergencyOffGoesAheadOfAFlood()
    {
        // The module answers 250 ms late, so the whole flood arrives before it has answered.
        QVERIFY2(probe->waitFor("x/2001/state", "online", Patience), second.read().constData());
        QFile trace(dir.filePath(QStringLiteral("slow.trace")));
        QVERIFY(trace.open(QIODevice::ReadOnly));
        trace.seek(trace.size());
        const qsizetype from = probe->messages.size();
        for (int i = 1; i <= 20; ++i)
            QVERIFY(
                probe->client->publish("x/2001/ch/0/set/voltage", QByteArray::number(i), 1, false));
        QVERIFY(probe->client->publish("x/2001/ch/0/set/emergency-off", "1", 1, false));
        QByteArray wire;
        QVERIFY(spinUntil(
            [&]() {
                wire += trace.readAll();
                return wire.contains("EMCY OFF");
            },
            Patience));
        // Within one round trip: at most the command sent with the answer pending at the time.
        const QByteArray before = wire.left(wire.indexOf("EMCY OFF"));
        QVERIFY2(before.count(":VOLT ") <= 1, wire.constData());
        QVERIFY(spinUntil(
            [&]() {
                const QByteArray said = probe->payloads("x/2001/error", from).join('\n');
                return said.contains("busy: 8 commands wait for the module")
                    && said.contains("went ahead of") && said.contains("which were dropped");
            },
            Patience));
    }
    void reloadedAndKilledBridgeLeavesNoStaleReadings()
    {
        QCOMPARE(probe->last.value("x/2002/bridge"), QByteArray("x/bridge/second/state"));
        QCOMPARE(probe->last.value("x/bridge/second/state"), QByteArray("online"));
        QVERIFY(!probe->last.value("x/2002/ch/0/voltage/measured").isEmpty());
        const qsizetype from = probe->messages.size();
        ::kill(pid_t(second.process.processId()), SIGHUP);
        // The file is the same: every module goes on as it was. Before, all went offline and
        // came back.
        QVERIFY(second.waitForLog("configuration read again: 4 module(s) kept", Patience));
        spinFor(1000); // time enough for an "offline" that was published
        QCOMPARE(probe->payloads("x/2002/state", from), QList<QByteArray>());
        second.process.kill();
        // The broker's last will says the bridge is gone; the measured values then expire.
        QVERIFY(probe->waitFor("x/bridge/second/state", "offline", Patience));
        QCOMPARE(probe->last.value("x/2002/state"), QByteArray("online"));
        spinFor(4000);
        MqttProbe late(broker.port(), "x/2002/#");
        QVERIFY(late.waitFor("x/2002/ch/0/voltage/nominal", "inf", Patience));
        spinFor(500);
        QVERIFY(!late.last.contains("x/2002/ch/0/voltage/measured"));
        QVERIFY(!late.last.contains("x/2002/temperature"));
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
        QVERIFY2(probe->waitFor("vorn/1001/state", "online", Patience), bridge.read().constData());
        QVERIFY(probe->waitFor("vorn/1001/alarms", "[]", Patience));
    }
    void brokerRestarted()
    {
        const quint16 port = broker.port();
        broker.stop();
        spinFor(500);
        QVERIFY(broker.start(port));
        // The broker kept nothing: what the probe sees now the bridge has published again.
        const QByteArray bridgeTopic = probe->last.value("vorn/1001/bridge");
        probe->last.clear();
        QVERIFY2(probe->waitFor("vorn/1001/state", "online", Patience), bridge.read().constData());
        QVERIFY(probe->waitFor("vorn/1001/bridge", bridgeTopic, Patience));
        QVERIFY(probe->waitFor(bridgeTopic, "online", Patience));
        QVERIFY(probe->waitFor("vorn/1002/device", "DRSB140r", Patience));
        QVERIFY(probe->waitFor("vorn/1001/ch/3/voltage/nominal", "6000", Patience));
    }
    void sameClientIdBacksOff()
    {
        // Two bridges with one client id push each other off the broker. Before, every accepted
        // connection reset the pause, so they took turns every second for ever.
        const QString config = dir.filePath(QStringLiteral("twins.conf"));
        QVERIFY(writeConfig(config,
            QStringLiteral("[broker]\nport = %1\nclient-id = twin\n[module a]\ngpib = 3\n")
                .arg(broker.port())
                .toLatin1(),
            QFile::ReadOwner | QFile::WriteOwner));
        BridgeProcess twins[2];
        for (BridgeProcess &twin : twins)
            twin.start(config);
        // The broker ends the older connection on purpose, without a word: the connections end
        // soon after they were accepted. No broker gone away, so the pause grows beyond the
        // short ones.
        const QRegularExpression backedOff(QStringLiteral(
            "mqtt: broker [^\n]* after it was accepted [^\n]* again in [2-9]\\.\\d s"));
        QVERIFY(spinUntil(
            [&]() {
                return QString::fromUtf8(twins[0].read()).contains(backedOff)
                    || QString::fromUtf8(twins[1].read()).contains(backedOff);
            },
            Patience));
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
        BridgeProcess tlsBridge;
        tlsBridge.start(config);
        QVERIFY2(tlsBridge.waitForLog(logged, Patience), tlsBridge.log.constData());
    }
    void brokerRulesDecideWhoCommands_data()
    {
        QTest::addColumn<QString>("user");
        QTest::addColumn<QByteArray>("topic"); // below vorn/1002/
        QTest::addColumn<QByteArray>("payload");
        QTest::addColumn<double>("simulatorValue");
        const auto row = [](const char *name, const char *user, const char *topic,
                             const char *payload, double value) {
            QTest::newRow(name) << QString::fromLatin1(user) << QByteArray(topic)
                                << QByteArray(payload) << value;
        };
        row("control user", "vorn-control", "ch/0/set/voltage", "111", 111.0);
        row("another user", "vorn-reader", "ch/0/set/voltage", "222", 111.0);
        row("anonymous", "", "ch/0/set/voltage", "333", 111.0);
        // Before, the rules let nobody publish it, so no sequence could be started.
        row("control user runs a sequence", "vorn-control", "sequence/run", "to77.json", 77.0);
        row("another user runs a sequence", "vorn-reader", "sequence/run", "to55.json", 77.0);
    }
    void brokerRulesDecideWhoCommands()
    {
        QFETCH(QString, user);
        QFETCH(QByteArray, topic);
        QFETCH(QByteArray, payload);
        QFETCH(double, simulatorValue);
        if (!aclBroker)
            QVERIFY(startAclBridge());
        MqttProbe sender(aclBroker->port(), "vorn/1002/state", user);
        QVERIFY2(
            sender.waitFor("vorn/1002/state", "online", Patience), aclBridge.read().constData());
        QVERIFY(sender.client->publish("vorn/1002/" + topic, payload, 1, false));
        QVERIFY2(
            spinUntil(
                [&]() { return ask(portOf(simB), ":READ:VOLT? (@0)").value(0) == simulatorValue; },
                Patience),
            aclBridge.read().constData());
        spinFor(1000); // time enough for a command that was let through
        QCOMPARE(ask(portOf(simB), ":READ:VOLT? (@0)").value(0), simulatorValue);
    }
    void deniedSubscriptionIsRetried()
    {
        // A broker whose access control answers subscriptions: dynamic security, which lets
        // anonymous clients subscribe nothing.
        QString plugin;
        for (const QFileInfo &folder : QDir(QStringLiteral("/usr/lib")).entryInfoList(QDir::Dirs))
            if (QFile::exists(folder.filePath() + QStringLiteral("/mosquitto_dynamic_security.so")))
                plugin = folder.filePath() + QStringLiteral("/mosquitto_dynamic_security.so");
        if (plugin.isEmpty())
            QSKIP("mosquitto's dynamic security plugin is missing");
        const QString security = dir.filePath(QStringLiteral("dynsec.json"));
        QProcess init; // says much on stdout, which stays unread
        init.start(QStandardPaths::findExecutable(QStringLiteral("mosquitto_ctrl")),
            { QStringLiteral("dynsec"), QStringLiteral("init"), security, QStringLiteral("admin"),
                QStringLiteral("admin-secret") });
        QVERIFY(init.waitForFinished(10000) && init.exitCode() == 0);
        BrokerProcess strictBroker;
        QVERIFY(strictBroker.start(0,
            QStringLiteral("plugin %1\nplugin_opt_config_file %2\n")
                .arg(plugin, security)
                .toLocal8Bit()));
        const QString config = dir.filePath(QStringLiteral("strict.conf"));
        QVERIFY(writeConfig(config,
            QStringLiteral("[broker]\nport = %1\ninsecure-commands = local-only\n"
                           "[module b]\ntcp = 127.0.0.1:%2\ncommands = on\n")
                .arg(strictBroker.port())
                .arg(portOf(simB))
                .toLatin1(),
            QFile::ReadOwner | QFile::WriteOwner));
        BridgeProcess strictBridge;
        strictBridge.start(config);
        // Before, the refusal went unnoticed and commands were silently lost.
        QVERIFY2(strictBridge.waitForLog(
                     "the broker refused the subscription to vorn/1002/ch/+/set/+", Patience, 2),
            strictBridge.read().constData());
        QVERIFY(strictBridge.log.contains("trying again in 2 s"));
    }

    void sequenceRefused_data()
    {
        QTest::addColumn<QByteArray>("payload");
        QTest::addColumn<QByteArray>("error");
        QTest::newRow("a path") << QByteArray("../bridge.conf")
                                << QByteArray("give the name of a file in the sequence folder");
        QTest::newRow("a link out of the folder")
            << QByteArray("outside.json")
            << QByteArray("outside.json is a symbolic link; give the file it points to");
        QTest::newRow("no such file")
            << QByteArray("none.json") << QByteArray("none.json: No such file or directory");
        QTest::newRow("a bad file")
            << QByteArray("bad.json")
            // Before, the reason said "refused" twice: 'sequence "bad.json" refused' came first.
            << QByteArray("sequence/run \"bad.json\" refused: steps[0] (step 1).hold: must be at least 0");
    }
    void sequenceRefused()
    {
        QFETCH(QByteArray, payload);
        QFETCH(QByteArray, error);
        probe->last.remove("vorn/1001/error");
        QVERIFY(probe->client->publish("vorn/1001/sequence/run", payload, 1, false));
        QVERIFY(spinUntil([&]() { return probe->last.contains("vorn/1001/error"); }, Patience));
        QVERIFY2(probe->last.value("vorn/1001/error").contains(error),
            probe->last.value("vorn/1001/error").constData());
    }
    void sequenceRunPauseAbort()
    {
        const auto state = [this]() {
            return QJsonDocument::fromJson(probe->last.value("vorn/1001/sequence/state")).object();
        };
        // What can be run: the plain files of the folder, not the link to one outside.
        QCOMPARE(probe->last.value("vorn/1001/sequence/files"),
            QByteArray(R"(["bad.json","short.json","to55.json","to77.json"])"));
        QVERIFY(probe->client->publish("vorn/1001/sequence/run", "short.json", 1, false));
        QVERIFY2(spinUntil(
                     [&]() {
                         return state().value("phase") == QLatin1String("holding")
                             && state().value("step") == 2;
                     },
                     Patience),
            probe->last.value("vorn/1001/sequence/state").constData());
        QCOMPARE(state().value("state").toString(), QStringLiteral("running"));
        QCOMPARE(state().value("steps").toInt(), 2);
        QCOMPARE(state().value("file").toString(), QStringLiteral("short.json"));
        QVERIFY(state().value("remaining").toDouble() > 0);
        QCOMPARE(ask(portA, ":READ:VOLT? (@0-3)").value(1), 400.0);
        QVERIFY(probe->client->publish("vorn/1001/sequence/pause", "", 1, false));
        QVERIFY(spinUntil(
            [&]() { return state().value("state") == QLatin1String("paused"); }, Patience));
        QVERIFY(probe->client->publish("vorn/1001/sequence/abort", "", 1, false));
        QVERIFY(spinUntil(
            [&]() { return state().value("state") == QLatin1String("aborted"); }, Patience));
        // The file's abort ramps down, then switches off; the history says so on "events". The
        // switch-off leaves with the next request, which may come after the state reached us.
        QCOMPARE(ask(portA, ":READ:VOLT? (@0-3)").value(1), 0.0);
        QVERIFY(spinUntil(
            [&]() { return (int(ask(portA, ":READ:CHAN:STAT? (@0-3)").value(1)) & 8) == 0; },
            Patience));
        QVERIFY(spinUntil(
            [&]() {
                return probe->payloads("vorn/1001/events")
                    .join()
                    .contains("Sequence: Sequence aborted at step 2 of 2: all channels ramped "
                              "down and off");
            },
            Patience));
    }

private:
    double last(const QByteArray &topic) const { return probe->last.value(topic).toDouble(); }
    /// The sequence folder of module a: a short sequence, a bad one, and a link to a file
    /// outside the folder.
    QString writeSequences()
    {
        QDir(dir.path()).mkdir(QStringLiteral("sequences"));
        const QString folder = dir.filePath(QStringLiteral("sequences"));
        // Whatever the umask: a folder others may write is refused.
        QFile::setPermissions(folder,
            QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadOther
                | QFile::ExeOther);
        const auto write = [](const QString &path, const QByteArray &text) {
            QFile file(path);
            return file.open(QIODevice::WriteOnly) && file.write(text) == text.size();
        };
        write(folder + QStringLiteral("/short.json"),
            R"({ "version": 1, "name": "short", "channels": "all",
                 "steps": [ { "voltage": 200, "rampSpeed": 3000, "hold": 0 },
                            { "voltage": 400, "hold": 120 } ],
                 "safety": { "rampDownSpeed": 3000, "abort": "rampDown" } })");
        write(folder + QStringLiteral("/bad.json"),
            R"({ "version": 1, "steps": [ { "voltage": 200, "hold": -1 } ] })");
        for (const int volts : { 77, 55 })
            write(folder + QStringLiteral("/to%1.json").arg(volts),
                QStringLiteral(R"({ "version": 1, "steps": [ { "voltage": %1, "hold": 0 } ] })")
                    .arg(volts)
                    .toLatin1());
        write(dir.filePath(QStringLiteral("outside.json")),
            R"({ "version": 1, "steps": [ { "voltage": 200 } ] })");
        QFile::link(
            dir.filePath(QStringLiteral("outside.json")), folder + QStringLiteral("/outside.json"));
        return folder;
    }
    /// A second bridge on the same broker under prefix "x": a module that answers late (its
    /// requests traced), one that reports an infinite nominal voltage, and two entries for the
    /// same module, so two modules with one serial number.
    void startSecondBridge()
    {
        QVERIFY(startSim(simSlow, 0, "KA2F", "2001",
            { QStringLiteral("--delay"), QStringLiteral("250"), QStringLiteral("--trace"),
                dir.filePath(QStringLiteral("slow.trace")) }));
        QVERIFY(startSim(simBroken, 0, "KA2F", "2002",
            { QStringLiteral("--nominal-voltage-answer"), QStringLiteral("inf") }));
        const QString config = dir.filePath(QStringLiteral("second.conf"));
        QVERIFY(writeConfig(config,
            QStringLiteral("[broker]\nport = %1\nrate = 20\nprefix = x\nclient-id = second\n"
                           "insecure-commands = local-only\n"
                           "[module slow]\ntcp = 127.0.0.1:%2\ncommands = on\n"
                           "[module broken]\ntcp = 127.0.0.1:%3\ncommands = on\n"
                           "[module twin1]\ntcp = 127.0.0.1:%4\ncommands = on\n"
                           "[module twin2]\ntcp = 127.0.0.1:%4\ncommands = on\n")
                .arg(broker.port())
                .arg(portOf(simSlow))
                .arg(portOf(simBroken))
                .arg(portA)
                .toLatin1(),
            QFile::ReadOwner | QFile::WriteOwner));
        second.start(config);
    }
    /// A broker with the password file and the rules of the README (bridge/example.acl) and a
    /// bridge that takes commands for module 1002 through it.
    bool startAclBridge()
    {
        const QString passwords = dir.filePath(QStringLiteral("passwords"));
        const QString tool = QStandardPaths::findExecutable(QStringLiteral("mosquitto_passwd"));
        for (const char *user : { "vorn-bridge", "vorn-control", "vorn-reader" }) {
            QStringList arguments = { QStringLiteral("-b"), passwords, QLatin1String(user),
                QLatin1String(user) + QStringLiteral("-secret") };
            if (!QFile::exists(passwords))
                arguments.prepend(QStringLiteral("-c"));
            if (QProcess::execute(tool, arguments) != 0)
                return false;
        }
        aclBroker = std::make_unique<BrokerProcess>();
        if (!aclBroker->start(0,
                QStringLiteral("password_file %1\nacl_file %2\n")
                    .arg(passwords, QStringLiteral(VORN_SOURCE_DIR "/bridge/example.acl"))
                    .toLocal8Bit()))
            return false;
        const QString config = dir.filePath(QStringLiteral("acl.conf"));
        if (!writeConfig(config,
                QStringLiteral("[broker]\nport = %1\nuser = vorn-bridge\n"
                               "password = vorn-bridge-secret\ninsecure-commands = local-only\n"
                               "[module b]\ntcp = 127.0.0.1:%2\ncommands = on\nsequences = %3\n")
                    .arg(aclBroker->port())
                    .arg(portOf(simB))
                    .arg(dir.filePath(QStringLiteral("sequences")))
                    .toLatin1(),
                QFile::ReadOwner | QFile::WriteOwner))
            return false;
        aclBridge.start(config);
        return true;
    }
    bool writeConfig(const QString &path, const QByteArray &text, QFile::Permissions permissions)
    {
        return writeFile(path, text, permissions);
    }
    bool startSim(SimProcess &sim, quint16 port, const char *preset, const char *serial,
        const QStringList &more = QStringList())
    {
        return startSimModule(sim, port, preset, serial, more);
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
    SimProcess simSlow; // KA2F, serial 2001, answers 250 ms late
    SimProcess simBroken; // KA2F, serial 2002, nominal voltage "inf"
    quint16 portA = 0;
    quint16 controlA = 0; // simA's control port
    QList<double> moduleValues; // of A, one per topic checked so far
    BridgeProcess bridge; // modules a (simA) and b (simB) under "vorn"
    BridgeProcess second; // see startSecondBridge()
    std::unique_ptr<BrokerProcess> aclBroker;
    BridgeProcess aclBridge;
    std::unique_ptr<MqttProbe> probe;
};

QTEST_GUILESS_MAIN(TestBridgeBroker)
#include "tst_bridgebroker.moc"
