#include "alarmindicator.h"
#include "eventhistory.h"
#include "historyformat.h"
#include "historymodel.h"
#include "historypanel.h"
#include "historywindow.h"
#include "hvtable.h"
#include "module.h"

#include <QApplication>
#include <QComboBox>
#include <QDBusConnection>
#include <QFile>
#include <QLabel>
#include <QMainWindow>
#include <QProcess>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

namespace {
constexpr quint16 healthy = 0x7700, isON = 1u << 3, isCC = 1u << 6, isTRP = 1u << 13;

/// Stands in for the desktop's notification service on a private bus.
class FakeNotifications : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

public:
    QStringList summaries;
    QStringList bodies;

public slots:
    uint Notify(const QString &, uint, const QString &, const QString &summary, const QString &body,
        const QStringList &, const QVariantMap &, int)
    {
        summaries.append(summary);
        bodies.append(body);
        return uint(summaries.size());
    }
};

/// A main window with a status bar and a four-row channel table, and a history panel on it.
struct PanelWindow
{
    QMainWindow window;
    HvTable *table = new HvTable(&window);
    EventHistory history;
    HistoryPanel panel;
    Module module { 64 };

    explicit PanelWindow(const QString &folder)
        : panel(&history, { &window, window.statusBar(), table }, folder)
    {
        window.setCentralWidget(table);
        table->setColumnCount(12);
        table->setChannelCount(4);
        module.setChannelCount(4);
        module.setSerialNumber(1001);
        module.setStatus(healthy);
        panel.history()->moduleOnline(module);
    }
    /// One answer in which channel \a channel has the status \a status.
    void answer(int channel, quint16 status)
    {
        module.channel(channel).setStatus(status);
        panel.history()->answer(module);
    }
};
} // namespace

class TestHistoryView : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;
    QProcess bus;

