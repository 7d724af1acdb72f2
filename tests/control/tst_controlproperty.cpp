// The rules of a module's controller checked on the simulator's wire over random interleavings
// of operator commands (panel and broker), sequence run/pause/resume/abort, trips, arcs, the
// safety loop, the inhibit input and link losses. After each step the new request lines must
// show: no "on" and no rising set value for a channel that someone or something else switched
// off, until an operator switched it on; every off the first or second line after it was given;
// never a set value outside the channel's range.
//
// Seeded and reproducible: VORN_PROPERTY_RUNS sets the number of interleavings (default 150, 50 under the sanitizers),
// VORN_PROPERTY_SEED the first seed (default 1); a failure names its seed and the steps.
#include "sequencerig.h"

#include "czelkchannelstatusbits.h"

#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTest>

#include <map>

namespace {

using Kind = ChannelCommand::Kind;
using State = SequenceRunner::State;
constexpr int Channels = 4;
constexpr double Nominal = 6000.0;
#ifdef __SANITIZE_ADDRESS__
// The sanitizers slow the program and the simulator down several times.
constexpr int DefaultRuns = 50;
#else
constexpr int DefaultRuns = 150;
#endif

/// One line of the wire that commands a channel voltage: what and for which channels.
struct WireCommand
{
    QString what; // "ON", "OFF", "EMCY OFF", "EMCY CLR" or a number
    int first = 0;
    int last = 0;
};

bool parseWire(const QString &line, WireCommand *command)
{
    static const QRegularExpression re(
        QStringLiteral("^:VOLT (ON|OFF|EMCY OFF|EMCY CLR|[-+0-9.eE]+),\\(@(\\d+)(?:-(\\d+))?\\)"));
    const QRegularExpressionMatch m = re.match(line);
    if (!m.hasMatch())
        return false;
    command->what = m.captured(1);
    command->first = m.captured(2).toInt();
    command->last = m.captured(3).isEmpty() ? command->first : m.captured(3).toInt();
    return true;
}

/// What the test knows of one channel, from what it did and from the wire.
struct ChannelModel
{
    bool heldOff = false;
    double lastSet = 0.0;
    /// Set values the operator asked for and the wire has not shown yet.
    QList<double> operatorSets;
};

/// A change of the model that takes effect from trace line \a at on.
struct ModelEvent
{
    int at = 0;
    enum { HoldOff, Release, OperatorSet } type = HoldOff;
    int channel = 0;
    double value = 0.0;
};

} // namespace

class tst_ControlProperty : public QObject
{
    Q_OBJECT

    std::unique_ptr<SequenceRig> rig;
    QRandomGenerator random;
    std::array<ChannelModel, Channels> model;
    QList<ModelEvent> events;
    int checked = 0;
    QStringList steps;
    /// Offs given, with the trace line count at that moment.
    QList<QPair<int, QString>> offs;

    QFile traceFile;
    QByteArray partial;
    QStringList lines;

    /// The trace read so far (the simulator appends every request line it receives).
    int traceSize()
    {
        if (!traceFile.isOpen()) {
            traceFile.setFileName(rig->tracePath());
            if (!traceFile.open(QIODevice::ReadOnly))
                return 0;
        }
        partial += traceFile.readAll();
        int start = 0;
        for (int end = partial.indexOf('\n'); end >= 0; end = partial.indexOf('\n', start)) {
            lines << QString::fromLatin1(partial.mid(start, end - start));
            start = end + 1;
        }
        partial.remove(0, start);
        return int(lines.size());
    }
    void note(int at, decltype(ModelEvent::type) type, int first, int last, double value = 0)
    {
        for (int c = first; c <= last; ++c)
            events.append({ at, type, c, value });
    }

