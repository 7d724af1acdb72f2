#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace vornsim {

/// What a module says about itself in its identity and firmware answers.
struct Identity
{
    QString manufacturer = QStringLiteral("Vornwerk GmbH");
    QString deviceName;
    int serialNumber = 0;
    QString firmwareName;
    QString firmwareRelease;
    int channels = 1; ///< 1 to SimModule::MaxChannels
};

/// A complete module description: identity plus the ratings of its channels.
struct Preset
{
    Identity identity;
    double voltageNominal = 3000.0; ///< volts per channel; negative for a negative module
    double currentNominal = 0.003; ///< amperes per channel
    bool epu = false; ///< channels can change polarity: set voltages from -nominal to +nominal
    /// Fault: when not empty, every channel reports this text ("inf", "nan") as its nominal
    /// voltage, as a module with broken ratings would.
    QByteArray voltageNominalAnswer;
};

/// The module kinds the simulator knows by name: "KA2F" (four channels), "TX01B0", "TX01B1",
/// "TX02B0", "DRSB", "GLW802", "WD7A0" and the filament supply "TQ88812p0000". Lookup is
/// case-insensitive.
std::optional<Preset> presetByName(const QString &name);

/// Names accepted by presetByName(), in a fixed order.
QStringList presetNames();

/// Sensible ratings for an identity given without a preset (by firmware family).
Preset presetForIdentity(const Identity &identity);

} // namespace vornsim
