#include "dialogemissionparameters.h"
#include "ui_dialogemissionparameters.h"

#include <QEvent>

DialogEmissionParameters::DialogEmissionParameters(QWidget *parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::DialogEmissionParameters>())
{
    ui->setupUi(this);
}

DialogEmissionParameters::~DialogEmissionParameters() = default;

void DialogEmissionParameters::setEmissionParameterP(float value)
{
    ui->proportionalBox->setValue(value);
}

void DialogEmissionParameters::setEmissionParameterI(float value)
{
    ui->integralBox->setValue(value);
}

void DialogEmissionParameters::setEmissionParameterD(float value)
{
    ui->differentialBox->setValue(value);
}

void DialogEmissionParameters::setFilamentMinimum(float value)
{
    ui->filamentMinimumBox->setValue(value);
}

void DialogEmissionParameters::setFilamentMaximum(float value)
{
    ui->filamentMaximumBox->setValue(value);
}

void DialogEmissionParameters::accept()
{
    emit emissionParameterChanged(static_cast<float>(ui->proportionalBox->value()),
        static_cast<float>(ui->integralBox->value()),
        static_cast<float>(ui->differentialBox->value()),
        static_cast<float>(ui->filamentMinimumBox->value()),
        static_cast<float>(ui->filamentMaximumBox->value()));
    QDialog::accept();
}

void DialogEmissionParameters::changeEvent(QEvent *event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::LanguageChange)
        ui->retranslateUi(this);
}
