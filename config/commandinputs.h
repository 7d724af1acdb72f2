#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

class Configuration;
struct ModuleState;

/// The computations behind the operator commands that need no widget: what an input dialog
/// asks, its range and initial value, the voltage staircase and the increment steps.
/// OperatorCommands asks through its prompter and sends the commands.
namespace CommandInputs {

/// What a numeric input dialog shows: its label, initial value and range, in display units.
struct Prompt
{
    QString label;
    double value = 0.0;
    double minimum = 0.0;
    double maximum = 0.0;
    /// Not empty when the question is not to be asked: what the operator is told instead
    /// (a channel whose nominal value is not known yet, or broken).
    QString refusal;
};

/// A display text of the configuration (voltageText(), currentText()) read back as a number
/// in the current locale, group separators removed; 0 when it is no number.
double displayNumber(const QString &text);

/// Set voltage of one channel: its allowed range (Channel::allowedVoltage()), 0 to |Vnom|, or
/// -|Vnom| to |Vnom| for a bipolar channel or a negative module; refused while the range is
/// not valid. \a channel must be a channel of \a module.
Prompt channelVoltage(const ModuleState &module, const Configuration &config, int channel);
/// Set current of one channel: 0 to |Inom| (Channel::allowedCurrent()).
Prompt channelCurrent(const ModuleState &module, const Configuration &config, int channel);
/// Set voltage of all channels: up to the largest |Vnom|, negative only when every channel
/// allows it; a note names the smallest |Vnom| when the channels differ. The initial value is
/// the set voltage of \a selected. Refused while a channel's range is not valid.
Prompt allVoltages(const ModuleState &module, const Configuration &config, int selected);
/// Set current of all channels, with the same note for differing nominal currents.
Prompt allCurrents(const ModuleState &module, const Configuration &config, int selected);
/// Voltage ramp speed: 0 to 100 %/s for percent-based modules, else up to the larger of
/// 3000 V/s and a fifth of the nominal voltage of channel 0.
Prompt voltageRamp(const ModuleState &module, const Configuration &config);
/// Current ramp speed: 0 to 100 %/s, or up to the nominal current of channel 0.
Prompt currentRamp(const ModuleState &module, const Configuration &config);
/// The voltage increment of the Plus and Minus keys: 0 to |Vnom| of \a channel.
Prompt increment(const ModuleState &module, const Configuration &config, int channel);

/// The ramp speed label after a change: "<value> %/s" with the entered value in C number
/// format ("12.5 %/s" in every locale), or "<speed text> <unit>/s".
QString rampLabel(bool percent, double value, const QString &speedText, const QString &unit);

/// Set voltages of the staircase over \a channels channels with the highest value \a top
/// (volt): rising to \a top at the last channel in steps of 100 V, or falling from \a top at
/// channel 0; steps of top / channels when 100 V steps do not fit.
QVector<float> staircase(int channels, float top, bool falling);

/// The increment times ten, or \a increment itself when that reaches |\a nominal|.
float incrementTimes10(float increment, float nominal);
/// The increment divided by ten, or \a increment itself below 0.001 V.
float incrementBy10(float increment);
/// "Voltage Increment: <volts> Volt".
QString incrementLabel(float increment);

/// The filter steps offered, in order.
QStringList filterSteps();
/// Index of the filter step preselected for the module's \a average; 64 for unknown values.
int filterPreselection(int average);

} // namespace CommandInputs
