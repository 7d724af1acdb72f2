// The bridge's configuration file: every key read, each broken line named, settings that would
// expose the modules refused, and the file itself checked before it is trusted.
#include "bridgeconfig.h"
#include "modulesequence.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

class TestBridgeConfig : public QObject
{
    Q_OBJECT

private slots:
    void readsEveryKey()
    {
        const QByteArray text = "# lab crate\n[broker]\nhost = broker.lab\nport = 8883\n"
                                "client-id = crate1\nuser = u\npassword = p\nprefix = lab/hv/\n"
                                "rate = 0.5\nkeepalive = 60\ntls = on\n\n"
                                "[module a]\ntcp = 10.0.0.5:10001\ncommands = on\ncycle = 0\n"
                                "[module b]\n; on the bench\nserial = /dev/ttyUSB0\ncycle = 2.5s\n"
                                "[defaults]\ncycle = 1s\n[module c]\ngpib = 7\n";
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
        QCOMPARE(s.modules[1].link.serialPort, QStringLiteral("/dev/ttyUSB0"));
        QVERIFY(!s.modules[1].commands);
        QCOMPARE(s.modules[2].link.gpibAddress, 7);
        // The defaults hold for every module that does not say otherwise, wherever they stand.
        QCOMPARE(s.modules[0].cycleMs, 0);
        QCOMPARE(s.modules[1].cycleMs, 2500);
        QCOMPARE(s.modules[2].cycleMs, 1000);
    }
    void cyclePeriods_data()
    {
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<int>("ms");
        QTest::newRow("seconds") << QByteArray("1s") << 1000;
        QTest::newRow("milliseconds") << QByteArray("250 ms") << 250;
        QTest::newRow("minutes") << QByteArray("1.5min") << 90000;
        QTest::newRow("none") << QByteArray("off") << 0;
        QTest::newRow("no unit") << QByteArray("5") << -1;
        QTest::newRow("too short") << QByteArray("5ms") << -1;
        QTest::newRow("too long") << QByteArray("61min") << -1;
        QTest::newRow("negative") << QByteArray("-1s") << -1;
    }
    void cyclePeriods()
    {
        QFETCH(QByteArray, value);
        QFETCH(int, ms);
        BridgeSettings s;
        QString error;
        const bool read
            = parseBridgeSettings("[module a]\ngpib = 3\ncycle = " + value + "\n", &s, &error);
        QCOMPARE(read, ms >= 0);
        if (read)
            QCOMPARE(s.modules.first().cycleMs, ms);
        else
            QCOMPARE(error,
                QStringLiteral("line 3: invalid cycle \"%1\" (a period such as 1s or 500ms, 10ms "
                               "to 60min, or 0 for none)")
                    .arg(QString::fromLatin1(value)));
    }
    void metricsAddress_data()
    {
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<QString>("address"); // empty: refused
        QTest::addColumn<int>("port");
        QTest::newRow("port alone: loopback") << QByteArray("9464") << "127.0.0.1" << 9464;
        QTest::newRow("loopback") << QByteArray("127.0.0.1:9100") << "127.0.0.1" << 9100;
        QTest::newRow("every address, said") << QByteArray("0.0.0.0:9464") << "0.0.0.0" << 9464;
        QTest::newRow("IPv6") << QByteArray("[::1]:9464") << "::1" << 9464;
        QTest::newRow("off") << QByteArray("off") << "127.0.0.1" << 0;
        QTest::newRow("a name") << QByteArray("monitor.lab:9464") << "" << 0;
        QTest::newRow("no port") << QByteArray("127.0.0.1:") << "" << 0;
    }
    void metricsAddress()
    {
        QFETCH(QByteArray, value);
        QFETCH(QString, address);
        QFETCH(int, port);
        BridgeSettings s;
        QString error;
        QCOMPARE(parseBridgeSettings(
                     "[bridge]\nmetrics = " + value + "\n[module a]\ngpib = 3\n", &s, &error),
            !address.isEmpty());
        if (address.isEmpty()) {
            QVERIFY2(error.startsWith(QLatin1String("line 2: invalid metrics")), qPrintable(error));
            return;
        }
        QCOMPARE(s.service.metricsAddress, QHostAddress(address));
        QCOMPARE(s.service.metricsPort, quint16(port));
        // Without the key, no metrics at all.
        QVERIFY(parseBridgeSettings("[module a]\ngpib = 3\n", &s, &error));
        QCOMPARE(s.service.metricsPort, quint16(0));
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
        QTest::newRow("relative sequence folder")
            << module + "commands = on\nsequences = seq\n"
            << "line 4: sequences must be an absolute folder, not \"seq\"";
        QTest::newRow("sequences without commands")
            << module + "sequences = /srv/seq\n[module b]\ngpib = 3\n"
            << "line 1: module \"a\" has sequences but takes no commands (commands = on)";
        QTest::newRow("missing ca file") << "[broker]\nca-file = /nonexistent/ca.crt\n" + module
                                         << "line 2: cannot read ca-file \"/nonexistent/ca.crt\"";
        QTest::newRow("unclosed header")
            << QByteArray("[module a\n") << "line 1: a section header ends with \"]\"";
        QTest::newRow("no module")
            << QByteArray("[broker]\n") << "no module: add a [module NAME] section with its link";
        QTest::newRow("unknown default") << "[defaults]\ncommands = on\n" + module
                                         << "line 2: unknown key \"commands\" in [defaults]";
        QTest::newRow("second defaults")
            << "[defaults]\n" + module + "[defaults]\n"
            << "line 4: a second [defaults] section (the first is on line 1)";
        QTest::newRow("second broker") << "[broker]\nport = 1884\n" + module + "[broker]\n"
                                       << "line 5: a second [broker] section (the first is on "
                                          "line 1)";
        // Before, 1e-300 switched the rate limit off.
        QTest::newRow("rate too small") << "[broker]\nrate = 1e-300\n" + module
                                        << "line 2: invalid rate \"1e-300\" (0.01 to 1000 "
                                           "publishes per second)";
        const QString anyone = QStringLiteral(
            ": module \"a\" takes commands, but anyone who reaches the broker could send them: "
            "connect with tls and a user and password (or a client certificate), or, for a "
            "broker on this machine, set insecure-commands = local-only");
        QTest::newRow("commands, anonymous") << module + "commands = on\n"
                                             << "line 1" + anyone;
        QTest::newRow("commands, password without tls")
            << "[broker]\nhost = ::1\nuser = u\npassword = p\n" + module + "commands = on\n"
            << "line 5" + anyone;
        QTest::newRow("local-only, remote broker")
            << "[broker]\nhost = broker.lab\ninsecure-commands = local-only\n" + module
            << "insecure-commands = local-only needs a broker on this machine, not broker.lab";
        QTest::newRow("password in the clear")
            << "[broker]\nhost = 192.0.2.7\nuser = u\npassword = p\n" + module
            << "the password would cross the network to 192.0.2.7 in the clear: switch tls on (or "
               "allow it with insecure-password = on)";
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
    void acceptsSafeSettings_data()
    {
        QTest::addColumn<QByteArray>("broker");
        QTest::addColumn<QByteArray>("commands");
        QTest::addColumn<bool>("tls");
        const QByteArray self = QFile::encodeName(QCoreApplication::applicationFilePath());
        QTest::newRow("commands over tls with a password")
            << QByteArray("host = broker.lab\ntls = on\nuser = u\npassword = p\n")
            << QByteArray("on") << true;
        QTest::newRow("a client certificate switches tls on")
            << "host = broker.lab\ncert-file = " + self + "\nkey-file = " + self + "\n"
            << QByteArray("on") << true;
        QTest::newRow("local broker, local-only")
            << QByteArray("host = localhost\ninsecure-commands = local-only\n") << QByteArray("on")
            << false;
        QTest::newRow("password in the clear, allowed")
            << QByteArray("host = 192.0.2.7\nuser = u\npassword = p\ninsecure-password = on\n")
            << QByteArray("off") << false;
    }
    void acceptsSafeSettings()
    {
        QFETCH(QByteArray, broker);
        QFETCH(QByteArray, commands);
        QFETCH(bool, tls);
        BridgeSettings s;
        QString error;
        QVERIFY2(parseBridgeSettings(
                     "[broker]\n" + broker + "[module a]\ngpib = 3\ncommands = " + commands + "\n",
                     &s, &error),
            qPrintable(error));
        QCOMPARE(s.broker.tls, tls);
        QVERIFY(s.broker.clientId.startsWith(QLatin1String("vorn-module-bridge")));
    }
    void checksTheFile_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("keyMode"); // 0: no key file
        QTest::addColumn<QString>("kind"); // "file", "link", "foreign"
        QTest::addColumn<QString>("error"); // after the path; empty when the file is fine
        const QByteArray module = "[module a]\ngpib = 3\n";
        const QByteArray password = "[broker]\nuser = u\npassword = p\n" + module;
        const auto row = [](const char *name, const QByteArray &text, int mode, int keyMode,
                             const char *kind, const char *error) {
            QTest::newRow(name) << text << mode << keyMode << QString::fromLatin1(kind)
                                << QString::fromLatin1(error);
        };
        row("owner only, password", password, 0600, 0, "file", "");
        row("readable by all, no password", module, 0644, 0, "file", "");
        row("password, readable by the group", password, 0640, 0, "file",
            " holds the broker password and is readable by other users; restrict it (chmod go-r");
        row("writable by the group", module, 0664, 0, "file",
            " can be changed by other users; restrict it (chmod go-w");
        row("symbolic link", module, 0600, 0, "link",
            " is a symbolic link; give the file it points to");
        row("too large", module + QByteArray(70 * 1024, '#'), 0600, 0, "file",
            " is larger than 64 KiB");
        row("key file readable by the group", module, 0600, 0640, "file", ": the key file ");
        if (geteuid() == 0)
            row("another user's file", module, 0600, 0, "foreign", " belongs to nobody");
    }
    void checksTheFile()
    {
        QFETCH(QByteArray, text);
        QFETCH(int, mode);
        QFETCH(int, keyMode);
        QFETCH(QString, kind);
        QFETCH(QString, error);
        QTemporaryDir dir;
        const QString key = dir.filePath(QStringLiteral("client.key"));
        if (keyMode) {
            QVERIFY(write(key, "key", keyMode));
            text.replace("[module",
                "[broker]\nkey-file = " + QFile::encodeName(key)
                    + "\ncert-file = " + QFile::encodeName(key) + "\n[module");
        }
        const QString file = dir.filePath(QStringLiteral("bridge.conf"));
        QString path = file;
        QVERIFY(write(file, text, mode));
        if (kind == QLatin1String("link")) {
            path = dir.filePath(QStringLiteral("link.conf"));
            QVERIFY(QFile::link(file, path));
        }
        if (kind == QLatin1String("foreign"))
            QCOMPARE(::chown(QFile::encodeName(file).constData(), 65534, 65534), 0);
        BridgeSettings s;
        QString message;
        const bool fine = loadBridgeSettings(path, &s, &message);
        QCOMPARE(fine, error.isEmpty());
        if (!fine)
            QVERIFY2(message.startsWith(path + error), qPrintable(message));
    }

