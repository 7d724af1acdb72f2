#pragma once

#include <QSettings>

/// The program's two settings stores (INI files, user scope) and every key the panel keeps
/// in them; the one place that names them.
namespace SettingsStore {

inline constexpr char Organization[] = "Vornwerk GmbH";
/// The connection panel, the exit behaviour and the tools.
inline constexpr char PanelApplication[] = "VornScpiControl";
/// The display configuration (units, precisions, columns per device).
inline constexpr char DisplayApplication[] = "VornScpiConfig";

/// Keys of the panel store.
namespace Key {
inline constexpr char SelectedTab[] = "SelectedTab";
inline constexpr char IpAddress[] = "IpAddress";
inline constexpr char TcpPort[] = "TcpPort";
inline constexpr char SerialPort[] = "SerialPort";
inline constexpr char GpibAddress[] = "GpibAddress";
/// 0 asks whether to ramp down on Disconnect and exit, 1 always does, any other value never.
inline constexpr char OnExitBehaviour[] = "OnExitBehaviour";
inline constexpr char AutoReconnect[] = "AutoReconnect";
inline constexpr char ConsoleHistory[] = "Console/history";
} // namespace Key

QString organization();
/// The store of the connection panel, the exit behaviour and the tools.
QSettings panel();
/// The display configuration's store of \a organizationName.
QSettings display(const QString &organizationName);

} // namespace SettingsStore
