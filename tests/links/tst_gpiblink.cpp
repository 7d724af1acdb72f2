#include "gpib488loader.h"
#include "scpi_gpib.h"

#include <QFile>
#include <QLibrary>
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
    QByteArray takeLog() { return entry<const char *(*)()>("fakegpib_takeLog")(); }
    void setReply(const QByteArray &reply)
    {
        entry<void (*)(const char *, long)>("fakegpib_setReply")(reply.constData(), reply.size());
    }
    void setFailWrites(bool fail) { entry<void (*)(int)>("fakegpib_setFailWrites")(fail); }

private:
    template <typename Fn> Fn entry(const char *name)
    {
        return reinterpret_cast<Fn>(library.resolve(name));
    }
    QLibrary library;
};

class tst_GpibLink : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;
    QString driverPath;
    std::unique_ptr<FakeDriver> driver;

private slots:
    void initTestCase()
    {
        QVERIFY(dir.isValid());
        driverPath = dir.filePath(QStringLiteral("libgpib.so.0"));
    }

    // Nothing at the driver's path, then a driver lacking a status entry: neither is bound, and
    // every call fails with the loader's own status. Then the complete driver is installed while
    // the program runs: the next call binds it. The tests after this one talk to it.
    void driverIsBoundOnlyWhenPresentAndComplete()
    {
        for (const QString &path : { driverPath, QStringLiteral(FAKEGPIB_NOIBERR_PATH) }) {
            Gpib488Loader::setLibraryFileNames({ path });
            SCPI_Gpib link;
            link.setPrimaryAddress(5);
            QTest::ignoreMessage(QtDebugMsg, "ibdev Error");
            QVERIFY(!link.connectDevice());
            QCOMPARE(link.deviceDescriptor(), -1);
            QVERIFY(!Gpib488Loader::isLoaded());
            QCOMPARE(Gpib488Loader::iberr(), Gpib488::EDVR);
            QVERIFY(Gpib488Loader::statusFromLoader());
            QCOMPARE(Gpib488Loader::ThreadIbsta() & Gpib488::ERR, Gpib488::ERR);
            QVERIFY(SCPI_Gpib::scanGpibBus().isEmpty());
            link.disconnectDevice();
            QCOMPARE(link.deviceDescriptor(), 0);
        }
        Gpib488Loader::setLibraryFileNames({ driverPath });
        QVERIFY(QFile::copy(QStringLiteral(FAKEGPIB_PATH), driverPath));
        driver = std::make_unique<FakeDriver>(driverPath);
        QVERIFY(driver->isLoaded());
        SCPI_Gpib link;
        link.setPrimaryAddress(5);
        QVERIFY(link.connectDevice());
        QVERIFY(Gpib488Loader::isLoaded());
        QVERIFY(!Gpib488Loader::statusFromLoader());
        link.disconnectDevice();
        driver->takeLog();
    }

    // From connecting to disconnecting: the driver calls and the answer read.
    void request_data()
    {
        QTest::addColumn<int>("address");
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<QString>("trace");
        QTest::addColumn<QByteArray>("calls");
        QTest::addColumn<QByteArray>("answer"); // null: none
        const QByteArray open = "ibdev 0 5 0 10 0 0\nibclr @5\nibconfig @5 4 1\n";
        const QByteArray written = open + "ibwrt @5 :READ:FIRM:NAME?;REL?\r\n\n";
        const QByteArray read = written + "ibrd @5 1024\nibonl @5 0\n";
        QTest::newRow("written once, read once, CR LF stays")
            << 5 << QByteArray("KA2F;2.06\r\n") << QString() << read << QByteArray("KA2F;2.06\r\n");
        QTest::newRow("longer than 1024 bytes is cut")
            << 5 << QByteArray(1500, 'x') << QString() << read << QByteArray(1024, 'x');
        QTest::newRow("failed write schedules no read")
            << 5 << QByteArray() << "ibwrt Error" << written + "ibonl @5 0\n"
            << QByteArray();
        QTest::newRow("silent device fails the read")
            << 9 << QByteArray() << "ibrd Error" << QByteArray(read).replace('5', '9')
            << QByteArray();
        QTest::newRow("nobody at the address fails the clear")
            << 7 << QByteArray() << "ibclr Error"
            << QByteArray("ibdev 0 7 0 10 0 0\nibclr @7\nibonl @7 0\n") << QByteArray();
        QTest::newRow("bad address fails ibdev")
            << 31 << QByteArray() << "ibdev Error" << QByteArray("ibdev 0 31 0 10 0 0\n")
            << QByteArray();
    }
    void request()
    {
        QFETCH(int, address);
        QFETCH(QByteArray, reply);
        QFETCH(QString, trace);
        QFETCH(QByteArray, answer);
        const bool opens = !trace.startsWith(QLatin1String("ibclr"))
            && !trace.startsWith(QLatin1String("ibdev"));
        const bool failWrite = trace == QLatin1String("ibwrt Error");
        if (!trace.isEmpty())
            QTest::ignoreMessage(QtDebugMsg, qPrintable(trace));
        driver->setReply(reply);
        ProbeGpib link;
        link.setPrimaryAddress(address);
        QCOMPARE(link.connectDevice(), opens);
        if (opens) {
            driver->setFailWrites(failWrite);
            link.sendCommand(
                SCPI_Parser::ReadFirmware, QStringLiteral(":READ:FIRM:NAME?;REL?\r\n"));
            driver->setFailWrites(false);
            QCOMPARE(link.pendingRequest(), quint16(failWrite ? 0 : SCPI_Parser::ReadFirmware));
            if (failWrite)
                QTest::qWait(100);
            else
                QTRY_COMPARE(link.answers.size() + link.failedReads, 1);
        }
        QCOMPARE(
            link.answers, answer.isNull() ? QList<QByteArray>() : QList<QByteArray> { answer });
        QCOMPARE(link.failedReads, trace == QLatin1String("ibrd Error") ? 1 : 0);
        link.disconnectDevice();
        QVERIFY(!link.isConnected());
        QTEST(driver->takeLog(), "calls");
    }

    void readWithoutDescriptorTouchesNoBus()
    {
        SCPI_Gpib link;
        QByteArray answer("old");
        QVERIFY(link.readAnswer(answer));
        QVERIFY(answer.isEmpty());
        QCOMPARE(driver->takeLog(), QByteArray());
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
        expected += " ]\n"
                    "ibdev 0 5 0 10 1 0\nibwrt @5 *IDN?\n\nibrd @5 255\nibonl @5 0\n"
                    "ibdev 0 9 0 10 1 0\nibwrt @9 *IDN?\n\nibrd @9 255\nibonl @9 0\n";
        QCOMPARE(driver->takeLog(), expected);
    }
};

QTEST_GUILESS_MAIN(tst_GpibLink)
#include "tst_gpiblink.moc"
