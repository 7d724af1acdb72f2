#include "eventhistory.h"
#include "eventtext.h"
#include "historyfile.h"
#include "linkreason.h"
#include "module.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {
using Words = QPair<quint16, quint16>;
constexpr quint16 healthy = 0x7700; // isnoSERR, isnoRAMP, isSFLPgd, isMODgd, isSPLYgd, isTMPgd
constexpr quint16 isON = 1u << 3, isCC = 1u << 6, isTRP = 1u << 13, ETRP = 1u << 13;
constexpr quint16 EEOR = 1u << 4, EOn2Off = 1u << 3, isSFLPgd = 1u << 10, ESFLPngd = 1u << 10;
constexpr quint16 isHwVLgd = 1u << 5, EHwVLngd = 1u << 5;

/// A four-channel module, serial 1001, healthy, every channel off.
struct TestModule
{
    Module module { 64 };
    TestModule()
    {
        module.setChannelCount(4);
        module.setSerialNumber(1001);
        module.setStatus(healthy);
    }
    /// Sets the words of channel \a source, or of the module for -1.
    void set(int source, Words words)
    {
        if (source < 0) {
            module.setStatus(words.first);
            module.setEventStatus(words.second);
        } else {
            module.channel(source).setStatus(words.first);
            module.channel(source).setEventStatus(words.second);
        }
    }
};
} // namespace

class TestEventHistory : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;

    /// Trips channel \a channel (status and event in two answers) and ends the trip.
    static void trip(EventHistory &history, TestModule &m, int channel)
    {
        m.set(channel, { isTRP, 0 });
        history.answer(m.module);
        m.set(channel, { isTRP, ETRP });
        history.answer(m.module);
        m.set(channel, { 0, 0 });
        history.answer(m.module);
    }

