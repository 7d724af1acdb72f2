#include "sequenceprogress.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>

namespace {

const char *const StateNames[] = { "idle", "running", "paused", "stopping", "finished", "aborted" };
const char *const PhaseNames[] = { "", "ramping", "holding", "ramping down", "switching off" };

double seconds(qint64 ms)
{
    return std::round(double(ms) / 100.0) / 10.0;
}

qint64 milliseconds(double seconds)
{
    return qint64(std::llround(seconds * 1000.0));
}

/// The index of \a name in \a names, or -1.
template <size_t N> int indexOf(const char *const (&names)[N], const QString &name)
{
    for (size_t i = 0; i < N; ++i) {
        if (name == QLatin1String(names[i]))
            return int(i);
    }
    return -1;
}

} // namespace

QString sequenceStateName(SequenceRunner::State state)
{
    return QString::fromLatin1(StateNames[int(state)]);
}

QString sequencePhaseName(SequenceRunner::Phase phase)
{
    return QString::fromLatin1(PhaseNames[int(phase)]);
}

bool SequenceProgress::isActive() const
{
    return state == SequenceRunner::State::Running || state == SequenceRunner::State::Paused
        || state == SequenceRunner::State::Stopping;
}

QString SequenceProgress::runningText() const
{
    return QStringLiteral("sequence \"%1\" is running (step %2 of %3); abort it first")
        .arg(file)
        .arg(step + 1)
        .arg(steps);
}

QByteArray SequenceProgress::toJson() const
{
    QJsonArray list;
    for (int c : channels)
        list.append(c);
    const bool started = state != SequenceRunner::State::Idle;
    QJsonObject o {
        { QStringLiteral("state"), sequenceStateName(state) },
        { QStringLiteral("file"), file },
        { QStringLiteral("name"), name },
        { QStringLiteral("step"), started ? step + 1 : 0 },
        { QStringLiteral("steps"), steps },
        { QStringLiteral("phase"), sequencePhaseName(phase) },
        { QStringLiteral("elapsed"), seconds(elapsedMs) },
        { QStringLiteral("remaining"),
            remainingMs >= 0 ? QJsonValue(seconds(remainingMs)) : QJsonValue() },
        { QStringLiteral("channels"), list },
        { QStringLiteral("waiting"), waiting },
        { QStringLiteral("reason"), reason },
    };
    return QJsonDocument(o).toJson(QJsonDocument::Compact);
}

bool SequenceProgress::fromJson(QByteArrayView json, SequenceProgress *progress)
{
    const QJsonDocument document = QJsonDocument::fromJson(json.toByteArray());
    if (!document.isObject())
        return false;
    const QJsonObject o = document.object();
    const int state = indexOf(StateNames, o.value(QLatin1String("state")).toString());
    const int phase = indexOf(PhaseNames, o.value(QLatin1String("phase")).toString());
    if (state < 0 || phase < 0)
        return false;
    SequenceProgress p;
    p.state = SequenceRunner::State(state);
    p.phase = SequenceRunner::Phase(phase);
    const int step = o.value(QLatin1String("step")).toInt();
    p.step = p.state != SequenceRunner::State::Idle ? qMax(0, step - 1) : 0;
    p.steps = o.value(QLatin1String("steps")).toInt();
    p.file = o.value(QLatin1String("file")).toString();
    p.name = o.value(QLatin1String("name")).toString();
    p.elapsedMs = milliseconds(o.value(QLatin1String("elapsed")).toDouble());
    const QJsonValue remaining = o.value(QLatin1String("remaining"));
    p.remainingMs = remaining.isDouble() ? milliseconds(remaining.toDouble()) : -1;
    for (const QJsonValue &c : o.value(QLatin1String("channels")).toArray())
        p.channels.append(c.toInt());
    p.waiting = o.value(QLatin1String("waiting")).toBool();
    p.reason = o.value(QLatin1String("reason")).toString();
    *progress = p;
    return true;
}

bool SequenceProgress::operator==(const SequenceProgress &o) const
{
    return state == o.state && phase == o.phase && step == o.step && steps == o.steps
        && file == o.file && name == o.name && elapsedMs == o.elapsedMs
        && remainingMs == o.remainingMs && channels == o.channels && waiting == o.waiting
        && reason == o.reason;
}
