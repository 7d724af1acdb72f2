#include "dialogconfiguration.h"
#include "ui_dialogconfiguration.h"

#include "configuration.h"

DialogConfiguration::DialogConfiguration(QWidget *parent, Configuration *configuration)
    : QDialog(parent)
    , ui(std::make_unique<Ui::DialogConfiguration>())
    , configuration(configuration)
{
    ui->setupUi(this);
    m_selectedLevel = ui->cmbBoxDeviceSelect->currentIndex();
}

DialogConfiguration::~DialogConfiguration() = default;

void DialogConfiguration::takeFromConfiguration()
{
    if (!configuration)
        return;
    selectLevel(configuration->sourceLevel());
    setCurrentPrecision(configuration->currentPrecision());
    setVoltagePrecision(configuration->voltagePrecision());
    selectCurrentUnit(configuration->currentUnit());
    selectVoltageUnit(configuration->voltageUnit());
    setShowCurrentBounds(configuration->showCurrentBounds());
    setShowVoltageBounds(configuration->showVoltageBounds());
    setShowPower(configuration->showPower());
}

void DialogConfiguration::selectLevel(int level)
{
    if (level < 0 || level >= ui->cmbBoxDeviceSelect->count())
        return;
    ui->cmbBoxDeviceSelect->setCurrentIndex(level);
}

void DialogConfiguration::setVoltagePrecision(int decimals)
{
    ui->spnBoxVPrec->setValue(decimals);
}

void DialogConfiguration::setCurrentPrecision(int decimals)
{
    ui->spnBoxIPrec->setValue(decimals);
}

void DialogConfiguration::selectVoltageUnit(const QString &unit)
{
    const int index
        = ui->cmbBoxVUnitSelect->findText(unit, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index >= 0)
        ui->cmbBoxVUnitSelect->setCurrentIndex(index);
}

void DialogConfiguration::selectCurrentUnit(const QString &unit)
{
    const int index
        = ui->cmbBoxIUnitSelect->findText(unit, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index >= 0)
        ui->cmbBoxIUnitSelect->setCurrentIndex(index);
}

void DialogConfiguration::setShowPower(bool show)
{
    ui->chkBoxPower->setChecked(show);
}

void DialogConfiguration::setShowVoltageBounds(bool show)
{
    ui->chkBoxVbnd->setChecked(show);
}

void DialogConfiguration::setShowCurrentBounds(bool show)
{
    ui->chkBoxIbnd->setChecked(show);
}

void DialogConfiguration::on_cmbBoxDeviceSelect_currentIndexChanged(int index)
{
    m_selectedLevel = index;
    ui->lblValue->setEnabled(index != 0);
    ui->lblValTxt->setEnabled(index != 0);
    const QString notAvailable = tr("n.A.");
    switch (index) {
    case Configuration::DefaultLevel:
        ui->buttonBox->setEnabled(true);
        ui->lblValue->clear();
        break;
    case Configuration::FirmwareLevel: {
        const QString firmware = configuration ? configuration->firmwareName() : QString();
        // Without an identified module there is no group to save to.
        ui->buttonBox->setEnabled(!firmware.isEmpty());
        ui->lblValue->setText(firmware.isEmpty() ? notAvailable : firmware);
        break;
    }
    case Configuration::SerialNumberLevel: {
        const int serial = configuration ? configuration->serialNumber() : 0;
        ui->buttonBox->setEnabled(serial != 0);
        ui->lblValue->setText(serial == 0 ? notAvailable : QString::number(serial));
        break;
    }
    default:
        break;
    }
}

void DialogConfiguration::on_buttonBox_accepted()
{
    if (configuration) {
        configuration->setCurrentUnit(ui->cmbBoxIUnitSelect->currentText());
        configuration->setVoltageUnit(ui->cmbBoxVUnitSelect->currentText());
        configuration->setVoltagePrecision(ui->spnBoxVPrec->value());
        configuration->setCurrentPrecision(ui->spnBoxIPrec->value());
        configuration->setShowVoltageBounds(ui->chkBoxVbnd->isChecked());
        configuration->setShowCurrentBounds(ui->chkBoxIbnd->isChecked());
        configuration->setShowPower(ui->chkBoxPower->isChecked());
        configuration->save(m_selectedLevel);
    }
    close();
}

void DialogConfiguration::on_buttonBox_rejected()
{
    close();
}
