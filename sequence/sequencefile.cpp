#include "sequencefile.h"

#include <QCoreApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

#include <cmath>
#include <limits>

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("SequenceFile", text);
}

constexpr double Unbounded = std::numeric_limits<double>::max();

/// Walks the JSON and keeps the first thing that is wrong, as "<key path>: <reason>".
class Reader
{
    Q_DECLARE_TR_FUNCTIONS(SequenceFile)

public:
    QString error;

    bool fail(const QString &path, const QString &reason)
    {
        if (error.isEmpty())
            error = path.isEmpty() ? reason : QStringLiteral("%1: %2").arg(path, reason);
        return false;
    }

    /// Refuses keys outside \a known, so that a mistyped key does not go unnoticed.
    bool onlyKnown(const QJsonObject &object, const QString &path, const QStringList &known)
    {
        for (auto it = object.begin(); it != object.end(); ++it)
            if (!known.contains(it.key()))
                return fail(join(path, it.key()), tr("unknown key"));
        return true;
    }

    /// A number in [min, max]; an absent key keeps \a out.
    bool number(const QJsonObject &object, const QString &path, const QString &key, double *out,
        double min, double max = Unbounded)
    {
        if (!object.contains(key))
            return true;
        const QJsonValue value = object.value(key);
        const QString where = join(path, key);
        if (!value.isDouble() || !std::isfinite(value.toDouble()))
            return fail(where, tr("must be a number"));
        const double v = value.toDouble();
        if (v < min || v > max)
            return fail(where,
                max == Unbounded ? tr("must be at least %L1").arg(min)
                                 : tr("must lie between %L1 and %L2").arg(min).arg(max));
        *out = v;
        return true;
    }

    bool boolean(const QJsonObject &object, const QString &path, const QString &key, bool *out)
    {
        if (!object.contains(key))
            return true;
        if (!object.value(key).isBool())
            return fail(join(path, key), tr("must be true or false"));
        *out = object.value(key).toBool();
        return true;
    }

    bool text(const QJsonObject &object, const QString &key, QString *out)
    {
        if (!object.contains(key))
            return true;
        if (!object.value(key).isString())
            return fail(key, tr("must be a text"));
        *out = object.value(key).toString();
        return true;
    }

    /// An action name; "ignore" switches the rule off (only where \a mayIgnore; \a abort: the
    /// abort action, which is no rule).
    bool action(const QJsonValue &value, const QString &where, SafetyRule *rule, bool mayIgnore,
        bool abort = false)
    {
        const QString name = value.toString();
        for (SafetyAction a : { SafetyAction::Hold, SafetyAction::RampDown, SafetyAction::Off })
            if (value.isString() && name == safetyActionKey(a)) {
                rule->action = a;
                rule->enabled = true;
                return true;
            }
        if (mayIgnore && name == QLatin1String("ignore")) {
            rule->enabled = false;
            return true;
        }
        if (name == QLatin1String("ignore") && !abort)
            return fail(where,
                tr("\"ignore\" is not allowed: unattended work must stop when nobody can steer "
                   "it; use \"hold\", \"rampDown\" or \"off\""));
        return fail(where,
            mayIgnore ? tr("must be \"hold\", \"rampDown\", \"off\" or \"ignore\"")
                      : tr("must be \"hold\", \"rampDown\" or \"off\""));
    }

    /// "all", a channel list as the Sequence window takes it ("0-3, 5"), or an array of
    /// channel numbers.
    bool channels(const QJsonValue &value, QList<int> *out)
    {
        if (value.isUndefined()) {
            out->clear();
            return true;
        }
        if (value.isString()) {
            QString why;
            if (value.toString().trimmed().isEmpty())
                return fail(QStringLiteral("channels"), tr("must not be empty"));
            if (!parseChannelList(value.toString(), out, &why))
                return fail(QStringLiteral("channels"), why);
            return true;
        }
        if (!value.isArray() || value.toArray().isEmpty())
            return fail(QStringLiteral("channels"),
                tr("must be \"all\", a list such as \"0-3, 5\" or an array of channel numbers"));
        QList<int> list;
        const QJsonArray array = value.toArray();
        for (int i = 0; i < array.size(); ++i) {
            const double c = array.at(i).toDouble(-1);
            if (!array.at(i).isDouble() || c != std::floor(c) || c < 0
                || c >= Sequence::MaxChannels)
                return fail(QStringLiteral("channels[%1]").arg(i),
                    tr("must be a channel number from 0 to %1").arg(Sequence::MaxChannels - 1));
            if (list.contains(int(c)))
                return fail(QStringLiteral("channels[%1]").arg(i), tr("channel named twice"));
            list.append(int(c));
        }
        std::sort(list.begin(), list.end());
        *out = list;
        return true;
    }

