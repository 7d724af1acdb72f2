#include "gpib488loader.h"
#include "scpi_gpib.h"
#include "simprocess.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <dlfcn.h>

// The stand-in GPIB library against vorn-module-sim --gpib: loaded like a driver for its status
// values, short reads, time-outs and bad arguments, then found by the GPIB link by its usual
// name on the library path for a whole identify, poll and set cycle.
class tst_SimGpib : public QObject
{
    Q_OBJECT

    int (*ibdev)(int, int, int, int, int, int) = nullptr;
    int (*ibclr)(int) = nullptr;
    int (*ibwrt)(int, const void *, long) = nullptr;
    int (*ibrd)(int, void *, long) = nullptr;
    int (*ibonl)(int, int) = nullptr;
    void (*sendIfc)(int) = nullptr;
    void (*findLstn)(int, const unsigned short *, unsigned short *, int) = nullptr;
    int (*ibsta)() = nullptr;
    int (*iberr)() = nullptr;
    int (*ibcnt)() = nullptr;

    void *m_lib = nullptr;
    QTemporaryDir m_dir;
    SimProcess m_sim;

    static constexpr int ERR = 0x8000, TIMO = 0x4000, END = 0x2000, CMPL = 0x0100;
    static constexpr int EDVR = 0, ENOL = 2, EARG = 4, EABO = 6;
    static constexpr unsigned short NOADDR = 0xFFFF;

    template <typename T> bool resolve(T *function, const char *name)
    {
        *function = reinterpret_cast<T>(dlsym(m_lib, name));
        return *function != nullptr;
    }
    QByteArray read(int ud, long size = 64)
    {
        char buffer[64];
        ibrd(ud, buffer, qMin(size, long(sizeof buffer)));
        return QByteArray(buffer, ibcnt());
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_lib = dlopen("libgpib.so.0", RTLD_NOW | RTLD_LOCAL); // the build's, on the library path
        QVERIFY2(m_lib, dlerror());
        QVERIFY(resolve(&ibdev, "ibdev") && resolve(&ibclr, "ibclr") && resolve(&ibwrt, "ibwrt")
            && resolve(&ibrd, "ibrd") && resolve(&ibonl, "ibonl") && resolve(&sendIfc, "SendIFC")
            && resolve(&findLstn, "FindLstn") && resolve(&ibsta, "ThreadIbsta")
            && resolve(&iberr, "ThreadIberr") && resolve(&ibcnt, "ThreadIbcnt")
            && dlsym(m_lib, "ibconfig") && dlsym(m_lib, "ThreadIbcntl"));

        // Without a simulator every call fails with EDVR.
        qputenv("VORN_GPIB_SOCKET", m_dir.filePath(QStringLiteral("nobody.sock")).toLocal8Bit());
        QCOMPARE(ibdev(0, 5, 0, 10, 0, 0), -1);
        QCOMPARE(ibsta() & ERR, ERR);
        QCOMPARE(iberr(), EDVR);
        QCOMPARE(ibwrt(1, "x", 1) & ERR, ERR);
        QCOMPARE(iberr(), EDVR);
        const unsigned short pads[] = { 1, 2, NOADDR };
        unsigned short result[4] = { 0, 0, 0, 0 };
        findLstn(0, pads, result, 3);
        QCOMPARE(ibsta() & ERR, ERR);
        QCOMPARE(result[0], NOADDR);

        const QString socket = m_dir.filePath(QStringLiteral("bus.sock"));
        QVERIFY(m_sim.start(
            { QStringLiteral("--gpib"), QStringLiteral("5,7"), QStringLiteral("--gpib-silent"),
                QStringLiteral("9"), QStringLiteral("--gpib-socket"), socket,
                QStringLiteral("--preset"), QStringLiteral("TQ88812p0000") },
            "gpib"));
        QCOMPARE(m_sim.endpoint(), socket);
        qputenv("VORN_GPIB_SOCKET", socket.toLocal8Bit());
    }
    void cleanupTestCase()
    {
        m_sim.stop();
        if (m_lib)
            dlclose(m_lib);
    }

    void findListeners()
    {
        const unsigned short pads[] = { 1, 5, 7, 9, NOADDR };
        unsigned short result[5] = {};
        sendIfc(0);
        QCOMPARE(ibsta() & ERR, 0);
        findLstn(0, pads, result, 2); // at most `limit` entries are written
        QCOMPARE(ibcnt(), 2);
        QCOMPARE(QList<unsigned short>(result, result + 3), (QList<unsigned short> { 5, 7, 0 }));
        findLstn(0, pads, result, 4);
        QCOMPARE(ibsta() & ERR, 0);
        QCOMPARE(
            QList<unsigned short>(result, result + 4), (QList<unsigned short> { 5, 7, 9, NOADDR }));
    }

