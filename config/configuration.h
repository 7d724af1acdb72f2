#pragma once

#include <QLoggingCategory>
#include <QObject>
#include <QString>

class QSettings;

Q_DECLARE_LOGGING_CATEGORY(lcConfig)

/// How voltages and currents are shown: unit, decimals, and which optional columns of the
/// channel table are visible. The settings live in an INI store (user scope, application
/// "VornScpiConfig") with one group per device serial number (level 2), one per firmware name
/// (level 1) and the group "default" (level 0); every key is looked up from the most specific
/// group down to the built-in default.
///
/// The module's values are SI (volts, amperes); voltageText()/currentText() convert them to
/// the display unit and format them with the default locale, voltageToSI()/currentToSI()
/// convert operator input back.
class Configuration : public QObject
{
    Q_OBJECT

public:
    enum Level { DefaultLevel = 0, FirmwareLevel = 1, SerialNumberLevel = 2 };
    /// Most decimals a value text gets; a stored precision is read within 0 to this.
    static constexpr int maximumPrecision = 10;

    Configuration(QObject *parent, const QString &organizationName);

    /// Reads all seven keys for the current serial number and firmware name.
    void load();
    /// Writes all seven keys at \a level (0 to 2). Saving below the level the values were read
    /// from first removes the keys of the more specific groups, so that they no longer hide
    /// the new settings. Then emits saved().
    void save(int level);

    QString voltageUnit() const { return m_voltageUnit; }
    /// "kV" means kilovolts; any other text counts as volts.
    void setVoltageUnit(const QString &unit) { m_voltageUnit = unit; }
    QString currentUnit() const { return m_currentUnit; }
    /// "mA" and "µA" (also given as "uA", stored as "µA"); any other text counts as amperes.
    void setCurrentUnit(const QString &unit);
    int voltagePrecision() const { return m_voltagePrecision; }
    void setVoltagePrecision(int value) { m_voltagePrecision = value; }
    int currentPrecision() const { return m_currentPrecision; }
    void setCurrentPrecision(int value) { m_currentPrecision = value; }
    bool showVoltageBounds() const { return m_showVoltageBounds; }
    void setShowVoltageBounds(bool value) { m_showVoltageBounds = value; }
    bool showCurrentBounds() const { return m_showCurrentBounds; }
    void setShowCurrentBounds(bool value) { m_showCurrentBounds = value; }
    bool showPower() const { return m_showPower; }
    void setShowPower(bool value) { m_showPower = value; }

    /// The level the last key was read from or written to.
    int sourceLevel() const { return m_sourceLevel; }
    int serialNumber() const { return m_serialNumber; }
    QString firmwareName() const { return m_firmwareName; }

    QString voltageText(float volts) const;
    QString currentText(float amperes) const;
    float voltageToSI(float value) const;
    float currentToSI(float value) const;

    /// The display-unit text for microamperes, U+00B5 followed by "A".
    static QString microAmpere();

signals:
    /// The settings were written: the display takes the new units and columns.
    void saved();

public slots:
    /// Takes effect at the next load().
    void setSerialNumber(int value);
    /// Takes effect at the next load().
    void setFirmwareName(QString value);

private:
    QString readKey(QSettings &store, const QString &key);
    int readInteger(QSettings &store, const QString &key, int fallback);
    int readPrecision(QSettings &store, const QString &key);
    QString groupOf(int level) const;

    QString m_organizationName;
    QString m_firmwareName;
    QString m_defaultGroup = QStringLiteral("default");
    int m_sourceLevel = DefaultLevel;
    int m_serialNumber = 0;
    QString m_voltageUnit = QStringLiteral("V");
    int m_voltagePrecision = 2;
    QString m_currentUnit = QStringLiteral("mA");
    int m_currentPrecision = 2;
    bool m_showCurrentBounds = true;
    bool m_showVoltageBounds = true;
    bool m_showPower = true;
};
