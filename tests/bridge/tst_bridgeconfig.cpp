// The bridge's configuration file: every key read, and each broken line named. Who may read
// a file with a password is checked through the program (tst_bridgebroker).
#include "bridgeconfig.h"

#include <QTest>

class TestBridgeConfig : public QObject
{
    Q_OBJECT

private slots:
    void readsEveryKey()
    {
        const QByteArray text
            = "# lab crate\n[broker]\nhost = broker.lab\nport = 8883\n"
              "client-id = crate1\nuser = u\npassword = p\nprefix = lab/hv/\n"
              "rate = 0.5\nkeepalive = 60\ntls = on\n\n"
              "[module a]\ntcp = 10.0.0.5:10001\ncommands = on\n"
              "[module b]\n; on the bench\nserial = /dev/ttyUSB0\n[module c]\ngpib = 7\n";
        BridgeSettings s;
        QString error;
        QVERIFY2(parseBridgeSettings(text, &s, &error), qPrintable(error));
        QCOMPARE(s.broker.host, QStringLiteral("broker.lab"));
        QCOMPARE(s.broker.port, 8883);
        QCOMPARE(s.broker.prefix, QStringLiteral("lab/hv"));
        QCOMPARE(s.broker.rate, 0.5);
        QVERIFY(s.broker.tls);
        QCOMPARE(s.modules.size(), 3);
        QCOMPARE(s.modules[0].endpoint(), QStringLiteral("tcp 10.0.0.5:10001"));
        QVERIFY(s.modules[0].commands);
        QCOMPARE(s.modules[1].serialPort, QStringLiteral("/dev/ttyUSB0"));
        QVERIFY(!s.modules[1].commands);
        QCOMPARE(s.modules[2].gpibAddress, 7);
    }
    void namesTheBrokenLine_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("error");
        const QByteArray module = "[module a]\ntcp = 127.0.0.1:10001\n";
        QTest::newRow("unknown key")
            << "[broker]\nhots = x\n" + module << "line 2: unknown key \"hots\" in [broker]";
        QTest::newRow("bad port") << "[broker]\n\nport = 99999\n" + module
                                  << "line 3: invalid port \"99999\" (1 to 65535)";
        QTest::newRow("no equals") << module + "commands on\n"
                                   << "line 3: expected \"key = value\" or a [section]";
        QTest::newRow("key before section")
            << "host = x\n" + module << "line 1: \"host\" before the first [section]";
        QTest::newRow("module without link")
            << QByteArray("[module a]\ncommands = on\n[module b]\ngpib = 3\n")
            << "line 1: module \"a\" has no link (tcp, serial or gpib)";
        QTest::newRow("two links") << module + "gpib = 4\n"
                                   << "line 3: module \"a\" has more than one link";
        QTest::newRow("duplicate module") << module + "[module a]\ngpib = 2\n"
                                          << "line 3: module \"a\" is already defined on line 1";
        QTest::newRow("tcp without port") << QByteArray("[module a]\ntcp = 127.0.0.1\n")
                                          << "line 2: invalid tcp \"127.0.0.1\" (host:port)";
        QTest::newRow("gpib range") << QByteArray("[module a]\ngpib = 31\n")
                                    << "line 2: invalid gpib address \"31\" (1 to 30)";
        QTest::newRow("switch") << module + "commands = maybe\n"
                                << "line 3: invalid commands \"maybe\" (on or off)";
        QTest::newRow("missing ca file") << "[broker]\nca-file = /nonexistent/ca.crt\n" + module
                                         << "line 2: cannot read ca-file \"/nonexistent/ca.crt\"";
        QTest::newRow("unclosed header")
            << QByteArray("[module a\n") << "line 1: a section header ends with \"]\"";
        QTest::newRow("no module")
            << QByteArray("[broker]\n") << "no module: add a [module NAME] section with its link";
    }
    void namesTheBrokenLine()
    {
        QFETCH(QByteArray, text);
        QFETCH(QString, error);
        BridgeSettings s;
        QString message;
        QVERIFY(!parseBridgeSettings(text, &s, &message));
        QCOMPARE(message, error);
    }
};

QTEST_GUILESS_MAIN(TestBridgeConfig)
#include "tst_bridgeconfig.moc"
