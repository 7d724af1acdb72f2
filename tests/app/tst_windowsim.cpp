#include "simprocess.h"
#include "windowtestsupport.h"

#include "hvtable.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTest>

// The window against the module simulator over loopback TCP.
class TestWindowSim : public QObject
{
    Q_OBJECT

    TemporarySettings settings;

    /// Starts the simulator with \a extra options and presses Connect on the Ethernet tab.
    bool connectTo(SimProcess &sim, TestWindow &window, const QStringList &extra)
    {
        if (!sim.start(QStringList { QStringLiteral("--tcp"), QStringLiteral("0"),
                           QStringLiteral("--no-noise") }
                    + extra,
                "tcp"))
            return false;
        const QStringList endpoint = sim.endpoint().split(QLatin1Char(':'));
        window.fake = false;
        window.widget<QTabWidget>("tabInterfaces")->setCurrentIndex(1);
        window.widget<QLineEdit>("edtIpAddress")->setText(endpoint.value(0));
        window.widget<QLineEdit>("edtPort")->setText(endpoint.value(1));
        window.widget<QPushButton>("buttonConnect")->click();
        return true;
    }

private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }

    void connectReachesTheStatusLine()
    {
        SimProcess sim;
        TestWindow window;
        QVERIFY(connectTo(sim, window, {}));
        QCOMPARE(window.statusLabel()->text(), QStringLiteral("Connecting to device..."));
        QTRY_VERIFY_WITH_TIMEOUT(
            window.statusLabel()->text().contains(QLatin1String("Firmware: KA")), Patience);
        QVERIFY(window.statusLabel()->text().startsWith(QLatin1String("Connected to: ")));
        QCOMPARE(window.statusLabel()->styleSheet(), QStringLiteral("color: green"));
        HvTable *table = window.widget<HvTable>("table");
        QCOMPARE(table->rowCount(), 4);
        QTRY_COMPARE_WITH_TIMEOUT(table->item(3, 3)->text(), QStringLiteral("6000.00"), Patience);
        QSettings stored = TemporarySettings::open();
        QCOMPARE(stored.value(QStringLiteral("SelectedTab")).toInt(), 1);
        QCOMPARE(stored.value(QStringLiteral("IpAddress")).toString(), QStringLiteral("127.0.0.1"));
        QCOMPARE(stored.value(QStringLiteral("TcpPort")).toString(),
            sim.endpoint().section(QLatin1Char(':'), 1));
    }

    void silentModuleEndedByTheWatchdog()
    {
        SimProcess sim;
        TestWindow window;
        QTest::ignoreMessage(QtDebugMsg,
            QRegularExpression(
                QStringLiteral("^Connection lost due to timeout while requesting 132$")));
        QVERIFY(connectTo(sim, window, { QStringLiteral("--drop-every"), QStringLiteral("1") }));
        QVERIFY(window.currentLink());
        QTRY_VERIFY_WITH_TIMEOUT(!window.currentLink(), 8000);
        QCOMPARE(window.statusLabel()->text(), QStringLiteral("Not connected."));
        QVERIFY(window.widget<QPushButton>("buttonConnect")->isEnabled());
    }
};

QTEST_MAIN(TestWindowSim)
#include "tst_windowsim.moc"
