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

/// Checks \a value against the nominal value of every addressed channel.
bool inRange(const ChannelCommand &c, const Module &module, QString *error)
{
    const bool voltage = c.kind == ChannelCommand::Kind::Voltage;
    const int count = module.channelCount();
    const int first = c.channel == count ? 0 : c.channel;
    const int last = c.channel == count ? count - 1 : c.channel;
    for (int i = first; i <= last; ++i) {
        const Channel &ch = module.channel(i);
        const double nominal = std::fabs(voltage ? ch.voltageNominal() : ch.currentNominal());
        const double low = voltage && ch.epu() ? -nominal : 0.0;
        if (nominal <= 0.0) {
            *error = QStringLiteral("nominal value of channel %1 not known yet").arg(i);
            return false;
        }
        if (c.value < low || c.value > nominal) {
            *error = QStringLiteral("%1 outside %2 ... %3 %4 of channel %5")
                         .arg(double(c.value))
                         .arg(low)
                         .arg(nominal)
                         .arg(voltage ? QStringLiteral("V") : QStringLiteral("A"))
                         .arg(i);
            return false;
        }
    }
    return true;
}

} // namespace

bool ChannelCommand::parse(const QByteArray &path, const QByteArray &payload,
    const SCPI_Parser &engine, ChannelCommand *command, QString *error)
{
    const QList<QByteArray> parts = path.split('/');
    const Module &module = engine.module();
    const int count = qMin(module.channelCount(), module.recordCount());
    if (parts.size() != 4 || parts[0] != "ch" || parts[2] != "set") {
        *error = QStringLiteral("unknown command topic");
        return false;
    }
    ChannelCommand c;
    if (parts[1] == "all") {
        c.channel = count;
    } else {
        bool ok = false;
        c.channel = parts[1].toInt(&ok);
        if (!ok || c.channel < 0 || c.channel >= count) {
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
        if (!inRange(c, module, error))
            return false;
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
    *command = c;
    return true;
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
    }
    return target;
}
