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
/// The control room: its broker, its window and the alarms acknowledged.
inline constexpr char RoomApplication[] = "VornControlRoom";

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
/// The folder the Sequence window last loaded from or saved to.
inline constexpr char SequenceFolder[] = "Sequence/folder";
/// Control room: the broker (host, port, TLS files, user; the password is in the desktop's
/// secret store, never here), the topic prefix, and a group of acknowledged alarms by key.
inline constexpr char RoomBrokerHost[] = "Broker/host";
inline constexpr char RoomBrokerPort[] = "Broker/port";
inline constexpr char RoomBrokerUser[] = "Broker/user";
inline constexpr char RoomBrokerTls[] = "Broker/tls";
inline constexpr char RoomBrokerCaFile[] = "Broker/caFile";
inline constexpr char RoomBrokerCertFile[] = "Broker/certFile";
inline constexpr char RoomBrokerKeyFile[] = "Broker/keyFile";
inline constexpr char RoomPrefix[] = "Broker/prefix";
inline constexpr char RoomAcknowledged[] = "Acknowledged";
inline constexpr char RoomWindowGeometry[] = "Window/geometry";
inline constexpr char RoomWindowSplitter[] = "Window/splitter";
inline constexpr char RoomOverviewHeader[] = "Window/overviewHeader";
} // namespace Key

QString organization();
/// The store of the connection panel, the exit behaviour and the tools.
QSettings panel();
/// The control room's store.
QSettings room();
/// The display configuration's store of \a organizationName.
QSettings display(const QString &organizationName);

} // namespace SettingsStore