    void readsEndWithTheAnswer()
    {
        const int ud = ibdev(0, 5, 0, 10, 1, 0);
        QVERIFY(ud > 0);
        QCOMPARE(ibclr(ud) & ERR, 0);
        const QByteArray request = "*IDN?;:READ:MOD:CHAN?\r\n";
        QCOMPARE(ibwrt(ud, request.constData(), request.size()) & ERR, 0);
        QCOMPARE(ibcnt(), int(request.size()));
        // A short read leaves the rest for the next one; END comes with the last byte.
        QCOMPARE(read(ud, 39), QByteArray("Vornwerk GmbH,TQ88812p0000,4711,3.02;1\r"));
        QCOMPARE(ibsta() & (ERR | END | CMPL), CMPL);
        QCOMPARE(read(ud), QByteArray("\n"));
        QCOMPARE(ibsta() & (ERR | END | CMPL), END | CMPL);
        // The second module has the next serial number; a message ends with EOI, no CR LF needed.
        const int ud7 = ibdev(0, 7, 0, 10, 1, 0);
        QCOMPARE(ibwrt(ud7, ":SYS:USER:CONFIG SAVE", 21) & ERR, 0);
        QCOMPARE(ibwrt(ud7, "*IDN?", 5) & ERR, 0);
        QCOMPARE(read(ud7), QByteArray("Vornwerk GmbH,TQ88812p0000,4712,3.02\r\n"));
        QCOMPARE(ibonl(ud, 0) & ERR, 0);
        ibonl(ud7, 0);
        QCOMPARE(ibclr(ud) & ERR, ERR); // the descriptor is gone
        QCOMPARE(iberr(), EDVR);
    }

    void absentSilentAndBadArguments()
    {
        const int absent = ibdev(0, 3, 0, 10, 1, 0);
        QVERIFY(absent > 0);
        QCOMPARE(ibwrt(absent, "*IDN?\n", 6) & ERR, ERR);
        QCOMPARE(iberr(), ENOL);
        const int silent = ibdev(0, 9, 0, 10, 0, 0); // T300ms
        QCOMPARE(ibclr(silent) & ERR, 0);
        QCOMPARE(ibwrt(silent, "*IDN?\n", 6) & ERR, 0);
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(read(silent), QByteArray());
        QCOMPARE(ibsta() & (ERR | TIMO), ERR | TIMO);
        QCOMPARE(iberr(), EABO);
        QVERIFY(clock.elapsed() >= 250); // the device time-out, not an instant failure
        QCOMPARE(ibdev(0, 31, 0, 10, 1, 0), -1);
        QCOMPARE(iberr(), EARG);
        QCOMPARE(ibdev(0, 5, 0, 99, 1, 0), -1);
        QCOMPARE(iberr(), EARG);
        QCOMPARE(ibwrt(silent, "x", -1) & ERR, ERR);
        QCOMPARE(iberr(), EARG);
        QCOMPARE(ibrd(4242, nullptr, 10) & ERR, ERR);
        QCOMPARE(iberr(), EDVR);
        ibonl(absent, 0);
        ibonl(silent, 0);
    }

    void linkIdentifiesPollsAndSets()
    {
        SCPI_Gpib link;
        link.setPrimaryAddress(7);
        QVERIFY(link.connectDevice());
        QVERIFY(Gpib488Loader::isLoaded());
        QSignalSpy received(&link, &SCPI_Parser::dataReceived);
        link.requestIdentity();
        link.restartFullRead();
        QTRY_VERIFY_WITH_TIMEOUT(received.size() >= PollingAnswers, Patience);
        QCOMPARE(link.module().serialNumber(), 4712);
        QCOMPARE(link.module().channel(0).voltageNominal(), 10000.0f);
        link.setVoltage(250.0f, 0);
        QTRY_COMPARE_WITH_TIMEOUT(link.module().channel(0).voltageSet(), 250.0f, Patience);
        link.disconnectDevice();
        QVERIFY(!link.isConnected());
    }
};

QTEST_GUILESS_MAIN(tst_SimGpib)
#include "tst_simgpib.moc"
