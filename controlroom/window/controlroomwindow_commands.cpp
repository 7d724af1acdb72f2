// The control room window's commands: set values (asked with the panel's prompts or typed into
// the channel table), on, off, emergency off, clear events, sequences and all off, and what
// became of each.
#include "controlroomwindow.h"
#include "ui_controlroomwindow.h"

#include "commandinputs.h"
#include "configuration.h"
#include "czelkchannelstatusbits.h"
#include "hvtable.h"
#include "moduletables.h"
#include "overviewfilter.h"
#include "overviewmodel.h"
#include "roomclient.h"

#include <QDateTime>
#include <QInputDialog>
#include <QMessageBox>

void ControlRoomWindow::scheduleModuleRefresh()
{
    if (!m_moduleRefresh.isActive())
        m_moduleRefresh.start();
}

void ControlRoomWindow::send(const QByteArray &what, const QByteArray &payload, int channel)
{
    if (!m_room->channelCommand(m_serial, channel, what, payload)) {
        ui->labelAnswer->setText(tr("Not sent: the broker is not connected."));
        return;
    }
    const double value = payload.toDouble();
    const QString command = what == "voltage" ? tr("set voltage %1 V").arg(value)
        : what == "current"                   ? tr("set current %1 A").arg(value)
        : what == "on"                        ? (value != 0.0 ? tr("on") : tr("off"))
        : what == "emergency-off" ? (value != 0.0 ? tr("emergency off") : tr("clear emergency off"))
                                  : tr("clear events");
    ui->labelAnswer->setText(tr("Sent %1 to module %2, %3")
                                 .arg(command)
                                 .arg(m_serial)
                                 .arg(channel >= 0 ? tr("channel %1").arg(channel)
                                                   : tr("all channels")));
    m_pending = { m_serial, channel, what, value };
}

void ControlRoomWindow::checkAnswer()
{
    const RoomModule *module = m_room->roster()->module(m_pending.serial);
    if (!module || m_pending.what.isEmpty())
        return;
    const int first = m_pending.channel >= 0 ? m_pending.channel : 0;
    const int last = m_pending.channel >= 0 ? m_pending.channel : module->state.channelsInUse() - 1;
    for (int c = first; c <= last && c < module->state.channelsInUse(); ++c) {
        const ChannelState &channel = module->state.channels[size_t(c)];
        const bool on = channel.status() & CZelkChannelStatusBits::On;
        const bool emergency = channel.status() & CZelkChannelStatusBits::Emergency;
        const bool asked = m_pending.value != 0.0;
        const bool done = m_pending.what == "voltage"
            ? qFuzzyCompare(1.0 + channel.voltageSet(), 1.0 + m_pending.value)
            : m_pending.what == "current"
            ? qFuzzyCompare(1.0 + channel.currentSet(), 1.0 + m_pending.value)
            : m_pending.what == "on"            ? on == asked
            : m_pending.what == "emergency-off" ? emergency == asked && !(asked && on)
                                                : true;
        if (!done)
            return;
    }
    if (m_pending.serial == m_serial)
        ui->labelAnswer->setText(
            ui->labelAnswer->text() + QLatin1Char(' ') + tr("- the module shows it done."));
    m_pending = {};
}

void ControlRoomWindow::setValue(const QByteArray &what)
{
    sendValue(what, m_channel, std::nullopt);
}

void ControlRoomWindow::sendValue(
    const QByteArray &what, int channel, std::optional<double> shownValue)
{
    const RoomModule *module = m_room->roster()->module(m_serial);
    const int channels = module ? module->state.channelsInUse() : 0;
    if (channels < 1 || channel >= channels)
        return;
    // The panel's prompts: the channel's allowed range (the largest of all channels for all),
    // in the display units the panel uses for this module.
    const Configuration &config = m_tables->configuration();
    const bool voltage = what == "voltage";
    const CommandInputs::Prompt prompt = channel >= 0
        ? (voltage ? CommandInputs::channelVoltage(module->state, config, channel)
                   : CommandInputs::channelCurrent(module->state, config, channel))
        : (voltage ? CommandInputs::allVoltages(module->state, config, 0)
                   : CommandInputs::allCurrents(module->state, config, 0));
    if (!prompt.refusal.isEmpty()) {
        ui->labelAnswer->setText(prompt.refusal);
        return;
    }
    if (!shownValue) {
        bool ok = false;
        const double value = QInputDialog::getDouble(this,
            voltage ? tr("Set voltage") : tr("Set current"), prompt.label, prompt.value,
            prompt.minimum, prompt.maximum, 3, &ok);
        if (!ok)
            return;
        shownValue = value;
    } else if (*shownValue < prompt.minimum || *shownValue > prompt.maximum) {
        ui->labelAnswer->setText(tr("Not sent: %1 is outside %2 ... %3 %4.")
                                     .arg(*shownValue)
                                     .arg(prompt.minimum)
                                     .arg(prompt.maximum)
                                     .arg(voltage ? config.voltageUnit() : config.currentUnit()));
        return;
    }
    const float si = voltage ? config.voltageToSI(float(*shownValue))
                             : config.currentToSI(float(*shownValue));
    send(what, QByteArray::number(double(si), 'g', 7), channel);
}

