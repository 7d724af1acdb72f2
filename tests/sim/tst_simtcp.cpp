#include "frontends/tcpfrontend.h"
#include "model/simmodule.h"

#include <QSignalSpy>
#include <QTcpSocket>
#include <QtTest>

using namespace vornsim;

// The TCP front end's own faults, seen by a bare client. The engine against the front end, and
// closing after N answers, are tested end to end with the TCP link.
class tst_SimTcp : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void answerFaults_data();
    void answerFaults();
    void endlessAnswerIsBounded();
    void endlessStopsWhenPeerLeaves();
    void overlongLine();

private:
    bool connectClient(const FaultOptions &faults = FaultOptions());
    QByteArray request(const QByteArray &line, int *reads = nullptr);

    std::unique_ptr<SimModule> m_module;
    std::unique_ptr<TcpFrontEnd> m_server;
    std::unique_ptr<QTcpSocket> m_client;
};

void tst_SimTcp::init()
{
    m_module = SimModule::fromPreset(QStringLiteral("KA2F"));
    m_server = std::make_unique<TcpFrontEnd>(m_module.get());
    QVERIFY(m_server->listen(QHostAddress::LocalHost, 0));
}

void tst_SimTcp::cleanup()
{
    m_client.reset();
    m_server.reset();
    m_module.reset();
}

// The server runs in this thread's event loop, so waiting must keep the loop running.
static bool waitRead(QTcpSocket &socket, int ms)
{
    if (socket.bytesAvailable() > 0)
        return true;
    QSignalSpy spy(&socket, &QTcpSocket::readyRead);
    return spy.wait(ms);
}

/// Sets \a faults and connects a new client, m_client.
bool tst_SimTcp::connectClient(const FaultOptions &faults)
{
    m_server->setFaults(faults);
    m_client = std::make_unique<QTcpSocket>();
    m_client->connectToHost(QHostAddress::LocalHost, m_server->serverPort());
    return m_client->waitForConnected(5000);
}

/// Sends a line and collects bytes until they end with CR LF (or nothing more comes).
QByteArray tst_SimTcp::request(const QByteArray &line, int *reads)
{
    m_client->write(line + "\r\n");
    QByteArray answer;
    int count = 0;
    while (!answer.endsWith("\r\n") && waitRead(*m_client, 1000)) {
        answer += m_client->readAll();
        ++count;
    }
    if (reads)
        *reads = count;
    return answer;
}

void tst_SimTcp::answerFaults_data()
{
    QTest::addColumn<int>("splitParts");
    QTest::addColumn<int>("dropEvery");
    QTest::addColumn<int>("garbageEvery");
    QTest::addColumn<QByteArray>("second"); // the answer to the second request; "?": junk
    QTest::newRow("split in three") << 3 << 0 << 0 << QByteArray("4\r\n");
    QTest::newRow("every second dropped") << 0 << 2 << 0 << QByteArray();
    QTest::newRow("every second junk") << 0 << 0 << 2 << QByteArray("?");
}

void tst_SimTcp::answerFaults()
{
    FaultOptions faults;
    QFETCH(int, splitParts);
    QFETCH(int, dropEvery);
    QFETCH(int, garbageEvery);
    QFETCH(QByteArray, second);
    faults.splitParts = splitParts;
    faults.splitDelayMs = 30;
    faults.dropEvery = dropEvery;
    faults.garbageEvery = garbageEvery;
    QVERIFY(connectClient(faults));
    int reads = 0;
    QCOMPARE(request(":READ:VOLT? (@0-3)", &reads),
        QByteArray("0.00000E0V,0.00000E0V,0.00000E0V,0.00000E0V\r\n"));
    QVERIFY(splitParts == 0 || reads >= 2);
    const QByteArray answer = request(":READ:MOD:CHAN?");
    if (second == "?")
        QVERIFY2(answer.endsWith("\r\n") && answer != "4\r\n", answer.constData());
    else
        QCOMPARE(answer, second);
    // The faults come by count; the request after one is answered again.
    QCOMPARE(request(":READ:FIRM:NAME?"), QByteArray("KA2F8\r\n"));
}

void tst_SimTcp::endlessAnswerIsBounded()
{
    FaultOptions faults;
    faults.endlessAfter = 1;
    faults.endlessBytes = 512 * 1024;
    QVERIFY(connectClient(faults));
    QTcpSocket &socket = *m_client;
    socket.write(":READ:MOD:CHAN?\r\n");
    qint64 total = 0;
    bool lineEnd = false;
    while (total < faults.endlessBytes && waitRead(socket, 2000)) {
        const QByteArray chunk = socket.readAll();
        lineEnd = lineEnd || chunk.contains('\n');
        total += chunk.size();
    }
    QCOMPARE(total, faults.endlessBytes);
    QVERIFY(!lineEnd);
    // The stream stopped by itself; the module answers again afterwards.
    QCOMPARE(request(":READ:MOD:CHAN?"), QByteArray("4\r\n"));
}

void tst_SimTcp::endlessStopsWhenPeerLeaves()
{
    FaultOptions faults;
    faults.endlessAfter = 1;
    QVERIFY(connectClient(faults));
    QTcpSocket &socket = *m_client;
    socket.write(":READ:MOD:CHAN?\r\n");
    QVERIFY(waitRead(socket, 2000));
    socket.abort();
    QTRY_COMPARE_WITH_TIMEOUT(m_server->connectionCount(), 0, 5000);
    QVERIFY(connectClient());
    QTRY_COMPARE(m_server->connectionCount(), 1);
}

void tst_SimTcp::overlongLine()
{
    QVERIFY(connectClient());
    QCOMPARE(request(QByteArray(100000, 'x')), QByteArray("ERROR\r\n"));
    QCOMPARE(request(":READ:MOD:CHAN?"), QByteArray("4\r\n"));
}

QTEST_GUILESS_MAIN(tst_SimTcp)
#include "tst_simtcp.moc"
