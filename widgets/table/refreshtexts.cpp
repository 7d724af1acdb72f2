#include "refreshtexts.h"

#include "czelkchannelstatusbits.h"

#include <QCoreApplication>

namespace RefreshTexts {

namespace {
QString translated(const char *text)
{
    return QCoreApplication::translate("EthControl", text);
}
}

StateWord stateWord(quint16 status, quint16 control)
{
    using Ch = CZelkChannelStatusBits;
    struct Rule
    {
        quint16 mask;
        const char *text;
        Qt::GlobalColor background;
    };
    static const Rule rules[] = {
        { Ch::Emergency, QT_TRANSLATE_NOOP("EthControl", "Emergency"), Qt::red },
        { Ch::Inhibit, QT_TRANSLATE_NOOP("EthControl", "External Inhibit"), Qt::red },
        { Ch::VoltageBounds, QT_TRANSLATE_NOOP("EthControl", "Voltage Bounds"), Qt::red },
        { Ch::Trip, QT_TRANSLATE_NOOP("EthControl", "Trip"), Qt::red },
        { Ch::CurrentBounds, QT_TRANSLATE_NOOP("EthControl", "Current Bounds"), Qt::red },
        { Ch::Ramp, QT_TRANSLATE_NOOP("EthControl", "Ramp"), Qt::green },
        { Ch::ConstantCurrent, QT_TRANSLATE_NOOP("EthControl", "Constant Current"), Qt::green },
        { Ch::ConstantVoltage, QT_TRANSLATE_NOOP("EthControl", "Constant Voltage"), Qt::green },
        { Ch::On, QT_TRANSLATE_NOOP("EthControl", "On"), Qt::green },
    };
    for (const Rule &rule : rules) {
        if (status & rule.mask)
            return { translated(rule.text), QColor(rule.background) };
    }
    // Switched on by command, not yet reported on by the module.
    if (control & Ch::SetOn)
        return { translated(QT_TRANSLATE_NOOP("EthControl", "On")), QColor(Qt::yellow) };
    return { translated(QT_TRANSLATE_NOOP("EthControl", "Off")), QColor(Qt::lightGray) };
}

QString lowCurrentRangeText(float amperes)
{
    return QStringLiteral("%L1 \u00B5A").arg(static_cast<double>(amperes) * 1000000.0, 0, 'f', 4);
}

QString powerText(float volts, float amperes)
{
    return translated(QT_TRANSLATE_NOOP("EthControl", "%L1"))
        .arg(static_cast<double>(amperes * volts), 0, 'f', 1);
}

QString percentRampText(float percentPerSecond)
{
    // The C-style format: a point whatever the locale.
    return QString::asprintf("%3.3f %%/s", static_cast<double>(percentPerSecond));
}

QString unitRampText(const QString &value, const QString &unit)
{
    return QStringLiteral("%1 %2/s").arg(value, unit);
}

}
