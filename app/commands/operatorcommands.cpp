#include "operatorcommands.h"

#include "applogging.h"
#include "commandinputs.h"
#include "commandprompter.h"
#include "configuration.h"
#include "modulecontroller.h"
#include "scpi_parser.h"

#include <algorithm>
#include <cmath>

namespace {
using Kind = ChannelCommand::Kind;
constexpr int columnVoltageSet = 0;
constexpr int columnVoltageBounds = 2;
constexpr int columnCurrentSet = 4;
constexpr int columnCurrentBounds = 6;
} // namespace

OperatorCommands::OperatorCommands(ModuleController *controller, Configuration *configuration,
    CommandPrompter *prompter, QObject *parent)
    : QObject(parent)
    , controller(controller)
    , session(controller->session())
    , configuration(configuration)
    , prompter(prompter)
{
}

SCPI_Parser *OperatorCommands::link() const
{
    return session->link();
}

void OperatorCommands::send(ChannelCommand::Kind kind, int channel, float value, bool flag)
{
    const QString why
        = controller->command({ kind, channel, value, flag }, CommandSource::Operator);
    if (!why.isEmpty())
        prompter->showMessage(why);
}

int OperatorCommands::commandChannel()
{
    if (!link())
        return -1;
    const int channel = prompter->selectedChannel();
    if (channel >= 0 && channel < link()->module().channelCount())
        return channel;
    prompter->showMessage(tr("Select a channel in the table first."));
    return -1;
}

int OperatorCommands::initialChannel() const
{
    const int row = prompter->selectedChannel();
    return row >= 0 && link() && row < link()->module().channelCount() ? row : 0;
}

void OperatorCommands::askThenSend(
    const CommandInputs::Prompt &prompt, const std::function<void(SCPI_Parser &, double)> &send)
{
    if (!prompt.refusal.isEmpty()) {
        prompter->showMessage(prompt.refusal);
        return;
    }
    const std::optional<double> value = prompter->askNumber(prompt);
    if (value && link())
        send(*link(), *value);
}

void OperatorCommands::setChannelVoltage()
{
    const int channel = commandChannel();
    if (channel < 0)
        return;
    askThenSend(CommandInputs::channelVoltage(link()->module().state(), *configuration, channel),
        [this, channel](SCPI_Parser &, double value) {
            send(Kind::Voltage, channel, configuration->voltageToSI(float(value)));
        });
}

void OperatorCommands::setChannelCurrent()
{
    const int channel = commandChannel();
    if (channel < 0)
        return;
    askThenSend(CommandInputs::channelCurrent(link()->module().state(), *configuration, channel),
        [this, channel](SCPI_Parser &, double value) {
            send(Kind::Current, channel, configuration->currentToSI(float(value)));
        });
}

void OperatorCommands::setChannelOn()
{
    const int channel = commandChannel();
    if (channel >= 0)
        send(Kind::On, channel, 0.0f, true);
}

void OperatorCommands::setChannelOff()
{
    const int channel = commandChannel();
    if (channel >= 0)
        send(Kind::On, channel, 0.0f, false);
}

void OperatorCommands::setChannelEmergencyOff()
{
    const int channel = commandChannel();
    if (channel >= 0)
        send(Kind::EmergencyOff, channel, 0.0f, true);
}

void OperatorCommands::clearChannelEmergencyOff()
{
    const int channel = commandChannel();
    if (channel >= 0)
        send(Kind::EmergencyOff, channel, 0.0f, false);
}

void OperatorCommands::clearEvents()
{
    const int channel = commandChannel();
    if (channel >= 0)
        clearChannelEvents(quint16(channel));
}

void OperatorCommands::incrementVoltage()
{
    const int channel = commandChannel();
    if (channel < 0)
        return;
    const Module &module = link()->module();
    send(Kind::Voltage, channel, module.channel(channel).voltageSet() + module.voltageIncrement());
}

