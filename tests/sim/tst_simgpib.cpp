#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <dlfcn.h>

// The stand-in GPIB library, loaded like a driver, against vorn-module-sim --gpib: the driver's
// status values, short reads, time-outs and bad arguments, which the GPIB link's end-to-end test
// does not reach.
class tst_SimGpib : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void findListeners();
    void readsEndWithTheAnswer();
    void absentAndSilent();
    void eoiEndsUnterminatedMessage();
    void badArguments();

private:
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
    QProcess m_sim;
};

static constexpr int ERR = 0x8000, TIMO = 0x4000, END = 0x2000, CMPL = 0x0100;
static constexpr int EDVR = 0, ENOL = 2, EARG = 4, EABO = 6;
static constexpr unsigned short NOADDR = 0xFFFF;

template <typename T> static bool resolve(void *lib, T *function, const char *name)
{
    *function = reinterpret_cast<T>(dlsym(lib, name));
    return *function != nullptr;
}

void tst_SimGpib::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_lib = dlopen(VORN_GPIB_LIB, RTLD_NOW | RTLD_LOCAL);
    QVERIFY2(m_lib, dlerror());
    QVERIFY(QByteArray(VORN_GPIB_LIB).endsWith("/gpib-standin/libgpib.so.0"));
    QVERIFY(resolve(m_lib, &ibdev, "ibdev") && resolve(m_lib, &ibclr, "ibclr")
        && resolve(m_lib, &ibwrt, "ibwrt") && resolve(m_lib, &ibrd, "ibrd")
        && resolve(m_lib, &ibonl, "ibonl") && resolve(m_lib, &sendIfc, "SendIFC")
        && resolve(m_lib, &findLstn, "FindLstn") && resolve(m_lib, &ibsta, "ThreadIbsta")
        && resolve(m_lib, &iberr, "ThreadIberr") && resolve(m_lib, &ibcnt, "ThreadIbcnt")
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
    m_sim.start(QStringLiteral(VORN_SIM_EXE),
        { QStringLiteral("--gpib"), QStringLiteral("5,7"), QStringLiteral("--gpib-silent"),
            QStringLiteral("9"), QStringLiteral("--gpib-socket"), socket,
            QStringLiteral("--preset"), QStringLiteral("TQ88812p0000") });
    QVERIFY(m_sim.waitForStarted(5000));
    while (!m_sim.canReadLine())
        QVERIFY(m_sim.waitForReadyRead(5000));
    QCOMPARE(m_sim.readLine().trimmed(), "gpib " + socket.toLocal8Bit());
    qputenv("VORN_GPIB_SOCKET", socket.toLocal8Bit());
}

void tst_SimGpib::cleanupTestCase()
{
    if (m_sim.state() != QProcess::NotRunning) {
        m_sim.terminate();
        m_sim.waitForFinished(5000);
    }
    if (m_lib)
        dlclose(m_lib);
}

void tst_SimGpib::findListeners()
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

void tst_SimGpib::readsEndWithTheAnswer()
{
    const int ud = ibdev(0, 5, 0, 10, 1, 0);
    QVERIFY(ud > 0);
    QCOMPARE(ibclr(ud) & ERR, 0);
    const QByteArray request = "*IDN?;:READ:MOD:CHAN?\r\n";
    QCOMPARE(ibwrt(ud, request.constData(), request.size()) & ERR, 0);
    QCOMPARE(ibcnt(), int(request.size()));
    // A short read leaves the rest for the next one; END comes with the last byte.
    char buffer[64];
    QCOMPARE(ibrd(ud, buffer, 39) & (ERR | END | CMPL), CMPL);
    QCOMPARE(QByteArray(buffer, ibcnt()), QByteArray("Vornwerk GmbH,TQ88812p0000,4711,3.02;1\r"));
    QCOMPARE(ibrd(ud, buffer, sizeof buffer) & (ERR | END | CMPL), END | CMPL);
    QCOMPARE(QByteArray(buffer, ibcnt()), QByteArray("\n"));
    // The second module has the next serial number.
    const int ud7 = ibdev(0, 7, 0, 10, 1, 0);
    ibwrt(ud7, "*IDN?\n", 6);
    ibrd(ud7, buffer, sizeof buffer);
    QCOMPARE(QByteArray(buffer, ibcnt()), QByteArray("Vornwerk GmbH,TQ88812p0000,4712,3.02\r\n"));
    QCOMPARE(ibonl(ud, 0) & ERR, 0);
    ibonl(ud7, 0);
    QCOMPARE(ibclr(ud) & ERR, ERR); // the descriptor is gone
    QCOMPARE(iberr(), EDVR);
}

void tst_SimGpib::absentAndSilent()
{
    const int absent = ibdev(0, 3, 0, 10, 1, 0);
    QVERIFY(absent > 0);
    QCOMPARE(ibwrt(absent, "*IDN?\n", 6) & ERR, ERR);
    QCOMPARE(iberr(), ENOL);

    const int silent = ibdev(0, 9, 0, 10, 0, 0); // T300ms
    QCOMPARE(ibclr(silent) & ERR, 0);
    QCOMPARE(ibwrt(silent, "*IDN?\n", 6) & ERR, 0);
    char buffer[64];
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(ibrd(silent, buffer, sizeof buffer) & (ERR | TIMO), ERR | TIMO);
    QCOMPARE(iberr(), EABO);
    QCOMPARE(ibcnt(), 0);
    QVERIFY(clock.elapsed() >= 250); // the device time-out, not an instant failure
    ibonl(absent, 0);
    ibonl(silent, 0);
}

void tst_SimGpib::eoiEndsUnterminatedMessage()
{
    const int ud = ibdev(0, 5, 0, 10, 1, 0);
    const QByteArray save = ":SYS:USER:CONFIG SAVE";
    QCOMPARE(ibwrt(ud, save.constData(), save.size()) & ERR, 0);
    QCOMPARE(ibwrt(ud, "*OPC?", 5) & ERR, 0);
    char buffer[64];
    QCOMPARE(ibrd(ud, buffer, sizeof buffer) & ERR, 0);
    QCOMPARE(QByteArray(buffer, ibcnt()), QByteArray("1\r\n"));
    ibonl(ud, 0);
}

void tst_SimGpib::badArguments()
{
    QCOMPARE(ibdev(0, 31, 0, 10, 1, 0), -1);
    QCOMPARE(iberr(), EARG);
    QCOMPARE(ibdev(0, 5, 0, 99, 1, 0), -1);
    QCOMPARE(iberr(), EARG);
    const int ud = ibdev(0, 5, 0, 10, 1, 0);
    QCOMPARE(ibwrt(ud, "x", -1) & ERR, ERR);
    QCOMPARE(iberr(), EARG);
    QCOMPARE(ibrd(4242, nullptr, 10) & ERR, ERR);
    QCOMPARE(iberr(), EDVR);
    ibonl(ud, 0);
}

QTEST_GUILESS_MAIN(tst_SimGpib)
#include "tst_simgpib.moc"
