#include "simmodule.h"
#include "tcpfrontend.h"

#include <QSignalSpy>
#include <QTcpSocket>
#include <QtTest>

using namespace vornsim;

class tst_SimTcp : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void answersLines();
    void splitAnswer();
    void dropEverySecond();
    void garbageAnswer();
    void closeAfterAnswers();
    void endlessAnswerIsBounded();
    void endlessStopsWhenPeerLeaves();
    void overlongLine();

private:
    QByteArray request(QTcpSocket &socket, const QByteArray &line, int *reads = nullptr);
    bool connectClient(QTcpSocket &socket);

    std::unique_ptr<SimModule> m_module;
    std::unique_ptr<TcpFrontEnd> m_server;
};

void tst_SimTcp::init()
{
    m_module = SimModule::fromPreset(QStringLiteral("KA2F"));
    m_server = std::make_unique<TcpFrontEnd>(m_module.get());
    QVERIFY(m_server->listen(QHostAddress::LocalHost, 0));
    QVERIFY(m_server->serverPort() != 0);
}

void tst_SimTcp::cleanup()
{
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

bool tst_SimTcp::connectClient(QTcpSocket &socket)
{
    socket.connectToHost(QHostAddress::LocalHost, m_server->serverPort());
    return socket.waitForConnected(5000);
}

/// Sends a line and collects bytes until they end with CR LF (or nothing more comes).
QByteArray tst_SimTcp::request(QTcpSocket &socket, const QByteArray &line, int *reads)
{
    socket.write(line + "\r\n");
    QByteArray answer;
    int count = 0;
    while (!answer.endsWith("\r\n")) {
        if (!waitRead(socket, 1000))
            break;
        answer += socket.readAll();
        ++count;
    }
    if (reads)
        *reads = count;
    return answer;
}

void tst_SimTcp::answersLines()
{
    QSignalSpy lines(m_server.get(), &TcpFrontEnd::lineReceived);
    QVERIFY(lines.isValid());
    QTcpSocket client;
    QVERIFY(connectClient(client));
    QCOMPARE(request(client, "*IDN?;:READ:MOD:CHAN?"),
        QByteArray("Vornwerk GmbH,KA2F840p,7100001,2.07;4\r\n"));
    QCOMPARE(lines.size(), 1);
    QCOMPARE(lines.first().first().toByteArray(), QByteArray("*IDN?;:READ:MOD:CHAN?"));
    // A set command without a query is not answered; the next query is.
    client.write(":VOLT 10,(@0)\r\n");
    QCOMPARE(request(client, ":READ:VOLT? (@0)"), QByteArray("1.00000E1V\r\n"));
    QCOMPARE(m_server->connectionCount(), 1);
}

void tst_SimTcp::splitAnswer()
{
    FaultOptions faults;
    faults.splitParts = 3;
    faults.splitDelayMs = 30;
    m_server->setFaults(faults);
    QTcpSocket client;
    QVERIFY(connectClient(client));
    int reads = 0;
    QCOMPARE(request(client, ":READ:VOLT? (@0-3)", &reads),
        QByteArray("0.00000E0V,0.00000E0V,0.00000E0V,0.00000E0V\r\n"));
    QVERIFY(reads >= 2);
}

void tst_SimTcp::dropEverySecond()
{
    FaultOptions faults;
    faults.dropEvery = 2;
    m_server->setFaults(faults);
    QTcpSocket client;
    QVERIFY(connectClient(client));
    QCOMPARE(request(client, ":READ:MOD:CHAN?"), QByteArray("4\r\n"));
    client.write(":READ:MOD:CHAN?\r\n");
    QVERIFY(!waitRead(client, 300));
    QCOMPARE(request(client, ":READ:FIRM:NAME?"), QByteArray("KA2F8\r\n"));
}

void tst_SimTcp::garbageAnswer()
{
    FaultOptions faults;
    faults.garbageEvery = 1;
    m_server->setFaults(faults);
    QTcpSocket client;
    QVERIFY(connectClient(client));
    const QByteArray answer = request(client, ":READ:MOD:CHAN?");
    QVERIFY(answer.endsWith("\r\n"));
    QVERIFY(answer != "4\r\n");
}

void tst_SimTcp::closeAfterAnswers()
{
    FaultOptions faults;
    faults.closeAfter = 2;
    m_server->setFaults(faults);
    QTcpSocket client;
    QVERIFY(connectClient(client));
    QSignalSpy gone(&client, &QTcpSocket::disconnected);
    QVERIFY(gone.isValid());
    QCOMPARE(request(client, ":READ:MOD:CHAN?"), QByteArray("4\r\n"));
    QCOMPARE(request(client, ":READ:MOD:CHAN?"), QByteArray("4\r\n"));
    QVERIFY(gone.wait(2000));
    // A new connection gets its own budget of answers.
    QTcpSocket again;
    QVERIFY(connectClient(again));
    QCOMPARE(request(again, ":READ:MOD:CHAN?"), QByteArray("4\r\n"));
}

void tst_SimTcp::endlessAnswerIsBounded()
{
    FaultOptions faults;
    faults.endlessAfter = 1;
    faults.endlessBytes = 512 * 1024;
    m_server->setFaults(faults);
    QTcpSocket client;
    QVERIFY(connectClient(client));
    client.write(":READ:MOD:CHAN?\r\n");
    qint64 total = 0;
    bool lineEnd = false;
    while (total < faults.endlessBytes && waitRead(client, 2000)) {
        const QByteArray chunk = client.readAll();
        lineEnd = lineEnd || chunk.contains('\n');
        total += chunk.size();
    }
    QCOMPARE(total, faults.endlessBytes);
    QVERIFY(!lineEnd);
    // The stream stopped by itself; the module answers again afterwards.
    QCOMPARE(request(client, ":READ:MOD:CHAN?"), QByteArray("4\r\n"));
}

void tst_SimTcp::endlessStopsWhenPeerLeaves()
{
    FaultOptions faults;
    faults.endlessAfter = 1;
    m_server->setFaults(faults);
    QSignalSpy count(m_server.get(), &TcpFrontEnd::connectionCountChanged);
    QVERIFY(count.isValid());
    {
        QTcpSocket client;
        QVERIFY(connectClient(client));
        client.write(":READ:MOD:CHAN?\r\n");
        QVERIFY(waitRead(client, 2000));
        client.abort();
    }
    QTRY_COMPARE_WITH_TIMEOUT(m_server->connectionCount(), 0, 5000);
    QTcpSocket next;
    QVERIFY(connectClient(next));
    QTRY_COMPARE(m_server->connectionCount(), 1);
}

void tst_SimTcp::overlongLine()
{
    QTcpSocket client;
    QVERIFY(connectClient(client));
    QCOMPARE(request(client, QByteArray(100000, 'x')), QByteArray("ERROR\r\n"));
    QCOMPARE(request(client, ":READ:MOD:CHAN?"), QByteArray("4\r\n"));
}

QTEST_GUILESS_MAIN(tst_SimTcp)
#include "tst_simtcp.moc"