private slots:
    void entriesFromWordChanges_data()
    {
        QTest::addColumn<int>("source");
        QTest::addColumn<QList<Words>>("steps");
        // Severity of each step's entry; -1: the step makes none.
        QTest::addColumn<QList<int>>("severities");
        QTest::addColumn<QStringList>("rose");
        QTest::addColumn<QStringList>("fell");
        QTest::addColumn<QString>("text");
        const int none = -1, info = 0, warning = 1, alarm = 2;
        QTest::newRow("trip") << 0 << QList<Words> { { isON, 0 }, { isTRP, 0 } }
                              << QList<int> { info, alarm } << QStringList { "isTRP" }
                              << QStringList { "isON" } << "channel 0 tripped; channel 0 off";
        QTest::newRow("trip, then its events")
            << 2 << QList<Words> { { isTRP, 0 }, { isTRP, ETRP | EOn2Off } }
            << QList<int> { alarm, info } << QStringList { "EOn2Off", "ETRP" } << QStringList()
            << "channel 2 event: switched off, trip";
        QTest::newRow("trip seen by its event first")
            << 1 << QList<Words> { { 0, ETRP }, { isTRP, ETRP } } << QList<int> { alarm, info }
            << QStringList { "isTRP" } << QStringList() << "channel 1 tripped";
        // Regression: the latched event of a trip already reported was an alarm of its own.
        QTest::newRow("trip, its event after the status bit went")
            << 1 << QList<Words> { { isTRP, 0 }, { 0, ETRP } } << QList<int> { alarm, info }
            << QStringList { "ETRP" } << QStringList { "isTRP" }
            << "channel 1 trip cleared; channel 1 event: trip";
        QTest::newRow("trip that came and went")
            << 1 << QList<Words> { { 0, ETRP } } << QList<int> { alarm } << QStringList { "ETRP" }
            << QStringList() << "channel 1 event: trip";
        QTest::newRow("second trip, events not cleared")
            << 3 << QList<Words> { { isTRP, ETRP }, { 0, ETRP }, { isTRP, ETRP } }
            << QList<int> { alarm, info, alarm } << QStringList { "isTRP" } << QStringList()
            << "channel 3 tripped";
        QTest::newRow("constant current")
            << 0 << QList<Words> { { isON | isCC, 0 } } << QList<int> { warning }
            << QStringList { "isON", "isCC" } << QStringList()
            << "channel 0 on; channel 0 in constant current";
        QTest::newRow("end of ramp") << 0 << QList<Words> { { isON, EEOR } } << QList<int> { info }
                                     << QStringList { "isON", "EEOR" } << QStringList()
                                     << "channel 0 on; channel 0 event: end of ramp";
        QTest::newRow("events cleared")
            << 0 << QList<Words> { { isTRP, ETRP | EEOR }, { isTRP, 0 } }
            << QList<int> { alarm, info } << QStringList() << QStringList { "EEOR", "ETRP" }
            << "channel 0 events cleared: end of ramp, trip";
        QTest::newRow("safety loop open")
            << -1 << QList<Words> { { healthy & ~isSFLPgd, ESFLPngd } } << QList<int> { alarm }
            << QStringList { "ESFLPngd" } << QStringList { "isSFLPgd" }
            << "safety loop open; module event: safety loop open";
        QTest::newRow("safety loop closed")
            << -1 << QList<Words> { { healthy & ~isSFLPgd, 0 }, { healthy, 0 } }
            << QList<int> { alarm, info } << QStringList { "isSFLPgd" } << QStringList()
            << "safety loop closed";
        // Regression: the sentences named these by their mnemonics ("module: isHwVLgd cleared").
        QTest::newRow("hardware voltage limit")
            << -1 << QList<Words> { { healthy | isHwVLgd, 0 }, { healthy, EHwVLngd } }
            << QList<int> { info, info } << QStringList { "EHwVLngd" } << QStringList { "isHwVLgd" }
            << "hardware voltage limit not good; module event: hardware voltage limit not good";
        QTest::newRow("reserved bits")
            << -1 << QList<Words> { { healthy | 0x82, 0x0001 } } << QList<int> { none }
            << QStringList() << QStringList() << QString();
    }
    void entriesFromWordChanges()
    {
        QFETCH(int, source);
        QFETCH(QList<Words>, steps);
        QFETCH(QList<int>, severities);
        TestModule m;
        EventDetector detector;
        QVERIFY(detector.start(m.module, 1000).isEmpty());
        HistoryEntry last;
        for (int i = 0; i < steps.size(); ++i) {
            m.set(source, steps.at(i));
            const QList<HistoryEntry> entries = detector.observe(m.module, 2000 + i);
            QCOMPARE(entries.size(), severities.at(i) < 0 ? 0 : 1);
            if (entries.isEmpty())
                continue;
            last = entries.first();
            QCOMPARE(int(last.severity), severities.at(i));
            QCOMPARE(last.channel, source);
            QCOMPARE(last.serialNumber, 1001);
            QCOMPARE(last.timeMs, 2000 + i);
        }
        QFETCH(QStringList, rose);
        QFETCH(QStringList, fell);
        QFETCH(QString, text);
        QCOMPARE(last.rose, rose);
        QCOMPARE(last.fell, fell);
        QCOMPARE(last.text, text);
        QCOMPARE(EventText::describe(last, true), text); // no translator: the English text
        HistoryEntry read;
        QVERIFY(HistoryEntry::fromJson(last.toJson(), &read));
        QCOMPARE(read.toJson(), last.toJson());
    }

    // Regression: a channel ramped down to 0 V and then switched off was reported with the
    // reading of a snapshot from before the ramp-down, as if cut at 500 V.
    void rampedDownOffCarriesItsOwnReading()
    {
        TestModule m;
        Channel &channel = m.module.channel(1);
        channel.setStatus(isON);
        channel.setVoltageSet(500.0f);
        channel.setVoltageMeasure(500.0f);
        EventDetector detector;
        detector.start(m.module, 0);
        for (int i = 0; i < 2 * EventDetector::SnapshotAnswers; ++i)
            detector.observe(m.module, i);
        channel.setVoltageSet(0.0f);
        channel.setVoltageMeasure(0.5f);
        detector.observe(m.module, 100);
        channel.setStatus(0);
        const QList<HistoryEntry> entries = detector.observe(m.module, 101);
        QCOMPARE(entries.size(), 1);
        QCOMPARE(entries.first().voltage, 0.5);
    }

    void tripKeepsTheVoltageBeforeIt_data()
    {
        QTest::addColumn<quint16>("status");
        QTest::addColumn<quint16>("events");
        // Answers at 500 V after the one of start() and before the one that measures the fall.
        QTest::addColumn<int>("steady");
        QTest::addColumn<QString>("text");
        const int boundary = 2 * EventDetector::SnapshotAnswers;
        QTest::newRow("status first")
            << isTRP << quint16(0) << boundary << "channel 1 tripped; channel 1 off";
        QTest::newRow("event first")
            << isON << quint16(ETRP | EOn2Off) << boundary << "channel 1 event: switched off, trip";
        // The answer with the fall takes a snapshot: the entry takes the one before, 500 V.
        QTest::newRow("snapshot between the fall and the trip")
            << isTRP << quint16(0) << boundary - 2 << "channel 1 tripped; channel 1 off";
    }
    void tripKeepsTheVoltageBeforeIt()
    {
        QFETCH(quint16, status);
        QFETCH(quint16, events);
        QFETCH(int, steady);
        TestModule m;
        Channel &channel = m.module.channel(1);
        channel.setStatus(isON);
        channel.setVoltageSet(500.0f);
        channel.setVoltageMeasure(500.0f);
        channel.setCurrentMeasure(5e-4f);
        EventDetector detector;
        detector.start(m.module, 0);
        for (int i = 0; i < steady; ++i)
            detector.observe(m.module, i);
        // The module measures the fall before its words show the trip.
        channel.setVoltageMeasure(0.0f);
        channel.setCurrentMeasure(0.0f);
        QVERIFY(detector.observe(m.module, 100).isEmpty());
        channel.setStatus(status);
        channel.setEventStatus(events);
        const QList<HistoryEntry> entries = detector.observe(m.module, 101);
        QCOMPARE(entries.size(), 1);
        QTEST(entries.first().text, "text");
        QCOMPARE(entries.first().severity, Severity::Alarm);
        QCOMPARE(entries.first().voltage, 500.0);
        QCOMPARE(float(entries.first().current), 5e-4f);
        QCOMPARE(detector.alarmsChanged(), status == isTRP);
        channel.setStatus(isTRP);
        detector.observe(m.module, 102);
        QCOMPARE(detector.activeAlarms().size(), 1);
        QCOMPARE(detector.activeAlarms().first().text, QStringLiteral("channel 1 tripped"));
        QCOMPARE(detector.activeAlarms().first().sinceMs, status == isTRP ? 101 : 102);
        channel.setStatus(0);
        detector.observe(m.module, 103);
        QVERIFY(detector.alarmsChanged());
        QVERIFY(detector.activeAlarms().isEmpty());
    }

    void alarmsUntilAcknowledged()
    {
        TestModule m;
        m.set(2, { isTRP, 0 }); // tripped before the connection
        EventHistory history;
        QSignalSpy alarms(&history, &EventHistory::alarmsChanged);
        QSignalSpy active(&history, &EventHistory::activeAlarmsChanged);
        QVERIFY(alarms.isValid() && active.isValid());
        history.moduleOnline(m.module);
        QCOMPARE(history.entries().size(), 2);
        QCOMPARE(history.entries().first().link, QStringLiteral("up"));
        QCOMPARE(history.entries().last().text, QStringLiteral("channel 2 tripped"));
        QCOMPARE(history.unacknowledgedAlarms(), 1);
        QCOMPARE(active.count(), 1);
        trip(history, m, 0);
        QCOMPARE(history.unacknowledgedAlarms(), 2);
        QVERIFY(history.hasUnacknowledgedAlarm(0) && history.hasUnacknowledgedAlarm(2));
        QVERIFY(!history.hasUnacknowledgedAlarm(1));
        history.acknowledgeAll();
        QCOMPARE(history.unacknowledgedAlarms(), 0);
        QVERIFY(!history.hasUnacknowledgedAlarm(0));
        QCOMPARE(alarms.count(), 3);

        history.moduleOffline(LinkReason::timeout(123));
        QCOMPARE(history.entries().last().reason, QStringLiteral("timeout:123"));
        QCOMPARE(history.entries().last().text,
            QStringLiteral("link lost: timeout while requesting 123"));
        HistoryEntry older = history.entries().last(); // as an older version stored it
        older.reason = QStringLiteral("Connection lost due to timeout while requesting 123");
        QCOMPARE(EventText::describe(older, true), QStringLiteral("link lost: ") + older.reason);
        QCOMPARE(history.unacknowledgedAlarms(), 1);
        QCOMPARE(history.activeAlarms().size(), 1);
        QCOMPARE(history.activeAlarms().first().name, QStringLiteral("link"));
        history.answer(m.module); // a late answer of the lost link is no news
        history.moduleOnline(m.module);
        QCOMPARE(history.entries().at(history.entries().size() - 2).link, QStringLiteral("back"));
        QCOMPARE(history.activeAlarms().first().name, QStringLiteral("isTRP"));
        history.moduleOffline(QStringLiteral("disconnected"));
        QCOMPARE(history.entries().last().severity, Severity::Info);
        QVERIFY(history.activeAlarms().isEmpty());
    }

    void persistsAndRotates()
    {
        const QString folder = dir.filePath(QStringLiteral("rotation"));
        const qint64 cap = 2048;
        {
            TestModule m;
            EventHistory history;
            history.setStorage(folder, cap, 3);
            history.moduleOnline(m.module);
            for (int i = 0; i < 20; ++i)
                trip(history, m, i % 4);
            QVERIFY(history.writeError().isEmpty());
        }
        const QString path = folder + QStringLiteral("/1001.jsonl");
        for (const QString &name : { path, path + ".1", path + ".2" }) {
            QVERIFY2(QFile::exists(name), qPrintable(name));
            QVERIFY(QFileInfo(name).size() <= cap);
        }
        QVERIFY(!QFile::exists(path + ".3"));
        // Lines that are no entry (a cut-off line, garbage) are skipped.
        QFile file(path);
        QVERIFY(file.open(QIODevice::Append));
        file.write("{\"time\":17,\"severity\":\"alarm\",\"source\":\"chan\n\x01garbage\n");
        file.close();
        HistoryFile reader(folder, cap, 3);
        reader.setSerialNumber(1001);
        int skipped = 0;
        const QList<HistoryEntry> recent = reader.readRecent(1000, &skipped);
        QCOMPARE(skipped, 2);
        QVERIFY(recent.size() > 10);
        for (int i = 1; i < recent.size(); ++i)
            QVERIFY(recent.at(i - 1).timeMs <= recent.at(i).timeMs);
        QCOMPARE(reader.readRecent(3).size(), 3);
        QCOMPARE(reader.readRecent(3).last().toJson(), recent.last().toJson());

        TestModule m;
        EventHistory again;
        again.setStorage(folder, cap, 3);
        again.moduleOnline(m.module);
        QCOMPARE(again.entries().size(), recent.size() + 1);
        QCOMPARE(again.entries().last().link, QStringLiteral("up"));
    }

    void writeFailureIsReportedOnce_data()
    {
        QTest::addColumn<QString>("blocker");
        // The file is a full disk; the folder cannot be made (a file is in its place).
        QTest::newRow("full disk") << QStringLiteral("history/1001.jsonl");
        QTest::newRow("folder blocked") << QStringLiteral("history");
    }
    void writeFailureIsReportedOnce()
    {
        QFETCH(QString, blocker);
        QTemporaryDir base;
        const QString blocked = base.filePath(blocker);
        QVERIFY(QDir().mkpath(QFileInfo(blocked).path()));
        if (blocker.endsWith(QLatin1String(".jsonl")))
            QVERIFY(QFile::link(QStringLiteral("/dev/full"), blocked));
        else
            QVERIFY(QFile(blocked).open(QIODevice::WriteOnly));
        TestModule m;
        EventHistory history;
        history.setStorage(base.filePath(QStringLiteral("history")), 4096, 2);
        QSignalSpy failed(&history, &EventHistory::writeFailed);
        QSignalSpy recovered(&history, &EventHistory::writeRecovered);
        history.moduleOnline(m.module);
        trip(history, m, 0);
        QCOMPARE(failed.count(), 1);
        QVERIFY(!history.writeError().isEmpty());
        QCOMPARE(history.entries().size(), 4);

        QVERIFY(QFile::remove(blocked));
        trip(history, m, 1);
        QCOMPARE(recovered.count(), 1);
        QVERIFY(history.writeError().isEmpty());
        // Nothing lost: the entries held back went out first.
        HistoryFile reader(base.filePath(QStringLiteral("history")));
        reader.setSerialNumber(1001);
        QCOMPARE(reader.readRecent(100).size(), 7);
    }
};

QTEST_GUILESS_MAIN(TestEventHistory)
#include "tst_eventhistory.moc"
