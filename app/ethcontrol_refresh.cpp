// The display refresh: one run per answer the link has processed.
#include "ethcontrol.h"

#include "configuration.h"
#include "refreshtexts.h"
#include "scpi_parser.h"
#include "ui_ethcontrol.h"

#include <QLabel>
#include <QTimer>

#include <cstring>

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

// Built once: a QColor from a named colour costs a lookup, and every cell needs one per answer.
const QColor &white()
{
    static const QColor color(Qt::white);
    return color;
}

const QColor &yellowOrWhite(bool yellow)
{
    static const QColor color(Qt::yellow);
    return yellow ? color : white();
}

quint64 keyOf(float value, quint64 extra = 0)
{
    quint32 bits = 0;
    static_assert(sizeof bits == sizeof value, "float is 32 bits");
    memcpy(&bits, &value, sizeof bits);
    return bits | extra << 32;
}
}

void EthControl::updateDisplayTimer()
{
    watchdog->start();
    callCounter = static_cast<qint8>(callCounter + 1);
    if (callCounter % statusLineEvery == 0) {
        // Setting a style sheet repolishes the label even when it is the same one.
        const QString green = QStringLiteral("color: green");
        if (statusLabel->styleSheet() != green)
            statusLabel->setStyleSheet(green);
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
        cellCache.reset(rows);
        shownLabels.known = false;
        return;
    }
    if (!tableReady)
        return;
    checkCellCache(rows);

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
    // Formats and writes a cell only when what it shows derives from changed inputs. A value
    // that rounds to zero shows without a minus sign.
    const auto put = [&](int column, quint64 key, const auto &text, const QColor &background) {
        if (!cellCache.unchanged(row, column, key))
            table->setCell(row, column, RefreshTexts::withoutNegativeZero(text()), background);
    };
    const auto voltage = [&](int column, float value) {
        put(
            column, keyOf(value), [&] { return configuration->voltageText(value); }, white());
    };
    const auto current = [&](int column, float value, const QColor &background) {
        put(
            column, keyOf(value), [&] { return configuration->currentText(value); }, background);
    };

    voltage(0, channel.voltageSet());
    voltage(2, channel.voltageBounds());
    emit updateChannelVoltageMeasure(serialNumber, row, channel.voltageMeasure());
    voltage(1, channel.voltageMeasure());
    voltage(3, channel.voltageNominal());

    const bool lowCurrentRange = status & statusLowCurrentRange;
    const bool delayedTrip = status & statusTrip;
    table->setLowCurrentRange(row, lowCurrentRange);
    table->setDelayedTrip(row, delayedTrip);
    put(
        4, keyOf(channel.currentSet(), delayedTrip),
        [&] { return configuration->currentText(channel.currentSet()); },
        yellowOrWhite(channel.currentSet() == 0.0f));
    emit updateChannelCurrentMeasure(serialNumber, row, channel.currentMeasure());
    put(
        5, keyOf(channel.currentMeasure(), lowCurrentRange),
        [&] {
            return lowCurrentRange ? RefreshTexts::lowCurrentRangeText(channel.currentMeasure())
                                   : configuration->currentText(channel.currentMeasure());
        },
        white());
    current(6, channel.currentBounds(), white());
    current(7, channel.currentNominal(), white());
    put(
        8, keyOf(channel.voltageMeasure(), keyOf(channel.currentMeasure())),
        [&] { return RefreshTexts::powerText(channel.voltageMeasure(), channel.currentMeasure()); },
        white());
    emit updateChannelStatus(serialNumber, row, status, channel.eventStatus());

    const quint64 words = quint64(status) << 16 | channel.control();
    if (!cellCache.unchanged(row, 9, words)) {
        const RefreshTexts::StateWord state = RefreshTexts::stateWord(status, channel.control());
        table->setCell(row, 9, state.text, state.background);
    }
    const bool cv = status & statusConstantVoltage;
    const bool cc = status & statusConstantCurrent;
    put(
        10, cv, [] { return QString(); }, yellowOrWhite(cv));
    put(
        11, cc, [] { return QString(); }, yellowOrWhite(cc));
}

void EthControl::checkCellCache(int rows)
{
    CellFormat &format = cellCacheFormat;
    if (configuration->voltagePrecision() != format.voltagePrecision
        || configuration->currentPrecision() != format.currentPrecision
        || configuration->voltageUnit() != format.voltageUnit
        || configuration->currentUnit() != format.currentUnit) {
        format = { configuration->voltageUnit(), configuration->voltagePrecision(),
            configuration->currentUnit(), configuration->currentPrecision() };
        cellCache.reset(rows);
        shownLabels.known = false;
    }
    // An edit changes the cell's text (and a cancelled one leaves it changed): rewrite the row
    // while it is edited and once more after.
    const int editing = ui->table->editingRow();
    cellCache.forgetRow(editing);
    cellCache.forgetRow(lastEditingRow);
    lastEditingRow = editing;
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
    // QLabel skips a text equal to the one it shows; what is left to spare per answer is the
    // formatting, so numbers are formatted only when they changed.
    ShownLabels &shown = shownLabels;
    const int serialNumber = module.serialNumber();
    if (!shown.known || serialNumber != shown.serialNumber)
        ui->lblSerial->setText(QString::number(serialNumber));
    ui->lblFirmwareRel->setText(module.firmwareRelease());
    ui->lblFirmwareName->setText(module.firmwareName());
    const bool percentBased = module.isPercentBased();
    const quint64 ramps = keyOf(module.voltageRamp(), keyOf(module.currentRamp()));
    if (!shown.known || percentBased != shown.percentBased || ramps != shown.ramps) {
        if (percentBased) {
            ui->lblVRampSpeed->setText(RefreshTexts::percentRampText(module.voltageRamp()));
            ui->lblIRampSpeed->setText(RefreshTexts::percentRampText(module.currentRamp()));
        } else {
            ui->lblVRampSpeed->setText(RefreshTexts::unitRampText(
                configuration->voltageText(module.voltageRamp()), configuration->voltageUnit()));
            ui->lblIRampSpeed->setText(RefreshTexts::unitRampText(
                configuration->currentText(module.currentRamp()), configuration->currentUnit()));
        }
    }
    const int currentRow = ui->table->currentRow();
    if (!shown.known || currentRow != shown.currentRow)
        ui->lblChanTable->setText(tr("Status Channel ") + QString::number(currentRow));
    shown = { true, serialNumber, percentBased, ramps, currentRow };
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
