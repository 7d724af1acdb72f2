#pragma once

#include <QString>

/// Traits of a module family, decided the way real firmware behaves: by the firmware name and
/// release and by the device name. The simulator keeps its own copy of these rules on purpose so
/// that a wrong rule on the host side shows up as a mismatch instead of hiding on both sides.
namespace vornsim::family {

/// Ramp speeds and limits are reported in percent of the nominal value.
bool percentBased(const QString &firmwareName, int channels);
/// The voltage and current limits are reported in volts and amperes instead of percent.
bool limitsInUnits(const QString &firmwareName);
/// On a serial port the module echoes every byte as it arrives; the others echo whole lines.
bool byteEcho(const QString &firmwareName, const QString &release);
/// Filament supplies: output selection and interlock inputs.
bool hasInputOutput(const QString &deviceName);
/// Filament supplies with emission regulation.
bool hasEmission(const QString &deviceName);
/// Single-channel modules other than DRS take commands without a channel list.
bool listOptional(const QString &firmwareName, int channels);

} // namespace vornsim::family
