// The control room's picture of the broker: modules from the topics, stale while their bridge
// or their values are gone, and alarms whose acknowledgements outlast a restart.
#include "alarmbook.h"
#include "overviewmodel.h"
#include "roster.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

class TestRoom : public QObject
{
    Q_OBJECT

private slots:
    void staleness_data()
    {
        // Messages "topic=payload@ms" below "vorn/", then the check's time; stale since when
        // (0: fresh).
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<qint64>("checkAt");
        QTest::addColumn<qint64>("staleSince");
        const QString values = QStringLiteral("7/bridge=vorn/bridge/b1/state@0");
        QTest::newRow("values coming") << QStringList { values, "7/temperature=30@1000",
            "7/temperature=31@9000" } << qint64(15000) << qint64(0);
        QTest::newRow("values stopped")
            << QStringList { values, "7/temperature=30@1000" } << qint64(11000) << qint64(1000);
        QTest::newRow("bridge gone") << QStringList { values, "7/temperature=30@1000",
            "bridge/b1/state=offline@2000" } << qint64(2500) << qint64(2000);
        QTest::newRow("bridge back") << QStringList { values, "bridge/b1/state=offline@2000",
            "bridge/b1/state=online@3000", "7/temperature=30@3100" } << qint64(3200) << qint64(0);
        QTest::newRow("module offline") << QStringList { values, "7/temperature=30@1000",
            "7/state=offline@1500" } << qint64(1600) << qint64(1500);
        QTest::newRow("another bridge gone") << QStringList { values, "7/temperature=30@1000",
            "bridge/b2/state=offline@1200" } << qint64(1300) << qint64(0);
    }
    void staleness()
    {
        QFETCH(QStringList, messages);
        QFETCH(qint64, checkAt);
        QFETCH(qint64, staleSince);
        ModuleRoster roster("vorn");
        for (const QString &message : messages) {
            const QString topic = message.section(QLatin1Char('='), 0, 0);
            const QString payload = message.section(QLatin1Char('='), 1).section(QLatin1Char('@'), 0, 0);
            const qint64 at = message.section(QLatin1Char('@'), -1).toLongLong();
            QVERIFY(roster.handle("vorn/" + topic.toUtf8(), payload.toUtf8(), at));
        }
        roster.check(checkAt);
        QVERIFY(roster.module(7));
        QCOMPARE(roster.module(7)->staleSinceMs, staleSince);
    }

    void moduleFromItsTopics()
    {
        ModuleRoster roster("vorn");
        QSignalSpy added(&roster, &ModuleRoster::moduleAdded);
        for (const auto &[topic, payload] : std::initializer_list<std::pair<QByteArray, QByteArray>> {
                 { "channels", "2" }, { "ch/0/status", "8" }, { "ch/1/status", "8200" },
                 { "ch/1/voltage/measured", "-512.5" }, { "name", "crate 1" } })
            QVERIFY(roster.handle("vorn/1001/" + topic, payload, 1));
        QVERIFY(!roster.handle("other/1001/channels", "2", 1));
        QCOMPARE(added.count(), 1);
        const RoomModule *module = roster.module(1001);
        QVERIFY(module);
        QCOMPARE(module->state.channelCount, 2);
        QCOMPARE(module->channelsOn(), 2);
        QCOMPARE(module->channelsTripped(), 1);
        QCOMPARE(module->highestVoltage(), 512.5);
        QCOMPARE(module->name, QStringLiteral("crate 1"));
    }

    void overviewRowsAndChannels()
    {
        ModuleRoster roster("vorn");
        OverviewModel model(&roster);
        for (const auto &[topic, payload] : std::initializer_list<std::pair<QByteArray, QByteArray>> {
                 { "1001/channels", "2" }, { "1001/name", "a" }, { "1001/ch/1/status", "8200" },
                 { "1001/ch/1/voltage/measured", "-512.5" }, { "1002/name", "b" },
                 { "1002/state", "offline" } })
            roster.handle("vorn/" + topic, payload, 1000);
        QCOMPARE(model.rowCount(), 2);
        QTRY_COMPARE(model.rowCount(model.index(0, 0)), 2); // after the gathered refresh
        QCOMPARE(model.rowCount(model.index(1, 0)), 0);
        QCOMPARE(model.data(model.index(0, OverviewModel::OnTripped)).toString(), QStringLiteral("1 / 1"));
        QCOMPARE(model.data(model.index(0, OverviewModel::HighestVoltage)).toString(), QStringLiteral("512.5 V"));
        QCOMPARE(model.data(model.index(1, OverviewModel::StatusNames, model.index(0, 0))).toString(),
            QStringLiteral("isON isTRP"));
        QVERIFY(model.data(model.index(1, OverviewModel::State)).toString().startsWith(QLatin1String("stale since")));
        QCOMPARE(model.serialAt(model.index(1, 3, model.index(0, 0))), 1001);
        QCOMPARE(model.toCsv().count('\n'), 3);
    }

    void acknowledgementsOutlastARestart()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("room.ini"));
        HistoryEntry trip;
        trip.serialNumber = 7;
        trip.channel = 2;
        trip.severity = Severity::Alarm;
        trip.rose = QStringList { QStringLiteral("isTRP") };
        trip.text = QStringLiteral("channel 2 tripped");
        trip.timeMs = 5000;
        HistoryEntry info = trip;
        info.severity = Severity::Info;
        info.timeMs = 6000;
        {
            QSettings store(file, QSettings::IniFormat);
            AlarmBook book(&store, QStringLiteral("anna"));
            QSignalSpy raised(&book, &AlarmBook::raised);
            // Known from the alarms topic before its entry comes: one alarm, not two, and no
            // notification for what was there before.
            book.setActive(7, { { 2, QStringLiteral("isTRP"), trip.text, 5000 } });
            book.addEntry(trip);
            QCOMPARE(raised.count(), 0);
            book.addEntry(info);
            QCOMPARE(book.alarms().size(), 1);
            QVERIFY(book.alarms().first().active);
            QCOMPARE(book.unacknowledgedCount(), 1);
            book.acknowledge(0, QStringLiteral("reset the interlock"));
            QCOMPARE(book.unacknowledgedCount(), 0);
        }
        QSettings store(file, QSettings::IniFormat);
        AlarmBook book(&store, QStringLiteral("ben"));
        QSignalSpy raised(&book, &AlarmBook::raised);
        book.addEntry(trip);
        QCOMPARE(book.alarms().first().acknowledgedBy, QStringLiteral("anna"));
        QCOMPARE(book.alarms().first().note, QStringLiteral("reset the interlock"));
        QCOMPARE(book.unacknowledgedCount(), 0);
        QCOMPARE(raised.count(), 0); // acknowledged before the restart
        trip.timeMs = 9000;
        book.addEntry(trip);
        QCOMPARE(raised.count(), 1);
        QCOMPARE(book.unacknowledgedCount(), 1);
    }
};

QTEST_GUILESS_MAIN(TestRoom)
#include "tst_room.moc"
