#include "dialogemissionparameters.h"
#include "ui_dialogemissionparameters.h"

#include "modulesession.h"
#include "scpi_parser.h"

#include <QEvent>

DialogEmissionParameters::DialogEmissionParameters(QWidget *parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::DialogEmissionParameters>())
{
    ui->setupUi(this);
}

DialogEmissionParameters::~DialogEmissionParameters() = default;

void DialogEmissionParameters::followSession(const ModuleSession *session)
{
    connect(session, &ModuleSession::linkChanged, this, &DialogEmissionParameters::followLink);
    followLink(session->link());
}

void DialogEmissionParameters::followLink(SCPI_Parser *link)
{
    if (m_link == link)
        return;
    if (m_link) {
        QObject::disconnect(&m_link->module(), nullptr, this, nullptr);
        QObject::disconnect(this, nullptr, m_link, nullptr);
    }
    m_link = link;
    if (!link)
        return;
    const Module *module = &link->module();
    connect(module, &Module::emissionParameterPChanged, this,
        &DialogEmissionParameters::setEmissionParameterP);
    connect(module, &Module::emissionParameterIChanged, this,
        &DialogEmissionParameters::setEmissionParameterI);
    connect(module, &Module::emissionParameterDChanged, this,
        &DialogEmissionParameters::setEmissionParameterD);
    connect(module, &Module::filamentMinimumChanged, this,
        &DialogEmissionParameters::setFilamentMinimum);
    connect(module, &Module::filamentMaximumChanged, this,
        &DialogEmissionParameters::setFilamentMaximum);
    connect(this, &DialogEmissionParameters::emissionParameterChanged, link,
        &SCPI_Parser::setModuleEmissionParameter);
    setEmissionParameterP(module->emissionParameterP());
    setEmissionParameterI(module->emissionParameterI());
    setEmissionParameterD(module->emissionParameterD());
    setFilamentMinimum(module->filamentMinimum());
    setFilamentMaximum(module->filamentMaximum());
}

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
