#include "configuration.h"

#include "settingsstore.h"

#include <QSettings>

#include <algorithm>

Q_LOGGING_CATEGORY(lcConfig, "vorn.config")

namespace {
const QString keyVoltageUnit = QStringLiteral("voltageUnit");
const QString keyVoltagePrecision = QStringLiteral("voltagePrecision");
const QString keyCurrentUnit = QStringLiteral("currentUnit");
const QString keyCurrentPrecision = QStringLiteral("currentPrecision");
const QString keyColumnVoltageBounds = QStringLiteral("colVbnd");
const QString keyColumnCurrentBounds = QStringLiteral("colIbnd");
const QString keyColumnPower = QStringLiteral("colPower");

// Removes the plain keys of one group. An empty group name is the top level of the store,
// whose child groups hold the other levels and must survive.
void removeKeysOf(QSettings &store, const QString &group)
{
    if (!group.isEmpty())
        store.beginGroup(group);
    const QStringList keys = store.childKeys();
    for (const QString &key : keys)
        store.remove(key);
    if (!group.isEmpty())
        store.endGroup();
}

QString readIn(QSettings &store, const QString &group, const QString &key)
{
    if (group.isEmpty())
        return store.value(key).toString();
    store.beginGroup(group);
    const QString text = store.value(key).toString();
    store.endGroup();
    return text;
}
}

Configuration::Configuration(QObject *parent, const QString &organizationName)
    : QObject(parent)
    , m_organizationName(organizationName)
{
}

QString Configuration::microAmpere()
{
    return QStringLiteral("\u00B5A");
}

void Configuration::setCurrentUnit(const QString &unit)
{
    // The store may hold the ASCII spelling, written by hand or by an older release.
    m_currentUnit = unit == QLatin1String("uA") ? microAmpere() : unit;
}

void Configuration::setSerialNumber(int value)
{
    m_serialNumber = value;
}

void Configuration::setFirmwareName(QString value)
{
    m_firmwareName = value;
}

QString Configuration::groupOf(int level) const
{
    switch (level) {
    case SerialNumberLevel:
        return QString::number(m_serialNumber);
    case FirmwareLevel:
        return m_firmwareName;
    default:
        return m_defaultGroup;
    }
}

QString Configuration::readKey(QSettings &store, const QString &key)
{
    m_sourceLevel = SerialNumberLevel;
    QString text = readIn(store, groupOf(SerialNumberLevel), key);
    if (text.isEmpty()) {
        m_sourceLevel = FirmwareLevel;
        text = readIn(store, groupOf(FirmwareLevel), key);
    }
    if (text.isEmpty()) {
        m_sourceLevel = DefaultLevel;
        text = readIn(store, groupOf(DefaultLevel), key);
    }
    return text;
}

int Configuration::readInteger(QSettings &store, const QString &key, int fallback)
{
    const QString text = readKey(store, key);
    if (text.isEmpty())
        return fallback;
    bool ok = false;
    const int value = text.toInt(&ok, 10);
    if (!ok)
        qCDebug(lcConfig) << "stored" << key << "is not a number, read as 0:" << text;
    return ok ? value : 0;
}

int Configuration::readPrecision(QSettings &store, const QString &key)
{
    // The dialog offers 0 to 10 decimals; a store edited by hand may hold anything, and a
    // huge precision would make every value text of the refresh billions of digits long.
    const int stored = readInteger(store, key, 2);
    const int precision = std::clamp(stored, 0, maximumPrecision);
    if (precision != stored)
        qCDebug(lcConfig) << "stored" << key << "out of range, read as" << precision << ":"
                          << stored;
    return precision;
}

void Configuration::load()
{
    QSettings store = SettingsStore::display(m_organizationName);
    const QString voltageUnit = readKey(store, keyVoltageUnit);
    m_voltageUnit = voltageUnit.isEmpty() ? QStringLiteral("V") : voltageUnit;
    m_voltagePrecision = readPrecision(store, keyVoltagePrecision);
    const QString currentUnit = readKey(store, keyCurrentUnit);
    setCurrentUnit(currentUnit.isEmpty() ? QStringLiteral("mA") : currentUnit);
    m_currentPrecision = readPrecision(store, keyCurrentPrecision);
    m_showVoltageBounds = readInteger(store, keyColumnVoltageBounds, 1) != 0;
    m_showCurrentBounds = readInteger(store, keyColumnCurrentBounds, 1) != 0;
    m_showPower = readInteger(store, keyColumnPower, 1) != 0;
    qCDebug(lcConfig) << "loaded for serial number" << m_serialNumber << "firmware"
                      << m_firmwareName << "last key from level" << m_sourceLevel;
}

void Configuration::save(int level)
{
    if (level < DefaultLevel || level > SerialNumberLevel) {
        qCWarning(lcConfig) << "no settings level" << level << "- nothing saved";
        return;
    }
    QSettings store = SettingsStore::display(m_organizationName);
    if (level < m_sourceLevel) {
        if (m_sourceLevel == SerialNumberLevel) {
            qCDebug(lcConfig) << "removing the settings of serial number" << m_serialNumber;
            removeKeysOf(store, groupOf(SerialNumberLevel));
        }
        qCDebug(lcConfig) << "removing the settings of firmware" << m_firmwareName;
        removeKeysOf(store, groupOf(FirmwareLevel));
    }
    m_sourceLevel = level;

    const QString group = groupOf(level);
    if (!group.isEmpty())
        store.beginGroup(group);
    store.setValue(keyVoltageUnit, m_voltageUnit);
    store.setValue(keyVoltagePrecision, m_voltagePrecision);
    store.setValue(keyCurrentUnit, m_currentUnit);
    store.setValue(keyCurrentPrecision, m_currentPrecision);
    store.setValue(keyColumnVoltageBounds, m_showVoltageBounds ? 1 : 0);
    store.setValue(keyColumnCurrentBounds, m_showCurrentBounds ? 1 : 0);
    store.setValue(keyColumnPower, m_showPower ? 1 : 0);
    if (!group.isEmpty())
        store.endGroup();
    store.sync();
    if (store.status() != QSettings::NoError)
        qCWarning(lcConfig) << "display configuration could not be written to" << store.fileName();
    emit saved();
}

QString Configuration::voltageText(float volts) const
{
    const double value = m_voltageUnit == QLatin1String("kV") ? double(volts) / 1000.0 : volts;
    return QStringLiteral("%L1").arg(value, 0, 'f', m_voltagePrecision);
}

QString Configuration::currentText(float amperes) const
{
    double value = amperes;
    if (m_currentUnit == QLatin1String("mA"))
        value *= 1000.0;
    else if (m_currentUnit == microAmpere())
        value *= 1000000.0;
    return QStringLiteral("%L1").arg(value, 0, 'f', m_currentPrecision);
}

float Configuration::voltageToSI(float value) const
{
    return m_voltageUnit == QLatin1String("kV") ? value * 1000.0f : value;
}

float Configuration::currentToSI(float value) const
{
    if (m_currentUnit == QLatin1String("mA"))
        return value / 1000.0f;
    if (m_currentUnit == microAmpere())
        return value / 1000000.0f;
    return value;
}