    bool step(const QJsonValue &value, const QString &path, SequenceStep *step)
    {
        if (!value.isObject())
            return fail(path, tr("must be an object"));
        const QJsonObject o = value.toObject();
        if (!onlyKnown(o, path,
                { QStringLiteral("voltage"), QStringLiteral("percent"), QStringLiteral("rampSpeed"),
                    QStringLiteral("current"), QStringLiteral("hold"),
                    QStringLiteral("untilStable"), QStringLiteral("tolerance"),
                    QStringLiteral("currentChange"), QStringLiteral("window"),
                    QStringLiteral("timeout") }))
            return false;
        const bool volts = o.contains(QLatin1String("voltage"));
        step->percent = o.contains(QLatin1String("percent"));
        if (volts == step->percent)
            return fail(path, tr("needs either \"voltage\" or \"percent\""));
        if (!number(o, path, QStringLiteral("voltage"), &step->voltage, -1e6, 1e6)
            || !number(o, path, QStringLiteral("percent"), &step->voltage, -100, 100)
            || !number(o, path, QStringLiteral("rampSpeed"), &step->rampSpeed, 0)
            || !number(o, path, QStringLiteral("current"), &step->current, 0)
            || !number(o, path, QStringLiteral("hold"), &step->holdSeconds, 0)
            || !boolean(o, path, QStringLiteral("untilStable"), &step->untilStable)
            || !number(o, path, QStringLiteral("tolerance"), &step->tolerance, 1e-6)
            || !number(o, path, QStringLiteral("currentChange"), &step->currentChange, 0)
            || !number(o, path, QStringLiteral("window"), &step->windowSeconds, 0.1)
            || !number(o, path, QStringLiteral("timeout"), &step->timeoutSeconds, 0))
            return false;
        if (step->percent)
            step->voltage = o.value(QLatin1String("percent")).toDouble();
        return true;
    }

    bool safety(const QJsonValue &value, Sequence *sequence)
    {
        const QString path = QStringLiteral("safety");
        if (value.isUndefined())
            return true;
        if (!value.isObject())
            return fail(path, tr("must be an object"));
        const QJsonObject o = value.toObject();
        QStringList known { QStringLiteral("rampDownSpeed"), QStringLiteral("abort") };
        for (int c = 0; c < SafetyConditionCount; ++c)
            known << safetyConditionKey(SafetyCondition(c));
        if (!onlyKnown(o, path, known)
            || !number(o, path, QStringLiteral("rampDownSpeed"), &sequence->rampDownSpeed, 0))
            return false;
        if (o.contains(QLatin1String("abort"))) {
            SafetyRule abort;
            if (!action(o.value(QLatin1String("abort")), join(path, QStringLiteral("abort")),
                    &abort, false, true))
                return false;
            sequence->abortAction = abort.action;
        }
        for (int c = 0; c < SafetyConditionCount; ++c) {
            const auto condition = SafetyCondition(c);
            const QString key = safetyConditionKey(condition);
            if (!o.contains(key))
                continue;
            if (!rule(o.value(key), join(path, key), condition, &sequence->rule(condition)))
                return false;
        }
        return true;
    }

    bool rule(
        const QJsonValue &value, const QString &where, SafetyCondition condition, SafetyRule *rule)
    {
        const bool limited
            = condition == SafetyCondition::CurrentAbove || condition == SafetyCondition::Arcs;
        if (!limited)
            return action(value, where, rule, safetyConditionMayIgnore(condition));
        if (!value.isObject())
            return fail(where, tr("must be an object"));
        const QJsonObject o = value.toObject();
        const bool current = condition == SafetyCondition::CurrentAbove;
        const QStringList keys = current
            ? QStringList { QStringLiteral("above"), QStringLiteral("action") }
            : QStringList { QStringLiteral("count"), QStringLiteral("minutes"),
                  QStringLiteral("action") };
        if (!onlyKnown(o, where, keys))
            return false;
        for (const QString &key : keys)
            if (!o.contains(key))
                return fail(join(where, key), tr("missing"));
        double count = 0;
        if (!action(
                o.value(QLatin1String("action")), join(where, QStringLiteral("action")), rule, true)
            || !number(o, where, QStringLiteral("above"), &rule->limit, 0)
            || !number(o, where, QStringLiteral("count"), &count, 1, 1000)
            || !number(o, where, QStringLiteral("minutes"), &rule->minutes, 0.01, 24 * 60))
            return false;
        if (!current)
            rule->count = int(count);
        return true;
    }

    static QString join(const QString &path, const QString &key)
    {
        return path.isEmpty() ? key : path + QLatin1Char('.') + key;
    }
};

QJsonValue actionValue(const SafetyRule &rule)
{
    return rule.enabled ? safetyActionKey(rule.action) : QStringLiteral("ignore");
}

} // namespace

