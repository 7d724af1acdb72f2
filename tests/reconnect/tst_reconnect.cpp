// Automatic reconnection of the main window, off by default. (With the option off, a lost
// module leaves the panel waiting for the operator: tests/app/tst_windowsim.)
#include "simprocess.h"
#include "spin.h"
#include "windowtestsupport.h"

#include "hvtable.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTest>

namespace {
QAction *automatic(TestWindow &window)
{
    return window.widget<QAction>("actionReconnectAutomatically");
}
QString status(TestWindow &window)
{
    return window.statusLabel()->text();
}
const QString firstAttempt = QStringLiteral("Not connected. Reconnecting in 2 s (attempt 1)...");
} // namespace

class TestReconnect : public QObject
{
    Q_OBJECT

    TemporarySettings settings;

private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }
    void init() { TemporarySettings::clear(); }

    void settingIsRemembered()
    {
        {
            TestWindow window;
            QVERIFY(!automatic(window)->isChecked());
            automatic(window)->setChecked(true);
        }
        QVERIFY(TemporarySettings::open().value(QStringLiteral("AutoReconnect")).toBool());
        TestWindow again;
        QVERIFY(automatic(again)->isChecked());
    }

    void moduleStoppedAndRestarted()
    {
        SimProcess sim;
        QVERIFY(sim.start(
            { QStringLiteral("--tcp"), QStringLiteral("0"), QStringLiteral("--no-noise") }, "tcp"));
        const QString port = sim.endpoint().section(QLatin1Char(':'), 1);
        TestWindow window;
        window.fake = false;
        automatic(window)->setChecked(true);
        window.widget<QTabWidget>("tabInterfaces")->setCurrentIndex(1);
        window.widget<QLineEdit>("edtIpAddress")->setText(QStringLiteral("127.0.0.1"));
        window.widget<QLineEdit>("edtPort")->setText(port);
        window.widget<QPushButton>("buttonConnect")->click();
        QTRY_VERIFY_WITH_TIMEOUT(
            status(window).startsWith(QLatin1String("Connected to: ")), Patience);

        QTest::ignoreMessage(QtDebugMsg,
            QRegularExpression(
                QStringLiteral("^Connection lost due to timeout while requesting \\d+$")));
        sim.stop();
        QTRY_VERIFY_WITH_TIMEOUT(!window.currentLink(), 8000);
        QCOMPARE(status(window), firstAttempt);
        QVERIFY(!window.widget<QPushButton>("buttonConnect")->isEnabled());
        QVERIFY(window.widget<QPushButton>("buttonDisconnect")->isEnabled());
        // Nothing listens: each attempt is refused and the next follows.
        QTRY_VERIFY_WITH_TIMEOUT(status(window).contains(QLatin1String("(attempt 2)")), 8000);

        SimProcess restarted;
        QVERIFY(restarted.start(
            { QStringLiteral("--tcp"), port, QStringLiteral("--no-noise") }, "tcp"));
        QTRY_VERIFY_WITH_TIMEOUT(
            status(window).startsWith(QLatin1String("Connected to: ")), Patience);
        // The status line is written every 15th refresh, which can come before the new link has
        // read the nominal voltages.
        QTRY_COMPARE_WITH_TIMEOUT(window.widget<HvTable>("table")->item(3, 3)->text(),
            QStringLiteral("6000.00"), Patience);
    }

    void operatorEndsAttempts_data()
    {
        QTest::addColumn<bool>("byButton");
        QTest::newRow("Disconnect button") << true;
        QTest::newRow("option switched off") << false;
    }
    void operatorEndsAttempts()
    {
        QFETCH(bool, byButton);
        TestWindow window;
        window.fake = false;
        automatic(window)->setChecked(true);
        window.widget<QTabWidget>("tabInterfaces")->setCurrentIndex(0);
        auto *ports = window.widget<QComboBox>("serialPortList");
        ports->addItem(QStringLiteral("/nonexistent/ttyVORN0"));
        ports->setCurrentIndex(ports->count() - 1);
        window.widget<QPushButton>("buttonConnect")->click();
        QCOMPARE(status(window), firstAttempt);
        QTRY_COMPARE_WITH_TIMEOUT(status(window),
            QStringLiteral("Not connected. Reconnecting in 2 s (attempt 2)..."), 5000);
        QVERIFY(!TemporarySettings::open().contains(QStringLiteral("SerialPort")));

        if (byButton)
            window.widget<QPushButton>("buttonDisconnect")->click();
        else
            automatic(window)->setChecked(false);
        QTRY_VERIFY_WITH_TIMEOUT(window.widget<QPushButton>("buttonConnect")->isEnabled(), 2000);
        QVERIFY(
            !spinUntil([&] { return status(window) != QLatin1String("Not connected."); }, 3000));
    }
};

QTEST_MAIN(TestReconnect)
#include "tst_reconnect.moc"
