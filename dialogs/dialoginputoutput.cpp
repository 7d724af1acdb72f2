#include "dialoginputoutput.h"
#include "ui_dialoginputoutput.h"

#include "modulesession.h"
#include "scpi_parser.h"

#include <QEvent>

DialogInputOutput::DialogInputOutput(QWidget *parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::DialogInputOutput>())
{
    ui->setupUi(this);
}

DialogInputOutput::~DialogInputOutput() = default;

void DialogInputOutput::followSession(const ModuleSession *session)
{
    connect(session, &ModuleSession::linkChanged, this, &DialogInputOutput::followLink);
    followLink(session->link());
}

void DialogInputOutput::followLink(SCPI_Parser *link)
{
    if (m_link == link)
        return;
    if (m_link)
        QObject::disconnect(&m_link->module(), nullptr, this, nullptr);
    m_link = link;
    if (!link)
        return;
    const Module *module = &link->module();
    connect(module, &Module::interlockChanged, this, &DialogInputOutput::updateInterlock);
    connect(module, &Module::outputChanged, this, &DialogInputOutput::updateOutput);
    showModule(*module);
}

void DialogInputOutput::showModule(const Module &module)
{
    for (Module::Output output :
        { Module::VoltageOutput, Module::FilamentOutput, Module::DigitalOutput })
        updateOutput(output, module.output(output));
    updateInterlock(module.interlock());
}

void DialogInputOutput::updateOutput(Module::Output output, int value)
{
    switch (output) {
    case Module::VoltageOutput: {
        QRadioButton *buttons[]
            = { ui->radioVoltage0, ui->radioVoltage1, ui->radioVoltage2, ui->radioVoltage3 };
        buttons[(value >= 1 && value <= 3) ? value : 0]->setChecked(true);
        break;
    }
    case Module::FilamentOutput: {
        QRadioButton *buttons[]
            = { ui->radioFilament0, ui->radioFilament1, ui->radioFilament2, ui->radioFilament3 };
        buttons[(value >= 1 && value <= 3) ? value : 0]->setChecked(true);
        break;
    }
    case Module::DigitalOutput:
        ui->checkValve0->setChecked(value & 1);
        ui->checkValve1->setChecked(value & 2);
        ui->checkChiller->setChecked(value & 4);
        break;
    }
}

void DialogInputOutput::updateInterlock(int value)
{
    QCheckBox *boxes[] = { ui->checkIlk0, ui->checkIlk1, ui->checkIlk2, ui->checkIlk3,
        ui->checkIlk4, ui->checkIlk5, ui->checkIlk6, ui->checkIlk7 };
    for (int bit = 0; bit < 8; ++bit)
        boxes[bit]->setChecked(value & (1 << bit));
}

void DialogInputOutput::on_radioVoltage0_clicked()
{
    emit outputChanged(Module::VoltageOutput, 0);
}

void DialogInputOutput::on_radioVoltage1_clicked()
{
    emit outputChanged(Module::VoltageOutput, 1);
}

void DialogInputOutput::on_radioVoltage2_clicked()
{
    emit outputChanged(Module::VoltageOutput, 2);
}

void DialogInputOutput::on_radioVoltage3_clicked()
{
    emit outputChanged(Module::VoltageOutput, 3);
}

void DialogInputOutput::on_radioFilament0_clicked()
{
    emit outputChanged(Module::FilamentOutput, 0);
}

void DialogInputOutput::on_radioFilament1_clicked()
{
    emit outputChanged(Module::FilamentOutput, 1);
}

void DialogInputOutput::on_radioFilament2_clicked()
{
    emit outputChanged(Module::FilamentOutput, 2);
}

void DialogInputOutput::on_radioFilament3_clicked()
{
    emit outputChanged(Module::FilamentOutput, 3);
}

void DialogInputOutput::on_checkValve0_clicked()
{
    emitDigitalOutput();
}

void DialogInputOutput::on_checkValve1_clicked()
{
    emitDigitalOutput();
}

void DialogInputOutput::on_checkChiller_clicked()
{
    emitDigitalOutput();
}

void DialogInputOutput::emitDigitalOutput()
{
    const int value = (ui->checkValve0->isChecked() ? 1 : 0)
        + (ui->checkValve1->isChecked() ? 2 : 0) + (ui->checkChiller->isChecked() ? 4 : 0);
    emit outputChanged(Module::DigitalOutput, value);
}

void DialogInputOutput::changeEvent(QEvent *event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::LanguageChange)
        ui->retranslateUi(this);
}
