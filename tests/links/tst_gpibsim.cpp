#include "gpib488loader.h"
#include "scpi_gpib.h"
#include "simprocess.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

/// The GPIB link through the stand-in driver ("libgpib.so.0", found on the library path) and a
/// simulated bus with modules at 5 and 6 and a listener at 9 that never answers.
class tst_GpibSim : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;
    std::unique_ptr<SimProcess> sim;

private slots:
    void initTestCase()
    {
        QVERIFY(dir.isValid());
        const QString socket = dir.filePath(QStringLiteral("bus.sock"));
        qputenv("VORN_GPIB_SOCKET", socket.toLocal8Bit());
        sim = std::make_unique<SimProcess>();
        QVERIFY(sim->start(
            { QStringLiteral("--gpib"), QStringLiteral("5,6"), QStringLiteral("--gpib-silent"),
                QStringLiteral("9"), QStringLiteral("--gpib-socket"), socket,
                QStringLiteral("--preset"), QStringLiteral("KA2F") },
            "gpib"));
        QCOMPARE(sim->endpoint(), socket);
    }

    void identifyConfigurePollAndSet()
    {
        SCPI_Gpib link;
        link.setPrimaryAddress(5);
        QVERIFY(link.connectDevice());
        QVERIFY(Gpib488Loader::isLoaded());
        QCOMPARE(link.interfaceName(), QStringLiteral("GPIB:5"));
        QSignalSpy received(&link, &SCPI_Parser::dataReceived);
        QVERIFY(received.isValid());
        link.requestIdentity();
        link.restartFullRead();

        QTRY_VERIFY_WITH_TIMEOUT(received.size() >= PollingAnswers, Patience);
        QCOMPARE(link.module().channelCount(), 4);
        QVERIFY(link.module().firmwareName().startsWith(QStringLiteral("KA2F")));
        QVERIFY(link.module().channel(3).voltageNominal() != 0.0f);

        link.setVoltage(250.0f, 2);
        QTRY_COMPARE_WITH_TIMEOUT(link.module().channel(2).voltageSet(), 250.0f, Patience);
        link.disconnectDevice();
        QVERIFY(!link.isConnected());
    }

    void scanListsModulesAndSilentListener()
    {
        const QStringList found = SCPI_Gpib::scanGpibBus();
        QCOMPARE(found.size(), 3);
        QVERIFY2(
            found.at(0).startsWith(QStringLiteral("5 Vornwerk GmbH,")), qPrintable(found.at(0)));
        QVERIFY2(
            found.at(1).startsWith(QStringLiteral("6 Vornwerk GmbH,")), qPrintable(found.at(1)));
        QCOMPARE(found.at(2), QStringLiteral("9 "));
    }
};

QTEST_GUILESS_MAIN(tst_GpibSim)
#include "tst_gpibsim.moc"
