// The control room's picture of the broker: modules from the topics, stale while their bridge
// or their values are gone, and alarms whose acknowledgements outlast a restart.
#include "alarmbook.h"
#include "overviewfilter.h"
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
        // A channel's state: the panel's word and colour, the bits as the tooltip.
        const QModelIndex state = model.index(1, OverviewModel::StatusNames, model.index(0, 0));
        QCOMPARE(model.data(state).toString(), QStringLiteral("Trip"));
        QCOMPARE(model.data(state, Qt::BackgroundRole).value<QColor>(), QColor(Qt::red));
        QCOMPARE(model.data(state, Qt::ToolTipRole).toString(), QStringLiteral("isON isTRP"));
        QVERIFY(model.data(model.index(1, OverviewModel::State)).toString().startsWith(QLatin1String("stale since")));
        QCOMPARE(model.serialAt(model.index(1, 3, model.index(0, 0))), 1001);
        QCOMPARE(model.toCsv().count('\n'), 3);
    }

    void overviewShowsAndSorts_data()
    {
        QTest::addColumn<int>("show");
        QTest::addColumn<QString>("search");
        QTest::addColumn<QString>("shown"); // serials in the order of the highest |Vmeas|
        QTest::newRow("all") << int(OverviewFilter::All) << QString() << "1004 1002 1001 1003";
        QTest::newRow("with alarms") << int(OverviewFilter::WithAlarms) << QString() << "1002";
        QTest::newRow("channels on") << int(OverviewFilter::ChannelsOn) << QString() << "1004 1002 1001";
        QTest::newRow("tripped") << int(OverviewFilter::Tripped) << QString() << "1002";
        QTest::newRow("stale or clash") << int(OverviewFilter::Stale) << QString() << "1004 1003";
        QTest::newRow("searched") << int(OverviewFilter::All) << "RACK-2" << "1004 1003";
        QTest::newRow("searched, on") << int(OverviewFilter::ChannelsOn) << "rack-2" << "1004";
        // A channel's text does not bring in a module of another kind.
        QTest::newRow("channel text") << int(OverviewFilter::Tripped) << "channel 0" << "1002";
    }

    void overviewShowsAndSorts()
    {
        QFETCH(int, show);
        QFETCH(QString, search);
        QFETCH(QString, shown);
        ModuleRoster roster("vorn");
        OverviewModel model(&roster);
        // 1001 on at 9.5 V, 1002 on and tripped at 100 V with an alarm, 1003 offline, 1004 on at
        // 1000 V in a clash.
        for (const auto &[topic, payload] : std::initializer_list<std::pair<QByteArray, QByteArray>> {
                 { "1001/name", "rack-1 a" }, { "1001/channels", "1" }, { "1001/state", "online" },
                 { "1001/ch/0/status", "8" }, { "1001/ch/0/voltage/measured", "9.5" },
                 { "1002/name", "rack-1 b" }, { "1002/channels", "1" }, { "1002/state", "online" },
                 { "1002/ch/0/status", "8200" }, { "1002/ch/0/voltage/measured", "100" },
                 { "1002/alarms", R"([{"source":"channel","channel":0,"condition":"isTRP","text":"channel 0 tripped","since":1}])" },
                 { "1003/name", "rack-2 a" }, { "1003/channels", "1" }, { "1003/state", "offline" },
                 { "1004/name", "rack-2 b" }, { "1004/channels", "1" }, { "1004/state", "clash" },
                 { "1004/ch/0/status", "8" }, { "1004/ch/0/voltage/measured", "-1000" } })
            roster.handle("vorn/" + topic, payload, 1000);
        QTRY_COMPARE(model.rowCount(model.index(3, 0)), 1);
        OverviewFilter filter(&roster);
        filter.setSourceModel(&model);
        filter.setShow(OverviewFilter::Show(show));
        filter.setFilterFixedString(search);
        filter.sort(OverviewModel::HighestVoltage, Qt::DescendingOrder);
        QStringList serials;
        for (int row = 0; row < filter.rowCount(); ++row)
            serials << filter.index(row, OverviewModel::Serial).data().toString();
        QCOMPARE(serials.join(QLatin1Char(' ')), shown);
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