    QString operatorCommand(const ChannelCommand &c, CommandSource source)
    {
        const int at = traceSize();
        const int first = c.channel == Channels ? 0 : c.channel;
        const int last = c.channel == Channels ? Channels - 1 : c.channel;
        const bool online = rig->session.isOnline();
        const QString why = rig->controller.command(c, source);
        if (c.isOff()) {
            note(at, ModelEvent::HoldOff, first, last);
            if (online && why.isEmpty())
                offs.append({ at, c.kind == Kind::On ? QStringLiteral("OFF") : "EMCY OFF" });
        } else if (why.isEmpty() && c.kind == Kind::On && c.flag) {
            note(at, ModelEvent::Release, first, last);
        } else if (why.isEmpty() && c.kind == Kind::Voltage) {
            note(at, ModelEvent::OperatorSet, first, last, c.value);
        }
        return why;
    }

    /// The channels the module shows off after an injected condition are held off from the
    /// moment the controller sees it.
    void holdOffWhatWentOff()
    {
        spinUntil([] { return false; }, 30);
        const SCPI_Parser *engine = rig->session.link();
        if (!engine)
            return;
        const int at = traceSize();
        for (int c = 0; c < Channels; ++c)
            if (!(engine->module().channel(c).status() & CZelkChannelStatusBits::On))
                note(at, ModelEvent::HoldOff, c, c);
    }

    Sequence randomSequence()
    {
        static const char *const actions[] = { "hold", "rampDown", "off" };
        static const char *const rules[] = { "hold", "rampDown", "off", "ignore" };
        QByteArray steps = "[";
        const int count = 2 + random.bounded(3);
        for (int i = 0; i < count; ++i) {
            steps += QByteArray(i ? "," : "")
                + "{ \"voltage\": " + QByteArray::number(50 * (1 + random.bounded(8)))
                + ", \"rampSpeed\": 3000, \"hold\": " + QByteArray::number(0.1 * random.bounded(4))
                + " }";
        }
        steps += "]";
        const QByteArray json = "{ \"version\": 1, \"name\": \"p\", \"channels\": "
            + QByteArray(random.bounded(2) ? "\"all\"" : "[1, 2]") + ", \"steps\": " + steps
            + ", \"safety\": { \"rampDownSpeed\": 3000, \"abort\": \"" + actions[random.bounded(3)]
            + "\", \"trip\": \"" + rules[random.bounded(4)] + "\", \"inhibit\": \""
            + rules[random.bounded(4)] + "\", \"arcError\": \"" + rules[random.bounded(4)]
            + "\" } }";
        return sequenceFrom(json);
    }

