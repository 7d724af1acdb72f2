#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <dlfcn.h>

// The stand-in GPIB library, loaded like a driver, against vorn-module-sim --gpib.
class tst_SimGpib : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void noSimulatorMeansEdvr();
    void findListeners();
    void identityWithEnd();
    void shortReadKeepsTheRest();
    void readTimesOut();
    void absentAndSilent();
    void eoiEndsUnterminatedMessage();
    void badArguments();

private:
    bool startSimulator();

    using IbDev = int (*)(int, int, int, int, int, int);
    using IbUd = int (*)(int);
    using IbConfig = int (*)(int, int, int);
    using IbWrt = int (*)(int, const void *, long);
    using IbRd = int (*)(int, void *, long);
    using IbOnl = int (*)(int, int);
    using SendIfc = void (*)(int);
    using FindLstnFn = void (*)(int, const unsigned short *, unsigned short *, int);
    using Status = int (*)();

    void *m_lib = nullptr;
    IbDev ibdev = nullptr;
    IbUd ibclr = nullptr;
    IbConfig ibconfig = nullptr;
    IbWrt ibwrt = nullptr;
    IbRd ibrd = nullptr;
    IbOnl ibonl = nullptr;
    SendIfc sendIfc = nullptr;
    FindLstnFn findLstn = nullptr;
    Status ibsta = nullptr;
    Status iberr = nullptr;
    Status ibcnt = nullptr;

    QTemporaryDir m_dir;
    QProcess m_sim;
    QString m_socket;
};

static constexpr int ERR = 0x8000, TIMO = 0x4000, END = 0x2000, CMPL = 0x0100;
static constexpr int EDVR = 0, ENOL = 2, EARG = 4, EABO = 6;
static constexpr unsigned short NOADDR = 0xFFFF;

template <typename T> static T resolve(void *lib, const char *name)
{
    return reinterpret_cast<T>(dlsym(lib, name));
}

void tst_SimGpib::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_socket = m_dir.filePath(QStringLiteral("bus.sock"));
    m_lib = dlopen(VORN_GPIB_LIB, RTLD_NOW | RTLD_LOCAL);
    QVERIFY2(m_lib, dlerror());
    QVERIFY(QByteArray(VORN_GPIB_LIB).endsWith("/gpib-standin/libgpib.so.0"));
    ibdev = resolve<IbDev>(m_lib, "ibdev");
    ibclr = resolve<IbUd>(m_lib, "ibclr");
    ibconfig = resolve<IbConfig>(m_lib, "ibconfig");
    ibwrt = resolve<IbWrt>(m_lib, "ibwrt");
    ibrd = resolve<IbRd>(m_lib, "ibrd");
    ibonl = resolve<IbOnl>(m_lib, "ibonl");
    sendIfc = resolve<SendIfc>(m_lib, "SendIFC");
    findLstn = resolve<FindLstnFn>(m_lib, "FindLstn");
    ibsta = resolve<Status>(m_lib, "ThreadIbsta");
    iberr = resolve<Status>(m_lib, "ThreadIberr");
    ibcnt = resolve<Status>(m_lib, "ThreadIbcnt");
    QVERIFY(ibdev && ibclr && ibconfig && ibwrt && ibrd && ibonl && sendIfc && findLstn && ibsta
        && iberr && ibcnt && dlsym(m_lib, "ThreadIbcntl"));
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

bool tst_SimGpib::startSimulator()
{
    if (m_sim.state() == QProcess::Running)
        return true;
    m_sim.start(QStringLiteral(VORN_SIM_EXE),
        { QStringLiteral("--gpib"), QStringLiteral("5,7"), QStringLiteral("--gpib-silent"),
            QStringLiteral("9"), QStringLiteral("--gpib-socket"), m_socket,
            QStringLiteral("--preset"), QStringLiteral("TQ88812p0000") });
    if (!m_sim.waitForStarted(5000))
        return false;
    while (!m_sim.canReadLine()) {
        if (!m_sim.waitForReadyRead(5000))
            return false;
    }
    const QByteArray line = m_sim.readLine().trimmed();
    qputenv("VORN_GPIB_SOCKET", m_socket.toLocal8Bit());
    return line == "gpib " + m_socket.toLocal8Bit();
}

void tst_SimGpib::noSimulatorMeansEdvr()
{
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
}

