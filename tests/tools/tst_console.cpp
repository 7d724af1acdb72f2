// The SCPI console against the module simulator: answers under their lines, completed set
// lines, refused lines, the history, polling after each line, and a connection that ends while
// a line waits.
#include "consolewindow.h"
#include "scpi_eth.h"
#include "model/simmodule.h"
#include "spin.h"
#include "frontends/tcpfrontend.h"

#include <QLineEdit>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

class tst_Console : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void answersFollowTheirLinesAndPollingResumes();
    void refusedLines_data();
    void refusedLines();
    void historyKeptAcrossOpenings();
    void lostConnectionIsReported();

private:
    /// Lines of the transcript after the one that contains \a text.
    QString lineAfter(const QString &text) const;

    QTemporaryDir settings;
    std::unique_ptr<vornsim::SimModule> sim;
    std::unique_ptr<vornsim::TcpFrontEnd> server;
    std::unique_ptr<SCPI_Eth> link;
    std::unique_ptr<ConsoleWindow> console;
    QList<QByteArray> received;
};

void tst_Console::initTestCase()
{
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings.path());
    QLoggingCategory::setFilterRules(QStringLiteral("vorn.*=false"));
}

void tst_Console::init()
{
    sim = vornsim::SimModule::fromPreset(QStringLiteral("KA2F"));
    QVERIFY(sim);
    server = std::make_unique<vornsim::TcpFrontEnd>(sim.get());
    QVERIFY(server->listen(QHostAddress::LocalHost, 0));
    connect(server.get(), &vornsim::TcpFrontEnd::lineReceived, this,
        [this](const QByteArray &line) { received.append(line); });
    link = std::make_unique<SCPI_Eth>();
    link->setPort(server->serverPort());
    link->setHostAddress(QStringLiteral("127.0.0.1"));
    console = std::make_unique<ConsoleWindow>([this] { return link.get(); });
    QVERIFY(link->connectDevice());
    link->requestIdentity();
    link->restartFullRead();
    QVERIFY(spinUntil([this] { return received.contains(":MEAS:VOLT? (@0-3)"); }, 20000));
}

void tst_Console::cleanup()
{
    console.reset();
    link.reset();
    server.reset();
    sim.reset();
    received.clear();
}

QString tst_Console::lineAfter(const QString &text) const
{
    const QStringList lines = console->transcript().split(QLatin1Char('\n'));
    for (int i = 0; i + 1 < lines.size(); ++i) {
        if (lines.at(i).contains(text))
            return lines.at(i + 1);
    }
    return QString();
}

void tst_Console::answersFollowTheirLinesAndPollingResumes()
{
    // Three lines typed at once are sent one after the other, between polls.
    console->submitLine(QStringLiteral("*IDN?"));
    console->submitLine(QStringLiteral(":VOLT 123,(@1)"));
    console->submitLine(QStringLiteral(":READ:MOD:CHAN?"));
    QVERIFY(spinUntil(
        [this] {
            return lineAfter(QStringLiteral("> :READ:MOD:CHAN?")).contains(QLatin1String(" < "));
        },
        20000));
    QVERIFY(lineAfter(QStringLiteral("> *IDN?")).contains(QLatin1String("< Vornwerk GmbH,")));
    QVERIFY(
        lineAfter(QStringLiteral("> :VOLT 123,(@1);*OPC?")).contains(QLatin1String("appended")));
    QVERIFY(lineAfter(QStringLiteral("appended")).endsWith(QLatin1String("< 1")));
    QVERIFY(lineAfter(QStringLiteral("> :READ:MOD:CHAN?")).endsWith(QLatin1String("< 4")));
    QVERIFY(received.contains(":VOLT 123,(@1);*OPC?"));

    // Polling goes on, and the panel's model shows what the line changed.
    const int sent = received.size();
    QVERIFY(spinUntil([&] { return link->module().channel(1).voltageSet() == 123.0f; }, 20000));
    QVERIFY(spinUntil([&] { return received.size() > sent + 20; }, 20000));
    QCOMPARE(link->module().channelCount(), 4);
}

void tst_Console::refusedLines_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("message");
    QTest::newRow("too long") << QString(1025, QLatin1Char('X')) << "longer than 1024";
    QTest::newRow("control") << ":VOLT 1\r:VOLT 2"
                             << "control character";
    QTest::newRow("not Latin-1") << QStringLiteral("*IDN?\u2192") << "cannot receive";
}

void tst_Console::refusedLines()
{
    QFETCH(QString, line);
    QFETCH(QString, message);
    console->submitLine(line);
    spinFor(200);
    QVERIFY(console->transcript().contains(message));
    QVERIFY(!console->history().contains(line));
    for (const QByteArray &request : std::as_const(received))
        QVERIFY(!request.contains("XXXX") && !request.startsWith(":VOLT 1"));
}

void tst_Console::historyKeptAcrossOpenings()
{
    for (int i = 0; i < ConsoleWindow::HistoryLength + 5; ++i)
        console->submitLine(QStringLiteral(":READ:VOLT? (@%1)").arg(i % 4));
    console->submitLine(QStringLiteral("*IDN?"));
    ConsoleWindow reopened([] { return nullptr; });
    QCOMPARE(reopened.history().size(), ConsoleWindow::HistoryLength);
    QCOMPARE(reopened.history().last(), QStringLiteral("*IDN?"));
    auto *input = reopened.findChild<QLineEdit *>(QStringLiteral("lineCommand"));
    QVERIFY(input);
    QTest::keyClick(input, Qt::Key_Up);
    QTest::keyClick(input, Qt::Key_Up);
    QCOMPARE(input->text(), QStringLiteral(":READ:VOLT? (@0)"));
    QTest::keyClick(input, Qt::Key_Down);
    QTest::keyClick(input, Qt::Key_Down);
    QCOMPARE(input->text(), QString());

    // Without a connection nothing is sent, and the console says so.
    reopened.submitLine(QStringLiteral("*IDN?"));
    QVERIFY(reopened.transcript().contains(QLatin1String("Not sent: no module is connected")));
}

void tst_Console::lostConnectionIsReported()
{
    console->submitLine(QStringLiteral("*IDN?"));
    // Before the answer comes, the owner's watchdog ends the connection by deleting the link.
    link.reset();
    QVERIFY(
        console->transcript().contains(QLatin1String("Connection lost: no answer to \"*IDN?\"")));
    console->submitLine(QStringLiteral("*IDN?"));
    QVERIFY(console->transcript().contains(QLatin1String("Not sent")));
}

QTEST_MAIN(tst_Console)
#include "tst_console.moc"
