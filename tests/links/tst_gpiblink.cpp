#include "gpib488loader.h"
#include "scpi_gpib.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLibrary>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

#include <sys/wait.h>
#include <unistd.h>

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

/// Runs \a check in a child process and returns what it reported: a crash there reads as a
/// failed check ("ended by signal 11") instead of ending the whole test run.
QByteArray inChildProcess(const std::function<QByteArray()> &check)
{
    int fds[2];
    if (pipe(fds) != 0)
        return "no pipe";
    const pid_t pid = fork();
    if (pid < 0)
        return "no child process";
    if (pid == 0) {
        close(fds[0]);
        const QByteArray report = check();
        const bool written = write(fds[1], report.constData(), size_t(report.size())) >= 0;
        _exit(written ? 0 : 1);
    }
    close(fds[1]);
    QByteArray report;
    char buffer[256];
    for (ssize_t n; (n = read(fds[0], buffer, sizeof buffer)) > 0;)
        report.append(buffer, n);
    close(fds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    if (WIFSIGNALED(status))
        return "ended by signal " + QByteArray::number(WTERMSIG(status)) + ' ' + report;
    return report;
}

/// The debug trace of the calling process, collected by a message handler.
QByteArray &trace()
{
    static QByteArray lines;
    return lines;
}

class tst_GpibLink : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;
    std::unique_ptr<FakeDriver> driver;

private slots:
    void initTestCase()
    {
        QVERIFY(dir.isValid());
        const QString driverPath = dir.filePath(QStringLiteral("libgpib.so.0"));
        QVERIFY(QFile::copy(QStringLiteral(FAKEGPIB_PATH), driverPath));
        Gpib488Loader::setLibraryFileNames({ driverPath });
        driver = std::make_unique<FakeDriver>(driverPath);
        QVERIFY(driver->isLoaded());
    }

    // Without a usable driver, nothing at its path or a driver lacking a status entry,
    // connecting fails cleanly: no link, "ibdev Error" in the trace, the loader's own status,
    // an empty bus scan. Every later call tries again: once the complete driver is at the path,
    // connecting binds it. Run in a child process, which keeps the loader's state to itself.
    void withoutUsableDriverConnectingFails_data()
    {
        QTest::addColumn<QString>("library"); // at the driver's path first; empty: nothing
        QTest::newRow("no library") << QString();
        QTest::newRow("no status entry") << QStringLiteral(FAKEGPIB_NOIBERR_PATH);
    }
    void withoutUsableDriverConnectingFails()
    {
        QFETCH(QString, library);
        const QString path = dir.filePath(QStringLiteral("child/libgpib.so.0"));
        QVERIFY(QDir().mkpath(QFileInfo(path).path()));
        QFile::remove(path);
        QVERIFY(library.isEmpty() || QFile::copy(library, path));
        const QByteArray failed = inChildProcess([&path]() {
            qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &text) {
                trace() += text.toUtf8() + '\n';
            });
            QByteArray wrong;
            const auto expect = [&wrong](bool holds, const char *what) {
                if (!holds)
                    wrong += QByteArray(what) + "; ";
            };
            Gpib488Loader::setLibraryFileNames({ path });
            SCPI_Gpib link;
            link.setPrimaryAddress(5);
            expect(!link.connectDevice(), "connectDevice() succeeded");
            expect(!link.isConnected() && link.deviceDescriptor() == -1, "a link is open");
            expect(trace().contains("ibdev Error\n"), "no \"ibdev Error\" in the trace");
            expect(!Gpib488Loader::isLoaded(), "a driver is bound");
            expect(Gpib488Loader::statusFromLoader() && Gpib488Loader::iberr() == Gpib488::EDVR
                    && (Gpib488Loader::ThreadIbsta() & Gpib488::ERR),
                "not the loader's error status");
            expect(SCPI_Gpib::scanGpibBus().isEmpty(), "the bus scan found instruments");
            expect(trace().count("cannot load") + trace().count("lacks its status") == 1,
                "the driver's failure said more than once");
            link.disconnectDevice();
            expect(link.deviceDescriptor() == 0, "the failed descriptor was kept");
            QFile::remove(path);
            QFile::copy(QStringLiteral(FAKEGPIB_PATH), path);
            expect(link.connectDevice() && Gpib488Loader::isLoaded()
                    && !Gpib488Loader::statusFromLoader(),
                "the driver put in place later was not bound");
            link.disconnectDevice();
            return wrong;
        });
        QVERIFY2(failed.isEmpty(), failed.constData());
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
