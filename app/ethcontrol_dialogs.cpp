// Opening the dialogs and tool windows: each is created on first use with the window as parent,
// connected once, prepared on every opening and shown modeless. The ones that follow the
// module (Input/Output, Emission Parameters, console, trend) take the session and follow its
// link themselves.
#include "ethcontrol.h"

#include "ui_ethcontrol.h"

#include "configuration.h"
#include "consolewindow.h"
#include "dialogchannelcontrol.h"
#include "dialogconfiguration.h"
#include "dialogemissionparameters.h"
#include "dialoginputoutput.h"
#include "dialogmodulecontrol.h"
#include "dialogstatistic.h"
#include "dialogsuppliestemplimits.h"
#include "historypanel.h"
#include "scpi_parser.h"
#include "sequencewindow.h"
#include "trendwindow.h"

namespace {
/// Creates \a window with \a make on first use, then shows it in front, modeless.
template <typename Window, typename Make> Window *present(Window *&window, Make make)
{
    if (!window)
        window = make();
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}
} // namespace

void EthControl::on_actionSuppliesAndTemperature_triggered()
{
    present(dialogSuppliesTempLimits, [this] {
        auto *dialog = new DialogSuppliesTempLimits(this);
        connect(this, &EthControl::updateSuppliesTempLimits, dialog,
            &DialogSuppliesTempLimits::updateSuppliesTempLimits);
        return dialog;
    });
}

void EthControl::on_actionChannelStatusControl_triggered()
{
    // The whole configuration is read again, so the dialog fills with fresh words.
    if (link())
        link()->restartFullRead();
    present(dialogChannelControl, [this] {
        auto *dialog = new DialogChannelControl(this);
        connect(this, &EthControl::updateChannelControlStatus, dialog,
            &DialogChannelControl::updateChannelControlStatus);
        connect(dialog, &DialogChannelControl::clearChannelEvents, this,
            &EthControl::clearChannelEvents);
        connect(
            dialog, &DialogChannelControl::setChannelControl, this, &EthControl::setChannelControl);
        connect(dialog, &DialogChannelControl::setChannelEventMask, this,
            &EthControl::setChannelEventMask);
        return dialog;
    });
}

void EthControl::on_actionModuleStatusControl_triggered()
{
    auto *dialog = present(dialogModuleControl, [this] {
        auto *created = new DialogModuleControl(this);
        connect(this, &EthControl::updateModuleControlStatus, created,
            &DialogModuleControl::updateModuleControlStatus);
        connect(
            created, &DialogModuleControl::clearModuleEvents, this, &EthControl::clearModuleEvents);
        connect(
            created, &DialogModuleControl::setModuleControl, this, &EthControl::setModuleControl);
        connect(created, &DialogModuleControl::setModuleEventMask, this,
            &EthControl::setModuleEventMask);
        return created;
    });
    if (link())
        dialog->enableChannelBoxes(link()->module().channelCount());
}

void EthControl::on_actionConfiguration_triggered()
{
    configuration->load();
    present(dialogConfiguration, [this] {
        return new DialogConfiguration(this, configuration);
    })->takeFromConfiguration();
}

void EthControl::on_actionStatistic_triggered()
{
    auto *dialog = present(dialogStatistic, [this] {
        auto *created = new DialogStatistic(link() ? link()->module().serialNumber() : 0, this);
        connect(this, &EthControl::updateChannelVoltageMeasure, created,
            &DialogStatistic::updateChannelVoltageMeasure);
        connect(this, &EthControl::updateChannelCurrentMeasure, created,
            &DialogStatistic::updateChannelCurrentMeasure);
        connect(
            this, &EthControl::updateChannelStatus, created, &DialogStatistic::updateChannelStatus);
        connect(this, &EthControl::updateAllModulesStarted, created,
            &DialogStatistic::updateAllModulesStarted);
        connect(this, &EthControl::updateAllModulesCompleted, created,
            &DialogStatistic::updateAllModulesCompleted);
        connect(this, &EthControl::updateModuleTemperature, created,
            &DialogStatistic::updateModuleTemperature);
        return created;
    });
    if (link())
        dialog->setChannelCount(link()->module().channelCount());
}

void EthControl::on_actionInputOutput_triggered()
{
    auto *dialog = present(dialogInputOutput, [this] {
        auto *created = new DialogInputOutput(this);
        connect(created, &DialogInputOutput::outputChanged, this, &EthControl::outputChanged);
        created->followSession(moduleSession);
        return created;
    });
    if (link())
        dialog->showModule(link()->module());
}

void EthControl::on_actionEmissionParameters_triggered()
{
    present(dialogEmissionParameters, [this] {
        auto *created = new DialogEmissionParameters(this);
        created->followSession(moduleSession);
        return created;
    });
}

void EthControl::on_actionScpiConsole_triggered()
{
    present(consoleWindow, [this] { return new ConsoleWindow(controller, this); });
}

void EthControl::on_actionTrend_triggered()
{
    present(trendWindow, [this] { return new TrendWindow(moduleSession, configuration, this); });
}

void EthControl::on_actionEventHistory_triggered()
{
    historyPanel->showWindow();
}

void EthControl::on_actionSequence_triggered()
{
    present(sequenceWindow, [this] {
        return new SequenceWindow(controller, this);
    });
}
