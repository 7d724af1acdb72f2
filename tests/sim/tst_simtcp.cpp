#include "frontends/tcpfrontend.h"
#include "frontends/tcpsession.h"
#include "model/presets.h"
#include "model/simmodule.h"

#include <QSignalSpy>
#include <QTcpSocket>
#include <QtTest>

#include <sys/socket.h>

using namespace vornsim;

// The server runs in this thread's event loop, so waiting must keep the loop running.
static bool waitRead(QTcpSocket &socket, int ms = 1000)
{
    return socket.bytesAvailable() > 0 || QSignalSpy(&socket, &QTcpSocket::readyRead).wait(ms);
}

// The TCP front end's own faults, seen by a bare client. The engine against the front end, and
// closing after N answers, are tested end to end with the TCP link.
class tst_SimTcp : public QObject
{
    Q_OBJECT

    std::unique_ptr<SimModule> m_module;
    std::unique_ptr<TcpFrontEnd> m_server;
    std::unique_ptr<QTcpSocket> m_client;

    bool serve(std::unique_ptr<SimModule> module)
    {
        m_client.reset();
        m_server.reset();
        m_module = std::move(module);
        m_server = std::make_unique<TcpFrontEnd>(m_module.get());
        return m_server->listen(QHostAddress::LocalHost, 0);
    }
    /// Sets \a faults and connects a new client, m_client.
    bool connectClient(const FaultOptions &faults = FaultOptions())
    {
        m_server->setFaults(faults);
        m_client = std::make_unique<QTcpSocket>();
        m_client->connectToHost(QHostAddress::LocalHost, m_server->serverPort());
        return m_client->waitForConnected(5000);
    }
    /// Sends a line and collects bytes until they end with CR LF (or nothing more comes).
    QByteArray request(const QByteArray &line, int *reads = nullptr)
    {
        m_client->write(line + "\r\n");
        QByteArray answer;
        int count = 0;
        for (; !answer.endsWith("\r\n") && waitRead(*m_client); ++count)
            answer += m_client->readAll();
        if (reads)
            *reads = count;
        return answer;
    }

private slots:
    void init() { QVERIFY(serve(SimModule::fromPreset(QStringLiteral("KA2F")))); }

    void answerFaults_data()
    {
        QTest::addColumn<int>("splitParts");
        QTest::addColumn<int>("dropEvery");
        QTest::addColumn<int>("garbageEvery");
        QTest::addColumn<QByteArray>("second"); // the answer to the second request; "?": junk
        QTest::newRow("split in three") << 3 << 0 << 0 << QByteArray("4\r\n");
        QTest::newRow("every second dropped") << 0 << 2 << 0 << QByteArray();
        QTest::newRow("every second junk") << 0 << 0 << 2 << QByteArray("?");
    }
    void answerFaults()
    {
        QFETCH(int, splitParts);
        QFETCH(int, dropEvery);
        QFETCH(int, garbageEvery);
        QFETCH(QByteArray, second);
        FaultOptions faults;
        faults.splitParts = splitParts;
        faults.splitDelayMs = 30;
        faults.dropEvery = dropEvery;
        faults.garbageEvery = garbageEvery;
        QVERIFY(connectClient(faults));
        int reads = 0;
        QCOMPARE(request(":READ:VOLT? (@0-3)", &reads),
            QByteArray("0.00000E0V,0.00000E0V,0.00000E0V,0.00000E0V\r\n"));
        QVERIFY(faults.splitParts == 0 || reads >= 2);
        const QByteArray answer = request(":READ:MOD:CHAN?");
        if (second == "?")
            QVERIFY2(answer.endsWith("\r\n") && answer != "4\r\n", answer.constData());
        else
            QCOMPARE(answer, second);
        // The faults come by count; the request after one is answered again.
        QCOMPARE(request(":READ:FIRM:NAME?"), QByteArray("KA2F8\r\n"));
    }

