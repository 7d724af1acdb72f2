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

} // namespace SettingsStore
