#include "gpib488loader.h"
#include "scpi_gpib.h"

#include <QFile>
#include <QLibrary>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

/// A GPIB link whose answers are collected by the test instead of being parsed.
class ProbeGpib : public SCPI_Gpib
{
public:
    using SCPI_Gpib::SCPI_Gpib;

    QList<QByteArray> answers;
    int failedReads = 0;

protected:
    void onAnswerReady() override
    {
        QByteArray buffer;
        if (readAnswer(buffer))
            answers.append(buffer);
        else
            ++failedReads;
    }
};

/// Drives the driver double through its control entries.
class FakeDriver
{
public:
    explicit FakeDriver(const QString &path)
        : library(path)
    {
        library.load();
    }
    bool isLoaded() const { return library.isLoaded(); }
    QByteArray takeLog()
    {
        const auto fn = reinterpret_cast<const char *(*)()>(library.resolve("fakegpib_takeLog"));
        return fn ? QByteArray(fn()) : QByteArray();
    }
    void setReply(const QByteArray &reply)
    {
        const auto fn
            = reinterpret_cast<void (*)(const char *, long)>(library.resolve("fakegpib_setReply"));
        fn(reply.constData(), reply.size());
    }
    void setFailWrites(bool fail)
    {
        reinterpret_cast<void (*)(int)>(library.resolve("fakegpib_setFailWrites"))(fail ? 1 : 0);
    }

private:
    QLibrary library;
};

class tst_GpibLink : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;
    QString driverPath;
    std::unique_ptr<FakeDriver> driver;

    QByteArray descriptorLine(const char *format, int descriptor)
    {
        return QByteArray(format).replace("%d", QByteArray::number(descriptor));
    }

