// The display refresh: one run per answer the link has processed.
#include "ethcontrol.h"

#include "configuration.h"
#include "refreshtexts.h"
#include "scpi_parser.h"
#include "ui_ethcontrol.h"

#include <QLabel>
#include <QTimer>

namespace {
constexpr int statusLineEvery = 15;
constexpr int maximumRows = 64;
constexpr quint16 statusLowCurrentRange = 1u << 8;
constexpr quint16 statusTrip = 1u << 13;
constexpr quint16 statusConstantCurrent = 1u << 6;
constexpr quint16 statusConstantVoltage = 1u << 7;

// Kept for the whole program run, not per connection.
qint8 callCounter = 0;
bool tableReady = false;

QColor whiteOr(bool condition, Qt::GlobalColor color)
{
    return QColor(condition ? color : Qt::white);
}
}

void EthControl::updateDisplayTimer()
{
    watchdog->start();
    callCounter = static_cast<qint8>(callCounter + 1);
    if (callCounter % statusLineEvery == 0) {
        statusLabel->setStyleSheet(QStringLiteral("color: green"));
        statusLabel->setText(
            tr("Connected to: %1 at %2. Firmware: %3, Release: %4, Serial Number: %5")
                .arg(deviceName, link ? link->interfaceName() : QString(),
                    ui->lblFirmwareName->text(), ui->lblFirmwareRel->text(),
                    ui->lblSerial->text()));
        ui->table->setEnabled(true);
        connected = true;
    }
    if (!link || !link->isConnected())
        return;
    const Module &module = link->module();
    const int rows = qMin(module.channelCount(), maximumRows);
    if (rows != ui->table->rowCount()) {
        ui->table->setChannelCount(rows);
        tableReady = true;
        ui->table->setCurrentCell(0, 0);
        return;
    }
    if (!tableReady)
        return;

    emit updateAllModulesStarted();
    const int serialNumber = module.serialNumber();
    const int selectedRow = ui->table->currentRow();
    for (int row = 0; row < rows; ++row) {
        refreshRow(module, row, serialNumber);
        if (row == selectedRow)
            refreshSelectedRow(module, row);
    }
    emit updateModuleTemperature(serialNumber, 0, module.temperature());
    emit updateAllModulesCompleted();
    refreshLabels(module);
    emit updateSuppliesTempLimits(module.supplyP5(), module.supplyP24(), module.supplyP12(),
        module.supplyN12(), module.temperature(), module.voltageLimit(), module.currentLimit(),
        module.firmwareName());
}

void EthControl::refreshRow(const Module &module, int row, int serialNumber)
{
    const Channel &channel = module.channel(row);
    const quint16 status = channel.status();
    HvTable *table = ui->table;
    const QColor white(Qt::white);

    table->setCell(row, 0, configuration->voltageText(channel.voltageSet()), white);
    table->setCell(row, 2, configuration->voltageText(channel.voltageBounds()), white);
    emit updateChannelVoltageMeasure(serialNumber, row, channel.voltageMeasure());
    table->setCell(row, 1, configuration->voltageText(channel.voltageMeasure()), white);
    table->setCell(row, 3, configuration->voltageText(channel.voltageNominal()), white);

    table->setLowCurrentRange(row, status & statusLowCurrentRange);
    table->setDelayedTrip(row, status & statusTrip);
    table->setCell(row, 4, configuration->currentText(channel.currentSet()),
        whiteOr(channel.currentSet() == 0.0f, Qt::yellow));
    emit updateChannelCurrentMeasure(serialNumber, row, channel.currentMeasure());
    table->setCell(row, 5,
        (status & statusLowCurrentRange)
            ? RefreshTexts::lowCurrentRangeText(channel.currentMeasure())
            : configuration->currentText(channel.currentMeasure()),
        white);
    table->setCell(row, 6, configuration->currentText(channel.currentBounds()), white);
    table->setCell(row, 7, configuration->currentText(channel.currentNominal()), white);
    table->setCell(
        row, 8, RefreshTexts::powerText(channel.voltageMeasure(), channel.currentMeasure()), white);
    emit updateChannelStatus(serialNumber, row, status, channel.eventStatus());

    const RefreshTexts::StateWord state = RefreshTexts::stateWord(status, channel.control());
    table->setCell(row, 9, state.text, state.background);
    table->setCell(row, 10, QString(), whiteOr(status & statusConstantVoltage, Qt::yellow));
    table->setCell(row, 11, QString(), whiteOr(status & statusConstantCurrent, Qt::yellow));
}

void EthControl::refreshSelectedRow(const Module &module, int row)
{
    const Channel &channel = module.channel(row);
    ui->tableChanStat->updateControl(channel.control());
    ui->tableChanStat->updateStatus(channel.status());
    ui->tableChanStat->updateEventStatus(channel.eventStatus());
    ui->tableChanStat->updateEventMask(static_cast<quint16>(channel.eventMask()));

    const auto moduleMask = static_cast<quint16>(module.eventMask());
    ui->tableModStat->updateStatus(module.status());
    ui->tableModStat->updateEventStatus(module.eventStatus());
    ui->tableModStat->updateEventMask(moduleMask);
    ui->tableModStat->updateControl(module.control());

    emit updateModuleControlStatus(
        module.control(), module.status(), module.eventStatus(), moduleMask);
    emit updateChannelControlStatus(row, channel.control(), channel.status(), channel.eventStatus(),
        static_cast<quint16>(channel.eventMask()), channel.voltageNominal(),
        channel.currentNominal());
}

void EthControl::refreshLabels(const Module &module)
{
    ui->lblSerial->setText(QString::number(module.serialNumber()));
    ui->lblFirmwareRel->setText(module.firmwareRelease());
    ui->lblFirmwareName->setText(module.firmwareName());
    if (module.isPercentBased()) {
        ui->lblVRampSpeed->setText(RefreshTexts::percentRampText(module.voltageRamp()));
        ui->lblIRampSpeed->setText(RefreshTexts::percentRampText(module.currentRamp()));
    } else {
        ui->lblVRampSpeed->setText(RefreshTexts::unitRampText(
            configuration->voltageText(module.voltageRamp()), configuration->voltageUnit()));
        ui->lblIRampSpeed->setText(RefreshTexts::unitRampText(
            configuration->currentText(module.currentRamp()), configuration->currentUnit()));
    }
    ui->lblChanTable->setText(tr("Status Channel ") + QString::number(ui->table->currentRow()));
}

void EthControl::on_buttonFlipCh_clicked()
{
    const bool show = ui->tableChanStat->isHidden();
    ui->tableChanStat->setVisible(show);
    ui->buttonFlipCh->setText(show ? QStringLiteral("-") : QStringLiteral("+"));
}

void EthControl::on_buttonFlipMod_clicked()
{
    const bool show = ui->tableModStat->isHidden();
    ui->tableModStat->setVisible(show);
    ui->buttonFlipMod->setText(show ? QStringLiteral("-") : QStringLiteral("+"));
}
