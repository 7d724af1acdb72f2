// Opening the dialogs: each is created on first use with the window as parent, connected once,
// prepared on every opening and shown modeless. The dialogs that listen to the module (Input/
// Output, Emission Parameters) follow the link that exists now: after a reconnection they are
// wired to the new link's module, never left on a deleted one.
#include "ethcontrol.h"

#include "ui_ethcontrol.h"

#include "configuration.h"
#include "dialogchannelcontrol.h"
#include "dialogconfiguration.h"
#include "dialogemissionparameters.h"
#include "dialoginputoutput.h"
#include "dialogmodulecontrol.h"
#include "dialogstatistic.h"
#include "dialogsuppliestemplimits.h"
#include "scpi_parser.h"

namespace {
void present(QDialog *dialog)
{
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
}
} // namespace

void EthControl::on_actionSuppliesAndTemperature_triggered()
{
    if (!dialogSuppliesTempLimits) {
        dialogSuppliesTempLimits = new DialogSuppliesTempLimits(this);
        connect(this, &EthControl::updateSuppliesTempLimits, dialogSuppliesTempLimits,
            &DialogSuppliesTempLimits::updateSuppliesTempLimits);
    }
    present(dialogSuppliesTempLimits);
}

void EthControl::on_actionChannelStatusControl_triggered()
{
    if (!dialogChannelControl) {
        dialogChannelControl = new DialogChannelControl(this);
        connect(this, &EthControl::updateChannelControlStatus, dialogChannelControl,
            &DialogChannelControl::updateChannelControlStatus);
        connect(dialogChannelControl, &DialogChannelControl::clearChannelEvents, this,
            &EthControl::clearChannelEvents);
        connect(dialogChannelControl, &DialogChannelControl::setChannelControl, this,
            &EthControl::setChannelControl);
        connect(dialogChannelControl, &DialogChannelControl::setChannelEventMask, this,
            &EthControl::setChannelEventMask);
    }
    // The whole configuration is read again, so the dialog fills with fresh words.
    if (link)
        link->restartFullRead();
    present(dialogChannelControl);
}

void EthControl::on_actionModuleStatusControl_triggered()
{
    if (!dialogModuleControl) {
        dialogModuleControl = new DialogModuleControl(this);
        connect(this, &EthControl::updateModuleControlStatus, dialogModuleControl,
            &DialogModuleControl::updateModuleControlStatus);
        connect(dialogModuleControl, &DialogModuleControl::clearModuleEvents, this,
            &EthControl::clearModuleEvents);
        connect(dialogModuleControl, &DialogModuleControl::setModuleControl, this,
            &EthControl::setModuleControl);
        connect(dialogModuleControl, &DialogModuleControl::setModuleEventMask, this,
            &EthControl::setModuleEventMask);
    }
    if (link)
        dialogModuleControl->enableChannelBoxes(link->module().channelCount());
    present(dialogModuleControl);
}

void EthControl::on_actionConfiguration_triggered()
{
    if (!configuration)
        return;
    if (!dialogConfiguration)
        dialogConfiguration = new DialogConfiguration(this, configuration);
    configuration->load();
    dialogConfiguration->takeFromConfiguration();
    present(dialogConfiguration);
}

void EthControl::on_actionStatistic_triggered()
{
    if (!dialogStatistic) {
        dialogStatistic = new DialogStatistic(link ? link->module().serialNumber() : 0, this);
        connect(this, &EthControl::updateChannelVoltageMeasure, dialogStatistic,
            &DialogStatistic::updateChannelVoltageMeasure);
        connect(this, &EthControl::updateChannelCurrentMeasure, dialogStatistic,
            &DialogStatistic::updateChannelCurrentMeasure);
        connect(this, &EthControl::updateChannelStatus, dialogStatistic,
            &DialogStatistic::updateChannelStatus);
        connect(this, &EthControl::updateAllModulesStarted, dialogStatistic,
            &DialogStatistic::updateAllModulesStarted);
        connect(this, &EthControl::updateAllModulesCompleted, dialogStatistic,
            &DialogStatistic::updateAllModulesCompleted);
        connect(this, &EthControl::updateModuleTemperature, dialogStatistic,
            &DialogStatistic::updateModuleTemperature);
    }
    if (link)
        dialogStatistic->setChannelCount(link->module().channelCount());
    present(dialogStatistic);
}

