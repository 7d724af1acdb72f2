#include "settingsstore.h"

namespace SettingsStore {

QString organization()
{
    return QLatin1String(Organization);
}

QSettings panel()
{
    return QSettings(QSettings::IniFormat, QSettings::UserScope, organization(),
        QLatin1String(PanelApplication));
}

QSettings room()
{
    return QSettings(QSettings::IniFormat, QSettings::UserScope, organization(),
        QLatin1String(RoomApplication));
}

QSettings display(const QString &organizationName)
{
    return QSettings(QSettings::IniFormat, QSettings::UserScope, organizationName,
        QLatin1String(DisplayApplication));
}

} // namespace SettingsStore