void OperatorCommands::decrementVoltage()
{
    const int channel = commandChannel();
    if (channel < 0)
        return;
    const Module &module = link()->module();
    send(Kind::Voltage, channel, module.channel(channel).voltageSet() - module.voltageIncrement());
}

void OperatorCommands::setIncrement()
{
    const int channel = commandChannel();
    if (channel < 0)
        return;
    askThenSend(CommandInputs::increment(link()->module().state(), *configuration, channel),
        [this](SCPI_Parser &now, double value) {
            now.module().setVoltageIncrement(configuration->voltageToSI(float(value)));
            emit incrementLabelChanged(
                CommandInputs::incrementLabel(now.module().voltageIncrement()));
        });
}

void OperatorCommands::setIncrementTimes10()
{
    const int channel = commandChannel();
    if (channel < 0)
        return;
    Module &module = link()->module();
    module.setVoltageIncrement(CommandInputs::incrementTimes10(
        module.voltageIncrement(), module.channel(channel).voltageNominal()));
    emit incrementLabelChanged(CommandInputs::incrementLabel(module.voltageIncrement()));
}

void OperatorCommands::setIncrementBy10()
{
    if (!link())
        return;
    Module &module = link()->module();
    module.setVoltageIncrement(CommandInputs::incrementBy10(module.voltageIncrement()));
    emit incrementLabelChanged(CommandInputs::incrementLabel(module.voltageIncrement()));
}

void OperatorCommands::selectChannel()
{
    if (!link() || link()->module().channelCount() <= 0)
        return;
    const int last = link()->module().channelCount() - 1;
    const std::optional<int> channel = prompter->askInteger(
        tr("Select Channel (0...%1):").arg(last), prompter->selectedChannel(), 0, last);
    if (channel)
        prompter->selectChannel(*channel);
}

void OperatorCommands::setAllVoltages()
{
    if (!link())
        return;
    askThenSend(CommandInputs::allVoltages(link()->module().state(), *configuration, initialChannel()),
        [this](SCPI_Parser &now, double value) {
            send(Kind::Voltage, now.module().channelCount(),
                configuration->voltageToSI(float(value)));
        });
}

void OperatorCommands::setAllCurrents()
{
    if (!link())
        return;
    askThenSend(CommandInputs::allCurrents(link()->module().state(), *configuration, initialChannel()),
        [this](SCPI_Parser &now, double value) {
            send(Kind::Current, now.module().channelCount(),
                configuration->currentToSI(float(value)));
        });
}

void OperatorCommands::setAllChannelsOn()
{
    if (link())
        send(Kind::On, link()->module().channelCount(), 0.0f, true);
}

void OperatorCommands::setAllChannelsOff()
{
    if (link())
        send(Kind::On, link()->module().channelCount(), 0.0f, false);
}

void OperatorCommands::setAllChannelsEmergencyOff()
{
    if (link())
        send(Kind::EmergencyOff, link()->module().channelCount(), 0.0f, true);
}

void OperatorCommands::clearAllChannelsEmergencyOff()
{
    if (link())
        send(Kind::EmergencyOff, link()->module().channelCount(), 0.0f, false);
}

void OperatorCommands::clearAllEvents()
{
    if (link())
        link()->clearStatus();
}

void OperatorCommands::setVoltageRamp()
{
    if (!link())
        return;
    askThenSend(CommandInputs::voltageRamp(link()->module().state(), *configuration),
        [this](SCPI_Parser &now, double value) {
            const bool percent = now.module().isPercentBased();
            const float speed = percent ? float(value) : configuration->voltageToSI(float(value));
            now.setVoltageRamp(speed);
            emit voltageRampLabelChanged(CommandInputs::rampLabel(
                percent, value, configuration->voltageText(speed), configuration->voltageUnit()));
        });
}

