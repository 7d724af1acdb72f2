#include "displayrefresh.h"

#include "configuration.h"
#include "czelkchannelstatusbits.h"
#include "hvtable.h"
#include "modulesession.h"
#include "quietcellwrites.h"
#include "refreshscope.h"
#include "refreshtexts.h"
#include "scpi_parser.h"
#include "stattablech.h"
#include "stattablemod.h"

#include <QCoreApplication>
#include <QLabel>

#include <cstring>

namespace {
constexpr int statusLineEvery = 15;
constexpr int maximumRows = 64;
/// The low current range shows microamperes with four decimals.
constexpr double microamperesPerAmpere = 1e6;
constexpr int lowRangePrecision = 4;
constexpr int powerPrecision = 1;

// Built once: a QColor from a named colour costs a lookup, and cells need one when written.
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

/// Display units per SI unit, as the configuration documents its units.
double voltageScale(const QString &unit)
{
    return unit == QLatin1String("kV") ? 1e-3 : 1.0;
}

double currentScale(const QString &unit)
{
    if (unit == QLatin1String("mA"))
        return 1e3;
    return unit == Configuration::microAmpere() ? 1e6 : 1.0;
}
} // namespace

DisplayRefresh::DisplayRefresh(const Widgets &widgets, const Configuration *configuration,
    const ModuleSession *session, DisplaySignals *window, QObject *parent)
    : QObject(parent)
    , m_widgets(widgets)
    , m_configuration(configuration)
    , m_session(session)
    , m_window(window)
{
    m_lowRangeTexts.setFormat(
        microamperesPerAmpere, lowRangePrecision, &RefreshTexts::lowCurrentRangeText);
    m_powerTexts.setFormat(
        1.0, powerPrecision, [](float watts) { return RefreshTexts::powerText(watts, 1.0f); });
}

void DisplayRefresh::reset()
{
    forgetShown(m_widgets.table->rowCount());
}

void DisplayRefresh::forgetShown(int rows)
{
    m_cellCache.reset(rows);
    m_shownLabels.known = false;
    m_tablesRow = -1;
    m_everything = true;
    for (NumberTexts *texts : { &m_voltageTexts, &m_currentTexts, &m_lowRangeTexts, &m_powerTexts })
        texts->forget();
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
        forgetShown(rows);
        return;
    }
    if (!m_tableReady)
        return;
    checkCellCache(rows);
    const RefreshScope scope = m_everything ? RefreshScope::everything()
                                            : RefreshScope::ofAnswer(link->answeredRequest());
    m_everything = false;
    checkReceivers();

    if (listened(DisplaySignals::AllStarted))
        m_window->allModulesStarted();
    const int serialNumber = module.serialNumber();
    const int selectedRow = table->currentRow();
    {
        QuietCellWrites writes(table);
        for (int row = 0; row < rows; ++row) {
            const bool edited = row == m_editingRow || row == m_lastEditingRow;
            const quint16 columns = edited ? RefreshScope::AllColumns : scope.columns;
            if (columns || listened(DisplaySignals::PerChannel))
                refreshRow(module, row, serialNumber, columns, writes);
            if (row == selectedRow)
                refreshSelectedRow(module, row, scope.words);
        }
    }
    if (listened(DisplaySignals::Temperature))
        m_window->moduleTemperature(serialNumber, 0, module.temperature());
    if (listened(DisplaySignals::AllCompleted))
        m_window->allModulesCompleted();
    if (scope.labels || !m_shownLabels.known || selectedRow != m_shownLabels.currentRow)
        refreshLabels(module);
    if (listened(DisplaySignals::SuppliesTempLimits)) {
        m_window->suppliesTempLimits(module.supplyP5(), module.supplyP24(), module.supplyP12(),
            module.supplyN12(), module.temperature(), module.voltageLimit(), module.currentLimit(),
            module.firmwareName());
    }
}

void DisplayRefresh::checkReceivers()
{
    if (m_receiversKnown)
        return;
    m_receiversKnown = true;
    m_receivers = 0;
    if (!m_window)
        return;
    for (const Signal signal : DisplaySignals::Each) {
        if (m_window->hasReceivers(signal))
            m_receivers |= signal;
    }
}

void DisplayRefresh::showConnection()
{
    QLabel *status = m_widgets.status;
    // Setting a style sheet repolishes the label even when it is the same one.
    const QString green = QStringLiteral("color: green");
    if (status->styleSheet() != green)
        status->setStyleSheet(green);
    const SCPI_Parser *link = m_session->link();
    // The line is set every time (something else may have written the label) but composed
    // anew only when one of its parts changed.
    const QString line = QCoreApplication::translate(
        "EthControl", "Connected to: %1 at %2. Firmware: %3, Release: %4, Serial Number: %5");
    const QStringList parts = { line, m_deviceName, link ? link->interfaceName() : QString(),
        m_widgets.firmwareName->text(), m_widgets.firmwareRelease->text(),
        m_widgets.serialNumber->text() };
    if (parts != m_statusParts) {
        m_statusParts = parts;
        m_statusLine
            = parts.at(0).arg(parts.at(1), parts.at(2), parts.at(3), parts.at(4), parts.at(5));
    }
    status->setText(m_statusLine);
    m_widgets.table->setEnabled(true);
    m_connectionShown = true;
}