    // Before, a file owned by another user, mode 666, in a 0777 folder ran, and a folder that
    // everyone may write passed the check.
    void trustsSequenceFiles_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("fileMode");
        QTest::addColumn<int>("folderMode");
        QTest::addColumn<QString>("where"); // the path the message names: "file" or "folder"
        QTest::addColumn<QString>("error"); // after the path; empty when the file is fine
        const auto row = [](const char *name, const char *kind, int fileMode, int folderMode,
                             const char *where, const char *error) {
            QTest::newRow(name) << QString::fromLatin1(kind) << fileMode << folderMode
                                << QString::fromLatin1(where) << QString::fromLatin1(error);
        };
        const char *const changeable = " can be changed by other users; restrict it (chmod go-w";
        row("fine", "plain", 0644, 0755, "file", "");
        row("file mode 666", "plain", 0666, 0755, "file", changeable);
        row("folder mode 0777", "plain", 0644, 0777, "folder", changeable);
        row("file a symbolic link", "file link", 0644, 0755, "file",
            " is a symbolic link; give the file it points to");
        row("folder a symbolic link", "folder link", 0644, 0755, "folder",
            " is a symbolic link; give the folder it points to");
        row("system temporary folder", "tmp", 0644, 0755, "folder", changeable);
        row("a FIFO", "fifo", 0644, 0755, "file", " is not a regular file");
        if (geteuid() == 0) {
            row("another user's file", "foreign file", 0644, 0755, "file", " belongs to nobody");
            row("another user's folder", "foreign folder", 0644, 0755, "folder",
                " belongs to nobody");
        }
    }
    void trustsSequenceFiles()
    {
        QFETCH(QString, kind);
        QFETCH(int, fileMode);
        QFETCH(int, folderMode);
        QFETCH(QString, where);
        QFETCH(QString, error);
        QTemporaryDir dir;
        const QString real = dir.filePath(QStringLiteral("real"));
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("real")));
        const QByteArray json = R"({ "version": 1, "steps": [ { "voltage": 10 } ] })";
        QString file = real + QStringLiteral("/s.json");
        if (kind == QLatin1String("file link")) {
            QVERIFY(write(dir.filePath(QStringLiteral("s.json")), json, fileMode));
            QVERIFY(QFile::link(dir.filePath(QStringLiteral("s.json")), file));
        } else if (kind == QLatin1String("fifo")) {
            QCOMPARE(::mkfifo(QFile::encodeName(file).constData(), mode_t(fileMode)), 0);
        } else {
            QVERIFY(write(file, json, fileMode));
        }
        QCOMPARE(::chmod(QFile::encodeName(real).constData(), mode_t(folderMode)), 0);
        QString folder = real;
        if (kind == QLatin1String("folder link")) {
            folder = dir.filePath(QStringLiteral("link"));
            QVERIFY(QFile::link(real, folder));
        } else if (kind == QLatin1String("tmp")) {
            folder = QStringLiteral("/tmp");
        }
        if (kind.startsWith(QLatin1String("foreign")))
            QCOMPARE(::chown(QFile::encodeName(kind.endsWith(QLatin1String("file")) ? file : real)
                                 .constData(),
                         65534, 65534),
                0);
        const QString named
            = where == QLatin1String("file") ? folder + QStringLiteral("/s.json") : folder;
        // What "sequence/run" reads.
        Sequence sequence;
        const QString refused = ModuleSequence::load(folder, "s.json", &sequence);
        if (error.isEmpty())
            QVERIFY2(refused.isEmpty(), qPrintable(refused));
        else
            QVERIFY2(refused.startsWith(named + error), qPrintable(refused));
        // What --check and every start check: the folder, not yet its files.
        const QString config = dir.filePath(QStringLiteral("bridge.conf"));
        QVERIFY(write(config,
            "[broker]\ninsecure-commands = local-only\n[module a]\ngpib = 3\ncommands = on\n"
            "sequences = "
                + QFile::encodeName(folder) + '\n',
            0600));
        BridgeSettings s;
        QString message;
        const bool folderFine = error.isEmpty() || where == QLatin1String("file");
        QCOMPARE(loadBridgeSettings(config, &s, &message), folderFine);
        if (!folderFine)
            QVERIFY2(
                message.contains(QStringLiteral("the sequences of module \"a\": ") + named + error),
                qPrintable(message));
    }

private:
    static bool write(const QString &path, const QByteArray &text, int mode)
    {
        QFile file(path);
        return file.open(QIODevice::WriteOnly) && file.write(text) == text.size()
            && ::chmod(QFile::encodeName(path).constData(), mode_t(mode)) == 0;
    }
};

QTEST_GUILESS_MAIN(TestBridgeConfig)
#include "tst_bridgeconfig.moc"