private slots:
    void initTestCase()
    {
        QVERIFY(dir.isValid());
        driverPath = dir.filePath(QStringLiteral("libgpib.so.0"));
        Gpib488Loader::setLibraryFileNames({ driverPath });
    }

    // Must run first: nothing is installed at driverPath yet.
    void withoutDriverConnectFailsAndScanIsEmpty()
    {
        SCPI_Gpib link;
        link.setPrimaryAddress(5);
        QTest::ignoreMessage(QtDebugMsg, "ibdev Error");
        QVERIFY(!link.connectDevice());
        QVERIFY(!link.isConnected());
        QCOMPARE(link.deviceDescriptor(), -1);
        QCOMPARE(Gpib488Loader::ibsta() & Gpib488::ERR, Gpib488::ERR);
        QCOMPARE(Gpib488Loader::iberr(), Gpib488::EDVR);
        QVERIFY(Gpib488Loader::statusFromLoader());
        QCOMPARE(Gpib488Loader::ThreadIbsta() & Gpib488::ERR, Gpib488::ERR);
        QVERIFY(SCPI_Gpib::scanGpibBus().isEmpty());
        QVERIFY(!Gpib488Loader::isLoaded());
        link.disconnectDevice();
        QCOMPARE(link.deviceDescriptor(), 0);
    }

    void driverInstalledLaterIsBoundOnTheNextCall()
    {
        QVERIFY(QFile::copy(QStringLiteral(FAKEGPIB_PATH), driverPath));
        SCPI_Gpib link;
        link.setPrimaryAddress(5);
        QVERIFY(link.connectDevice());
        QVERIFY(Gpib488Loader::isLoaded());
        QVERIFY(!Gpib488Loader::statusFromLoader());
        driver = std::make_unique<FakeDriver>(driverPath);
        QVERIFY(driver->isLoaded());
    }

    void driverWithoutStatusEntriesIsNotUsed()
    {
        driver.reset();
        Gpib488Loader::setLibraryFileNames({ QStringLiteral(FAKEGPIB_NOSTATUS_PATH) });
        SCPI_Gpib link;
        link.setPrimaryAddress(5);
        QTest::ignoreMessage(QtDebugMsg, "ibdev Error");
        QVERIFY(!link.connectDevice());
        QVERIFY(!Gpib488Loader::isLoaded());
        QCOMPARE(Gpib488Loader::iberr(), Gpib488::EDVR);

        Gpib488Loader::setLibraryFileNames({ driverPath });
        driver = std::make_unique<FakeDriver>(driverPath);
        driver->takeLog();
    }

    void connectOpensClearsAndConfigures()
    {
        SCPI_Gpib link;
        link.setPrimaryAddress(5);
        QVERIFY(link.connectDevice());
        QVERIFY(link.isConnected());
        const int ud = link.deviceDescriptor();
        QVERIFY(ud > 0);
        QCOMPARE(driver->takeLog(),
            descriptorLine("ibdev 0 5 0 10 0 0\nibclr %d\nibconfig %d 4 1\n", ud));
        link.disconnectDevice();
        QCOMPARE(driver->takeLog(), descriptorLine("ibonl %d 0\n", ud));
        QVERIFY(!link.isConnected());
    }

    void absentDeviceFailsTheClear()
    {
        SCPI_Gpib link;
        link.setPrimaryAddress(7);
        QTest::ignoreMessage(QtDebugMsg, "ibclr Error");
        QVERIFY(!link.connectDevice());
        driver->takeLog();
    }

    void requestIsWrittenOnceAndReadOnce_data()
    {
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<QByteArray>("answer");
        QTest::newRow("CR LF stays") << QByteArray("KA2F;2.06\r\n") << QByteArray("KA2F;2.06\r\n");
        QTest::newRow("longer than 1024 bytes is cut")
            << QByteArray(1500, 'x') << QByteArray(1024, 'x');
    }
    void requestIsWrittenOnceAndReadOnce()
    {
        QFETCH(QByteArray, reply);
        QFETCH(QByteArray, answer);
        driver->setReply(reply);
        ProbeGpib link;
        link.setPrimaryAddress(5);
        QVERIFY(link.connectDevice());
        const int ud = link.deviceDescriptor();
        driver->takeLog();
        link.sendCommand(SCPI_Parser::ReadFirmware, QStringLiteral(":READ:FIRM:NAME?;REL?\r\n"));
        QCOMPARE(link.pendingRequest(), quint16(SCPI_Parser::ReadFirmware));
        QTRY_COMPARE(link.answers.size(), 1);
        QCOMPARE(link.answers.first(), answer);
        QCOMPARE(driver->takeLog(),
            descriptorLine("ibwrt %d :READ:FIRM:NAME?;REL?\r\n\nibrd %d 1024\n", ud));
        link.disconnectDevice();
        driver->takeLog();
    }

    void failedWriteSchedulesNoRead()
    {
        ProbeGpib link;
        link.setPrimaryAddress(5);
        QVERIFY(link.connectDevice());
        driver->setFailWrites(true);
        QTest::ignoreMessage(QtDebugMsg, "ibwrt Error");
        link.sendCommand(SCPI_Parser::ReadAverage, QStringLiteral(":CONF:AVER?\r\n"));
        driver->setFailWrites(false);
        QCOMPARE(link.pendingRequest(), quint16(0));
        QTest::qWait(100);
        QVERIFY(link.answers.isEmpty());
        QCOMPARE(link.failedReads, 0);
        link.disconnectDevice();
        driver->takeLog();
    }

    void silentDeviceFailsTheRead()
    {
        ProbeGpib link;
        link.setPrimaryAddress(9);
        QVERIFY(link.connectDevice());
        QTest::ignoreMessage(QtDebugMsg, "ibrd Error");
        link.sendCommand(SCPI_Parser::ReadAverage, QStringLiteral(":CONF:AVER?\r\n"));
        QTRY_COMPARE(link.failedReads, 1);
        QVERIFY(link.answers.isEmpty());
        QCOMPARE(link.pendingRequest(), quint16(SCPI_Parser::ReadAverage));
        link.disconnectDevice();
        driver->takeLog();
    }

    void readWithoutDescriptorTouchesNoBus()
    {
        SCPI_Gpib link;
        QByteArray answer("old");
        QVERIFY(link.readAnswer(answer));
        QVERIFY(answer.isEmpty());
        QCOMPARE(driver->takeLog(), QByteArray());
    }

    void engineProcessesTheAnswer()
    {
        driver->setReply("Vornwerk GmbH,TQ88812p0000,4711,3.02;1\r\n");
        SCPI_Gpib link;
        QSignalSpy received(&link, &SCPI_Parser::dataReceived);
        QVERIFY(received.isValid());
        link.setPrimaryAddress(5);
        QVERIFY(link.connectDevice());
        link.requestIdentity();
        QTRY_VERIFY(received.size() >= 1);
        QCOMPARE(received.first().first().toInt(), 1);
        QCOMPARE(link.module().serialNumber(), 4711);
        QCOMPARE(link.module().channelCount(), 1);
        link.disconnectDevice();
        driver->takeLog();
    }

    void destroyingAnOpenLinkTakesItOffline()
    {
        int ud = 0;
        {
            SCPI_Gpib link;
            link.setPrimaryAddress(5);
            QVERIFY(link.connectDevice());
            ud = link.deviceDescriptor();
            driver->takeLog();
        }
        QCOMPARE(driver->takeLog(), descriptorLine("ibonl %d 0\n", ud));
    }

    void scanListsInstrumentsAndSilentListeners()
    {
        driver->setReply("  Vornwerk GmbH,KA2F,  1234,2.06\r\n");
        const QStringList found = SCPI_Gpib::scanGpibBus();
        QCOMPARE(found,
            QStringList(
                { QStringLiteral("5 Vornwerk GmbH,KA2F, 1234,2.06"), QStringLiteral("9 ") }));
        QByteArray expected = "SendIFC 0\nFindLstn 0 30 [";
        for (int a = 1; a <= 30; ++a)
            expected += ' ' + QByteArray::number(a);
        expected += " ]\n";
        // Descriptors count on from the ones earlier tests opened.
        const QByteArray log = driver->takeLog();
        const int first = log.mid(log.indexOf("ibwrt ") + 6).split(' ').first().toInt();
        expected += descriptorLine("ibdev 0 5 0 10 1 0\nibwrt %d *IDN?\n\nibrd %d 255\n"
                                   "ibonl %d 0\n",
            first);
        expected += descriptorLine("ibdev 0 9 0 10 1 0\nibwrt %d *IDN?\n\nibrd %d 255\n"
                                   "ibonl %d 0\n",
            first + 1);
        QCOMPARE(log, expected);
    }
};

QTEST_GUILESS_MAIN(tst_GpibLink)
#include "tst_gpiblink.moc"