    void step()
    {
        const int channel = random.bounded(Channels + 1); // Channels: all
        const CommandSource source
            = random.bounded(2) ? CommandSource::Operator : CommandSource::Remote;
        // Weights per action, in the order of the branches below; while a sequence runs the
        // conditions and the operator's interventions come more often.
        static const int idle[] = { 8, 4, 8, 8, 8, 30, 1, 1, 1, 6, 3, 4, 4, 8, 3, 3 };
        static const int running[] = { 12, 5, 2, 4, 4, 2, 10, 14, 4, 10, 4, 4, 5, 2, 3, 15 };
        const int *weights = rig->runner.isActive() ? running : idle;
        int pick = random.bounded(100);
        int action = 0;
        while (action < 15 && pick >= weights[action])
            pick -= weights[action++];
        QString did;
        if (action == 0) {
            did = QStringLiteral("off %1").arg(channel);
            operatorCommand({ Kind::On, channel, 0.0f, false }, source);
        } else if (action == 1) {
            did = QStringLiteral("emergency off %1").arg(channel);
            operatorCommand({ Kind::EmergencyOff, channel, 0.0f, true }, source);
        } else if (action == 2) {
            did = QStringLiteral("emergency clear %1").arg(channel);
            operatorCommand({ Kind::EmergencyOff, channel, 0.0f, false }, source);
        } else if (action == 3) {
            did = QStringLiteral("on %1").arg(channel);
            operatorCommand({ Kind::On, channel, 0.0f, true }, source);
        } else if (action == 4) {
            const float volts = float(25 * random.bounded(20));
            did = QStringLiteral("set %1 to %2 V").arg(channel).arg(volts);
            operatorCommand({ Kind::Voltage, channel, volts }, source);
        } else if (action == 5) {
            const int at = traceSize();
            const Sequence sequence = randomSequence();
            did = QStringLiteral("run %1").arg(channelListText(sequence.channels));
            if (rig->controller.startSequence(sequence, source).isEmpty()) {
                const QList<int> list = rig->runner.channels();
                for (int c : list)
                    note(at, ModelEvent::Release, c, c);
            }
        } else if (action == 6) {
            did = QStringLiteral("pause");
            rig->controller.pauseSequence(source);
        } else if (action == 7) {
            did = QStringLiteral("resume");
            rig->controller.resumeSequence(source);
        } else if (action == 8) {
            did = QStringLiteral("abort");
            rig->controller.abortSequence(source);
        } else if (action == 9) {
            const int c = random.bounded(Channels);
            did = QStringLiteral("trip %1").arg(c);
            rig->command("trip " + QByteArray::number(c));
            holdOffWhatWentOff();
        } else if (action == 10) {
            const int c = random.bounded(Channels);
            did = QStringLiteral("arcs %1").arg(c);
            for (int i = 0; i < 3; ++i)
                rig->command("arc " + QByteArray::number(c));
            holdOffWhatWentOff();
        } else if (action == 11) {
            const bool open = random.bounded(2);
            did = open ? QStringLiteral("interlock open") : QStringLiteral("interlock close");
            rig->command(open ? "interlock open" : "interlock close");
            holdOffWhatWentOff();
        } else if (action == 12) {
            const int c = random.bounded(Channels);
            const bool on = random.bounded(2);
            did = QStringLiteral("inhibit %1 %2").arg(c).arg(on ? "on" : "off");
            rig->command("inhibit " + QByteArray::number(c) + (on ? " on" : " off"));
            holdOffWhatWentOff();
        } else if (action == 13) {
            did = QStringLiteral("clear events");
            operatorCommand({ Kind::ClearEvents, Channels }, CommandSource::Operator);
        } else if (action == 14) {
            did = QStringLiteral("link lost");
            // Offs still queued go with the link; the controller sends them again on the next.
            traceSize();
            offs.erase(
                std::remove_if(offs.begin(), offs.end(),
                    [&](const QPair<int, QString> &o) { return lines.size() < o.first + 2; }),
                offs.end());
            rig->session.expireWatchdog();
        } else {
            did = QStringLiteral("wait");
            spinUntil([] { return false; }, 60);
        }
        steps << did;
        if (qEnvironmentVariableIsSet("VORN_PROPERTY_VERBOSE"))
            qInfo("step: %s", qPrintable(did));
        spinUntil([] { return false; }, 5 + random.bounded(45));
    }