void ControlRoomWindow::on_tableChannels_currentCellChanged(
    int row, int, int previousRow, int)
{
    if (row < 0 || row == previousRow || row == m_channel)
        return;
    const QModelIndex source = m_overview->indexOf(m_serial, row);
    const QModelIndex shown = m_filter->mapFromSource(source);
    if (!shown.isValid())
        return;
    ui->treeOverview->expand(shown.parent());
    ui->treeOverview->setCurrentIndex(shown);
}

void ControlRoomWindow::on_tableChannels_cellDataChanged(int row, int column, const QString &text)
{
    enum { VoltageSetColumn = HvTable::VoltageSet, CurrentSetColumn = HvTable::CurrentSet };
    if (!m_noSetValues.isEmpty()) {
        ui->labelAnswer->setText(tr("Not sent: %1").arg(m_noSetValues));
        scheduleModuleRefresh();
        return;
    }
    if (column != VoltageSetColumn && column != CurrentSetColumn) {
        ui->labelAnswer->setText(
            tr("Not sent: the bridge takes set voltages and currents; bounds are set in the panel."));
        scheduleModuleRefresh();
        return;
    }
    // As typed, in the locale's format with or without its group separators.
    QString number = text.trimmed();
    number.remove(QLocale().groupSeparator());
    bool ok = false;
    double value = QLocale().toDouble(number, &ok);
    if (!ok)
        value = QLocale::c().toDouble(number, &ok);
    if (!ok) {
        ui->labelAnswer->setText(tr("Not sent: \"%1\" is not a number.").arg(text));
        scheduleModuleRefresh();
        return;
    }
    sendValue(column == VoltageSetColumn ? "voltage" : "current", row, value);
    scheduleModuleRefresh();
}

void ControlRoomWindow::on_buttonSetVoltage_clicked()
{
    setValue("voltage");
}

void ControlRoomWindow::on_buttonSetCurrent_clicked()
{
    setValue("current");
}

void ControlRoomWindow::on_buttonClearEvents_clicked()
{
    send("clear-events", "1");
}

void ControlRoomWindow::on_buttonOn_clicked()
{
    send("on", "1");
}

void ControlRoomWindow::on_buttonOff_clicked()
{
    send("on", "0");
}

void ControlRoomWindow::on_buttonEmergencyOff_clicked()
{
    send("emergency-off", "1");
}

void ControlRoomWindow::sequence(const QByteArray &what, const QByteArray &payload)
{
    if (!m_room->sequenceCommand(m_serial, what, payload))
        ui->labelProgress->setText(tr("Not sent: the broker is not connected."));
}

void ControlRoomWindow::on_buttonRun_clicked()
{
    sequence("run", ui->comboSequenceFiles->currentText().toUtf8());
}

void ControlRoomWindow::on_buttonPause_clicked()
{
    sequence("pause");
}

void ControlRoomWindow::on_buttonResume_clicked()
{
    sequence("resume");
}

void ControlRoomWindow::on_buttonAbort_clicked()
{
    sequence("abort");
}

QList<int> ControlRoomWindow::chosenModules() const
{
    QList<int> serials;
    const QModelIndexList rows = ui->treeOverview->selectionModel()->selectedRows();
    for (const QModelIndex &row : rows) {
        const int serial = m_overview->serialAt(m_filter->mapToSource(row));
        if (serial && !serials.contains(serial))
            serials << serial;
    }
    if (serials.isEmpty()) {
        for (int row = 0; row < m_filter->rowCount(); ++row)
            serials << m_overview->serialAt(m_filter->mapToSource(m_filter->index(row, 0)));
    }
    return serials;
}

void ControlRoomWindow::on_actionAllOff_triggered()
{
    const QList<int> serials = chosenModules();
    int channels = 0;
    for (const int serial : serials) {
        if (const RoomModule *module = m_room->roster()->module(serial))
            channels += module->state.channelsInUse();
    }
    if (serials.isEmpty()
        || QMessageBox::question(this, tr("All off"),
               tr("Switch off all %1 channels of %2 modules?").arg(channels).arg(serials.size()))
            != QMessageBox::Yes)
        return;
    for (const int serial : serials)
        m_room->channelCommand(serial, -1, "on", "0");
    m_allOff = serials;
    m_allOffSince = QDateTime::currentMSecsSinceEpoch();
    m_allOffTimer.start();
    updateAllOff();
}

void ControlRoomWindow::updateAllOff()
{
    QStringList waiting;
    for (const int serial : std::as_const(m_allOff)) {
        const RoomModule *module = m_room->roster()->module(serial);
        if (!module || module->channelsOn() > 0)
            waiting << QString::number(serial);
    }
    const int done = int(m_allOff.size() - waiting.size());
    statusBar()->showMessage(waiting.isEmpty()
            ? tr("All off: all %1 modules report their channels off.").arg(m_allOff.size())
            : tr("All off: %1 of %2 modules report their channels off; not yet: %3")
                  .arg(done)
                  .arg(m_allOff.size())
                  .arg(waiting.join(QStringLiteral(", "))));
    if (waiting.isEmpty() || QDateTime::currentMSecsSinceEpoch() - m_allOffSince > 120000)
        m_allOffTimer.stop();
}