void DisplayRefresh::refreshRow(
    const Module &module, int row, int serialNumber, quint16 columns, QuietCellWrites &writes)
{
    const Channel &channel = module.channel(row);
    const quint16 status = channel.status();
    HvTable *table = m_widgets.table;
    const auto covers = [columns](int column) { return (columns >> column) & 1u; };
    // Writes a cell only when what it shows derives from changed inputs.
    const auto put = [&](int column, quint64 key, const auto &text, const QColor &background) {
        if (m_cellCache.unchanged(row, column, key))
            return;
        writes.write(row, column, [&] { table->setCell(row, column, text(), background); });
    };
    // A number cell costs nothing while its value (and \a flags, the cell's own bits) stays
    // exactly the same, and is written only when the digits it shows change.
    const auto number = [&](int column, NumberTexts &texts, float value, quint64 flags = 0,
                            bool yellow = false) {
        if (m_cellCache.sameInput(row, column, keyOf(value) | flags))
            return;
        const quint64 key = texts.key(value);
        put(
            column, key | flags, [&] { return texts.text(key, value); }, yellowOrWhite(yellow));
    };

    if (covers(0))
        number(0, m_voltageTexts, channel.voltageSet());
    if (covers(2))
        number(2, m_voltageTexts, channel.voltageBounds());
    if (listened(DisplaySignals::VoltageMeasure))
        m_window->channelVoltageMeasure(serialNumber, row, channel.voltageMeasure());
    if (covers(1))
        number(1, m_voltageTexts, channel.voltageMeasure());
    if (covers(3))
        number(3, m_voltageTexts, channel.voltageNominal());

    const bool lowCurrentRange = status & CZelkChannelStatusBits::LowCurrentRange;
    const bool delayedTrip = status & CZelkChannelStatusBits::Trip;
    // The table's flags go into the cells of Iset and Imeas as they are written; they follow
    // the status word, which comes with the state columns.
    if (covers(9)) {
        table->setLowCurrentRange(row, lowCurrentRange);
        table->setDelayedTrip(row, delayedTrip);
    }
    if (covers(4)) {
        const bool zero = channel.currentSet() == 0.0f;
        number(4, m_currentTexts, channel.currentSet(),
            (delayedTrip ? NumberTexts::CellBit1 : 0) | (zero ? NumberTexts::CellBit2 : 0), zero);
    }
    if (listened(DisplaySignals::CurrentMeasure))
        m_window->channelCurrentMeasure(serialNumber, row, channel.currentMeasure());
    if (covers(5)) {
        number(5, lowCurrentRange ? m_lowRangeTexts : m_currentTexts, channel.currentMeasure(),
            lowCurrentRange ? NumberTexts::CellBit1 : 0);
    }
    if (covers(6))
        number(6, m_currentTexts, channel.currentBounds());
    if (covers(7))
        number(7, m_currentTexts, channel.currentNominal());
    // Power is what the measured current times the measured voltage rounds to.
    if (covers(8))
        number(8, m_powerTexts, channel.currentMeasure() * channel.voltageMeasure());
    if (listened(DisplaySignals::ChannelStatus))
        m_window->channelStatus(serialNumber, row, status, channel.eventStatus());

    if (covers(9)) {
        const quint64 words = quint64(status) << 16 | channel.control();
        if (!m_cellCache.unchanged(row, 9, words)) {
            const RefreshTexts::StateWord state
                = RefreshTexts::stateWord(status, channel.control());
            writes.write(row, 9, [&] { table->setCell(row, 9, state.text, state.background); });
        }
    }
    const bool cv = status & CZelkChannelStatusBits::ConstantVoltage;
    const bool cc = status & CZelkChannelStatusBits::ConstantCurrent;
    if (covers(10))
        put(
            10, cv, [] { return QString(); }, yellowOrWhite(cv));
    if (covers(11))
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
        forgetShown(rows);
        m_voltageTexts.setFormat(voltageScale(format.voltageUnit), format.voltagePrecision,
            [&config](float volts) { return config.voltageText(volts); });
        m_currentTexts.setFormat(currentScale(format.currentUnit), format.currentPrecision,
            [&config](float amperes) { return config.currentText(amperes); });
    }
    // An edit changes the cell's text (and a cancelled one leaves it changed): rewrite the row
    // while it is edited and once more after.
    m_lastEditingRow = m_editingRow;
    m_editingRow = m_widgets.table->editingRow();
    m_cellCache.forgetRow(m_editingRow);
    m_cellCache.forgetRow(m_lastEditingRow);
}

void DisplayRefresh::refreshSelectedRow(const Module &module, int row, bool words)
{
    const Channel &channel = module.channel(row);
    if (words || row != m_tablesRow) {
        m_tablesRow = row;
        StatTableCh *channelTable = m_widgets.channelStatus;
        channelTable->updateControl(channel.control());
        channelTable->updateStatus(channel.status());
        channelTable->updateEventStatus(channel.eventStatus());
        channelTable->updateEventMask(static_cast<quint16>(channel.eventMask()));

        StatTableMod *moduleTable = m_widgets.moduleStatus;
        moduleTable->updateStatus(module.status());
        moduleTable->updateEventStatus(module.eventStatus());
        moduleTable->updateEventMask(static_cast<quint16>(module.eventMask()));
        moduleTable->updateControl(module.control());
    }

    if (listened(DisplaySignals::ModuleControl)) {
        m_window->moduleControlStatus(module.control(), module.status(), module.eventStatus(),
            static_cast<quint16>(module.eventMask()));
    }
    if (listened(DisplaySignals::ChannelControl)) {
        m_window->channelControlStatus(row, channel.control(), channel.status(),
            channel.eventStatus(), static_cast<quint16>(channel.eventMask()),
            channel.voltageNominal(), channel.currentNominal());
    }
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
    m_widgets.table->showUnitsAndColumns(config.voltageUnit(), config.currentUnit(),
        config.showVoltageBounds(), config.showCurrentBounds(), config.showPower());
}