private slots:
    void initTestCase()
    {
        // A bus of the test's own, before anything asks for the session bus.
        bus.start(QStringLiteral("dbus-daemon"),
            { QStringLiteral("--session"), QStringLiteral("--nofork"),
                QStringLiteral("--print-address") });
        QVERIFY2(bus.waitForStarted(5000), "dbus-daemon is missing; run scripts/deps.sh");
        QVERIFY(bus.waitForReadyRead(5000));
        const QByteArray address = bus.readLine().trimmed();
        QVERIFY(!address.isEmpty());
        qputenv("DBUS_SESSION_BUS_ADDRESS", address);
    }
    void cleanupTestCase()
    {
        bus.terminate();
        bus.waitForFinished(5000);
    }

    void filtersAndExport_data()
    {
        QTest::addColumn<int>("severity");
        QTest::addColumn<int>("source");
        QTest::addColumn<int>("rows");
        QTest::addColumn<QString>("newest");
        // Rows after Clear View and a trip of channel 2.
        QTest::addColumn<int>("afterClear");
        // Entries: up, ch 0 on, ch 0 constant current, ch 1 tripped, ch 0 off.
        QTest::newRow("all") << int(HistoryModel::AllSeverities) << int(HistoryModel::AllSources)
                             << 5 << "channel 0 off; channel 0 out of constant current" << 1;
        QTest::newRow("alarms") << int(Severity::Alarm) << int(HistoryModel::AllSources) << 1
                                << "channel 1 tripped" << 1;
        QTest::newRow("warnings of channel 0")
            << int(Severity::Warning) << 0 << 1 << "channel 0 in constant current" << 0;
        QTest::newRow("module") << int(HistoryModel::AllSeverities)
                                << int(HistoryEntry::ModuleSource) << 1 << "connected" << 0;
        QTest::newRow("nothing") << int(Severity::Alarm) << 3 << 0 << QString() << 0;
    }
    void filtersAndExport()
    {
        QFETCH(int, severity);
        QFETCH(int, source);
        QFETCH(int, rows);
        QFETCH(QString, newest);
        PanelWindow w(dir.filePath(QLatin1String(QTest::currentDataTag())));
        w.answer(0, isON);
        w.answer(0, isON | isCC);
        w.answer(1, isTRP);
        w.answer(0, 0);
        HistoryWindow *window = w.panel.showWindow();
        HistoryModel *model = window->model();
        model->setFilter(severity, source);
        QCOMPARE(model->rowCount(), rows);
        if (rows > 0)
            QCOMPARE(model->index(0, HistoryModel::EventColumn).data().toString(), newest);

        const QString path = dir.filePath(QStringLiteral("export.csv"));
        QString error;
        QVERIFY2(window->exportCsv(path, &error), qPrintable(error));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QStringList lines = QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), rows + 1);
        QVERIFY(lines.first().startsWith(QLatin1String("Time,Serial number,Source,Severity")));
        QVERIFY(!window->exportCsv(dir.filePath(QStringLiteral("missing/x.csv")), &error));

        model->clearView();
        QCOMPARE(model->rowCount(), 0);
        w.answer(2, isTRP);
        QTEST(model->rowCount(), "afterClear");
    }

    void csvQuotesTheSentences()
    {
        HistoryEntry entry;
        entry.channel = 2;
        entry.serialNumber = 1001;
        entry.rose = QStringList { "EOn2Off", "ETRP" };
        entry.voltage = 498.25;
        entry.current = 5e-4;
        QString text;
        QTextStream out(&text);
        HistoryFormat::writeCsv(out, { entry });
        out.flush();
        QVERIFY2(text.contains(QLatin1String(
                     ",1001,Channel 2,Info,\"channel 2 event: switched off, trip\",498.25,0.0005,"
                     "EOn2Off ETRP,\n")),
            qPrintable(text));
        QCOMPARE(HistoryFormat::current(entry), QStringLiteral("500.0 µA"));
        QCOMPARE(HistoryFormat::voltage(entry), QStringLiteral("498.25 V"));
    }

    void indicatorCountsUntilAcknowledged()
    {
        PanelWindow w(dir.filePath(QStringLiteral("indicator")));
        AlarmIndicator *indicator = w.panel.indicator();
        QCOMPARE(indicator->text(), QStringLiteral("No alarms"));
        w.answer(1, isTRP);
        w.answer(3, isTRP);
        QCOMPARE(indicator->count(), 2);
        QCOMPARE(indicator->text(), QStringLiteral("Alarms: 2"));
        QVERIFY(w.table->rowAlarm(1) && w.table->rowAlarm(3) && !w.table->rowAlarm(0));
        QVERIFY(!w.table->verticalHeaderItem(1)->icon().isNull());
        QVERIFY(w.table->verticalHeaderItem(0)->icon().isNull());
        // A row the table gets later shows its mark.
        w.table->setChannelCount(2);
        w.table->setChannelCount(4);
        QVERIFY(!w.table->verticalHeaderItem(3)->icon().isNull());

        indicator->click();
        HistoryWindow *window = w.panel.window();
        QVERIFY(window && window->isVisible());
        auto *acknowledge = window->findChild<QPushButton *>(QStringLiteral("btnAcknowledgeAll"));
        QVERIFY(acknowledge->isEnabled());
        acknowledge->click();
        QCOMPARE(indicator->count(), 0);
        QVERIFY(!acknowledge->isEnabled());
        QVERIFY(!w.table->rowAlarm(1) && w.table->verticalHeaderItem(1)->icon().isNull());
    }

    void writeFailureIsShown()
    {
        const QString blocked = dir.filePath(QStringLiteral("blocked"));
        QVERIFY(QFile(blocked).open(QIODevice::WriteOnly));
        PanelWindow w(blocked + QStringLiteral("/history"));
        auto *warning = w.window.findChild<QLabel *>(QStringLiteral("lblHistoryWarning"));
        QVERIFY(warning && !warning->isHidden());
        QCOMPARE(warning->text(), QStringLiteral("Event history not saved!"));
        QVERIFY(warning->toolTip().contains(blocked));
        HistoryWindow *window = w.panel.showWindow();
        auto *text = window->findChild<QLabel *>(QStringLiteral("lblWriteError"));
        QVERIFY(text->isVisible() && text->text().contains(blocked));

        QVERIFY(QFile::remove(blocked));
        w.answer(0, isON);
        QVERIFY(warning->isHidden() && text->isHidden());
    }

    void alarmsNotifyWhileNoWindowIsActive()
    {
        FakeNotifications service;
        QDBusConnection server = QDBusConnection::connectToBus(
            QString::fromLatin1(qgetenv("DBUS_SESSION_BUS_ADDRESS")), QStringLiteral("server"));
        QVERIFY(server.isConnected());
        QVERIFY(server.registerService(QStringLiteral("org.freedesktop.Notifications")));
        QVERIFY(server.registerObject(QStringLiteral("/org/freedesktop/Notifications"), &service,
            QDBusConnection::ExportAllSlots));
        PanelWindow w(dir.filePath(QStringLiteral("notify")));
        QVERIFY(!QApplication::activeWindow());
        w.answer(0, isON); // info: no notification
        w.answer(1, isTRP);
        w.answer(2, isTRP);
        QTRY_COMPARE(service.summaries.size(), 1);
        QCOMPARE(service.summaries.first(), QStringLiteral("2 alarms of module 1001"));
        QCOMPARE(service.bodies.first(), QStringLiteral("channel 1 tripped\nchannel 2 tripped"));
        server.unregisterService(QStringLiteral("org.freedesktop.Notifications"));
        QDBusConnection::disconnectFromBus(QStringLiteral("server"));

        // Without a service nothing happens, and nothing waits.
        w.answer(3, isTRP);
        QTest::qWait(2 * HistoryPanel::NotificationDelayMs);
        QCOMPARE(service.summaries.size(), 1);
    }
};

QTEST_MAIN(TestHistoryView)
#include "tst_historyview.moc"
