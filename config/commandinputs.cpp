// What the input dialogs of the operator commands ask, and the staircase and increment steps.
#include "commandinputs.h"

#include "configuration.h"
#include "modulestate.h"

#include <QCoreApplication>
#include <QLocale>

#include <algorithm>
#include <cmath>

namespace CommandInputs {

namespace {

/// Translates a text marked with QT_TRANSLATE_NOOP("EthControl", ...), which lupdate reads.
QString translated(const char *text)
{
    return QCoreApplication::translate("EthControl", text);
}

double voltageShown(const Configuration &config, float volts)
{
    return displayNumber(config.voltageText(volts));
}

double currentShown(const Configuration &config, float amperes)
{
    return displayNumber(config.currentText(amperes));
}

/// The allowed ranges of all channels of the module: the largest and the smallest maximum,
/// whether every channel takes negative values, and why not all of them take a set value.
struct Spread
{
    double largest = 0.0;
    double smallest = 0.0;
    bool allNegative = true;
    QString refusal;
};

Spread spreadOf(const ModuleState &module, Channel::Range (Channel::*allowed)() const)
{
    Spread spread;
    const int channels = module.channelsInUse();
    for (int i = 0; i < channels; ++i) {
        const Channel::Range range = (module.channels[size_t(i)].*allowed)();
        if (!range.valid && spread.refusal.isEmpty())
            spread.refusal = range.reason;
        spread.largest = i == 0 ? range.maximum : std::max(spread.largest, range.maximum);
        spread.smallest = i == 0 ? range.maximum : std::min(spread.smallest, range.maximum);
        spread.allNegative = spread.allNegative && range.minimum < 0.0;
    }
    return spread;
}

/// What the operator is told instead of a question when a channel takes no set value.
QString refusalFor(const QString &reason)
{
    return translated(QT_TRANSLATE_NOOP("EthControl", "Nothing is sent: %1.")).arg(reason);
}

QString noteFor(const Spread &spread, const QString &smallestText, const QString &unit)
{
    if (spread.largest <= spread.smallest)
        return QString();
    return translated(
        QT_TRANSLATE_NOOP("EthControl", "\n\nNote: some channels will only allow %L1 %2."))
        .arg(smallestText, unit);
}

/// A ramp speed in percent of the nominal value per second.
Prompt percentRamp(const QString &label, double value)
{
    Prompt prompt;
    prompt.label = label;
    prompt.value = value;
    prompt.maximum = 100.0;
    return prompt;
}

} // namespace

double displayNumber(const QString &text)
{
    const QLocale locale;
    QString number = text;
    number.remove(locale.groupSeparator());
    bool ok = false;
    const double value = locale.toDouble(number, &ok);
    return ok ? value : 0.0;
}

Prompt channelVoltage(const ModuleState &module, const Configuration &config, int channel)
{
    const Channel &record = module.channels[size_t(channel)];
    const Channel::Range range = record.allowedVoltage();
    Prompt prompt;
    if (!range.valid)
        prompt.refusal = refusalFor(range.reason);
    prompt.maximum = voltageShown(config, float(range.maximum));
    if (range.minimum < 0.0)
        prompt.minimum = -prompt.maximum;
    prompt.value = voltageShown(config, record.voltageSet());
    prompt.label = translated(
        QT_TRANSLATE_NOOP("EthControl", "Input a voltage (Vset: %L1...%L2 %3) for channel %4:"))
                       .arg(prompt.minimum)
                       .arg(prompt.maximum)
                       .arg(config.voltageUnit())
                       .arg(channel);
    return prompt;
}

Prompt channelCurrent(const ModuleState &module, const Configuration &config, int channel)
{
    const Channel &record = module.channels[size_t(channel)];
    const Channel::Range range = record.allowedCurrent();
    Prompt prompt;
    if (!range.valid)
        prompt.refusal = refusalFor(range.reason);
    prompt.maximum = currentShown(config, float(range.maximum));
    prompt.value = currentShown(config, record.currentSet());
    prompt.label = translated(
        QT_TRANSLATE_NOOP("EthControl", "Input a current (Iset: 0...%L1 %2) for channel %3:"))
                       .arg(prompt.maximum)
                       .arg(config.currentUnit())
                       .arg(channel);
    return prompt;
}

Prompt allVoltages(const ModuleState &module, const Configuration &config, int selected)
{
    const Spread spread = spreadOf(module, &Channel::allowedVoltage);
    const float largest = float(spread.largest);
    const float minimum = spread.allNegative ? -largest : 0.0f;
    Prompt prompt;
    if (!spread.refusal.isEmpty())
        prompt.refusal = refusalFor(spread.refusal);
    prompt.maximum = voltageShown(config, largest);
    prompt.minimum = voltageShown(config, minimum);
    prompt.value = voltageShown(config, module.channels[size_t(selected)].voltageSet());
    prompt.label
        = translated(QT_TRANSLATE_NOOP(
                         "EthControl", "Input a voltage (Vset: %L1...%L2 %3) for all channels:"))
              .arg(config.voltageText(minimum), config.voltageText(largest), config.voltageUnit())
        + noteFor(spread, config.voltageText(float(spread.smallest)), config.voltageUnit());
    return prompt;
}

Prompt allCurrents(const ModuleState &module, const Configuration &config, int selected)
{
    const Spread spread = spreadOf(module, &Channel::allowedCurrent);
    const float largest = float(spread.largest);
    Prompt prompt;
    if (!spread.refusal.isEmpty())
        prompt.refusal = refusalFor(spread.refusal);
    prompt.maximum = currentShown(config, largest);
    prompt.value = currentShown(config, module.channels[size_t(selected)].currentSet());
    prompt.label = translated(QT_TRANSLATE_NOOP("EthControl",
                                  "Input a current (Iset: 0...%L1 %2) for all channels:"))
                       .arg(config.currentText(largest), config.currentUnit())
        + noteFor(spread, config.currentText(float(spread.smallest)), config.currentUnit());
    return prompt;
}

Prompt voltageRamp(const ModuleState &module, const Configuration &config)
{
    if (module.isPercentBased())
        return percentRamp(translated(QT_TRANSLATE_NOOP(
                               "EthControl", "Input a Voltage Ramp Speed (0...100%/s): ")),
            module.voltageRamp);
    Prompt prompt;
    const float maximum = std::max(3000.0f, 0.2f * module.channels[size_t(0)].voltageNominal());
    prompt.maximum = voltageShown(config, maximum);
    prompt.value = voltageShown(config, module.voltageRamp);
    prompt.label
        = translated(QT_TRANSLATE_NOOP("EthControl", "Input a Voltage Ramp Speed (0 ..%1 %2/s)"))
              .arg(config.voltageText(maximum), config.voltageUnit());
    return prompt;
}

Prompt currentRamp(const ModuleState &module, const Configuration &config)
{
    if (module.isPercentBased())
        return percentRamp(translated(QT_TRANSLATE_NOOP(
                               "EthControl", "Input a Current Ramp Speed (0...100%/s): ")),
            module.currentRamp);
    Prompt prompt;
    const float maximum = module.channels[size_t(0)].currentNominal();
    prompt.maximum = currentShown(config, maximum);
    prompt.value = currentShown(config, module.currentRamp);
    prompt.label
        = translated(QT_TRANSLATE_NOOP("EthControl", "Input a Current Ramp Speed (0 ..%1 %2/s)"))
              .arg(config.currentText(maximum), config.currentUnit());
    return prompt;
}

Prompt increment(const ModuleState &module, const Configuration &config, int channel)
{
    Prompt prompt;
    prompt.maximum = voltageShown(config, std::fabs(module.channels[size_t(channel)].voltageNominal()));
    prompt.value = voltageShown(config, module.voltageIncrement);
    prompt.label
        = translated(QT_TRANSLATE_NOOP("EthControl",
                         "Input a voltage increment value (%1) that is applied when pressing "
                         "the Plus or Minus keys:"))
              .arg(config.voltageUnit());
    return prompt;
}

QString rampLabel(bool percent, double value, const QString &speedText, const QString &unit)
{
    // The entered percent value as it is, with a point whatever the locale.
    if (percent)
        return QStringLiteral("%1 %/s").arg(value);
    return QStringLiteral("%1 %2/s").arg(speedText, unit);
}

QVector<float> staircase(int channels, float top, bool falling)
{
    QVector<float> voltages;
    if (channels <= 0)
        return voltages;
    const bool hundreds = float(channels) * 100.0f <= top;
    float step = hundreds ? 100.0f : top / float(channels);
    float start = top - float(channels - 1) * step;
    if (falling) {
        step = -step;
        start = top;
    }
    for (int i = 0; i < channels; ++i)
        voltages.append(start + float(i) * step);
    return voltages;
}

float incrementTimes10(float increment, float nominal)
{
    const float next = increment * 10.0f;
    return next < std::fabs(nominal) ? next : increment;
}

float incrementBy10(float increment)
{
    const float next = increment / 10.0f;
    return next > 0.000999999f ? next : increment;
}

QString incrementLabel(float increment)
{
    return translated(QT_TRANSLATE_NOOP("EthControl", "Voltage Increment: %1 Volt"))
        .arg(double(increment));
}

QStringList filterSteps()
{
    return { QStringLiteral("1"), QStringLiteral("16"), QStringLiteral("64"), QStringLiteral("256"),
        QStringLiteral("512"), QStringLiteral("1024") };
}

int filterPreselection(int average)
{
    const int index = filterSteps().indexOf(QString::number(average));
    return index < 0 ? 2 : index;
}

} // namespace CommandInputs