void EthControl::on_actionInputOutput_triggered()
{
    if (!dialogInputOutput) {
        dialogInputOutput = new DialogInputOutput(this);
        connect(
            dialogInputOutput, &DialogInputOutput::outputChanged, this, &EthControl::outputChanged);
        followLinkOnRefresh();
    }
    rewireDialogsToLink();
    showModuleInInputOutput();
    present(dialogInputOutput);
}

void EthControl::outputChanged(Module::Output output, int value)
{
    if (link)
        link->setModuleOutput(output, value);
}

void EthControl::on_actionEmissionParameters_triggered()
{
    if (!dialogEmissionParameters) {
        dialogEmissionParameters = new DialogEmissionParameters(this);
        followLinkOnRefresh();
    }
    rewireDialogsToLink();
    present(dialogEmissionParameters);
}

void EthControl::followLinkOnRefresh()
{
    // A reconnection creates a new link; the first refresh it drives rewires the dialogs.
    connect(this, &EthControl::updateAllModulesStarted, this, &EthControl::rewireDialogsToLink,
        Qt::UniqueConnection);
}

void EthControl::rewireDialogsToLink()
{
    if (dialogInputOutput && inputOutputLink != link) {
        if (inputOutputLink)
            QObject::disconnect(&inputOutputLink->module(), nullptr, dialogInputOutput, nullptr);
        inputOutputLink = link;
        if (link) {
            watchLinkDeletion();
            const Module *module = &link->module();
            connect(module, &Module::interlockChanged, dialogInputOutput,
                &DialogInputOutput::updateInterlock);
            connect(module, &Module::outputChanged, dialogInputOutput,
                &DialogInputOutput::updateOutput);
            showModuleInInputOutput();
        }
    }
    if (dialogEmissionParameters && emissionLink != link) {
        if (emissionLink) {
            QObject::disconnect(
                &emissionLink->module(), nullptr, dialogEmissionParameters, nullptr);
            QObject::disconnect(dialogEmissionParameters, nullptr, emissionLink, nullptr);
        }
        emissionLink = link;
        if (link) {
            watchLinkDeletion();
            const Module *module = &link->module();
            DialogEmissionParameters *dialog = dialogEmissionParameters;
            connect(module, &Module::emissionParameterPChanged, dialog,
                &DialogEmissionParameters::setEmissionParameterP);
            connect(module, &Module::emissionParameterIChanged, dialog,
                &DialogEmissionParameters::setEmissionParameterI);
            connect(module, &Module::emissionParameterDChanged, dialog,
                &DialogEmissionParameters::setEmissionParameterD);
            connect(module, &Module::filamentMinimumChanged, dialog,
                &DialogEmissionParameters::setFilamentMinimum);
            connect(module, &Module::filamentMaximumChanged, dialog,
                &DialogEmissionParameters::setFilamentMaximum);
            connect(dialog, &DialogEmissionParameters::emissionParameterChanged, link,
                &SCPI_Parser::setModuleEmissionParameter);
            dialog->setEmissionParameterP(module->emissionParameterP());
            dialog->setEmissionParameterI(module->emissionParameterI());
            dialog->setEmissionParameterD(module->emissionParameterD());
            dialog->setFilamentMinimum(module->filamentMinimum());
            dialog->setFilamentMaximum(module->filamentMaximum());
        }
    }
}

void EthControl::watchLinkDeletion()
{
    // Forget a deleted link before its address can be reused by the next one.
    connect(link, &QObject::destroyed, this, &EthControl::forgetDeletedLink, Qt::UniqueConnection);
}

void EthControl::forgetDeletedLink(QObject *gone)
{
    if (inputOutputLink == gone)
        inputOutputLink = nullptr;
    if (emissionLink == gone)
        emissionLink = nullptr;
}

void EthControl::showModuleInInputOutput()
{
    if (!link || !dialogInputOutput)
        return;
    const Module &module = link->module();
    for (Module::Output output :
        { Module::VoltageOutput, Module::FilamentOutput, Module::DigitalOutput })
        dialogInputOutput->updateOutput(output, module.output(output));
    dialogInputOutput->updateInterlock(module.interlock());
}
