// The control room's broker dialog: what it keeps, read back as it was, and the password
// never in the settings file (it goes to the desktop's secret store, which a test machine may
// not have: then it is kept nowhere).
#include "brokerdialog.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

class TestRoomWindow : public QObject
{
    Q_OBJECT

private slots:
    void settingsKeptWithoutThePassword()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("room.ini"));
        BrokerSettings given;
        given.host = QStringLiteral("broker.lab");
        given.port = 8883;
        given.user = QStringLiteral("anna");
        given.password = QStringLiteral("pw-that-must-not-show");
        given.caFile = QStringLiteral("/etc/ssl/lab-ca.pem");
        {
            QSettings store(path, QSettings::IniFormat);
            BrokerDialog dialog(given, QStringLiteral("lab/rack1"));
            QString error;
            // Without a secret store on this machine it says so rather than keep it elsewhere.
            if (!dialog.save(&store, &error))
                QVERIFY(!error.isEmpty());
        }
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray text = file.readAll();
        QVERIFY(text.contains("broker.lab"));
        QVERIFY2(!text.contains("pw-that-must-not-show"), text.constData());

        QSettings store(path, QSettings::IniFormat);
        QString prefix;
        const BrokerSettings read = BrokerDialog::load(&store, &prefix);
        QCOMPARE(read.host, given.host);
        QCOMPARE(read.port, given.port);
        QCOMPARE(read.user, given.user);
        QCOMPARE(read.caFile, given.caFile);
        QVERIFY(read.tls); // a CA file switches TLS on
        QVERIFY(read.password.isEmpty());
        QCOMPARE(prefix, QStringLiteral("lab/rack1"));
        QVERIFY(read.clientId.startsWith(QLatin1String("vorn-control-room-")));
    }
};

QTEST_MAIN(TestRoomWindow)
#include "tst_roomwindow.moc"
