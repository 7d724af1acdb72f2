#include "model/controlcommand.h"

#include "model/simmodule.h"
#include "simlog.h"

#include <cmath>

namespace vornsim {

namespace {

using Words = QList<QByteArray>;

/// A handler gets the channels of a per-channel command and the words after the command name
/// (and after its channel word) and returns an empty text when it did its work, or what was
/// wrong.
using Handler = QString (*)(SimModule &, const QList<int> &channels, const Words &);

struct Command
{
    const char *name;
    const char *arguments; ///< a per-channel command's arguments start with "CH"
    const char *meaning;
    int minimum;
    int maximum;
    Handler run;
};

bool finiteNumber(const QByteArray &word, double *value)
{
    bool ok = false;
    *value = word.toDouble(&ok);
    return ok && std::isfinite(*value);
}

QString notANumber(const QByteArray &word)
{
    return QStringLiteral("not a number: %1").arg(QString::fromLatin1(word));
}

/// Empty when the command acted on a channel, else why not: \a one for a single channel (its
/// number as %1), \a many for several.
QString actedOnAny(int acted, const QList<int> &channels, const QString &one, const QString &many)
{
    if (acted > 0)
        return {};
    return channels.size() == 1 ? one.arg(channels.first()) : many;
}

QString trip(SimModule &m, const QList<int> &channels, const Words &)
{
    int trips = 0;
    for (int i : channels)
        trips += int(m.trip(i));
    return actedOnAny(trips, channels, QStringLiteral("channel %1 is not on, no trip"),
        QStringLiteral("no channel is on, no trip"));
}

QString arc(SimModule &m, const QList<int> &channels, const Words &)
{
    int arcs = 0;
    for (int i : channels)
        arcs += int(m.arc(i));
    return actedOnAny(arcs, channels, QStringLiteral("no output voltage on channel %1, no arc"),
        QStringLiteral("no output voltage on any channel, no arc"));
}

QString load(SimModule &m, const QList<int> &channels, const Words &w)
{
    double ohms = 0.0;
    double leakage = 0.0;
    QString error;
    const bool off = w.size() == 1 && w.at(0).toLower() == "off";
    if (!off && !parseLoadValues(w.at(0), w.value(1), &ohms, &leakage, &error))
        return error;
    for (int i : channels)
        m.setLoad(i, ohms, leakage);
    return {};
}

QString interlock(SimModule &m, const QList<int> &, const Words &w)
{
    const QByteArray state = w.at(0).toLower();
    if (state != "open" && state != "close")
        return QStringLiteral("say open or close");
    m.setSafetyLoop(state == "close");
    return {};
}

QString temperature(SimModule &m, const QList<int> &, const Words &w)
{
    double celsius = 0.0;
    if (!finiteNumber(w.at(0), &celsius))
        return notANumber(w.at(0));
    m.setTemperature(celsius);
    return {};
}

QString supply(SimModule &m, const QList<int> &, const Words &w)
{
    static const QList<QByteArray> names { "p24", "p5", "p12", "n12" };
    const int which = int(names.indexOf(w.at(0).toLower()));
    if (which < 0)
        return QStringLiteral("no supply %1 (P24, P5, P12 or N12)")
            .arg(QString::fromLatin1(w.at(0)));
    double volts = 0.0;
    if (!finiteNumber(w.at(1), &volts))
        return notANumber(w.at(1));
    m.setSupply(SimModule::Supply(which), volts);
    return {};
}

QString inhibit(SimModule &m, const QList<int> &channels, const Words &w)
{
    const QByteArray state = w.at(0).toLower();
    if (state != "on" && state != "off")
        return QStringLiteral("say on or off");
    for (int i : channels)
        m.setInhibit(i, state == "on");
    return {};
}

QString stop(SimModule &m, const QList<int> &, const Words &)
{
    m.setAnswering(false);
    return {};
}

QString resume(SimModule &m, const QList<int> &, const Words &)
{
    m.setAnswering(true);
    return {};
}

const Command commands[] = {
    { "trip", "CH",
        "trip the channel as an over-current with kill enabled does (it needs to be on)", 1, 1,
        trip },
    { "arc", "CH", "one arc on the channel (it needs output voltage)", 1, 1, arc },
    { "load", "CH OHMS [LEAK_A_PER_V]", "a load on the channel; OHMS \"off\" for none", 2, 3,
        load },
    { "interlock", "open|close", "open or close the safety loop", 1, 1, interlock },
    { "temperature", "C", "the module's temperature in degrees Celsius", 1, 1, temperature },
    { "supply", "P24|P5|P12|N12 VOLTS", "the voltage of an internal supply", 2, 2, supply },
    { "inhibit", "CH on|off", "set or release the channel's external inhibit", 2, 2, inhibit },
    { "stop", "", "stop answering on the module's interface", 0, 0, stop },
    { "resume", "", "answer again", 0, 0, resume },
};

} // namespace

bool parseChannelWord(
    const QByteArray &word, int channelCount, QList<int> *channels, QString *error)
{
    channels->clear();
    if (word.toLower() == "all") {
        for (int i = 0; i < channelCount; ++i)
            *channels << i;
        return true;
    }
    bool ok = false;
    const uint index = word.toUInt(&ok);
    if (!ok || index >= uint(channelCount)) {
        *error = QStringLiteral("no channel %1 (0 to %2 or all)")
                     .arg(QString::fromLatin1(word))
                     .arg(channelCount - 1);
        return false;
    }
    *channels << int(index);
    return true;
}

bool parseLoadValues(const QByteArray &ohms, const QByteArray &leakage, double *ohmsValue,
    double *leakageValue, QString *error)
{
    if (!finiteNumber(ohms, ohmsValue) || *ohmsValue <= 0.0) {
        *error = QStringLiteral("the load needs a resistance above 0 ohms, not %1")
                     .arg(QString::fromLatin1(ohms));
        return false;
    }
    *leakageValue = 0.0;
    if (!leakage.isEmpty() && (!finiteNumber(leakage, leakageValue) || *leakageValue < 0.0)) {
        *error = QStringLiteral("the leakage needs 0 or more A per V, not %1")
                     .arg(QString::fromLatin1(leakage));
        return false;
    }
    return true;
}

QString controlCommandHelp()
{
    QStringList lines;
    for (const Command &c : commands) {
        const QString call = QStringLiteral("%1 %2")
                                 .arg(QString::fromLatin1(c.name), QString::fromLatin1(c.arguments))
                                 .trimmed();
        lines << QStringLiteral("  %1  %2").arg(call, -28).arg(QString::fromLatin1(c.meaning));
    }
    return lines.join(QLatin1Char('\n'));
}

QByteArray runControlCommand(SimModule &module, const QByteArray &line)
{
    const Words words = line.simplified().split(' ');
    const QByteArray name = words.first().toLower();
    const Words arguments = words.mid(1);
    QString error;
    const Command *found = nullptr;
    for (const Command &c : commands) {
        if (name == c.name)
            found = &c;
    }
    if (name.isEmpty()) {
        error = QStringLiteral("empty line; one command a line");
    } else if (!found) {
        QStringList names;
        for (const Command &c : commands)
            names << QString::fromLatin1(c.name);
        error = QStringLiteral("unknown command \"%1\" (known: %2)")
                    .arg(QString::fromLatin1(name.left(40)), names.join(QStringLiteral(", ")));
    } else if (arguments.size() < found->minimum || arguments.size() > found->maximum) {
        error = QStringLiteral("usage: %1 %2")
                    .arg(QString::fromLatin1(found->name), QString::fromLatin1(found->arguments))
                    .trimmed();
    } else {
        QList<int> channels;
        const bool perChannel = QByteArray(found->arguments).startsWith("CH");
        if (!perChannel
            || parseChannelWord(arguments.first(), module.channelCount(), &channels, &error)) {
            // Conditions act at the model time of now, after what happened since the last line.
            module.syncClock();
            error = found->run(module, channels, arguments.mid(perChannel ? 1 : 0));
        }
    }
    qCDebug(lcSim) << "control:" << line << (error.isEmpty() ? QStringLiteral("ok") : error);
    return error.isEmpty() ? QByteArrayLiteral("ok") : "error: " + error.toUtf8();
}

QByteArray runControlCommand(const std::vector<SimModule *> &modules, const QByteArray &line)
{
    const QByteArray text = line.trimmed();
    if (!text.startsWith('@'))
        return modules.empty() ? QByteArrayLiteral("error: no module")
                               : runControlCommand(*modules.front(), text);
    const qsizetype space = text.indexOf(' ');
    const QByteArray number = text.mid(1, space < 0 ? -1 : space - 1);
    bool ok = false;
    const uint index = number.toUInt(&ok);
    if (!ok || index >= modules.size())
        return "error: no module " + number.left(20) + " (@0 to @"
            + QByteArray::number(qulonglong(modules.size()) - 1) + ")";
    return runControlCommand(*modules[index], space < 0 ? QByteArray() : text.mid(space + 1));
}

} // namespace vornsim