void OperatorCommands::setCurrentRamp()
{
    if (!link())
        return;
    askThenSend(CommandInputs::currentRamp(link()->module().state(), *configuration),
        [this](SCPI_Parser &now, double value) {
            const bool percent = now.module().isPercentBased();
            const float speed = percent ? float(value) : configuration->currentToSI(float(value));
            now.setCurrentRamp(speed);
            emit currentRampLabelChanged(CommandInputs::rampLabel(
                percent, value, configuration->currentText(speed), configuration->currentUnit()));
        });
}

void OperatorCommands::setVoltageStaircase()
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
        send(Kind::Voltage, i, voltages.at(i));
}

void OperatorCommands::setDigitalFilter()
{
    if (!link())
        return;
    const std::optional<QString> choice
        = prompter->chooseItem(tr("Choose Digital Filter steps:"), CommandInputs::filterSteps(),
            CommandInputs::filterPreselection(link()->module().average()));
    if (!choice || choice->isEmpty() || !link())
        return;
    bool number = false;
    const int steps = choice->toInt(&number, 10);
    if (number)
        link()->setAverage(steps);
}

void OperatorCommands::configureListenOnlyMode()
{
    if (!link())
        return;
    const QString mode = link()->module().interfaceMode() != 0 ? tr("listen-only") : tr("normal");
    const CommandPrompter::Answer answer = prompter->askYesNoCancel(tr("Set 'Listen Only' mode"),
        tr("Set the interface to 'Listen Only' mode?\n\nIn this mode, the device can be "
           "controlled locally and monitored by SCPI. It goes to remote as soon as the first set "
           "command was received over SCPI.\n\nThe interface is currently set to %1.")
            .arg(mode));
    if (!link())
        return;
    if (answer == CommandPrompter::Answer::Yes)
        link()->setInterfaceMode(1);
    else if (answer == CommandPrompter::Answer::No)
        link()->setInterfaceMode(0);
}

void OperatorCommands::saveConfiguration()
{
    if (link())
        link()->saveConfiguration();
}

void OperatorCommands::tableCellDataChanged(int row, int column, const QString &text)
{
    const float typed = text.toFloat();
    float value = typed;
    SCPI_Parser *const now = link();
    const bool channel = now && row >= 0 && row < now->module().channelCount();
    switch (column) {
    case columnVoltageSet:
        value = configuration->voltageToSI(typed);
        if (channel)
            send(Kind::Voltage, row, value);
        break;
    case columnVoltageBounds:
        value = configuration->voltageToSI(typed);
        if (channel)
            now->setVoltageBounds(value, row);
        break;
    case columnCurrentSet:
        value = configuration->currentToSI(typed);
        if (channel)
            send(Kind::Current, row, value);
        break;
    case columnCurrentBounds:
        value = configuration->currentToSI(typed);
        if (channel)
            now->setCurrentBounds(value, row);
        break;
    default:
        break;
    }
    qCDebug(lcApp) << "tableCellDataChanged" << row << column << value;
}

void OperatorCommands::clearChannelEvents(quint16 channel)
{
    if (!link())
        return;
    link()->clearChannelEvents(channel);
    link()->restartFullRead();
}

void OperatorCommands::setChannelControl(quint16 channel, quint16 control)
{
    if (link())
        link()->setChannelControl(control, channel);
}

void OperatorCommands::setChannelEventMask(quint16 channel, quint16 eventmask)
{
    if (link())
        link()->setChannelEventMask(eventmask, channel);
}

void OperatorCommands::clearModuleEvents()
{
    if (link())
        link()->clearModuleEvents();
}

void OperatorCommands::setModuleControl(quint16 control)
{
    if (link())
        link()->setModuleControl(control);
}

void OperatorCommands::setModuleEventMask(quint16 eventmask)
{
    if (link())
        link()->setModuleEventMask(eventmask & 0xFFFFu);
}

void OperatorCommands::outputChanged(Module::Output output, int value)
{
    if (link())
        link()->setModuleOutput(output, value);
}
