#include "ptypeer.h"
#include "simprocess.h"
#include "spin.h"
#include "windowtestsupport.h"

#include "scpi_serial.h"

#include <QComboBox>
#include <QFile>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTest>

#include <sys/resource.h>

namespace {
double cpuSeconds()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
        + double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}
} // namespace

// A serial adapter pulled out while polling: the terminal's other side closes.
class TestSerialUnplug : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }
    void failedPortIsTracedAndClosed()
    {
        auto peer = std::make_unique<PtyPeer>();
        QVERIFY(peer->isOpen());
        SCPI_Serial link;
        link.setPortName(peer->path());
        QVERIFY(link.connectDevice());
        QTest::ignoreMessage(
            QtDebugMsg, QRegularExpression(QStringLiteral("^connection error: .+")));
        peer.reset();
        QTRY_VERIFY_WITH_TIMEOUT(!link.isConnected(), 2000);
        // A port left open would report its error at every pass of the event loop.
        const double before = cpuSeconds();
        spinFor(1000);
        QVERIFY2(cpuSeconds() - before < 0.3, "the event loop stays busy after the hang-up");
    }
    void adapterBackUnderTheSameName()
    {
        QTemporaryDir dir;
        const QString name = dir.filePath(QStringLiteral("ttyVORN0"));
        SimProcess adapter;
        QVERIFY(
            adapter.start({ QStringLiteral("--serial"), QStringLiteral("--no-noise") }, "serial"));
        QVERIFY(QFile::link(adapter.endpoint(), name));

        TestWindow window;
        window.fake = false;
        window.findChild<QAction *>(QStringLiteral("actionReconnectAutomatically"))
            ->setChecked(true);
        window.widget<QTabWidget>("tabInterfaces")->setCurrentIndex(0);
        auto *ports = window.widget<QComboBox>("serialPortList");
        ports->addItem(name);
        ports->setCurrentIndex(ports->count() - 1);
        window.widget<QPushButton>("buttonConnect")->click();
        QLabel *status = window.statusLabel();
        QTRY_VERIFY_WITH_TIMEOUT(
            status->text().startsWith(QLatin1String("Connected to: ")), Patience);

        adapter.stop();
        QFile::remove(name);
        QTRY_COMPARE_WITH_TIMEOUT(status->text(),
            QStringLiteral("Not connected. Reconnecting in 2 s (attempt 1)..."), 10000);
        QTRY_VERIFY_WITH_TIMEOUT(status->text().contains(QLatin1String("(attempt 2)")), 6000);

        SimProcess back;
        QVERIFY(back.start({ QStringLiteral("--serial"), QStringLiteral("--no-noise") }, "serial"));
        QVERIFY(QFile::link(back.endpoint(), name));
        QTRY_VERIFY_WITH_TIMEOUT(
            status->text().startsWith(QLatin1String("Connected to: ")), Patience);
        QCOMPARE(window.currentLink()->interfaceName(), name);
    }

private:
    TemporarySettings settings;
};

QTEST_MAIN(TestSerialUnplug)
#include "tst_serialunplug.moc"
