#pragma once

#include <QAbstractItemModel>
#include <QElapsedTimer>
#include <QHash>
#include <QList>
#include <QSet>
#include <QTimer>

class ModuleRoster;
struct RoomModule;

/// The overview: one row per module of the roster, in the order they were found, each with its
/// channels as child rows. Changes of a module are gathered and shown together, at most once
/// every RefreshMs (a change after a quiet spell at once), so that a thousand modules publishing
/// a second stay smooth; a stale module is grey and says since when, a channel's state has the
/// panel's words and colours.
class OverviewModel : public QAbstractItemModel
{
    Q_OBJECT

public:
    enum Column {
        Name,
        Serial,
        Device,
        Bridge,
        State,
        OnTripped,
        HighestVoltage,
        Alarms,
        Columns
    };
    enum ChannelColumn { Channel = 0, VoltageSet = 2, VoltageMeasured, CurrentSet, CurrentMeasured, StatusNames };
    static constexpr int RefreshMs = 100;
    /// Item data role: the module's serial number on every cell.
    static constexpr int SerialRole = Qt::UserRole + 1;
    /// Item data role: what a column sorts by (numbers as numbers).
    static constexpr int SortRole = Qt::UserRole + 2;

    explicit OverviewModel(ModuleRoster *roster, QObject *parent = nullptr);

    QModelIndex index(int row, int column, const QModelIndex &parent = {}) const override;
    QModelIndex parent(const QModelIndex &child) const override;
    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    /// The first cell of \a serial's row, or of its channel's row (invalid when not shown).
    QModelIndex indexOf(int serial, int channel = -1) const;
    /// The serial number of a module row's or a channel row's module.
    int serialAt(const QModelIndex &index) const;
    /// The overview as CSV: a header line and one line per module.
    QByteArray toCsv() const;

private:
    void flush();
    /// Refreshes on the next pass of the event loop, or RefreshMs after the last refresh.
    void scheduleFlush();
    QString moduleText(const RoomModule &module, int column) const;
    QString channelText(const RoomModule &module, int channel, int column) const;
    /// A module's (\a channel -1) or a channel's value of \a column for sorting.
    QVariant sortValue(const RoomModule &module, int channel, int column) const;
    /// The status bits that are set, by their names ("isON isTRP").
    static QString statusNames(quint16 status);

    ModuleRoster *m_roster;
    QList<int> m_serials;
    /// Channel rows shown per module row, as last told to the views.
    QList<int> m_channelRows;
    QSet<int> m_dirty;
    /// Per module the name, device and bridge last shown.
    QHash<int, QString> m_identities;
    QTimer m_flush;
    /// Since the last refresh.
    QElapsedTimer m_sinceFlush;
};
