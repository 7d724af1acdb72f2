// The display configuration reading a hand-edited settings file: the input becomes the INI file
// of the store, then the configuration is loaded for a device and used to format and convert
// values, as the channel table does.
#include "configuration.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLoggingCategory>
#include <QSettings>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>

namespace {
QString iniPath;
} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    static QCoreApplication app(*argc, *argv);
    QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false\n*.warning=false"));
    static QTemporaryDir dir;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir.path());
    QDir(dir.path()).mkpath(QStringLiteral("Vornwerk GmbH"));
    iniPath = dir.filePath(QStringLiteral("Vornwerk GmbH/VornScpiConfig.ini"));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    {
        QFile file(iniPath);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        file.write(reinterpret_cast<const char *>(data), qint64(size));
    }
    Configuration config(nullptr, QStringLiteral("Vornwerk GmbH"));
    config.setSerialNumber(4711);
    config.setFirmwareName(QStringLiteral("KA2F8"));
    config.load();
    const float volts = config.voltageToSI(1.5f);
    const float amperes = config.currentToSI(1.5f);
    (void)config.voltageText(volts);
    (void)config.currentText(amperes);
    (void)config.voltageText(-1e30f);
    (void)config.currentText(1e-30f);
    return 0;
}
