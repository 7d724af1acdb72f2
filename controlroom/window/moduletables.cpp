#include "moduletables.h"

#include "configuration.h"
#include "czelkchannelstatusbits.h"
#include "hvtable.h"
#include "refreshtexts.h"
#include "roster.h"
#include "stattablech.h"
#include "stattablemod.h"

#include <QResizeEvent>

#include <algorithm>

namespace {
enum Column {
    VoltageSet,
    VoltageMeasured,
    VoltageBounds,
    VoltageNominal,
    CurrentSet,
    CurrentMeasured,
    CurrentBounds,
    CurrentNominal,
    Power,
    Status,
    ConstantVoltage,
    ConstantCurrent
};

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
    HvTable *table = m_widgets.table;
    const QString voltageHeaders[] = { QStringLiteral("Vset (%1)"), QStringLiteral("Vmeas (%1)"),
        QStringLiteral("Vbounds (%1)"), QStringLiteral("Vnominal (%1)") };
    const QString currentHeaders[] = { QStringLiteral("Iset (%1)"), QStringLiteral("Imeas (%1)"),
        QStringLiteral("Ibounds (%1)"), QStringLiteral("Inominal (%1)") };
    for (int i = 0; i < 4; ++i) {
        table->setHeaderText(VoltageSet + i, voltageHeaders[i].arg(config.voltageUnit()));
        table->setHeaderText(CurrentSet + i, currentHeaders[i].arg(config.currentUnit()));
    }
    table->setHeaderText(Power, QStringLiteral("Power (W)"));
    table->setHeaderText(Status, QStringLiteral("Status"));
    table->setHeaderText(ConstantVoltage, QStringLiteral("CV"));
    table->setHeaderText(ConstantCurrent, QStringLiteral("CC"));
    table->setColumnHidden(VoltageBounds, !config.showVoltageBounds());
    table->setColumnHidden(CurrentBounds, !config.showCurrentBounds());
    table->setColumnHidden(Power, !config.showPower());
    QResizeEvent resized(table->size(), table->size());
    table->resizeEvent(&resized);
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
        put(row, VoltageSet, config.voltageText(c.voltageSet()), Qt::white);
        put(row, VoltageMeasured, config.voltageText(c.voltageMeasure()), Qt::white);
        put(row, VoltageBounds, config.voltageText(c.voltageBounds()), Qt::white);
        put(row, VoltageNominal, config.voltageText(c.voltageNominal()), Qt::white);
        put(row, CurrentSet, config.currentText(c.currentSet()),
            yellowOrWhite(c.currentSet() == 0.0f));
        put(row, CurrentMeasured,
            lowRange ? RefreshTexts::lowCurrentRangeText(c.currentMeasure())
                     : config.currentText(c.currentMeasure()),
            Qt::white);
        put(row, CurrentBounds, config.currentText(c.currentBounds()), Qt::white);
        put(row, CurrentNominal, config.currentText(c.currentNominal()), Qt::white);
        put(row, Power, RefreshTexts::powerText(c.voltageMeasure(), c.currentMeasure()), Qt::white);
        const RefreshTexts::StateWord word = RefreshTexts::stateWord(status, c.control());
        put(row, Status, word.text, word.background);
        put(row, ConstantVoltage, QString(),
            yellowOrWhite(status & CZelkChannelStatusBits::ConstantVoltage));
        put(row, ConstantCurrent, QString(),
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
