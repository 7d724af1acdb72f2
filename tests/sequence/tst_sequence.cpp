// The sequence model: the file (the shipped example, writing and reading back, files refused
// with the key and the reason), channel lists, and the safety conditions read from the words.
#include "eventtext.h"
#include "historyjournal.h"
#include "safetywords.h"
#include "sequencefile.h"

#include <QTemporaryDir>
#include <QTest>

class tst_Sequence : public QObject
{
    Q_OBJECT

private slots:
    // The messages' numbers are in the locale's form: the C locale's here.
    void initTestCase() { QLocale::setDefault(QLocale::c()); }

    void example()
    {
        Sequence s;
        QCOMPARE(
            SequenceFile::load(QStringLiteral(VORN_SEQUENCE_EXAMPLES "/condition-2kv.json"), &s),
            QString());
        QCOMPARE(s.steps.size(), 8);
        QCOMPARE(s.steps.last().voltage, 2000.0);
        QVERIFY(s.steps.first().untilStable);
        QCOMPARE(s.steps.first().holdSeconds, 60.0);
        const SafetyRule &arcs = s.rule(SafetyCondition::Arcs);
        QVERIFY(arcs.enabled);
        QCOMPARE(arcs.count, 3);
        QCOMPARE(arcs.minutes, 10.0);
        QCOMPARE(arcs.action, SafetyAction::RampDown);
        QCOMPARE(s.rule(SafetyCondition::BrokerLost).action, SafetyAction::Hold);

        // Written and read again, it is the same sequence.
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("copy.json"));
        s.channels = { 0, 2, 3 };
        s.steps[1].percent = true;
        s.steps[1].voltage = 12.5;
        s.rule(SafetyCondition::Inhibit).enabled = false;
        s.rule(SafetyCondition::BrokerLost).action = SafetyAction::RampDown;
        QCOMPARE(SequenceFile::save(path, s), QString());
        Sequence again;
        QCOMPARE(SequenceFile::load(path, &again), QString());
        QVERIFY(again == s);
    }

    void refused_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<QString>("message");

        const QByteArray step = R"("steps": [ { "voltage": 100 } ])";
        QTest::newRow("no JSON") << QByteArray("{ \"version\": 1,") << QString("no JSON: ");
        QTest::newRow("truncated")
            << QByteArray("{ \"version\": 1, \"steps\": [ { \"volt") << QString("no JSON: ");
        QTest::newRow("empty") << QByteArray() << QString("no JSON: ");
        QTest::newRow("array") << QByteArray("[1]") << QString("no JSON object");
        QTest::newRow("no version") << "{ " + step + " }" << QString("version: missing");
        QTest::newRow("newer version") << R"({ "version": 2, )" + step
                + " }" << QString("version: 2 is not a version this program reads (1)");
        QTest::newRow("no steps") << QByteArray(R"({ "version": 1 })") << QString("steps: missing");
        QTest::newRow("empty steps") << QByteArray(R"({ "version": 1, "steps": [] })")
                                     << QString("steps: must be a list of at least one step");
        QTest::newRow("mistyped key") << QByteArray(
            R"({ "version": 1, "steps": [ { "voltage": 1 }, { "voltage": 2, "hodl": 5 } ] })")
                                      << QString("steps[1] (step 2).hodl: unknown key");
        QTest::newRow("text for a number")
            << QByteArray(R"({ "version": 1, "steps": [ { "voltage": "250 V" } ] })")
            << QString("steps[0] (step 1).voltage: must be a number");
        QTest::newRow("volts and percent")
            << QByteArray(R"({ "version": 1, "steps": [ { "voltage": 1, "percent": 1 } ] })")
            << QString("steps[0] (step 1): needs either \"voltage\" or \"percent\"");
        QTest::newRow("percent beyond 100")
            << QByteArray(R"({ "version": 1, "steps": [ { "percent": 150 } ] })")
            << QString("steps[0] (step 1).percent: must lie between -100 and 100");
        QTest::newRow("negative hold")
            << QByteArray(R"({ "version": 1, "steps": [ { "voltage": 1, "hold": -1 } ] })")
            << QString("steps[0] (step 1).hold: must be at least 0");
        QTest::newRow("channel out of range") << R"({ "version": 1, "channels": [0, 64], )" + step
                + " }" << QString("channels[1]: must be a channel number from 0 to 63");
        QTest::newRow("empty channel list") << R"({ "version": 1, "channels": " ", )" + step + " }"
                                            << QString("channels: must not be empty");
        QTest::newRow("unknown action")
            << R"({ "version": 1, "safety": { "trip": "explode" }, )" + step + " }"
            << QString("safety.trip: must be \"hold\", \"rampDown\", \"off\" or \"ignore\"");
        QTest::newRow("abort ignored") << R"({ "version": 1, "safety": { "abort": "ignore" }, )"
                + step + " }" << QString("safety.abort: must be \"hold\", \"rampDown\" or \"off\"");
        // Unattended work must stop without its broker.
        QTest::newRow("broker loss ignored")
            << R"({ "version": 1, "safety": { "brokerLost": "ignore" }, )" + step + " }"
            << QString("safety.brokerLost: \"ignore\" is not allowed");
        QTest::newRow("arcs without count")
            << R"({ "version": 1, "safety": { "arcs": { "minutes": 10, "action": "off" } }, )"
                + step + " }"
            << QString("safety.arcs.count: missing");
        QTest::newRow("oversized") << QByteArray(SequenceFile::MaxBytes + 1, ' ')
                                   << QString("the file is larger than 1024 KiB");
    }
    void refused()
    {
        QFETCH(QByteArray, json);
        QFETCH(QString, message);
        Sequence s;
        s.name = QStringLiteral("kept");
        const QString error = SequenceFile::parse(json, &s);
        QVERIFY2(error.startsWith(message), qPrintable(error));
        QCOMPARE(s.name, QStringLiteral("kept"));
    }

    void channelList_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QList<int>>("channels");
        QTest::addColumn<QString>("shown");
        QTest::newRow("all") << "all" << QList<int>() << "all";
        QTest::newRow("ranges") << " 5, 0-2,1" << QList<int> { 0, 1, 2, 5 } << "0-2, 5";
        QTest::newRow("two") << "0,1" << QList<int> { 0, 1 } << "0, 1";
        QTest::newRow("bad") << "0-x" << QList<int> { -1 } << QString();
        QTest::newRow("too high") << "3-64" << QList<int> { -1 } << QString();
    }
    void channelList()
    {
        QFETCH(QString, text);
        QFETCH(QList<int>, channels);
        QFETCH(QString, shown);
        QList<int> parsed;
        QString error;
        const bool ok = parseChannelList(text, &parsed, &error);
        QCOMPARE(ok, channels != QList<int> { -1 });
        QCOMPARE(error.contains(QLatin1String("no channel number")), !ok);
        // A file takes the same text. Before, only "all" and an array were taken.
        Sequence file;
        const QByteArray json
            = "{ \"version\": 1, \"steps\": [ { \"voltage\": 1 } ], \"channels\": \""
            + text.toUtf8() + "\" }";
        const QString fileError = SequenceFile::parse(json, &file);
        QCOMPARE(fileError, ok ? QString() : QStringLiteral("channels: ") + error);
        if (!ok)
            return;
        QCOMPARE(parsed, channels);
        QCOMPARE(file.channels, channels);
        QCOMPARE(channelListText(parsed), shown);
    }

    void conditions_data()
    {
        QTest::addColumn<quint16>("statusBefore");
        QTest::addColumn<quint16>("eventsBefore");
        QTest::addColumn<quint16>("status");
        QTest::addColumn<quint16>("events");
        QTest::addColumn<QList<SafetyCondition>>("conditions");
        QTest::addColumn<bool>("arc");
        const quint16 trip = 1u << 13;
        QTest::newRow("trip") << quint16(0) << quint16(0) << trip << quint16(0)
                              << QList<SafetyCondition> { SafetyCondition::Trip } << false;
        QTest::newRow("came and went between readings")
            << quint16(0) << quint16(0) << quint16(0) << trip
            << QList<SafetyCondition> { SafetyCondition::Trip } << false;
        QTest::newRow("emergency off and inhibit, an arc")
            << quint16(0) << quint16(0) << quint16((1u << 5) | (1u << 12) | (1u << 1)) << quint16(0)
            << QList<SafetyCondition> { SafetyCondition::EmergencyOff, SafetyCondition::Inhibit }
            << true;
    }
    void conditions()
    {
        QFETCH(quint16, statusBefore);
        QFETCH(quint16, eventsBefore);
        QFETCH(quint16, status);
        QFETCH(quint16, events);
        QFETCH(QList<SafetyCondition>, conditions);
        QFETCH(bool, arc);
        const ChannelFindings found
            = channelFindings({ statusBefore, eventsBefore }, { status, events });
        QCOMPARE(found.conditions, conditions);
        QCOMPARE(found.arc, arc);
    }
    void safetyLoop()
    {
        // The "closed" status bit falls, or the "not good" event rises.
        const quint16 closed = 1u << 10;
        QVERIFY(safetyLoopOpened({ closed, 0 }, { 0, 0 }));
        QVERIFY(safetyLoopOpened({ closed, 0 }, { closed, closed }));
        QVERIFY(!safetyLoopOpened({ 0, closed }, { 0, closed }));
    }

    void historyJournal()
    {
        EventHistory history;
        HistoryJournal journal(&history);
        journal.info(QStringLiteral("Step 1 of 2: ramping to 250 V"));
        journal.alarm(QStringLiteral("trip on channel 1 at step 1 of 2 (holding)"));
        QCOMPARE(history.entries().size(), 2);
        const HistoryEntry &alarm = history.entries().last();
        QCOMPARE(alarm.severity, Severity::Alarm);
        QVERIFY(!alarm.isChannel());
        QCOMPARE(EventText::describe(alarm, true),
            QStringLiteral("Sequence: trip on channel 1 at step 1 of 2 (holding)"));
        QCOMPARE(history.unacknowledgedAlarms(), 1);
    }
};

QTEST_GUILESS_MAIN(tst_Sequence)
#include "tst_sequence.moc"
