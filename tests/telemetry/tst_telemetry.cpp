// The topics a module's state, its sequence and its alarms travel on, encoded and read back.
#include "alarmtopic.h"
#include "moduletopics.h"
#include "sequenceprogress.h"

#include <QTest>

/// A state as its topics, for the messages of a failed comparison.
char *toString(const ModuleState &state)
{
    QByteArray text = "serial " + QByteArray::number(state.serialNumber) + ", "
        + QByteArray::number(qulonglong(state.channels.size())) + " records:";
    for (const auto &[path, payload] : telemetry::encodeModule(state))
        text += ' ' + path + '=' + payload;
    return qstrdup(text.constData());
}

namespace {

using Topics = std::vector<std::pair<QByteArray, QByteArray>>;

/// A four-channel module of a family that reports ramps and limits in percent.
ModuleState percentModule()
{
    ModuleState s = ModuleState::withRecords(4);
    s.serialNumber = 1001;
    s.deviceName = QStringLiteral("KA2F840p");
    s.firmwareName = QStringLiteral("KA2F8");
    s.firmwareRelease = QStringLiteral("2.05");
    s.channelCount = 4;
    s.family = &ModuleFamily::identify(s.deviceName, s.firmwareName, s.channelCount);
    s.temperature = 31.5f;
    s.supplyP24 = 24.25f;
    s.supplyP5 = 5.125f;
    s.supplyP12 = 12.5f;
    s.supplyN12 = -12.25f;
    s.voltageRamp = 12.5f;
    s.currentRamp = 50.0f;
    s.voltageLimit = 102.5f;
    s.currentLimit = 99.75f;
    s.status = 0x4020;
    s.eventStatus = 0x0100;
    s.eventMask = 0x0400;
    s.control = 0x0040;
    for (int c = 0; c < 4; ++c) {
        Channel &ch = s.channels[size_t(c)];
        ch.setVoltageNominal(6000.0f);
        ch.setCurrentNominal(0.005f);
        ch.setVoltageSet(1000.0f * float(c));
        ch.setCurrentSet(0.001f);
        ch.setVoltageMeasure(999.5f * float(c));
        ch.setCurrentMeasure(0.000125f);
        ch.setVoltageBounds(10.0f);
        ch.setCurrentBounds(0.0005f);
        ch.setStatus(quint16(0x0409 + c));
        ch.setEventStatus(0x0400);
        ch.setEventMask(0x0800);
        ch.setControl(0x0008);
    }
    return s;
}

/// A state with every field set to a value of its own, none a default.
ModuleState distinctModule()
{
    ModuleState s = ModuleState::withRecords(3);
    s.serialNumber = 4711;
    s.deviceName = QStringLiteral("TX2-06n");
    s.firmwareName = QStringLiteral("TX02B0");
    s.firmwareRelease = QStringLiteral("3.1");
    s.channelCount = 2; // fewer than the records: the third is not published
    s.family = &ModuleFamily::identify(s.deviceName, s.firmwareName, s.channelCount);
    s.status = 1;
    s.control = 2;
    s.eventStatus = 3;
    s.eventMask = 4;
    s.supplyP24 = 5.5f;
    s.supplyP5 = 6.5f;
    s.supplyP12 = 7.5f;
    s.supplyN12 = -8.5f;
    s.temperature = 9.5f;
    s.voltageLimit = 10.5f;
    s.currentLimit = 11.5f;
    s.voltageRamp = 12.5f;
    s.currentRamp = 13.5f;
    s.voltageIncrement = 14.5f;
    s.average = 15;
    s.outputs = { 16, 17, 18 };
    s.interlock = 19;
    s.emissionParameterP = 20.5f;
    s.emissionParameterI = 21.5f;
    s.emissionParameterD = 22.5f;
    s.filamentMinimum = 23.5f;
    s.filamentMaximum = 24.5f;
    s.interfaceMode = 25;
    float v = 26.0f;
    for (Channel &ch : s.channels) {
        for (void (Channel::*set)(float) :
            { &Channel::setVoltageSet, &Channel::setCurrentSet, &Channel::setVoltageMeasure,
                &Channel::setCurrentMeasure, &Channel::setVoltageBounds, &Channel::setCurrentBounds,
                &Channel::setVoltageNominal, &Channel::setCurrentNominal })
            (ch.*set)(v += 1.0f);
        ch.setStatus(quint16(v += 1.0f));
        ch.setEventStatus(quint16(v += 1.0f));
        ch.setEventMask(quint32(v += 1.0f));
        ch.setControl(quint16(v += 1.0f));
        ch.setEpu(true);
    }
    return s;
}

/// Reads every topic into a state a reader starts with; fails on a topic it does not take.
ModuleState decodeAll(const Topics &topics)
{
    ModuleState state;
    for (const auto &[path, payload] : topics) {
        if (!telemetry::decodeModuleTopic(path, payload, &state) && path != "percent-based")
            qWarning("%s \"%s\" not taken", path.constData(), payload.constData());
    }
    return state;
}

QByteArray payloadOf(const Topics &topics, const QByteArray &path)
{
    for (const auto &[p, payload] : topics) {
        if (p == path)
            return payload;
    }
    return "(none)";
}

} // namespace

