#pragma once

#include <QSortFilterProxyModel>

class ModuleRoster;
struct RoomModule;

/// The overview as shown: the modules that match the search text in any column (with all their
/// channels) and that are of the kind chosen, sorted by the overview's sort values (numbers as
/// numbers).
class OverviewFilter : public QSortFilterProxyModel
{
    Q_OBJECT

public:
    enum Show { All, WithAlarms, ChannelsOn, Tripped, Stale };

    /// \a roster must outlive the filter.
    OverviewFilter(const ModuleRoster *roster, QObject *parent = nullptr);

    void setShow(Show show);
    Show show() const { return m_show; }
    /// Whether \a module is of the kind \a show.
    static bool shows(const RoomModule &module, Show show);

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const override;

private:
    const ModuleRoster *m_roster;
    Show m_show = All;
};