namespace SequenceFile {

QString parse(const QByteArray &json, Sequence *sequence)
{
    if (json.size() > MaxBytes)
        return tr("the file is larger than %L1 KiB").arg(MaxBytes / 1024);
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    if (parseError.error != QJsonParseError::NoError)
        return tr("no JSON: %1 at byte %2").arg(parseError.errorString()).arg(parseError.offset);
    if (!document.isObject())
        return tr("no JSON object");
    const QJsonObject root = document.object();
    Reader r;
    Sequence s;
    const QJsonValue version = root.value(QLatin1String("version"));
    if (version.isUndefined())
        return tr("version: missing");
    if (!version.isDouble())
        return tr("version: must be a number");
    if (version.toDouble() != Sequence::Version)
        return tr("version: %1 is not a version this program reads (%2)")
            .arg(version.toDouble())
            .arg(Sequence::Version);
    if (!r.onlyKnown(root, QString(),
            { QStringLiteral("version"), QStringLiteral("name"), QStringLiteral("description"),
                QStringLiteral("channels"), QStringLiteral("steps"), QStringLiteral("safety") })
        || !r.text(root, QStringLiteral("name"), &s.name)
        || !r.text(root, QStringLiteral("description"), &s.description)
        || !r.channels(root.value(QLatin1String("channels")), &s.channels)
        || !r.safety(root.value(QLatin1String("safety")), &s))
        return r.error;
    const QJsonValue steps = root.value(QLatin1String("steps"));
    if (steps.isUndefined())
        return tr("steps: missing");
    if (!steps.isArray() || steps.toArray().isEmpty())
        return tr("steps: must be a list of at least one step");
    if (steps.toArray().size() > Sequence::MaxSteps)
        return tr("steps: more than %1 steps").arg(Sequence::MaxSteps);
    const QJsonArray array = steps.toArray();
    for (int i = 0; i < array.size(); ++i) {
        SequenceStep step;
        // The step as the window counts it beside its place in the file.
        if (!r.step(array.at(i), tr("steps[%1] (step %2)").arg(i).arg(i + 1), &step))
            return r.error;
        s.steps.append(step);
    }
    *sequence = s;
    return QString();
}

QByteArray toJson(const Sequence &s)
{
    QJsonObject root;
    root.insert(QLatin1String("version"), Sequence::Version);
    if (!s.name.isEmpty())
        root.insert(QLatin1String("name"), s.name);
    if (!s.description.isEmpty())
        root.insert(QLatin1String("description"), s.description);
    if (s.channels.isEmpty()) {
        root.insert(QLatin1String("channels"), QStringLiteral("all"));
    } else {
        QJsonArray channels;
        for (int c : s.channels)
            channels.append(c);
        root.insert(QLatin1String("channels"), channels);
    }
    QJsonArray steps;
    for (const SequenceStep &step : s.steps) {
        QJsonObject o;
        o.insert(step.percent ? QLatin1String("percent") : QLatin1String("voltage"), step.voltage);
        if (step.rampSpeed > 0)
            o.insert(QLatin1String("rampSpeed"), step.rampSpeed);
        if (step.current >= 0)
            o.insert(QLatin1String("current"), step.current);
        o.insert(QLatin1String("hold"), step.holdSeconds);
        o.insert(QLatin1String("tolerance"), step.tolerance);
        if (step.untilStable) {
            o.insert(QLatin1String("untilStable"), true);
            o.insert(QLatin1String("currentChange"), step.currentChange);
            o.insert(QLatin1String("window"), step.windowSeconds);
        }
        if (step.timeoutSeconds > 0)
            o.insert(QLatin1String("timeout"), step.timeoutSeconds);
        steps.append(o);
    }
    root.insert(QLatin1String("steps"), steps);
    QJsonObject safety;
    if (s.rampDownSpeed > 0)
        safety.insert(QLatin1String("rampDownSpeed"), s.rampDownSpeed);
    safety.insert(QLatin1String("abort"), safetyActionKey(s.abortAction));
    for (int c = 0; c < SafetyConditionCount; ++c) {
        const auto condition = SafetyCondition(c);
        const SafetyRule &rule = s.rule(condition);
        const QString key = safetyConditionKey(condition);
        if (condition == SafetyCondition::CurrentAbove) {
            if (rule.enabled || rule.limit > 0)
                safety.insert(key,
                    QJsonObject { { QStringLiteral("above"), rule.limit },
                        { QStringLiteral("action"), actionValue(rule) } });
        } else if (condition == SafetyCondition::Arcs) {
            if (rule.enabled || rule.count > 0)
                safety.insert(key,
                    QJsonObject { { QStringLiteral("count"), rule.count },
                        { QStringLiteral("minutes"), rule.minutes },
                        { QStringLiteral("action"), actionValue(rule) } });
        } else {
            safety.insert(key, actionValue(rule));
        }
    }
    root.insert(QLatin1String("safety"), safety);
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

QString load(const QString &path, Sequence *sequence)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return tr("can not read %1: %2").arg(path, file.errorString());
    if (file.size() > MaxBytes)
        return tr("the file is larger than %L1 KiB").arg(MaxBytes / 1024);
    return parse(file.read(MaxBytes + 1), sequence);
}

QString save(const QString &path, const Sequence &sequence)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(toJson(sequence)) < 0 || !file.commit())
        return tr("can not write %1: %2").arg(path, file.errorString());
    return QString();
}

} // namespace SequenceFile