class TestTelemetry : public QObject
{
    Q_OBJECT

private slots:
    // Each topic of the table, its payload on the wire and the state read back from it.
    void roundTrip_data()
    {
        QTest::addColumn<ModuleState>("state");
        QTest::addColumn<QByteArray>("path");
        QTest::addColumn<QByteArray>("payload");
        const ModuleState percent = percentModule();
        const auto row
            = [](const char *name, const ModuleState &s, const char *path, const char *payload) {
                  QTest::newRow(name) << s << QByteArray(path) << QByteArray(payload);
              };
        row("device", percent, "device", "KA2F840p");
        row("firmware", percent, "firmware", "KA2F8");
        row("release", percent, "release", "2.05");
        row("channels", percent, "channels", "4");
        row("percent-based", percent, "percent-based", "1");
        row("family", percent, "family", "KA2F8");
        ModuleState unidentified = percent;
        unidentified.family = &ModuleFamily::unknown();
        row("family unknown", unidentified, "family", "");
        row("temperature", percent, "temperature", "31.5");
        row("supply p24", percent, "supply/p24", "24.25");
        row("supply p5", percent, "supply/p5", "5.125");
        row("supply p12", percent, "supply/p12", "12.5");
        row("supply n12", percent, "supply/n12", "-12.25");
        row("ramp in percent", percent, "ramp/voltage", "12.5");
        row("current ramp", percent, "ramp/current", "50");
        row("limit in percent", percent, "limit/voltage", "102.5");
        row("current limit", percent, "limit/current", "99.75");
        row("module status", percent, "status", "16416");
        row("module event status", percent, "event-status", "256");
        row("module event mask", percent, "event-mask", "1024");
        row("module control", percent, "control", "64");
        row("voltage set", percent, "ch/3/voltage/set", "3000");
        row("voltage measured", percent, "ch/2/voltage/measured", "1999");
        row("voltage bounds", percent, "ch/0/voltage/bounds", "10");
        row("voltage nominal", percent, "ch/1/voltage/nominal", "6000");
        row("current set", percent, "ch/1/current/set", "0.001");
        row("current measured", percent, "ch/1/current/measured", "0.000125");
        row("current bounds", percent, "ch/1/current/bounds", "0.0005");
        row("current nominal", percent, "ch/1/current/nominal", "0.005");
        row("channel status", percent, "ch/3/status", "1036");
        row("channel event status", percent, "ch/0/event-status", "1024");
        row("channel event mask", percent, "ch/0/event-mask", "2048");
        row("channel control", percent, "ch/0/control", "8");

        ModuleState bipolar = percent;
        bipolar.channels[1].setVoltageNominal(-6000.0f);
        bipolar.channels[1].setVoltageSet(-1500.5f);
        bipolar.channels[1].setVoltageMeasure(-1499.75f);
        row("bipolar nominal", bipolar, "ch/1/voltage/nominal", "-6000");
        row("bipolar set", bipolar, "ch/1/voltage/set", "-1500.5");
        row("bipolar measured", bipolar, "ch/1/voltage/measured", "-1499.75");

        ModuleState full = percent;
        full.status = full.control = full.eventStatus = 0xffff;
        full.eventMask = 0xffffffff;
        for (Channel &ch : full.channels) {
            ch.setStatus(0xffff);
            ch.setEventStatus(0xffff);
            ch.setEventMask(0xffffffff);
            ch.setControl(0xffff);
        }
        row("module status all bits", full, "status", "65535");
        row("module event mask all bits", full, "event-mask", "4294967295");
        row("channel status all bits", full, "ch/2/status", "65535");
        row("channel event mask all bits", full, "ch/2/event-mask", "4294967295");
        row("channel control all bits", full, "ch/2/control", "65535");

        ModuleState units = percent;
        units.firmwareName = QStringLiteral("TX02B0");
        units.channelCount = 1;
        units.family = &ModuleFamily::identify(units.deviceName, units.firmwareName, 1);
        row("not percent-based", units, "percent-based", "0");
        row("limit in volts", units, "limit/voltage", "102.5");
    }
    void roundTrip()
    {
        QFETCH(ModuleState, state);
        QFETCH(QByteArray, path);
        QFETCH(QByteArray, payload);
        const Topics topics = telemetry::encodeModule(state);
        QCOMPARE(payloadOf(topics, path), payload);
        QCOMPARE(decodeAll(topics), telemetry::publishedPart(state));
    }

