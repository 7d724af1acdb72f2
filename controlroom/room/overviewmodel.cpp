#include "overviewmodel.h"

#include "czelkchannelstatusbits.h"
#include "refreshtexts.h"
#include "roster.h"

#include <QColor>
#include <QDateTime>

namespace {

/// Module rows carry this as their internal id; channel rows their module row's index.
constexpr quintptr ModuleRow = ~quintptr(0);

// Short enough for a narrow column: volts with one decimal, currents in milliamperes with four.
QString volts(double value)
{
    return QString::asprintf("%.1f V", value);
}

QString milliamperes(double amperes)
{
    return QString::asprintf("%.4f mA", amperes * 1000.0);
}

} // namespace

OverviewModel::OverviewModel(ModuleRoster *roster, QObject *parent)
    : QAbstractItemModel(parent)
    , m_roster(roster)
{
    m_flush.setSingleShot(true);
    m_sinceFlush.start();
    connect(&m_flush, &QTimer::timeout, this, &OverviewModel::flush);
    connect(roster, &ModuleRoster::moduleAdded, this, [this](int serial) {
        beginInsertRows({}, int(m_serials.size()), int(m_serials.size()));
        m_serials << serial;
        m_channelRows << 0;
        endInsertRows();
        m_dirty.insert(serial);
        scheduleFlush();
    });
    const auto changed = [this](int serial) {
        m_dirty.insert(serial);
        scheduleFlush();
    };
    connect(roster, &ModuleRoster::moduleChanged, this, changed);
    connect(roster, &ModuleRoster::alarmsChanged, this, changed);
}

void OverviewModel::scheduleFlush()
{
    if (!m_flush.isActive())
        m_flush.start(int(qMax<qint64>(0, RefreshMs - m_sinceFlush.elapsed())));
}

void OverviewModel::flush()
{
    m_sinceFlush.restart();
    for (const int serial : std::as_const(m_dirty)) {
        const int row = int(m_serials.indexOf(serial));
        const RoomModule *module = m_roster->module(serial);
        if (row < 0 || !module)
            continue;
        const QModelIndex parentIndex = index(row, 0);
        const int channels = module->state.channelsInUse();
        const int shown = m_channelRows.at(row);
        if (channels > shown) {
            beginInsertRows(parentIndex, shown, channels - 1);
            m_channelRows[row] = channels;
            endInsertRows();
        } else if (channels < shown) {
            beginRemoveRows(parentIndex, channels, shown - 1);
            m_channelRows[row] = channels;
            endRemoveRows();
        }
        // Name, serial, device and bridge seldom change: a sorted or filtered view looks at a
        // row again only for the columns named here.
        const QString identity = module->name + QLatin1Char('\n') + module->state.deviceName
            + QLatin1Char('\n') + QString::fromUtf8(module->bridgeTopic);
        const bool sameIdentity = m_identities.value(serial) == identity;
        if (!sameIdentity)
            m_identities.insert(serial, identity);
        emit dataChanged(index(row, sameIdentity ? State : 0), index(row, Columns - 1));
        if (channels > 0)
            emit dataChanged(index(0, VoltageSet, parentIndex),
                index(channels - 1, Columns - 1, parentIndex));
    }
    m_dirty.clear();
}

QModelIndex OverviewModel::index(int row, int column, const QModelIndex &parent) const
{
    if (column < 0 || column >= Columns || row < 0)
        return {};
    if (!parent.isValid())
        return row < m_serials.size() ? createIndex(row, column, ModuleRow) : QModelIndex();
    if (parent.internalId() != ModuleRow || row >= m_channelRows.value(parent.row()))
        return {};
    return createIndex(row, column, quintptr(parent.row()));
}

QModelIndex OverviewModel::indexOf(int serial, int channel) const
{
    const QModelIndex module = index(int(m_serials.indexOf(serial)), 0);
    return channel >= 0 && module.isValid() ? index(channel, 0, module) : module;
}

QModelIndex OverviewModel::parent(const QModelIndex &child) const
{
    if (!child.isValid() || child.internalId() == ModuleRow)
        return {};
    return createIndex(int(child.internalId()), 0, ModuleRow);
}

int OverviewModel::rowCount(const QModelIndex &parent) const
{
    if (!parent.isValid())
        return int(m_serials.size());
    if (parent.internalId() == ModuleRow && parent.column() == 0)
        return m_channelRows.value(parent.row());
    return 0;
}

int OverviewModel::columnCount(const QModelIndex &) const
{
    return Columns;
}

int OverviewModel::serialAt(const QModelIndex &index) const
{
    if (!index.isValid())
        return 0;
    const int row = index.internalId() == ModuleRow ? index.row() : int(index.internalId());
    return m_serials.value(row);
}

