// The operator's channel and module commands without an input dialog, the table edits, the
// voltage increment keys and the slots the two control dialogs call.
#include "commandinputs.h"
#include "ethcontrol.h"

#include "applogging.h"
#include "configuration.h"
#include "scpi_parser.h"
#include "ui_ethcontrol.h"

#include <QLabel>
#include <QStatusBar>

#include <cmath>

namespace {
/// Direction of the next voltage staircase, shared by every window of the process: false
/// rises to the nominal voltage at the last channel, true falls from it at channel 0.
bool staircaseFalling = false;

constexpr int columnVoltageSet = 0;
constexpr int columnVoltageBounds = 2;
constexpr int columnCurrentSet = 4;
constexpr int columnCurrentBounds = 6;
constexpr int messageTime = 5000;
} // namespace

int EthControl::commandChannel()
{
    if (!link())
        return -1;
    const int channel = ui->table->currentRow();
    if (channel >= 0 && channel < link()->module().channelCount())
        return channel;
    // Without a channel address the module would apply the command to every channel.
    statusBar()->showMessage(tr("Select a channel in the table first."), messageTime);
    return -1;
}

void EthControl::on_actionSetChannelOn_triggered()
{
    const int channel = commandChannel();
    if (channel >= 0)
        link()->setChannelOn(true, channel);
}

void EthControl::on_actionSetChannelOff_triggered()
{
    const int channel = commandChannel();
    if (channel >= 0)
        link()->setChannelOn(false, channel);
}

void EthControl::on_actionSetChannelEmergencyOff_triggered()
{
    const int channel = commandChannel();
    if (channel >= 0)
        link()->setChannelEmergencyOff(true, channel);
}

void EthControl::on_actionClearChannelEmergencyOff_triggered()
{
    const int channel = commandChannel();
    if (channel >= 0)
        link()->setChannelEmergencyOff(false, channel);
}

void EthControl::on_actionClearEvents_triggered()
{
    const int channel = commandChannel();
    if (channel >= 0)
        clearChannelEvents(quint16(channel));
}

void EthControl::on_actionSetAllChannelsOn_triggered()
{
    if (link())
        link()->setChannelOn(true, link()->module().channelCount());
}

void EthControl::on_actionSetAllChannelsOff_triggered()
{
    if (link())
        link()->setChannelOn(false, link()->module().channelCount());
}

void EthControl::on_actionSetAllChannelsEmergencyOff_triggered()
{
    if (link())
        link()->setChannelEmergencyOff(true, link()->module().channelCount());
}

void EthControl::on_actionClearAllChannelsEmergencyOff_triggered()
{
    if (link())
        link()->setChannelEmergencyOff(false, link()->module().channelCount());
}

void EthControl::on_actionClearAllEvents_triggered()
{
    if (link())
        link()->clearStatus();
}

void EthControl::on_actionSetVoltageIncremental_triggered()
{
    if (!link())
        return;
    const Module &module = link()->module();
    const int channels = std::min(module.channelCount(), module.recordCount());
    if (channels <= 0)
        return;
    const QVector<float> voltages = CommandInputs::staircase(
        channels, std::fabs(module.channel(0).voltageNominal()), staircaseFalling);
    staircaseFalling = !staircaseFalling;
    for (int i = 0; i < voltages.size(); ++i)
        link()->setVoltage(voltages.at(i), i);
}

void EthControl::on_actionIncrementVoltage_triggered()
{
    const int channel = commandChannel();
    if (channel < 0)
        return;
    const Module &module = link()->module();
    link()->setVoltage(module.channel(channel).voltageSet() + module.voltageIncrement(), channel);
}

void EthControl::on_actionDecrementVoltage_triggered()
{
    const int channel = commandChannel();
    if (channel < 0)
        return;
    const Module &module = link()->module();
    link()->setVoltage(module.channel(channel).voltageSet() - module.voltageIncrement(), channel);
}

void EthControl::on_actionSetIncrementTimes10_triggered()
{
    const int channel = commandChannel();
    if (channel < 0)
        return;
    Module &module = link()->module();
    module.setVoltageIncrement(CommandInputs::incrementTimes10(
        module.voltageIncrement(), module.channel(channel).voltageNominal()));
    incrementLabel->setText(CommandInputs::incrementLabel(module.voltageIncrement()));
}

void EthControl::on_actionSetIncrementBy10_triggered()
{
    if (!link())
        return;
    Module &module = link()->module();
    module.setVoltageIncrement(CommandInputs::incrementBy10(module.voltageIncrement()));
    incrementLabel->setText(CommandInputs::incrementLabel(module.voltageIncrement()));
}

void EthControl::tableCellDataChanged(int row, int column, QString text)
{
    // A text that is no number is sent as 0; the module limits or refuses what it cannot take.
    const float typed = text.toFloat();
    float value = typed;
    const bool channel = link() && row >= 0 && row < link()->module().channelCount();
    switch (column) {
    case columnVoltageSet:
        value = configuration->voltageToSI(typed);
        if (channel)
            link()->setVoltage(value, row);
        break;
    case columnVoltageBounds:
        value = configuration->voltageToSI(typed);
        if (channel)
            link()->setVoltageBounds(value, row);
        break;
    case columnCurrentSet:
        value = configuration->currentToSI(typed);
        if (channel)
            link()->setCurrent(value, row);
        break;
    case columnCurrentBounds:
        value = configuration->currentToSI(typed);
        if (channel)
            link()->setCurrentBounds(value, row);
        break;
    default:
        break;
    }
    qCDebug(lcApp) << "tableCellDataChanged" << row << column << value;
}

void EthControl::clearChannelEvents(quint16 channel)
{
    if (!link())
        return;
    link()->clearChannelEvents(channel);
    link()->restartFullRead();
}

void EthControl::setChannelControl(quint16 channel, quint16 control)
{
    if (link())
        link()->setChannelControl(control, channel);
}

void EthControl::setChannelEventMask(quint16 channel, quint16 eventmask)
{
    if (link())
        link()->setChannelEventMask(eventmask, channel);
}

void EthControl::clearModuleEvents()
{
    if (link())
        link()->clearModuleEvents();
}

void EthControl::setModuleControl(quint16 control)
{
    if (link())
        link()->setModuleControl(control);
}

void EthControl::setModuleEventMask(quint16 eventmask)
{
    if (link())
        link()->setModuleEventMask(eventmask & 0xFFFFu);
}

void EthControl::outputChanged(Module::Output output, int value)
{
    if (link())
        link()->setModuleOutput(output, value);
}