    // A field added to ModuleState needs a topic or a reason in publishedPart() why it has none;
    // then this state sets it too, and the sizes below are the new ones.
    void everyFieldHasATopicOrAReason()
    {
        QCOMPARE(sizeof(ModuleState), size_t(216));
        QCOMPARE(sizeof(ChannelState), size_t(48));
        const ModuleState state = distinctModule();
        QCOMPARE(decodeAll(telemetry::encodeModule(state)), telemetry::publishedPart(state));
    }

    void refusedTopics_data()
    {
        QTest::addColumn<QByteArray>("path");
        QTest::addColumn<QByteArray>("payload");
        const char *const rows[][2]
            = { { "temperature", "warm" }, { "status", "-1" }, { "ch/01/voltage/set", "1" },
                  { "ch/64/voltage/set", "1" }, { "ch/x/status", "1" }, { "ch/1/voltage", "1" },
                  { "ch/1/status/names", "[]" }, { "status/names", "[]" }, { "channels", "65" },
                  { "channels", "-1" }, { "family", "no-such-family" }, { "percent-based", "1" },
                  { "name", "crate 1" }, { "state", "online" }, { "sequence/state", "{}" } };
        for (const auto &row : rows)
            QTest::newRow(qPrintable(QByteArray(row[0]) + ' ' + row[1]))
                << QByteArray(row[0]) << QByteArray(row[1]);
    }
    void refusedTopics()
    {
        QFETCH(QByteArray, path);
        QFETCH(QByteArray, payload);
        ModuleState state = percentModule();
        const ModuleState before = state;
        QVERIFY(!telemetry::decodeModuleTopic(path, payload, &state));
        QCOMPARE(state, before);
    }

    // Retained topics come in any order: a channel value before the channel count.
    void channelBeforeItsCount()
    {
        ModuleState state;
        QVERIFY(telemetry::decodeModuleTopic("ch/2/voltage/set", "150", &state));
        QCOMPARE(state.channels.size(), size_t(3));
        QCOMPARE(state.channels[2].index(), 2);
        QVERIFY(telemetry::decodeModuleTopic("channels", "4", &state));
        QCOMPARE(state.channels.size(), size_t(4));
        QCOMPARE(state.channels[2].voltageSet(), 150.0f);
    }

