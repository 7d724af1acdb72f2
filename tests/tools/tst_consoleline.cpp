// Console lines: what is accepted and how it is completed, and how the engine queues a line
// and hands out its answer.
#include "consolechannel.h"
#include "consolerequest.h"
#include "enginedriver.h"

#include <QSignalSpy>
#include <QTest>

class tst_ConsoleLine : public QObject
{
    Q_OBJECT

private slots:
    void prepare_data();
    void prepare();
    void lineIsQueuedAndAnswerHandedOut();
};

void tst_ConsoleLine::prepare_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("verdict");
    QTest::addColumn<QString>("command");

    QTest::newRow("query unchanged")
        << " :READ:VOLT? (@0) " << int(ConsoleRequest::Accepted) << ":READ:VOLT? (@0)";
    QTest::newRow("set gets completion query")
        << ":VOLT 10,(@0)" << int(ConsoleRequest::Accepted) << ":VOLT 10,(@0);*OPC?";
    QTest::newRow("trailing separator not doubled")
        << ":VOLT 10,(@0);" << int(ConsoleRequest::Accepted) << ":VOLT 10,(@0);*OPC?";
    QTest::newRow("empty") << "" << int(ConsoleRequest::Empty) << "";
    QTest::newRow("blanks") << "   " << int(ConsoleRequest::Empty) << "";
    QTest::newRow("only separators") << ";;" << int(ConsoleRequest::Empty) << "";
    QTest::newRow("1024 characters")
        << QString(1023, QLatin1Char('A')) + QLatin1Char('?') << int(ConsoleRequest::Accepted)
        << QString(1023, QLatin1Char('A')) + QLatin1Char('?');
    QTest::newRow("1025 characters")
        << QString(1025, QLatin1Char('A')) << int(ConsoleRequest::TooLong) << "";
    QTest::newRow("line feed inside")
        << "*IDN?\n:VOLT 1" << int(ConsoleRequest::ControlCharacter) << "";
    QTest::newRow("tab") << "*IDN?\t" << int(ConsoleRequest::ControlCharacter) << "";
    QTest::newRow("delete") << QStringLiteral("*IDN?\x7f") << int(ConsoleRequest::ControlCharacter)
                            << "";
    QTest::newRow("not Latin-1") << QStringLiteral(":VOLT 1\u20ac")
                                 << int(ConsoleRequest::NotLatin1) << "";
}

void tst_ConsoleLine::prepare()
{
    QFETCH(QString, line);
    QFETCH(int, verdict);
    QFETCH(QString, command);
    const ConsoleRequest request = ConsoleRequest::prepare(line);
    QCOMPARE(int(request.verdict), verdict);
    QCOMPARE(request.command, command);
    QCOMPARE(request.completionQueryAdded, command.endsWith(QLatin1String(";*OPC?")));
}

void tst_ConsoleLine::lineIsQueuedAndAnswerHandedOut()
{
    FakeLink link;
    EngineDriver::start(link, "KA2F0", "KA2F", "2.10", 4);
    QSignalSpy answers(link.consoleChannel(), &ConsoleChannel::answerReceived);
    QVERIFY(answers.isValid());

    link.enqueueConsoleLine(QStringLiteral(":READ:VOLT? (@0)"));
    link.feed("0,0,0,0\r\n"); // the pending poll; the console line goes next
    QCOMPARE(link.lastCode(), quint16(SCPI_Parser::ConsoleLine));
    QCOMPARE(link.lastSent(), QStringLiteral(":READ:VOLT? (@0)\r\n"));

    // An answer that looks like a per-channel list must not reach the module.
    link.feed("1.0E3V,2.0E3V,3.0E3V,4.0E3V\r\n");
    QCOMPARE(answers.count(), 1);
    QCOMPARE(answers.at(0).at(0).toString(), QStringLiteral("1.0E3V,2.0E3V,3.0E3V,4.0E3V"));
    QCOMPARE(link.module().channel(0).voltageSet(), 0.0f);
    // As after a set command, the configuration is read again from the current step (0 here).
    QCOMPARE(link.lastCode(), quint16(SCPI_Parser::ReadFirmware));
}

QTEST_GUILESS_MAIN(tst_ConsoleLine)
#include "tst_consoleline.moc"
