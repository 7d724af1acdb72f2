#include "overviewfilter.h"

#include "overviewmodel.h"
#include "roster.h"

OverviewFilter::OverviewFilter(const ModuleRoster *roster, QObject *parent)
    : QSortFilterProxyModel(parent)
    , m_roster(roster)
{
    setFilterCaseSensitivity(Qt::CaseInsensitive);
    setFilterKeyColumn(-1);
    setRecursiveFilteringEnabled(true);
    setAutoAcceptChildRows(true);
    setSortRole(OverviewModel::SortRole);
}

void OverviewFilter::setShow(Show show)
{
    if (show == m_show)
        return;
    m_show = show;
    invalidateRowsFilter();
}

bool OverviewFilter::shows(const RoomModule &module, Show show)
{
    switch (show) {
    case All:
        return true;
    case WithAlarms:
        return !module.alarms.isEmpty();
    case ChannelsOn:
        return module.channelsOn() > 0;
    case Tripped:
        return module.channelsTripped() > 0;
    case Stale:
        return module.isStale() || module.moduleState != "online";
    }
    return true;
}

bool OverviewFilter::filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const
{
    if (m_show == All)
        return QSortFilterProxyModel::filterAcceptsRow(sourceRow, sourceParent);
    // A channel row goes with its module: neither stands without the module being of the kind.
    const QModelIndex row = sourceModel()->index(sourceRow, 0, sourceParent);
    const RoomModule *module
        = m_roster->module(sourceModel()->data(row, OverviewModel::SerialRole).toInt());
    if (!module || !shows(*module, m_show))
        return false;
    return QSortFilterProxyModel::filterAcceptsRow(sourceRow, sourceParent);
}
