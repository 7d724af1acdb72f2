#include "moduletables.h"

#include "configuration.h"
#include "czelkchannelstatusbits.h"
#include "hvtable.h"
#include "refreshtexts.h"
#include "roster.h"
#include "stattablech.h"
#include "stattablemod.h"

#include <algorithm>

namespace {
QColor yellowOrWhite(bool yellow)
{
    return yellow ? QColor(Qt::yellow) : QColor(Qt::white);
}
}

ModuleTables::ModuleTables(const Widgets &widgets, const QString &organization, QObject *parent)
    : QObject(parent)
    , m_widgets(widgets)
    , m_configuration(new Configuration(this, organization))
{
    applyConfiguration();
}

void ModuleTables::clear()
{
    m_widgets.table->setRowCount(0);
    m_widgets.table->setEnabled(false);
    m_serial = 0;
}

void ModuleTables::applyConfiguration()
{
    const Configuration &config = *m_configuration;
    m_widgets.table->showUnitsAndColumns(config.voltageUnit(), config.currentUnit(),
        config.showVoltageBounds(), config.showCurrentBounds(), config.showPower());
}

void ModuleTables::show(const RoomModule &module, int channel)
{
    const ModuleState &state = module.state;
    if (module.serial != m_serial || state.firmwareName != m_firmware) {
        m_serial = module.serial;
        m_firmware = state.firmwareName;
        m_configuration->setSerialNumber(module.serial);
        m_configuration->setFirmwareName(state.firmwareName);
        m_configuration->load();
        applyConfiguration();
    }
    HvTable *table = m_widgets.table;
    table->setEnabled(!module.isStale());
    const int rows = state.channelsInUse();
    table->setChannelCount(rows);
    const Configuration &config = *m_configuration;
    const auto put = [table](int row, int column, const QString &text, const QColor &background) {
        table->setCell(row, column, text, background);
    };
    for (int row = 0; row < rows; ++row) {
        const ChannelState &c = state.channels[size_t(row)];
        const quint16 status = c.status();
        const bool lowRange = status & CZelkChannelStatusBits::LowCurrentRange;
        table->setLowCurrentRange(row, lowRange);
        table->setDelayedTrip(row, status & CZelkChannelStatusBits::Trip);
        table->setRowAlarm(row, std::any_of(module.alarms.begin(), module.alarms.end(), [row](const EventDetector::Condition &a) { return a.channel == row; }));
        put(row, HvTable::VoltageSet, config.voltageText(c.voltageSet()), Qt::white);
        put(row, HvTable::VoltageMeasured, config.voltageText(c.voltageMeasure()), Qt::white);
        put(row, HvTable::VoltageBounds, config.voltageText(c.voltageBounds()), Qt::white);
        put(row, HvTable::VoltageNominal, config.voltageText(c.voltageNominal()), Qt::white);
        put(row, HvTable::CurrentSet, config.currentText(c.currentSet()),
            yellowOrWhite(c.currentSet() == 0.0f));
        put(row, HvTable::CurrentMeasured,
            lowRange ? RefreshTexts::lowCurrentRangeText(c.currentMeasure())
                     : config.currentText(c.currentMeasure()),
            Qt::white);
        put(row, HvTable::CurrentBounds, config.currentText(c.currentBounds()), Qt::white);
        put(row, HvTable::CurrentNominal, config.currentText(c.currentNominal()), Qt::white);
        put(row, HvTable::Power, RefreshTexts::powerText(c.voltageMeasure(), c.currentMeasure()), Qt::white);
        const RefreshTexts::StateWord word = RefreshTexts::stateWord(status, c.control());
        put(row, HvTable::Status, word.text, word.background);
        put(row, HvTable::ConstantVoltage, QString(),
            yellowOrWhite(status & CZelkChannelStatusBits::ConstantVoltage));
        put(row, HvTable::ConstantCurrent, QString(),
            yellowOrWhite(status & CZelkChannelStatusBits::ConstantCurrent));
    }
    const int shown = channel >= 0 ? channel : qMax(0, table->currentRow());
    if (shown < rows) {
        const ChannelState &c = state.channels[size_t(shown)];
        m_widgets.channelStatus->updateControl(c.control());
        m_widgets.channelStatus->updateStatus(c.status());
        m_widgets.channelStatus->updateEventStatus(c.eventStatus());
        m_widgets.channelStatus->updateEventMask(quint16(c.eventMask()));
    }
    m_widgets.moduleStatus->updateStatus(state.status);
    m_widgets.moduleStatus->updateEventStatus(state.eventStatus);
    m_widgets.moduleStatus->updateEventMask(quint16(state.eventMask));
    m_widgets.moduleStatus->updateControl(state.control);
}
