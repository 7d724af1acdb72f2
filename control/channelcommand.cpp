#include "channelcommand.h"

#include "scpi_parser.h"

#include <cmath>

namespace {

bool parseSwitch(const QByteArray &payload, bool *on)
{
    const QByteArray p = payload.trimmed().toLower();
    if (p == "1" || p == "on" || p == "true") {
        *on = true;
        return true;
    }
    if (p == "0" || p == "off" || p == "false") {
        *on = false;
        return true;
    }
    return false;
}

/// The channels \a c addresses: first and last index.
QPair<int, int> addressed(const ChannelCommand &c, const ModuleState &module)
{
    const int count = module.channelsInUse();
    return c.channel == count ? qMakePair(0, count - 1) : qMakePair(c.channel, c.channel);
}

/// Checks the addressed channels' allowed ranges and \a c's value against them. A channel
/// whose nominal voltage or current is unusable takes no command at all.
bool inRange(const ChannelCommand &c, const ModuleState &module, QString *error)
{
    const auto [first, last] = addressed(c, module);
    for (int i = first; i <= last; ++i) {
        const Channel &ch = module.channels[size_t(i)];
        const Channel::Range voltage = ch.allowedVoltage();
        const Channel::Range current = ch.allowedCurrent();
        *error = !voltage.valid                       ? voltage.reason
            : !current.valid                          ? current.reason
            : c.kind == ChannelCommand::Kind::Voltage ? voltage.refusal(c.value)
            : c.kind == ChannelCommand::Kind::Current ? current.refusal(c.value)
                                                      : QString();
        if (!error->isEmpty())
            return false;
    }
    return true;
}

/// A channel number as a topic level: plain decimal ("0", "12"), so that no other spelling
/// ("01", "+1", " 1") can step around a broker rule written for the plain one.
bool plainNumber(const QByteArray &text, int *number)
{
    if (text.isEmpty() || text.size() > 2 || (text.size() > 1 && text[0] == '0'))
        return false;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return false;
    }
    *number = text.toInt();
    return true;
}

} // namespace

bool ChannelCommand::parse(const QByteArray &path, const QByteArray &payload,
    const ModuleState &module, ChannelCommand *command, QString *error)
{
    const QList<QByteArray> parts = path.split('/');
    const int count = module.channelsInUse();
    if (parts.size() != 4 || parts[0] != "ch" || parts[2] != "set") {
        *error = QStringLiteral("unknown command topic");
        return false;
    }
    ChannelCommand c;
    if (parts[1] == "all") {
        c.channel = count;
    } else {
        if (!plainNumber(parts[1], &c.channel) || c.channel >= count) {
            *error = QStringLiteral("no channel %1 (0 to %2 or all)")
                         .arg(QString::fromUtf8(parts[1]))
                         .arg(count - 1);
            return false;
        }
    }
    const QByteArray &what = parts[3];
    if (what == "voltage" || what == "current") {
        c.kind = what == "voltage" ? Kind::Voltage : Kind::Current;
        bool ok = false;
        const double v = payload.trimmed().toDouble(&ok);
        if (!ok || !std::isfinite(v)) {
            *error = QStringLiteral("\"%1\" is no number").arg(QString::fromUtf8(payload.left(40)));
            return false;
        }
        c.value = float(v);
    } else if (what == "on" || what == "emergency-off") {
        c.kind = what == "on" ? Kind::On : Kind::EmergencyOff;
        if (!parseSwitch(payload, &c.flag)) {
            *error = QStringLiteral("\"%1\" is neither 1 nor 0")
                         .arg(QString::fromUtf8(payload.left(40)));
            return false;
        }
    } else if (what == "clear-events") {
        c.kind = Kind::ClearEvents;
    } else {
        *error = QStringLiteral("unknown command \"%1\"").arg(QString::fromUtf8(what));
        return false;
    }
    // Off needs no ratings: it is carried out even on a channel whose ratings are broken.
    if (!c.isOff() && !inRange(c, module, error))
        return false;
    *command = c;
    return true;
}

bool ChannelCommand::isOffMessage(const QByteArray &path, const QByteArray &payload)
{
    const QList<QByteArray> parts = path.split('/');
    bool on = false;
    if (parts.size() != 4 || parts[0] != "ch" || parts[2] != "set" || !parseSwitch(payload, &on))
        return false;
    return (parts[3] == "on" && !on) || (parts[3] == "emergency-off" && on);
}

bool ChannelCommand::isOff() const
{
    return (kind == Kind::On && !flag) || (kind == Kind::EmergencyOff && flag);
}

void ChannelCommand::apply(SCPI_Parser &engine) const
{
    switch (kind) {
    case Kind::Voltage:
        engine.setVoltage(value, channel);
        break;
    case Kind::Current:
        engine.setCurrent(value, channel);
        break;
    case Kind::On:
        engine.setChannelOn(flag, channel);
        break;
    case Kind::EmergencyOff:
        engine.setChannelEmergencyOff(flag, channel);
        break;
    case Kind::ClearEvents:
        engine.clearChannelEvents(channel);
        break;
    case Kind::VoltageRamp:
        engine.setVoltageRamp(value);
        break;
    }
}

QString ChannelCommand::describe(int channelCount) const
{
    const QString target = channel == channelCount ? QStringLiteral("all channels")
                                                   : QStringLiteral("channel %1").arg(channel);
    switch (kind) {
    case Kind::Voltage:
        return QStringLiteral("%1: voltage %2 V").arg(target).arg(double(value));
    case Kind::Current:
        return QStringLiteral("%1: current %2 A").arg(target).arg(double(value));
    case Kind::On:
        return QStringLiteral("%1: %2").arg(
            target, flag ? QStringLiteral("on") : QStringLiteral("off"));
    case Kind::EmergencyOff:
        return QStringLiteral("%1: %2").arg(target,
            flag ? QStringLiteral("emergency off") : QStringLiteral("emergency off cleared"));
    case Kind::ClearEvents:
        return QStringLiteral("%1: events cleared").arg(target);
    case Kind::VoltageRamp:
        return QStringLiteral("voltage ramp %1").arg(double(value));
    }
    return target;
}
