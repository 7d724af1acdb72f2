#pragma once

#include <QByteArray>
#include <QString>

class SCPI_Parser;
struct ModuleState;

/// A command that changes what a channel's high voltage does, from any source: the operator,
/// the broker ("ch/<n>/set/<what>" or "ch/all/set/<what>" below the module's topics, with <what>
/// one of voltage, current, on, emergency-off, clear-events) or a sequence.
struct ChannelCommand
{
    enum class Kind {
        Voltage,
        Current,
        On,
        EmergencyOff,
        ClearEvents,
        /// The module's voltage ramp speed (V/s, or %/s on a percent-based module); `channel`
        /// is not used.
        VoltageRamp,
    };

    Kind kind = Kind::Voltage;
    /// Channel index; the module's channel count addresses all channels.
    int channel = 0;
    float value = 0.0f;
    bool flag = false;

    /// Reads \a path (the topic below "<prefix>/<serial>/", channel numbers in plain decimal)
    /// and \a payload and checks them against the module: a voltage or a current must lie in
    /// the channel's allowed range (Channel::allowedVoltage(), allowedCurrent()). Every command
    /// but an off is refused for a channel whose nominal voltage or current is not a finite
    /// number other than 0. False with the reason in \a error.
    static bool parse(const QByteArray &path, const QByteArray &payload, const ModuleState &module,
        ChannelCommand *command, QString *error);

    /// Switches off or emergency off: a command that must not wait behind others.
    bool isOff() const;
    /// Whether \a path and \a payload ask for an off or an emergency off, read without a
    /// module (its channel is checked when the command is parsed for one).
    static bool isOffMessage(const QByteArray &path, const QByteArray &payload);
    /// Queues the command through the engine's set-command builders.
    void apply(SCPI_Parser &engine) const;
    /// "channel 2: voltage 1000 V" and the like, for the log.
    QString describe(int channelCount) const;
};