QVariant OverviewModel::data(const QModelIndex &index, int role) const
{
    const int serial = serialAt(index);
    const RoomModule *module = m_roster->module(serial);
    if (!module)
        return {};
    if (role == SerialRole)
        return serial;
    const bool channelRow = index.internalId() != ModuleRow;
    if (role == Qt::ForegroundRole && module->isStale())
        return QColor(Qt::gray);
    if (role == Qt::BackgroundRole && !channelRow && module->moduleState == "clash")
        return QColor(255, 200, 120);
    if (channelRow && index.column() == StatusNames && index.row() < module->state.channelsInUse()) {
        // The panel's state word and its colour; the bits that are set as the tooltip.
        const ChannelState &c = module->state.channels[size_t(index.row())];
        if (role == Qt::BackgroundRole)
            return RefreshTexts::stateWord(c.status(), c.control()).background;
        if (role == Qt::ToolTipRole)
            return statusNames(c.status());
    }
    if (channelRow && role == Qt::ToolTipRole) {
        switch (index.column()) {
        case VoltageSet:
            return tr("Set voltage");
        case VoltageMeasured:
            return tr("Measured voltage");
        case CurrentSet:
            return tr("Set current");
        case CurrentMeasured:
            return tr("Measured current");
        }
    }
    if (role == SortRole)
        return sortValue(*module, channelRow ? index.row() : -1, index.column());
    if (role == Qt::TextAlignmentRole && index.column() >= OnTripped)
        return int(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole)
        return {};
    return channelRow ? channelText(*module, index.row(), index.column())
                      : moduleText(*module, index.column());
}

QString OverviewModel::moduleText(const RoomModule &module, int column) const
{
    switch (column) {
    case Name:
        return module.name;
    case Serial:
        return QString::number(module.serial);
    case Device:
        return module.state.deviceName;
    case Bridge:
        return QString::fromUtf8(module.bridgeTopic.split('/').value(2));
    case State:
        if (module.isStale())
            return tr("stale since %1")
                .arg(QDateTime::fromMSecsSinceEpoch(module.staleSinceMs).toString(u"HH:mm:ss"));
        return QString::fromUtf8(module.moduleState);
    case OnTripped:
        return QStringLiteral("%1 / %2").arg(module.channelsOn()).arg(module.channelsTripped());
    case HighestVoltage:
        return volts(module.highestVoltage());
    case Alarms:
        return module.alarms.isEmpty() ? QString() : QString::number(module.alarms.size());
    }
    return {};
}

QString OverviewModel::channelText(const RoomModule &module, int channel, int column) const
{
    if (channel >= module.state.channelsInUse())
        return {};
    const ChannelState &c = module.state.channels[size_t(channel)];
    switch (column) {
    case Channel:
        return tr("channel %1").arg(channel);
    case VoltageSet:
        return volts(c.voltageSet());
    case VoltageMeasured:
        return volts(c.voltageMeasure());
    case CurrentSet:
        return milliamperes(c.currentSet());
    case CurrentMeasured:
        return milliamperes(c.currentMeasure());
    case StatusNames:
        return RefreshTexts::stateWord(c.status(), c.control()).text;
    }
    return {};
}

QString OverviewModel::statusNames(quint16 status)
{
    QStringList names;
    const QStringList dictionary
        = QString::fromLatin1(CZelkChannelStatusBits::Status).split(QLatin1Char(','));
    for (int bit = 0; bit < dictionary.size(); ++bit) {
        if (status & (1u << bit))
            names << dictionary.at(bit);
    }
    return names.join(QLatin1Char(' '));
}

QVariant OverviewModel::sortValue(const RoomModule &module, int channel, int column) const
{
    if (channel < 0) {
        switch (column) {
        case Serial:
            return module.serial;
        case OnTripped:
            // Tripped first, then the channels on.
            return module.channelsTripped() * 1000 + module.channelsOn();
        case HighestVoltage:
            return module.highestVoltage();
        case Alarms:
            return int(module.alarms.size());
        default:
            return moduleText(module, column);
        }
    }
    if (channel >= module.state.channelsInUse())
        return {};
    const ChannelState &c = module.state.channels[size_t(channel)];
    switch (column) {
    case Channel:
        return channel;
    case VoltageSet:
        return c.voltageSet();
    case VoltageMeasured:
        return c.voltageMeasure();
    case CurrentSet:
        return c.currentSet();
    case CurrentMeasured:
        return c.currentMeasure();
    default:
        return channelText(module, channel, column);
    }
}

QVariant OverviewModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
    case Name:
        return tr("Module");
    case Serial:
        return tr("Serial");
    case Device:
        return tr("Device");
    case Bridge:
        return tr("Bridge");
    case State:
        return tr("State");
    case OnTripped:
        return tr("On / tripped");
    case HighestVoltage:
        return tr("Highest |Vmeas|");
    case Alarms:
        return tr("Alarms");
    }
    return {};
}

QByteArray OverviewModel::toCsv() const
{
    QByteArray csv;
    for (int column = 0; column < Columns; ++column)
        csv += (column ? ";" : "") + headerData(column, Qt::Horizontal, Qt::DisplayRole).toString().toUtf8();
    csv += '\n';
    for (const int serial : m_serials) {
        const RoomModule *module = m_roster->module(serial);
        for (int column = 0; column < Columns; ++column)
            csv += (column ? ";" : "") + moduleText(*module, column).toUtf8();
        csv += '\n';
    }
    return csv;
}
