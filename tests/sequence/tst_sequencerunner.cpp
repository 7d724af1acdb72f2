// The sequence runner against the simulated module, with ramps of seconds: steps in order,
// holds until stable, the safety rules' actions as the wire shows them, a lost link, pause and
// resume.
#include "sequencerig.h"

#include "commandgate.h"

#include <QSignalSpy>
#include <QTest>

using State = SequenceRunner::State;
using Phase = SequenceRunner::Phase;

namespace {
/// Four channels ramping at 3000 V/s (50 %/s of 6000 V), each step held briefly.
QByteArray sequenceJson(const QByteArray &steps, const QByteArray &safety = "{}")
{
    return R"({ "version": 1, "name": "test", "channels": "all", "steps": )" + steps
        + R"(, "safety": )" + safety + " }";
}
} // namespace

class tst_SequenceRunner : public QObject
{
    Q_OBJECT

    std::unique_ptr<SequenceRig> rig;

private slots:
    // The journal's and the messages' numbers are in the locale's form: the C locale's here.
    void initTestCase() { QLocale::setDefault(QLocale::c()); }
    void init() { rig = std::make_unique<SequenceRig>(); }
    void cleanup() { rig.reset(); }

    void stepsInOrder_data()
    {
        QTest::addColumn<QByteArray>("steps");
        QTest::addColumn<QStringList>("wire");
        QTest::addColumn<QString>("held"); // a journal entry, as a pattern

        QTest::newRow("volts, held for a time")
            << QByteArray(R"([ { "voltage": 300, "rampSpeed": 3000, "current": 0.002,
                                 "hold": 0.5 },
                               { "voltage": 600, "hold": 0.5 },
                               { "voltage": 0, "hold": 0 } ])")
            << QStringList { "^:CONF:RAMP:VOLT 50;", "^:CURR 0.002,\\(@0-3\\);",
                   "^:VOLT 300,\\(@0-3\\);", "^:VOLT ON,\\(@0-3\\);", "^:VOLT 600,\\(@0-3\\);",
                   "^:VOLT 0,\\(@0-3\\);" }
            << QStringLiteral("^info: Step 2 of 3: held \\d+ s at 600 V$");
        QTest::newRow("percent of nominal, until stable")
            << QByteArray(R"([ { "percent": 5, "rampSpeed": 3000, "untilStable": true,
                                 "currentChange": 1e-6, "window": 1, "timeout": 20 } ])")
            << QStringList { "^:VOLT 300,\\(@0-3\\);", "^:VOLT ON,\\(@0-3\\);" }
            << QStringLiteral(
                   "^info: Step 1 of 1: held \\d+ s at 5 % \\(300 V\\); current stable.*");
    }
    void stepsInOrder()
    {
        QFETCH(QByteArray, steps);
        QFETCH(QStringList, wire);
        QFETCH(QString, held);
        QVERIFY(rig->start({ QStringLiteral("--load"), QStringLiteral("all=1e6") }));
        const int start = rig->trace().size();
        QSignalSpy states(&rig->runner, &SequenceRunner::stateChanged);
        QString error;
        QVERIFY2(rig->runner.start(sequenceFrom(sequenceJson(steps)), &error), qPrintable(error));
        QVERIFY(rig->waitState(State::Finished));
        QVERIFY(rig->waitWire(wire, start) > 0);
        QCOMPARE(states.count(), 2);
        QVERIFY2(rig->journal.entries.indexOf(QRegularExpression(held)) >= 0,
            qPrintable(rig->journal.entries.join(QLatin1Char('\n'))));
        QVERIFY(rig->journal.entries.last().startsWith(
            QLatin1String("info: Sequence \"test\" finished after")));
        QCOMPARE(rig->runner.remainingMs(), -1);
    }

    void safetyAction_data()
    {
        QTest::addColumn<QByteArray>("safety");
        QTest::addColumn<QByteArrayList>("commands");
        QTest::addColumn<int>("state");
        QTest::addColumn<QStringList>("wire");

        const QStringList rampDown { "^:CONF:RAMP:VOLT 10;", "^:VOLT 0,\\(@0-3\\);",
            "^:VOLT OFF,\\(@0-3\\);" };
        const QStringList off { "^:VOLT OFF,\\(@0-3\\);" };
        QTest::newRow("trip: ramp down")
            << QByteArray(R"({ "rampDownSpeed": 600, "trip": "rampDown" })")
            << QByteArrayList { "trip 1" } << int(State::Aborted) << rampDown;
        QTest::newRow("arc burst: the arc error switches off")
            << QByteArray(R"({ "arcError": "off" })")
            << QByteArrayList { "arc 2", "arc 2", "arc 2" } << int(State::Aborted) << off;
        QTest::newRow("arcs counted: ramp down")
            << QByteArray(R"({ "rampDownSpeed": 600,
                               "arcs": { "count": 2, "minutes": 1, "action": "rampDown" } })")
            << QByteArrayList { "arc 0", "arc 3" } << int(State::Aborted) << rampDown;
        QTest::newRow("safety loop: off")
            << QByteArray(R"({ "safetyLoop": "off" })") << QByteArrayList { "interlock open" }
            << int(State::Aborted) << off;
        QTest::newRow("current limit: hold")
            << QByteArray(R"({ "current": { "above": 0.001, "action": "hold" } })")
            << QByteArrayList { "load 0 1e5" } << int(State::Paused)
            << QStringList { "^:VOLT 300,\\(@1\\);" };
        // Regression: "ignore" let the sequence go on with a channel off, and switch it on again.
        QTest::newRow("inhibit not watched: the channel found off still ends it")
            << QByteArray(R"({ "rampDownSpeed": 600, "inhibit": "ignore" })")
            << QByteArrayList { "inhibit 3 on" } << int(State::Aborted) << rampDown;
        QTest::newRow("trip not watched: the channel found off still ends it")
            << QByteArray(R"({ "abort": "off", "trip": "ignore" })") << QByteArrayList { "trip 1" }
            << int(State::Aborted) << off;
        // A trip (hold) and its channel found off (abort: off) in one answer: the strongest wins.
        QTest::newRow("two conditions in one answer: off wins over hold")
            << QByteArray(R"({ "abort": "off", "trip": "hold" })") << QByteArrayList { "trip 2" }
            << int(State::Aborted) << off;
        // Arcs seconds apart count within a window of minutes.
        QTest::newRow("arcs apart within the minutes: ramp down")
            << QByteArray(R"({ "rampDownSpeed": 600,
                               "arcs": { "count": 2, "minutes": 0.1, "action": "rampDown" } })")
            << QByteArrayList { "arc 0", "wait 1500", "arc 3" } << int(State::Aborted) << rampDown;
    }
    void safetyAction()
    {
        QFETCH(QByteArray, safety);
        QFETCH(QByteArrayList, commands);
        QFETCH(int, state);
        QFETCH(QStringList, wire);
        QVERIFY(rig->start({ QStringLiteral("--load"), QStringLiteral("all=1e6") }));
        const QByteArray steps = R"([ { "voltage": 300, "rampSpeed": 3000, "hold": 60 } ])";
        QVERIFY(rig->runner.start(sequenceFrom(sequenceJson(steps, safety))));
        QVERIFY(rig->waitPhase(0, Phase::Holding));
        const int start = rig->trace().size();
        bool onWhenAborted = false;
        QObject row;
        connect(&rig->runner, &SequenceRunner::stateChanged, &row, [&](State now) {
            const Module &m = rig->session.link()->module();
            for (int c = 0; now == State::Aborted && c < m.channelCount(); ++c)
                onWhenAborted = onWhenAborted || (m.channel(c).status() & (1u << 3));
        });
        for (const QByteArray &command : commands) {
            if (command.startsWith("wait "))
                QTest::qWait(command.mid(5).toInt());
            else
                QCOMPARE(rig->command(command), QByteArray("ok"));
        }
        QVERIFY(rig->waitState(State(state)));
        // "Aborted" only once the module reports the channels off.
        QVERIFY(!onWhenAborted);
        // Nothing switched on again after the condition.
        QVERIFY(!rig->trace().mid(start).join('\n').contains(QLatin1String(":VOLT ON")));
        QVERIFY2(rig->waitWire(wire, start) > 0, qPrintable(rig->trace().mid(start).join('\n')));
        QVERIFY(std::any_of(rig->journal.entries.begin(), rig->journal.entries.end(),
            [](const QString &e) { return e.startsWith(QLatin1String("alarm: ")); }));
    }

    void linkLossRampsDownOnceTheModuleAnswers()
    {
        rig->session.setReconnectPolicy({ true, 200, 1000 });
        QVERIFY(rig->start());
        const QByteArray steps = R"([ { "voltage": 300, "rampSpeed": 3000, "hold": 60 } ])";
        QVERIFY(rig->runner.start(sequenceFrom(
            sequenceJson(steps, R"({ "rampDownSpeed": 600, "linkLost": "rampDown" })"))));
        QVERIFY(rig->waitPhase(0, Phase::Holding));
        QTest::ignoreMessage(
            QtDebugMsg, QRegularExpression(QStringLiteral("^Connection lost due to timeout")));
        QCOMPARE(rig->command("stop"), QByteArray("ok"));
        QVERIFY(spinUntil([&] { return rig->runner.waitingForModule(); }, 10000));
        QCOMPARE(rig->runner.state(), State::Stopping);
        QVERIFY(rig->journal.entries.last().startsWith(
            QLatin1String("alarm: Link lost at step 1 of 1 (holding) (timeout while requesting ")));
        const int start = rig->trace().size();
        QCOMPARE(rig->command("resume"), QByteArray("ok"));
        QVERIFY(rig->waitState(State::Aborted));
        QVERIFY(rig->waitWire({ "^\\*IDN\\?", "^:CONF:RAMP:VOLT 10;", "^:VOLT 0,\\(@0-3\\);",
                                  "^:VOLT OFF,\\(@0-3\\);" },
                    start)
            > 0);
    }

    // Regression: an off from elsewhere while a step was held was undone at the next step, and
    // a resume switched the channel on again.
    void offFromElsewhereEndsTheSequence_data()
    {
        QTest::addColumn<int>("source");
        QTest::addColumn<QByteArray>("abort");
        QTest::addColumn<int>("state");
        QTest::newRow("broker, ramp down")
            << int(CommandSource::Remote) << QByteArray("rampDown") << int(State::Aborted);
        QTest::newRow("operator, hold")
            << int(CommandSource::Operator) << QByteArray("hold") << int(State::Paused);
    }
    void offFromElsewhereEndsTheSequence()
    {
        QFETCH(int, source);
        QFETCH(QByteArray, abort);
        QFETCH(int, state);
        QVERIFY(rig->start());
        const QByteArray steps = R"([ { "voltage": 300, "rampSpeed": 3000, "hold": 1 },
                                      { "voltage": 400, "rampSpeed": 3000, "hold": 60 } ])";
        QCOMPARE(rig->controller.startSequence(
                     sequenceFrom(sequenceJson(steps, R"({ "abort": ")" + abort + R"(" })")),
                     CommandSource::Operator),
            QString());
        QVERIFY(rig->waitPhase(0, Phase::Holding));
        const int start = rig->trace().size();
        QCOMPARE(rig->controller.command(
                     { ChannelCommand::Kind::On, 1, 0.0f, false }, CommandSource(source)),
            QString());
        QVERIFY(rig->waitState(State(state)));
        if (state == int(State::Paused)) {
            QVERIFY(spinUntil([&] { return !rig->runner.channelsOff().isEmpty(); }, 5000));
            QVERIFY(rig->controller.resumeSequence(CommandSource::Operator)
                        .contains(QLatin1String("channels 1 are off")));
        }
        QTest::qWait(1500); // past the first step's hold
        const QString wire = rig->trace().mid(start).join('\n');
        QVERIFY2(
            !wire.contains(QLatin1String(":VOLT ON")) && !wire.contains(QLatin1String(":VOLT 400")),
            qPrintable(wire.left(2000)));
        QVERIFY(rig->controller.isHeldOff(1));
    }

    // Regression: pause and resume from the broker passed no limit, their commands piled up and
    // an off was then refused as "busy".
    void aFloodOfSequenceCommandsHoldsNoOffBack()
    {
        QVERIFY(rig->start());
        QCOMPARE(rig->controller.startSequence(
                     sequenceFrom(
                         sequenceJson(R"([ { "voltage": 300, "rampSpeed": 3000, "hold": 60 } ])")),
                     CommandSource::Operator),
            QString());
        QVERIFY(rig->waitPhase(0, Phase::Holding));
        int refused = 0;
        for (int i = 0; i < 60; ++i) {
            refused += !rig->controller.pauseSequence(CommandSource::Remote).isEmpty();
            refused += !rig->controller.resumeSequence(CommandSource::Remote).isEmpty();
        }
        QVERIFY(refused >= 100);
        QVERIFY(rig->session.link()->queuedCommandCount() <= 2 * CommandGate::MaxQueued);
        const int start = rig->trace().size();
        QCOMPARE(rig->controller.command(
                     { ChannelCommand::Kind::On, 4, 0.0f, false }, CommandSource::Remote),
            QString());
        const int end = rig->waitWire({ "^:VOLT OFF,\\(@0-3\\);" }, start);
        QVERIFY(end > 0 && end <= start + 2);
    }

    // Regression: a tripped channel was switched on by the next start.
    void aTripBlocksTheStart()
    {
        QVERIFY(rig->start());
        const Sequence sequence = sequenceFrom(sequenceJson(
            R"([ { "voltage": 300, "rampSpeed": 3000, "hold": 60 } ])", R"({ "trip": "ignore" })"));
        QCOMPARE(rig->controller.startSequence(sequence, CommandSource::Operator), QString());
        QVERIFY(rig->waitPhase(0, Phase::Holding));
        QCOMPARE(rig->command("trip 1"), QByteArray("ok"));
        QVERIFY(rig->waitState(State::Aborted));
        const int start = rig->trace().size();
        QCOMPARE(rig->controller.startSequence(sequence, CommandSource::Operator),
            QStringLiteral("channel 1 can not come on: trip"));
        QTest::qWait(200);
        QVERIFY(!rig->trace().mid(start).join('\n').contains(QLatin1String(":VOLT ON")));
    }

    void pauseResumeAndSkip()
    {
        QVERIFY(rig->start());
        // 60 V/s (1 %/s): the ramp to 600 V takes 10 s.
        const QByteArray steps = R"([ { "voltage": 600, "rampSpeed": 60, "hold": 60 },
                                      { "voltage": 100, "rampSpeed": 3000, "hold": 0 } ])";
        QVERIFY(rig->runner.start(sequenceFrom(sequenceJson(steps))));
        QVERIFY(spinUntil(
            [&] { return rig->session.link()->module().channel(0).voltageMeasure() > 60; }, 10000));
        const int start = rig->trace().size();
        rig->runner.pause();
        QCOMPARE(rig->runner.state(), State::Paused);
        // Held where the ramp was, channel by channel.
        const int held
            = rig->waitWire({ "^:VOLT [0-9.]+,\\(@0\\);", "^:VOLT [0-9.]+,\\(@3\\);" }, start);
        QVERIFY(held > 0);
        QVERIFY(spinUntil(
            [&] { return rig->session.link()->module().channel(0).voltageSet() < 600; }, 5000));
        QVERIFY(rig->runner.resume());
        QVERIFY(rig->waitWire({ "^:VOLT 600,\\(@0-3\\);" }, held) > 0);
        QCOMPARE(rig->runner.state(), State::Running);
        rig->runner.skipStep();
        QCOMPARE(rig->runner.stepIndex(), 1);
        QVERIFY(rig->waitState(State::Finished));
        QVERIFY(rig->journal.entries.join('\n').contains(QLatin1String("Step 1 of 2 skipped")));
    }

    // The operator's own abort ramps down and ends the sequence without an alarm: the alarm
    // count stays for what the module and the safety rules did.
    void operatorsAbortIsNoAlarm()
    {
        QVERIFY(rig->start());
        QVERIFY(rig->runner.start(sequenceFrom(
            sequenceJson(R"([ { "voltage": 300, "rampSpeed": 3000, "hold": 60 } ])",
                R"({ "abort": "rampDown" })"))));
        QVERIFY(rig->waitPhase(0, Phase::Holding));
        rig->runner.abort();
        QVERIFY(rig->waitState(State::Aborted));
        const QString entries = rig->journal.entries.join('\n');
        QVERIFY2(entries.contains(QLatin1String("info: Aborted by the operator"))
                && !entries.contains(QLatin1String("alarm: ")),
            qPrintable(entries));
    }

    /// One allowed range per channel (Channel::allowedVoltage(), allowedCurrent()), the same
    /// as the panel's prompts and the bridge's commands.
    void refusedStart_data()
    {
        QTest::addColumn<QStringList>("options"); // of the simulator
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<QByteArray>("command");
        QTest::addColumn<QString>("error");
        const auto row = [](const char *name, const QStringList &options, const QByteArray &json,
                             const char *command, const char *error) {
            QTest::newRow(name) << options << json << QByteArray(command) << QString(error);
        };
        const QStringList bipolar { QStringLiteral("--preset"), QStringLiteral("DRSB") };
        const QStringList negative { QStringLiteral("--preset"), QStringLiteral("TX01B0") };
        const QByteArray oneStep = R"([ { "voltage": 100 } ])";
        row("missing channel", {},
            R"({ "version": 1, "channels": [7], "steps": [ { "voltage": 1 } ] })", "",
            "channel 7 is not there: the module has 4 channels");
        row("beyond nominal", {}, sequenceJson(R"([ { "voltage": 100 }, { "voltage": 7000 } ])"),
            "", "step 2: 7000 V is outside 0 ... 6000 V of channel 0");
        row("inhibit", {}, sequenceJson(oneStep), "inhibit 2 on",
            "channel 2 can not come on: external inhibit");
        // Before, each of the following started: the check compared |volts| with a nominal that
        // could be infinite, and never a step's current.
        row("infinite nominal",
            { QStringLiteral("--nominal-voltage-answer"), QStringLiteral("inf") },
            sequenceJson(oneStep), "",
            "nominal voltage of channel 0 is \"inf\": no set value is taken for it");
        row("negative step, unipolar", {}, sequenceJson(R"([ { "voltage": -100 } ])"), "",
            "step 1: -100 V is outside 0 ... 6000 V of channel 0");
        row("negative step beyond nominal, bipolar", bipolar,
            sequenceJson(R"([ { "voltage": -1000 }, { "percent": -50 }, { "voltage": -4500 } ])"),
            "", "step 3: -4500 V is outside -4000 ... 4000 V of channel 0");
        row("negative step beyond nominal, negative channel", negative,
            sequenceJson(R"([ { "voltage": -3000 }, { "voltage": -3000.5 } ])"), "",
            "step 2: -3000.5 V is outside -3000 ... 3000 V of channel 0");
        row("current above nominal", {},
            sequenceJson(R"([ { "voltage": 100, "current": 0.004 },)"
                         R"( { "voltage": 100, "current": 0.0045 } ])"),
            "", "step 2: 0.0045 A is outside 0 ... 0.004 A of channel 0");
    }
    void refusedStart()
    {
        QFETCH(QStringList, options);
        QFETCH(QByteArray, json);
        QFETCH(QByteArray, command);
        QFETCH(QString, error);
        QVERIFY(rig->start(options));
        const int start = rig->trace().size();
        if (!command.isEmpty()) {
            QCOMPARE(rig->command(command), QByteArray("ok"));
            QVERIFY(rig->waitWire({ "^:READ:CHAN:STAT\\?" }, start) > 0);
            QVERIFY(rig->waitWire({ "^:READ:CHAN:STAT\\?" }, rig->trace().size()) > 0);
        }
        const Module &module = rig->session.link()->module();
        QVERIFY(spinUntil(
            [&] {
                return module.channel(0).voltageNominal() != 0.0f
                    && module.channel(0).currentNominal() != 0.0f;
            },
            Patience));
        QString message;
        QVERIFY(!rig->runner.start(sequenceFrom(json), &message));
        QCOMPARE(message, error);
        QCOMPARE(rig->runner.state(), State::Idle);
        QVERIFY(rig->journal.entries.isEmpty());
    }
};

QTEST_GUILESS_MAIN(tst_SequenceRunner)
#include "tst_sequencerunner.moc"