    /// Checks the trace lines not checked yet; the first broken rule, or an empty text.
    QString check()
    {
        traceSize();
        std::sort(events.begin(), events.end(),
            [](const ModelEvent &a, const ModelEvent &b) { return a.at < b.at; });
        for (; checked < lines.size(); ++checked) {
            while (!events.isEmpty() && events.first().at <= checked) {
                const ModelEvent e = events.takeFirst();
                ChannelModel &m = model[size_t(e.channel)];
                if (e.type == ModelEvent::HoldOff)
                    m.heldOff = true;
                else if (e.type == ModelEvent::Release)
                    m.heldOff = false;
                else
                    m.operatorSets.append(e.value);
            }
            WireCommand w;
            if (!lines.at(checked).startsWith(QLatin1String(":VOLT "))
                || !parseWire(lines.at(checked), &w))
                continue;
            if (qEnvironmentVariableIsSet("VORN_PROPERTY_VERBOSE"))
                qInfo("%d %s held %d%d%d%d", checked, qPrintable(lines.at(checked)),
                    model[0].heldOff, model[1].heldOff, model[2].heldOff, model[3].heldOff);
            for (int c = w.first; c <= w.last && c < Channels; ++c) {
                ChannelModel &m = model[size_t(c)];
                if (w.what == QLatin1String("ON") && m.heldOff)
                    return QStringLiteral("line %1 switches channel %2 on after it was switched "
                                          "off: %3")
                        .arg(checked)
                        .arg(c)
                        .arg(lines.at(checked));
                bool number = false;
                const double v = w.what.toDouble(&number);
                if (!number)
                    continue;
                if (v < 0 || v > Nominal)
                    return QStringLiteral("line %1 sets %2 V outside 0 ... %3 V")
                        .arg(checked)
                        .arg(v)
                        .arg(Nominal);
                const int asked
                    = int(std::find_if(m.operatorSets.begin(), m.operatorSets.end(), [v](double o) {
                          return std::abs(o - v) < 1e-3;
                      }) - m.operatorSets.begin());
                if (asked < m.operatorSets.size())
                    m.operatorSets.remove(asked);
                else if (m.heldOff && v > m.lastSet + 1e-3)
                    return QStringLiteral("line %1 raises channel %2 from %3 V after it was "
                                          "switched off: %4")
                        .arg(checked)
                        .arg(c)
                        .arg(m.lastSet)
                        .arg(lines.at(checked));
                m.lastSet = v;
            }
        }
        // Every off given while online is the first or second line after it.
        for (const auto &[at, what] : std::as_const(offs)) {
            if (lines.size() < at + 2)
                continue; // not sent yet: looked at after the next step
            bool seen = false;
            for (int i = at; i < qMin(int(lines.size()), at + 2) && !seen; ++i)
                seen = lines.at(i).startsWith(QStringLiteral(":VOLT ") + what);
            if (!seen)
                return QStringLiteral("the %1 given at line %2 did not lead: %3")
                    .arg(what)
                    .arg(at)
                    .arg(lines.mid(at, 3).join(QLatin1String(" | ")));
        }
        offs.erase(std::remove_if(offs.begin(), offs.end(),
                       [&](const QPair<int, QString> &o) { return lines.size() >= o.first + 2; }),
            offs.end());
        return QString();
    }

private slots:
    void randomInterleavings()
    {
        const int runs = qEnvironmentVariableIsSet("VORN_PROPERTY_RUNS")
            ? qEnvironmentVariableIntValue("VORN_PROPERTY_RUNS")
            : DefaultRuns;
        const quint32 firstSeed = qEnvironmentVariableIsSet("VORN_PROPERTY_SEED")
            ? quint32(qEnvironmentVariableIntValue("VORN_PROPERTY_SEED"))
            : 1u;
        rig = std::make_unique<SequenceRig>();
        rig->session.setReconnectPolicy({ true, 100, 100 });
        QVERIFY(rig->start({ QStringLiteral("--load"), QStringLiteral("all=1e7") }));
        for (int run = 0; run < runs; ++run) {
            const quint32 seed = firstSeed + quint32(run);
            random.seed(seed);
            steps.clear();
            // A clean start: every channel off and at 0 V, no condition left.
            rig->controller.abortSequence(CommandSource::Operator);
            rig->command("interlock close");
            for (int c = 0; c < Channels; ++c)
                rig->command("inhibit " + QByteArray::number(c) + " off");
            QVERIFY(spinUntil([this] { return rig->session.isOnline(); }, Patience));
            operatorCommand({ Kind::EmergencyOff, Channels, 0.0f, false }, CommandSource::Operator);
            operatorCommand({ Kind::On, Channels, 0.0f, false }, CommandSource::Operator);
            operatorCommand({ Kind::ClearEvents, Channels }, CommandSource::Operator);
            QVERIFY(spinUntil([this] { return !rig->runner.isActive(); }, Patience));
            const int count = 6 + random.bounded(8);
            for (int i = 0; i < count; ++i) {
                step();
                const QString broken = check();
                if (!broken.isEmpty())
                    QFAIL(qPrintable(QStringLiteral("seed %1, after %2: %3")
                                         .arg(seed)
                                         .arg(steps.join(QLatin1String(", ")), broken)));
            }
        }
        qInfo("%d interleavings, seeds %u to %u, %d request lines", runs, firstSeed,
            firstSeed + quint32(runs) - 1, int(lines.size()));
    }
};

QTEST_GUILESS_MAIN(tst_ControlProperty)
#include "tst_controlproperty.moc"
