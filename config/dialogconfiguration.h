#pragma once

#include <QDialog>

#include <memory>

class Configuration;

namespace Ui {
class DialogConfiguration;
}

/// Lets the operator edit the display configuration and choose the level it is saved for:
/// all devices (0), all devices with the connected firmware (1) or the connected device (2).
/// A level whose firmware name or serial number is not known shows "n.A." and cannot be
/// saved. The dialog is modeless and reused; closing only hides it.
///
/// To open it: Configuration::load(), then takeFromConfiguration() (or the single
/// preparation operations), then show() and activateWindow().
class DialogConfiguration : public QDialog
{
    Q_OBJECT

public:
    /// \a configuration is not owned and must outlive the dialog.
    DialogConfiguration(QWidget *parent, Configuration *configuration);
    ~DialogConfiguration() override;

    /// Fills every field from the configuration: level, precisions, units and columns.
    void takeFromConfiguration();

    /// Selects the level 0 to 2; other values are ignored.
    void selectLevel(int level);
    void setVoltagePrecision(int decimals);
    void setCurrentPrecision(int decimals);
    /// Selects the unit by exact, case-sensitive text; an unknown text changes nothing.
    void selectVoltageUnit(const QString &unit);
    void selectCurrentUnit(const QString &unit);
    void setShowPower(bool show);
    void setShowVoltageBounds(bool show);
    void setShowCurrentBounds(bool show);

    /// Always the current index of the level selection.
    int selectedLevel() const { return m_selectedLevel; }

private slots:
    void on_cmbBoxDeviceSelect_currentIndexChanged(int index);
    void on_buttonBox_accepted();
    void on_buttonBox_rejected();

private:
    std::unique_ptr<Ui::DialogConfiguration> ui;
    Configuration *configuration = nullptr;
    int m_selectedLevel = 0;
};