void tst_SimGpib::findListeners()
{
    QVERIFY(startSimulator());
    unsigned short pads[31];
    for (int i = 0; i < 30; ++i)
        pads[i] = (unsigned short)(i + 1);
    pads[30] = NOADDR;
    unsigned short result[32] = {};
    sendIfc(0);
    QCOMPARE(ibsta() & ERR, 0);
    findLstn(0, pads, result, 30);
    QCOMPARE(ibsta() & ERR, 0);
    QCOMPARE(ibcnt(), 3);
    QCOMPARE(result[0], 5);
    QCOMPARE(result[1], 7);
    QCOMPARE(result[2], 9);
    QCOMPARE(result[3], NOADDR);

    unsigned short limited[4] = { 0, 0, 0, 0 };
    findLstn(0, pads, limited, 2);
    QCOMPARE(limited[0], 5);
    QCOMPARE(limited[1], 7);
    QCOMPARE(limited[2], 0); // at most `limit` entries are written
}

void tst_SimGpib::identityWithEnd()
{
    QVERIFY(startSimulator());
    const int ud = ibdev(0, 5, 0, 10, 0, 0);
    QVERIFY(ud > 0);
    QCOMPARE(ibclr(ud) & ERR, 0);
    ibconfig(ud, 4, 1);
    const QByteArray request = "*IDN?;:READ:MOD:CHAN?\r\n";
    QCOMPARE(ibwrt(ud, request.constData(), request.size()) & ERR, 0);
    QCOMPARE(ibcnt(), int(request.size()));
    char buffer[1024];
    const int sta = ibrd(ud, buffer, sizeof buffer);
    QCOMPARE(sta & (ERR | END | CMPL), END | CMPL);
    QCOMPARE(QByteArray(buffer, ibcnt()), QByteArray("Vornwerk GmbH,TQ88812p0000,4711,3.02;1\r\n"));
    // The second module has the next serial number.
    const int ud7 = ibdev(0, 7, 0, 10, 1, 0);
    ibwrt(ud7, "*IDN?\n", 6);
    ibrd(ud7, buffer, 255);
    QCOMPARE(QByteArray(buffer, ibcnt()), QByteArray("Vornwerk GmbH,TQ88812p0000,4712,3.02\r\n"));
    QCOMPARE(ibonl(ud, 0) & ERR, 0);
    QCOMPARE(ibonl(ud7, 0) & ERR, 0);
    QCOMPARE(ibclr(ud) & ERR, ERR); // the descriptor is gone
    QCOMPARE(iberr(), EDVR);
}

void tst_SimGpib::shortReadKeepsTheRest()
{
    QVERIFY(startSimulator());
    const int ud = ibdev(0, 5, 0, 10, 1, 0);
    ibwrt(ud, ":READ:MOD:CHAN?\r\n", 17);
    char buffer[2];
    QCOMPARE(ibrd(ud, buffer, 2) & (ERR | END), 0);
    QCOMPARE(QByteArray(buffer, ibcnt()), QByteArray("1\r"));
    QCOMPARE(ibrd(ud, buffer, 2) & END, END);
    QCOMPARE(QByteArray(buffer, ibcnt()), QByteArray("\n"));
    ibonl(ud, 0);
}

void tst_SimGpib::readTimesOut()
{
    QVERIFY(startSimulator());
    const int ud = ibdev(0, 5, 0, 10, 0, 0); // T300ms
    char buffer[64];
    QElapsedTimer clock;
    clock.start();
    const int sta = ibrd(ud, buffer, sizeof buffer);
    QCOMPARE(sta & (ERR | TIMO), ERR | TIMO);
    QCOMPARE(iberr(), EABO);
    QCOMPARE(ibcnt(), 0);
    QVERIFY(clock.elapsed() >= 250);
    ibonl(ud, 0);
}

void tst_SimGpib::absentAndSilent()
{
    QVERIFY(startSimulator());
    const int absent = ibdev(0, 3, 0, 10, 1, 0);
    QVERIFY(absent > 0);
    QCOMPARE(ibclr(absent) & ERR, ERR);
    QCOMPARE(iberr(), ENOL);
    QCOMPARE(ibwrt(absent, "*IDN?\n", 6) & ERR, ERR);
    QCOMPARE(iberr(), ENOL);

    const int silent = ibdev(0, 9, 0, 10, 1, 0);
    QCOMPARE(ibclr(silent) & ERR, 0);
    QCOMPARE(ibwrt(silent, "*IDN?\n", 6) & ERR, 0);
    char buffer[255];
    QCOMPARE(ibrd(silent, buffer, 255) & (ERR | TIMO), ERR | TIMO);
    ibonl(absent, 0);
    ibonl(silent, 0);
}

void tst_SimGpib::eoiEndsUnterminatedMessage()
{
    QVERIFY(startSimulator());
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
    QVERIFY(startSimulator());
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