    void endlessAnswerIsBounded()
    {
        FaultOptions faults;
        faults.endlessAfter = 1;
        faults.endlessBytes = 512 * 1024;
        QVERIFY(connectClient(faults));
        m_client->write(":READ:MOD:CHAN?\r\n");
        QByteArray stream;
        while (stream.size() < faults.endlessBytes && waitRead(*m_client, 2000))
            stream += m_client->readAll();
        QCOMPARE(stream.size(), faults.endlessBytes);
        QVERIFY(!stream.contains('\n'));
        // The stream stopped by itself; the module answers again afterwards.
        QCOMPARE(request(":READ:MOD:CHAN?"), QByteArray("4\r\n"));
    }

    void endlessStopsWhenPeerLeaves()
    {
        FaultOptions faults;
        faults.endlessAfter = 1;
        QVERIFY(connectClient(faults));
        m_client->write(":READ:MOD:CHAN?\r\n");
        QVERIFY(waitRead(*m_client, 2000));
        m_client->abort();
        QTRY_COMPARE_WITH_TIMEOUT(m_server->connectionCount(), 0, 5000);
        QVERIFY(connectClient());
        QTRY_COMPARE(m_server->connectionCount(), 1);
    }

    void overlongLine()
    {
        QVERIFY(connectClient());
        QCOMPARE(request(QByteArray(100000, 'x')), QByteArray("ERROR\r\n"));
        QCOMPARE(request(":READ:MOD:CHAN?"), QByteArray("4\r\n"));
    }

    // A client that floods a 64-channel module with queries and never reads must not make the
    // simulator buffer its answers without bound, nor keep another client waiting.
    void nonReadingClientIsHeldBack()
    {
        Preset preset = *presetByName(QStringLiteral("GLW802"));
        preset.identity.channels = 64;
        QVERIFY(serve(std::make_unique<SimModule>(preset)));
        QTcpSocket flood;
        flood.setReadBufferSize(64 * 1024); // else Qt would read on behalf of the test
        flood.connectToHost(QHostAddress::LocalHost, m_server->serverPort());
        QVERIFY(flood.waitForConnected(5000));
        flood.write(QByteArray(":MEAS:VOLT?\r\n").repeated(100000)); // about 77 MB of answers
        const qint64 bound = TcpSession::maxUnsent + 64 * 1024; // plus the last answer taken
        qint64 peak = 0;
        for (int i = 0; i < 150; ++i) {
            QTest::qWait(10);
            peak = qMax(peak, m_server->unsentBytes());
        }
        QVERIFY2(peak > 0 && peak <= bound, QByteArray::number(peak).constData());
        QVERIFY(connectClient());
        QCOMPARE(request("*OPC?"), QByteArray("1\r\n"));
        QVERIFY(m_server->unsentBytes() <= bound);
    }

    void halfCloseGetsEveryAnswer_data()
    {
        QTest::addColumn<int>("delayMs");
        QTest::newRow("at once") << 0;
        QTest::newRow("late answers") << 100;
    }
    // printf '*IDN?\r\n' | nc -N: the host sends and shuts its side; the answers still come.
    void halfCloseGetsEveryAnswer()
    {
        FaultOptions faults;
        QFETCH(int, delayMs);
        faults.answerDelayMs = delayMs;
        QVERIFY(connectClient(faults));
        m_client->write(":READ:MOD:CHAN?\r\n*OPC?\r\n:READ:FIRM:NAME?\r\n");
        QVERIFY(m_client->waitForBytesWritten(2000));
        QCOMPARE(::shutdown(int(m_client->socketDescriptor()), SHUT_WR), 0);
        QTRY_COMPARE_WITH_TIMEOUT(m_client->state(), QAbstractSocket::UnconnectedState, 5000);
        QCOMPARE(m_client->readAll(), QByteArray("4\r\n1\r\nKA2F8\r\n"));
        QTRY_COMPARE(m_server->connectionCount(), 0);
    }
};

QTEST_GUILESS_MAIN(tst_SimTcp)
#include "tst_simtcp.moc"
