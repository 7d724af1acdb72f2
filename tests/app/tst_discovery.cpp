#include "networkdiscovery.h"

#include <QSignalSpy>
#include <QTest>
#include <QUdpSocket>

// Everything stays on loopback: the query goes to a responder on 127.0.0.1, and the answers
// come from sockets on other loopback addresses.
class TestDiscovery : public QObject
{
    Q_OBJECT

private slots:
    void lastAnswerWins_data()
    {
        QTest::addColumn<bool>("localPortTaken");
        QTest::newRow("local port free") << false;
        QTest::newRow("local port taken by another program") << true;
    }

    void lastAnswerWins()
    {
        QFETCH(bool, localPortTaken);
        QUdpSocket responder;
        QVERIFY(responder.bind(QHostAddress::LocalHost, 0));
        QUdpSocket blocker; // bound without sharing, so nobody else gets the port
        QVERIFY(blocker.bind(QHostAddress::AnyIPv4, 0, QUdpSocket::DontShareAddress));
        QUdpSocket free;
        QVERIFY(free.bind(QHostAddress::AnyIPv4, 0));
        const quint16 localPort = localPortTaken ? blocker.localPort() : free.localPort();
        free.close();

        NetworkDiscovery discovery;
        QCOMPARE(discovery.targetPort(), quint16(30718));
        QCOMPARE(discovery.targetAddress(), QHostAddress(QHostAddress::Broadcast));
        discovery.setTarget(QHostAddress::LocalHost, responder.localPort());
        discovery.setLocalPort(localPort);
        QSignalSpy answers(&discovery, &NetworkDiscovery::answerReady);
        QVERIFY(answers.isValid());
        discovery.scan();
        QVERIFY(discovery.boundPort() != 0);
        QCOMPARE(discovery.boundPort() == localPort, !localPortTaken);

        QTRY_VERIFY(responder.hasPendingDatagrams());
        QHostAddress sender;
        quint16 senderPort = 0;
        QByteArray query(16, '\0');
        query.resize(responder.readDatagram(query.data(), query.size(), &sender, &senderPort));
        QCOMPARE(query, QByteArray("\x00\x00\x00\xF6", 4));
        QCOMPARE(senderPort, discovery.boundPort());

        // Two modules answer, one with an empty datagram; the answer read last is the one kept.
        QUdpSocket first;
        QUdpSocket second;
        QVERIFY(first.bind(QHostAddress(QStringLiteral("127.0.0.2")), 0));
        QVERIFY(second.bind(QHostAddress(QStringLiteral("127.0.0.3")), 0));
        first.writeDatagram(QByteArray("any payload"), QHostAddress::LocalHost, senderPort);
        QTRY_VERIFY(answers.size() >= 1);
        QCOMPARE(discovery.readAnswer().toString(), QStringLiteral("127.0.0.2"));
        second.writeDatagram(QByteArray(), QHostAddress::LocalHost, senderPort);
        QTRY_VERIFY(answers.size() >= 2);
        QCOMPARE(discovery.readAnswer().toString(), QStringLiteral("127.0.0.3"));
        QVERIFY(discovery.readAnswer().isNull());

        // A second scan sends from the same socket.
        const quint16 bound = discovery.boundPort();
        discovery.scan();
        QTRY_VERIFY(responder.hasPendingDatagrams());
        responder.readDatagram(query.data(), query.size(), &sender, &senderPort);
        QCOMPARE(senderPort, bound);
    }
};

QTEST_GUILESS_MAIN(TestDiscovery)
#include "tst_discovery.moc"
