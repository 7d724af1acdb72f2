#include "displayrefresh.h"

#include "configuration.h"
#include "hvtable.h"
#include "modulesession.h"
#include "refreshtexts.h"
#include "scpi_parser.h"
#include "stattablech.h"
#include "stattablemod.h"

#include <QCoreApplication>
#include <QLabel>
#include <QResizeEvent>

#include <cstring>

namespace {
constexpr int statusLineEvery = 15;
constexpr int maximumRows = 64;
constexpr int columnVoltageBounds = 2;
constexpr int columnCurrentBounds = 6;
constexpr int columnPower = 8;
constexpr quint16 statusLowCurrentRange = 1u << 8;
constexpr quint16 statusTrip = 1u << 13;
constexpr quint16 statusConstantCurrent = 1u << 6;
constexpr quint16 statusConstantVoltage = 1u << 7;

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
} // namespace

DisplayRefresh::DisplayRefresh(const Widgets &widgets, const Configuration *configuration,
    const ModuleSession *session, QObject *parent)
    : QObject(parent)
    , m_widgets(widgets)
    , m_configuration(configuration)
    , m_session(session)
{
}

void DisplayRefresh::reset()
{
    m_cellCache.reset(m_widgets.table->rowCount());
}

void DisplayRefresh::refresh()
{
    m_runs = static_cast<qint8>(m_runs + 1);
    if (m_runs % statusLineEvery == 0)
        showConnection();
    const SCPI_Parser *link = m_session->link();
    if (!link || !link->isConnected())
        return;
    const Module &module = link->module();
    HvTable *table = m_widgets.table;
    const int rows = qMin(module.channelCount(), maximumRows);
    if (rows != table->rowCount()) {
        table->setChannelCount(rows);
        m_tableReady = true;
        table->setCurrentCell(0, 0);
        m_cellCache.reset(rows);
        m_shownLabels.known = false;
        return;
    }
    if (!m_tableReady)
        return;
    checkCellCache(rows);

    emit updateAllModulesStarted();
    const int serialNumber = module.serialNumber();
    const int selectedRow = table->currentRow();
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

void DisplayRefresh::showConnection()
{
    QLabel *status = m_widgets.status;
    // Setting a style sheet repolishes the label even when it is the same one.
    const QString green = QStringLiteral("color: green");
    if (status->styleSheet() != green)
        status->setStyleSheet(green);
    const SCPI_Parser *link = m_session->link();
    status->setText(QCoreApplication::translate(
        "EthControl", "Connected to: %1 at %2. Firmware: %3, Release: %4, Serial Number: %5")
                        .arg(m_deviceName, link ? link->interfaceName() : QString(),
                            m_widgets.firmwareName->text(), m_widgets.firmwareRelease->text(),
                            m_widgets.serialNumber->text()));
    m_widgets.table->setEnabled(true);
    m_connectionShown = true;
}

void DisplayRefresh::refreshRow(const Module &module, int row, int serialNumber)
{
    const Channel &channel = module.channel(row);
    const quint16 status = channel.status();
    HvTable *table = m_widgets.table;
    const Configuration &config = *m_configuration;
    // Formats and writes a cell only when what it shows derives from changed inputs. A value
    // that rounds to zero shows without a minus sign.
    const auto put = [&](int column, quint64 key, const auto &text, const QColor &background) {
        if (!m_cellCache.unchanged(row, column, key))
            table->setCell(row, column, RefreshTexts::withoutNegativeZero(text()), background);
    };
    const auto voltage = [&](int column, float value) {
        put(
            column, keyOf(value), [&] { return config.voltageText(value); }, white());
    };
    const auto current = [&](int column, float value) {
        put(
            column, keyOf(value), [&] { return config.currentText(value); }, white());
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
        [&] { return config.currentText(channel.currentSet()); },
        yellowOrWhite(channel.currentSet() == 0.0f));
    emit updateChannelCurrentMeasure(serialNumber, row, channel.currentMeasure());
    put(
        5, keyOf(channel.currentMeasure(), lowCurrentRange),
        [&] {
            return lowCurrentRange ? RefreshTexts::lowCurrentRangeText(channel.currentMeasure())
                                   : config.currentText(channel.currentMeasure());
        },
        white());
    current(6, channel.currentBounds());
    current(7, channel.currentNominal());
    put(
        8, keyOf(channel.voltageMeasure(), keyOf(channel.currentMeasure())),
        [&] { return RefreshTexts::powerText(channel.voltageMeasure(), channel.currentMeasure()); },
        white());
    emit updateChannelStatus(serialNumber, row, status, channel.eventStatus());

    const quint64 words = quint64(status) << 16 | channel.control();
    if (!m_cellCache.unchanged(row, 9, words)) {
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

void DisplayRefresh::checkCellCache(int rows)
{
    const Configuration &config = *m_configuration;
    CellFormat &format = m_cellFormat;
    if (config.voltagePrecision() != format.voltagePrecision
        || config.currentPrecision() != format.currentPrecision
        || config.voltageUnit() != format.voltageUnit
        || config.currentUnit() != format.currentUnit) {
        format = { config.voltageUnit(), config.voltagePrecision(), config.currentUnit(),
            config.currentPrecision() };
        m_cellCache.reset(rows);
        m_shownLabels.known = false;
    }
    // An edit changes the cell's text (and a cancelled one leaves it changed): rewrite the row
    // while it is edited and once more after.
    const int editing = m_widgets.table->editingRow();
    m_cellCache.forgetRow(editing);
    m_cellCache.forgetRow(m_lastEditingRow);
    m_lastEditingRow = editing;
}

void DisplayRefresh::refreshSelectedRow(const Module &module, int row)
{
    const Channel &channel = module.channel(row);
    StatTableCh *channelTable = m_widgets.channelStatus;
    channelTable->updateControl(channel.control());
    channelTable->updateStatus(channel.status());
    channelTable->updateEventStatus(channel.eventStatus());
    channelTable->updateEventMask(static_cast<quint16>(channel.eventMask()));

    const auto moduleMask = static_cast<quint16>(module.eventMask());
    StatTableMod *moduleTable = m_widgets.moduleStatus;
    moduleTable->updateStatus(module.status());
    moduleTable->updateEventStatus(module.eventStatus());
    moduleTable->updateEventMask(moduleMask);
    moduleTable->updateControl(module.control());

    emit updateModuleControlStatus(
        module.control(), module.status(), module.eventStatus(), moduleMask);
    emit updateChannelControlStatus(row, channel.control(), channel.status(), channel.eventStatus(),
        static_cast<quint16>(channel.eventMask()), channel.voltageNominal(),
        channel.currentNominal());
}

void DisplayRefresh::refreshLabels(const Module &module)
{
    // QLabel skips a text equal to the one it shows; what is left to spare per answer is the
    // formatting, so numbers are formatted only when they changed.
    const Configuration &config = *m_configuration;
    ShownLabels &shown = m_shownLabels;
    const int serialNumber = module.serialNumber();
    if (!shown.known || serialNumber != shown.serialNumber)
        m_widgets.serialNumber->setText(QString::number(serialNumber));
    m_widgets.firmwareRelease->setText(module.firmwareRelease());
    m_widgets.firmwareName->setText(module.firmwareName());
    const bool percentBased = module.isPercentBased();
    const quint64 ramps = keyOf(module.voltageRamp(), keyOf(module.currentRamp()));
    if (!shown.known || percentBased != shown.percentBased || ramps != shown.ramps) {
        if (percentBased) {
            m_widgets.voltageRamp->setText(RefreshTexts::percentRampText(module.voltageRamp()));
            m_widgets.currentRamp->setText(RefreshTexts::percentRampText(module.currentRamp()));
        } else {
            m_widgets.voltageRamp->setText(RefreshTexts::unitRampText(
                config.voltageText(module.voltageRamp()), config.voltageUnit()));
            m_widgets.currentRamp->setText(RefreshTexts::unitRampText(
                config.currentText(module.currentRamp()), config.currentUnit()));
        }
    }
    const int currentRow = m_widgets.table->currentRow();
    if (!shown.known || currentRow != shown.currentRow)
        m_widgets.channelCaption->setText(
            QCoreApplication::translate("EthControl", "Status Channel ")
            + QString::number(currentRow));
    shown = { true, serialNumber, percentBased, ramps, currentRow };
}

void DisplayRefresh::applyConfiguration()
{
    const Configuration &config = *m_configuration;
    HvTable *table = m_widgets.table;
    const QString voltageHeaders[] = { QStringLiteral("Vset (%1)"), QStringLiteral("Vmeas (%1)"),
        QStringLiteral("Vbounds (%1)"), QStringLiteral("Vnominal (%1)") };
    const QString currentHeaders[] = { QStringLiteral("Iset (%1)"), QStringLiteral("Imeas (%1)"),
        QStringLiteral("Ibounds (%1)"), QStringLiteral("Inominal (%1)") };
    for (int i = 0; i < 4; ++i) {
        table->setHeaderText(i, voltageHeaders[i].arg(config.voltageUnit()));
        table->setHeaderText(4 + i, currentHeaders[i].arg(config.currentUnit()));
    }
    table->setColumnHidden(columnVoltageBounds, !config.showVoltageBounds());
    table->setColumnHidden(columnCurrentBounds, !config.showCurrentBounds());
    table->setColumnHidden(columnPower, !config.showPower());
    // Hiding or showing a column sends the table no resize; share its width out again now.
    QResizeEvent resized(table->size(), table->size());
    table->resizeEvent(&resized);
}
