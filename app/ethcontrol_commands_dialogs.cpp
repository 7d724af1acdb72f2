// The operator commands that ask for a value first: set voltage and current of one or all
// channels, ramp speeds, the voltage increment and the selected channel. Each input dialog runs
// its own event loop while the link keeps polling, and the watchdog may end the connection
// meanwhile, so the link is looked at again after every answer.
#include "ethcontrol.h"
#include "commandinputs.h"

#include "configuration.h"
#include "scpi_parser.h"
#include "ui_ethcontrol.h"

#include <QInputDialog>
#include <QLabel>

#include <algorithm>

namespace {
/// Asks for a number with three decimals; false when the operator cancels.
bool askNumber(QWidget *parent, const CommandInputs::Prompt &prompt, double &value)
{
    bool ok = false;
    value = QInputDialog::getDouble(parent,
        QCoreApplication::translate("EthControl", "Vorn SCPI Control"), prompt.label, prompt.value,
        prompt.minimum, prompt.maximum, 3, &ok);
    return ok;
}
} // namespace

void EthControl::on_actionSetVset_triggered()
{
    const int channel = commandChannel();
    if (channel < 0)
        return;
    double value = 0.0;
    const auto prompt = CommandInputs::channelVoltage(link()->module(), *configuration, channel);
    if (askNumber(this, prompt, value) && link())
        link()->setVoltage(configuration->voltageToSI(float(value)), channel);
}

void EthControl::on_actionSetIset_triggered()
{
    const int channel = commandChannel();
    if (channel < 0)
        return;
    double value = 0.0;
    const auto prompt = CommandInputs::channelCurrent(link()->module(), *configuration, channel);
    if (askNumber(this, prompt, value) && link())
        link()->setCurrent(configuration->currentToSI(float(value)), channel);
}

int EthControl::initialChannel() const
{
    const int row = ui->table->currentRow();
    return row >= 0 && link() && row < link()->module().channelCount() ? row : 0;
}

void EthControl::on_actionSetAllVoltages_triggered()
{
    if (!link())
        return;
    double value = 0.0;
    const auto prompt
        = CommandInputs::allVoltages(link()->module(), *configuration, initialChannel());
    if (askNumber(this, prompt, value) && link())
        link()->setVoltage(configuration->voltageToSI(float(value)), link()->module().channelCount());
}

void EthControl::on_actionSetAllCurrents_triggered()
{
    if (!link())
        return;
    double value = 0.0;
    const auto prompt
        = CommandInputs::allCurrents(link()->module(), *configuration, initialChannel());
    if (askNumber(this, prompt, value) && link())
        link()->setCurrent(configuration->currentToSI(float(value)), link()->module().channelCount());
}

void EthControl::on_actionSetVoltageRamp_triggered()
{
    if (!link())
        return;
    double value = 0.0;
    const auto prompt = CommandInputs::voltageRamp(link()->module(), *configuration);
    if (!askNumber(this, prompt, value) || !link())
        return;
    const bool percent = link()->module().isPercentBased();
    const float speed = percent ? float(value) : configuration->voltageToSI(float(value));
    link()->setVoltageRamp(speed);
    ui->lblVRampSpeed->setText(CommandInputs::rampLabel(
        percent, value, configuration->voltageText(speed), configuration->voltageUnit()));
}

void EthControl::on_actionSetCurrentRamp_triggered()
{
    if (!link())
        return;
    double value = 0.0;
    const auto prompt = CommandInputs::currentRamp(link()->module(), *configuration);
    if (!askNumber(this, prompt, value) || !link())
        return;
    const bool percent = link()->module().isPercentBased();
    const float speed = percent ? float(value) : configuration->currentToSI(float(value));
    link()->setCurrentRamp(speed);
    ui->lblIRampSpeed->setText(CommandInputs::rampLabel(
        percent, value, configuration->currentText(speed), configuration->currentUnit()));
}

void EthControl::on_actionSetIncrement_triggered()
{
    const int channel = commandChannel();
    if (channel < 0)
        return;
    double value = 0.0;
    const auto prompt = CommandInputs::increment(link()->module(), *configuration, channel);
    if (!askNumber(this, prompt, value) || !link())
        return;
    link()->module().setVoltageIncrement(configuration->voltageToSI(float(value)));
    incrementLabel->setText(CommandInputs::incrementLabel(link()->module().voltageIncrement()));
}

void EthControl::on_actionSelectChannel_triggered()
{
    if (!link() || link()->module().channelCount() <= 0)
        return;
    const int last = link()->module().channelCount() - 1;
    bool ok = false;
    const int channel = QInputDialog::getInt(this, tr("Vorn SCPI Control"),
        tr("Select Channel (0...%1):").arg(last), ui->table->currentRow(), 0, last, 1, &ok);
    if (ok)
        ui->table->setCurrentCell(channel, std::max(ui->table->currentColumn(), 0));
}
