// The SCPI console: which lines are accepted and how they are completed, how the engine queues a
// line and hands out its answer, and the console window's transcript, refusals and history.
#include "consolechannel.h"
#include "consolerequest.h"
#include "consolewindow.h"
#include "enginedriver.h"
#include "fakesession.h"

#include <QLineEdit>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {
/// Answers the link's requests with fillers until it writes a console line.
void answerUntilConsoleLine(FakeLink &link)
{
    for (int i = 0; i < 40 && link.lastCode() != SCPI_Parser::ConsoleLine; ++i)
        EngineDriver::answer(link);
}
} // namespace

class tst_Console : public QObject
{
    Q_OBJECT

    QTemporaryDir settings;

private slots:
    void initTestCase()
    {
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings.path());
    }

    void prepare_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("verdict");
        QTest::addColumn<QString>("command");
        const auto row = [](const char *name, const QString &line, int verdict,
                             const QString &command = QString()) {
            QTest::newRow(name) << line << verdict << command;
        };
        const QString longest = QString(1023, QLatin1Char('A')) + QLatin1Char('?');
        row("query unchanged", " :READ:VOLT? (@0) ", ConsoleRequest::Accepted, ":READ:VOLT? (@0)");
        row("set gets completion query", ":VOLT 10,(@0)", ConsoleRequest::Accepted,
            ":VOLT 10,(@0);*OPC?");
        row("trailing separator not doubled", ":VOLT 10,(@0);", ConsoleRequest::Accepted,
            ":VOLT 10,(@0);*OPC?");
        row("empty", "", ConsoleRequest::Empty);
        row("blanks", "   ", ConsoleRequest::Empty);
        row("only separators", ";;", ConsoleRequest::Empty);
        row("1024 characters", longest, ConsoleRequest::Accepted, longest);
        row("1025 characters", QString(1025, QLatin1Char('A')), ConsoleRequest::TooLong);
        row("line feed inside", "*IDN?\n:VOLT 1", ConsoleRequest::ControlCharacter);
        row("tab", "*IDN?\t", ConsoleRequest::ControlCharacter);
        row("delete", QStringLiteral("*IDN?\x7f"), ConsoleRequest::ControlCharacter);
        row("not Latin-1", QStringLiteral(":VOLT 1\u20ac"), ConsoleRequest::NotLatin1);
    }
    void prepare()
    {
        QFETCH(QString, line);
        QFETCH(QString, command);
        const ConsoleRequest request = ConsoleRequest::prepare(line);
        QTEST(int(request.verdict), "verdict");
        QCOMPARE(request.command, command);
        QCOMPARE(request.completionQueryAdded, command.endsWith(QLatin1String(";*OPC?")));
    }

    void engineHandsOutTheAnswer()
    {
        FakeLink link;
        EngineDriver::start(link, "KA2F0", "KA2F", "2.10", 4);
        QSignalSpy answers(link.consoleChannel(), &ConsoleChannel::answerReceived);
        link.enqueueConsoleLine(QStringLiteral(":READ:VOLT? (@0)"));
        link.feed("0,0,0,0\r\n"); // the pending poll; the console line goes next
        QCOMPARE(link.lastCode(), quint16(SCPI_Parser::ConsoleLine));
        QCOMPARE(link.lastSent(), QStringLiteral(":READ:VOLT? (@0)\r\n"));
        // An answer that looks like a per-channel list must not reach the module.
        link.feed("1.0E3V,2.0E3V,3.0E3V,4.0E3V\r\n");
        QCOMPARE(answers.count(), 1);
        QCOMPARE(answers.at(0).at(0).toString(), QStringLiteral("1.0E3V,2.0E3V,3.0E3V,4.0E3V"));
        QCOMPARE(link.module().channel(0).voltageSet(), 0.0f);
        // As after a set command, the configuration is read again from the current step (0).
        QCOMPARE(link.lastCode(), quint16(SCPI_Parser::ReadFirmware));
    }

    void linesTypedAtOnceGoOneByOne()
    {
        FakeController session;
        FakeLink &link = session.connectFake();
        EngineDriver::start(link, "KA2F0", "KA2F", "2.10", 4);
        ConsoleWindow console(&session);
        console.submitLine(QStringLiteral("*IDN?"));
        console.submitLine(QStringLiteral(" :VOLT 123,(@1) "));
        answerUntilConsoleLine(link);
        QCOMPARE(link.lastSent(), QStringLiteral("*IDN?\r\n"));
        link.feed("Vornwerk GmbH,KA2F0,4711,2.10\r\n");
        QVERIFY(link.lastCode() != SCPI_Parser::ConsoleLine); // polling goes on in between
        answerUntilConsoleLine(link);
        QCOMPARE(link.lastSent(), QStringLiteral(":VOLT 123,(@1);*OPC?\r\n"));
        link.feed("1\r\n");
        const QStringList lines = console.transcript().split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), 5);
        QVERIFY2(lines.at(0).endsWith(QLatin1String(" > *IDN?")), qPrintable(lines.at(0)));
        QVERIFY(lines.at(1).endsWith(QLatin1String(" < Vornwerk GmbH,KA2F0,4711,2.10")));
        QVERIFY(lines.at(2).endsWith(QLatin1String(" > :VOLT 123,(@1);*OPC?")));
        QVERIFY(lines.at(3).contains(QLatin1String("appended")));
        QVERIFY(lines.at(4).endsWith(QLatin1String(" < 1")));
        QCOMPARE(console.history(), QStringList({ "*IDN?", ":VOLT 123,(@1)" }));
    }

    // An off typed in the console is the operator's off: ahead of the commands that wait, and
    // its channel held off from a sequence until the operator switches it on.
    void anOffTypedLeadsAndHoldsTheChannelOff()
    {
        FakeController session;
        FakeLink &link = session.connectFake();
        EngineDriver::start(link, "KA2F0", "KA2F", "2.10", 4);
        link.setVoltage(100.0f, 2);
        ConsoleWindow console(&session);
        console.submitLine(QStringLiteral(":VOLT OFF,(@1)"));
        QVERIFY2(link.queued().value(0).startsWith(QLatin1String(":VOLT OFF,(@1)")),
            qPrintable(link.queued().join(QLatin1Char('|'))));
        QVERIFY(session.isHeldOff(1) && !session.isHeldOff(2));
        console.submitLine(QStringLiteral(":volt on,(@1)"));
        answerUntilConsoleLine(link);
        link.feed("1\r\n");
        answerUntilConsoleLine(link);
        QVERIFY(!session.isHeldOff(1));
    }

    void refusedLines_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("message");
        QTest::newRow("too long") << QString(1025, QLatin1Char('X')) << "longer than 1024";
        QTest::newRow("control") << ":VOLT 1\r:VOLT 2"
                                 << "control character";
        QTest::newRow("not Latin-1") << QStringLiteral("*IDN?\u2192") << "cannot receive";
    }
    void refusedLines()
    {
        QFETCH(QString, line);
        QFETCH(QString, message);
        FakeController session;
        FakeLink &link = session.connectFake();
        EngineDriver::start(link, "KA2F0", "KA2F", "2.10", 4);
        ConsoleWindow console(&session);
        console.submitLine(line);
        answerUntilConsoleLine(link);
        QVERIFY(link.lastCode() != SCPI_Parser::ConsoleLine);
        QVERIFY(console.transcript().contains(message));
        QVERIFY(!console.history().contains(line));
    }

    void historyKeptAcrossOpenings()
    {
        ConsoleWindow first(nullptr);
        for (int i = 0; i < ConsoleWindow::HistoryLength + 5; ++i)
            first.submitLine(QStringLiteral(":READ:VOLT? (@%1)").arg(i % 4));
        first.submitLine(QStringLiteral("*IDN?"));
        // Without a connection nothing is sent, and the console says so.
        QVERIFY(first.transcript().endsWith(
            QLatin1String("Not sent: no module is connected (*IDN?).")));
        ConsoleWindow reopened(nullptr);
        QCOMPARE(reopened.history().size(), ConsoleWindow::HistoryLength);
        QCOMPARE(reopened.history().last(), QStringLiteral("*IDN?"));
        auto *input = reopened.findChild<QLineEdit *>(QStringLiteral("lineCommand"));
        QTest::keyClick(input, Qt::Key_Up);
        QTest::keyClick(input, Qt::Key_Up);
        QCOMPARE(input->text(), QStringLiteral(":READ:VOLT? (@0)"));
        QTest::keyClick(input, Qt::Key_Down);
        QTest::keyClick(input, Qt::Key_Down);
        QCOMPARE(input->text(), QString());
    }
};

QTEST_MAIN(tst_Console)
#include "tst_console.moc"
