// The control room's window parts: the broker dialog (what it keeps, read back as it was, and
// the password never in the settings file: it goes to the desktop's secret store, which a test
// machine may not have, and then it is kept nowhere); the module's tables and trend from its
// topics.
#include "brokerdialog.h"
#include "hvtable.h"
#include "moduletables.h"
#include "roomtrend.h"
#include "roster.h"
#include "stattablech.h"
#include "stattablemod.h"
#include "tablestatitem.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QStandardPaths>
#include <QTest>
#include <QVBoxLayout>

class TestRoomWindow : public QObject
{
    Q_OBJECT

private slots:
    void settingsKeptWithoutThePassword()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("room.ini"));
        BrokerSettings given;
        given.host = QStringLiteral("broker.lab");
        given.port = 8883;
        given.user = QStringLiteral("anna");
        given.password = QStringLiteral("pw-that-must-not-show");
        given.caFile = QStringLiteral("/etc/ssl/lab-ca.pem");
        {
            QSettings store(path, QSettings::IniFormat);
            BrokerDialog dialog(given, QStringLiteral("lab/rack1"));
            QString error;
            // Without a secret store on this machine it says so rather than keep it elsewhere.
            if (!dialog.save(&store, &error))
                QVERIFY(!error.isEmpty());
        }
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray text = file.readAll();
        QVERIFY(text.contains("broker.lab"));
        QVERIFY2(!text.contains("pw-that-must-not-show"), text.constData());

        QSettings store(path, QSettings::IniFormat);
        QString prefix;
        const BrokerSettings read = BrokerDialog::load(&store, &prefix);
        QCOMPARE(read.host, given.host);
        QCOMPARE(read.port, given.port);
        QCOMPARE(read.user, given.user);
        QCOMPARE(read.caFile, given.caFile);
        QVERIFY(read.tls); // a CA file switches TLS on
        QVERIFY(read.password.isEmpty());
        QCOMPARE(prefix, QStringLiteral("lab/rack1"));
        QVERIFY(read.clientId.startsWith(QLatin1String("vorn-control-room-")));
    }

    void moduleTablesFromTheTopics()
    {
        QStandardPaths::setTestModeEnabled(true);
        ModuleRoster roster("vorn");
        for (const auto &[topic, payload] : std::initializer_list<std::pair<QByteArray, QByteArray>> {
                 { "channels", "2" }, { "ch/0/voltage/set", "500" },
                 { "ch/0/status", "8" }, { "ch/0/current/set", "0" }, { "ch/1/status", "8200" },
                 { "ch/1/control", "8" }, { "status", "8" } })
            QVERIFY(roster.handle("vorn/1001/" + topic, payload, 1));
        RoomModule module = *roster.module(1001);
        module.alarms = { { 1, QStringLiteral("isTRP"), QStringLiteral("channel 1 tripped"), 1 } };
        HvTable table;
        table.setColumnCount(12);
        StatTableCh channelStatus;
        StatTableMod moduleStatus;
        channelStatus.initTable();
        moduleStatus.initTable();
        ModuleTables tables({ &table, &channelStatus, &moduleStatus }, QStringLiteral("VornTest"));
        tables.show(module, 1);
        QCOMPARE(table.rowCount(), 2);
        QCOMPARE(table.item(0, 0)->text(), QStringLiteral("500.00"));
        // The panel's state words and colours: on green, a trip red, a zero set current yellow.
        QCOMPARE(table.item(0, 9)->text(), QStringLiteral("On"));
        QCOMPARE(table.item(0, 9)->background().color(), QColor(Qt::green));
        QCOMPARE(table.item(1, 9)->text(), QStringLiteral("Trip"));
        QCOMPARE(table.item(1, 9)->background().color(), QColor(Qt::red));
        QCOMPARE(table.item(0, 4)->background().color(), QColor(Qt::yellow));
        QVERIFY(!table.rowAlarm(0));
        QVERIFY(table.rowAlarm(1));
        // Channel 1's words in the channel table: bit 13 of its status (trip) is painted.
        QVERIFY(channelStatus.item(StatTable::StatusRow, 14)->background().color() != QColor(Qt::lightGray));
        QCOMPARE(channelStatus.item(StatTable::StatusRow, 1)->background().color(), QColor(Qt::lightGray));
        tables.clear();
        QCOMPARE(table.rowCount(), 0);
    }

    void trendSamplesWhatTheBridgePublished()
    {
        ModuleRoster roster("vorn");
        const auto publish = [&](int serial, qint64 ms) {
            roster.handle("vorn/" + QByteArray::number(serial) + "/channels", "2", ms);
            roster.handle("vorn/" + QByteArray::number(serial) + "/ch/0/voltage/measured",
                QByteArray::number(ms), ms);
        };
        QWidget pane;
        pane.setLayout(new QVBoxLayout);
        RoomTrend trend(&roster, &pane);
        publish(1001, 1000);
        trend.show(1001, -1, {});
        QCOMPARE(trend.samples(1001), 1);
        trend.show(1001, 0, {});
        QCOMPARE(trend.samples(1001), 1); // nothing new came
        publish(1001, 2000);
        trend.show(1001, 0, {});
        QCOMPARE(trend.samples(1001), 2);
        QCOMPARE(trend.plot()->channelMask(), quint64(1));
        QCOMPARE(pane.findChildren<TrendPlot *>().size(), 1);
        // The trends of the last modules chosen are kept, the oldest goes.
        for (int serial = 2000; serial < 2000 + RoomTrend::MaxModules; ++serial) {
            publish(serial, 1000);
            trend.show(serial, -1, {});
        }
        QCOMPARE(trend.samples(1001), 0);
        QCOMPARE(trend.samples(2000), 1);
        QCOMPARE(pane.findChildren<TrendPlot *>().size(), 1);
    }
};

QTEST_MAIN(TestRoomWindow)
#include "tst_roomwindow.moc"