    void splitTopic_data()
    {
        QTest::addColumn<QByteArray>("topic");
        QTest::addColumn<int>("serial"); // -1: not a module's topic
        QTest::addColumn<QByteArray>("path");
        QTest::newRow("value") << QByteArray("vorn/1001/ch/2/voltage/set") << 1001
                               << QByteArray("ch/2/voltage/set");
        QTest::newRow("identity") << QByteArray("vorn/7/family") << 7 << QByteArray("family");
        QTest::newRow("other prefix") << QByteArray("vornx/7/family") << -1 << QByteArray();
        QTest::newRow("no serial") << QByteArray("vorn/bridge/x") << -1 << QByteArray();
        QTest::newRow("base alone") << QByteArray("vorn/7") << -1 << QByteArray();
    }
    void splitTopic()
    {
        QFETCH(QByteArray, topic);
        QFETCH(int, serial);
        QFETCH(QByteArray, path);
        int readSerial = -1;
        QByteArrayView readPath;
        QCOMPARE(telemetry::splitModuleTopic(topic, "vorn", &readSerial, &readPath), serial >= 0);
        QCOMPARE(readSerial, serial);
        QCOMPARE(readPath.toByteArray(), path);
        if (serial >= 0)
            QCOMPARE(telemetry::moduleBase("vorn", serial) + path, topic);
    }

    void sequenceProgress_data()
    {
        QTest::addColumn<SequenceProgress>("progress");
        QTest::newRow("idle") << SequenceProgress();
        SequenceProgress running;
        running.state = SequenceRunner::State::Running;
        running.phase = SequenceRunner::Phase::RampingDown;
        running.step = 2;
        running.steps = 5;
        running.file = QStringLiteral("conditioning.seq");
        running.name = QStringLiteral("Conditioning ä");
        running.elapsedMs = 12300;
        running.remainingMs = 4500;
        running.channels = { 0, 2 };
        running.waiting = true;
        QTest::newRow("running") << running;
        SequenceProgress aborted = running;
        aborted.state = SequenceRunner::State::Aborted;
        aborted.phase = SequenceRunner::Phase::None;
        aborted.remainingMs = -1;
        aborted.waiting = false;
        aborted.reason = QStringLiteral("channel 2 tripped");
        QTest::newRow("aborted") << aborted;
    }
    void sequenceProgress()
    {
        QFETCH(SequenceProgress, progress);
        SequenceProgress read;
        read.steps = 99;
        QVERIFY(SequenceProgress::fromJson(progress.toJson(), &read));
        QCOMPARE(read, progress);
    }
    void sequenceProgressOnTheWire()
    {
        QCOMPARE(SequenceProgress().toJson(),
            QByteArray("{\"channels\":[],\"elapsed\":0,\"file\":\"\",\"name\":\"\",\"phase\":\"\","
                       "\"reason\":\"\",\"remaining\":null,\"state\":\"idle\",\"step\":0,"
                       "\"steps\":0,\"waiting\":false}"));
        SequenceProgress read;
        read.steps = 3;
        QVERIFY(!SequenceProgress::fromJson("{\"state\":\"dancing\",\"phase\":\"\"}", &read));
        QVERIFY(!SequenceProgress::fromJson("[]", &read));
        QCOMPARE(read.steps, 3);
    }

    void alarms()
    {
        EventDetector::Condition module;
        module.name = QStringLiteral("isSFLPgd");
        module.text = QStringLiteral("supplies not good");
        module.sinceMs = 1700000000123;
        EventDetector::Condition channel;
        channel.channel = 2;
        channel.name = QStringLiteral("isTRP");
        channel.text = QStringLiteral("channel 2 tripped");
        channel.sinceMs = 1700000001000;
        const QList<EventDetector::Condition> alarms { module, channel };
        QList<EventDetector::Condition> read { channel };
        QVERIFY(telemetry::decodeAlarms(telemetry::encodeAlarms({}), &read));
        QVERIFY(read.isEmpty());
        QCOMPARE(telemetry::encodeAlarms({}), QByteArray("[]"));
        const QByteArray payload = telemetry::encodeAlarms(alarms);
        QVERIFY(payload.contains("\"at\":\"2023-11-14T22:13:20.123Z\""));
        QVERIFY(telemetry::decodeAlarms(payload, &read));
        QCOMPARE(read.size(), 2);
        for (int i = 0; i < 2; ++i) {
            QCOMPARE(read[i], alarms[i]);
            QCOMPARE(read[i].text, alarms[i].text);
        }
        QVERIFY(!telemetry::decodeAlarms("{}", &read));
        QCOMPARE(read.size(), 2);
    }
};

QTEST_GUILESS_MAIN(TestTelemetry)
#include "tst_telemetry.moc"
