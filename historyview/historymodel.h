#pragma once

#include "historyentry.h"

#include <QAbstractTableModel>
#include <QList>

class EventHistory;

/// The entries of an EventHistory as a table, newest first, filtered by severity and source.
/// Clearing the view hides the entries there are so far; new ones show as they come.
class HistoryModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column {
        TimeColumn,
        SourceColumn,
        SeverityColumn,
        EventColumn,
        VoltageColumn,
        CurrentColumn,
        ColumnCount
    };
    /// Filter values that let everything through.
    static constexpr int AllSeverities = -1;
    static constexpr int AllSources = -2;

    /// \a history is not owned and must outlive the model.
    explicit HistoryModel(const EventHistory *history, QObject *parent = nullptr);

    /// Shows the entries of \a severity (a Severity, or AllSeverities) from \a source (a
    /// channel number, HistoryEntry::ModuleSource, or AllSources).
    void setFilter(int severity, int source);
    /// Hides every entry there is now.
    void clearView();

    /// The entry of a row; \a row must lie in 0 .. rowCount() - 1.
    const HistoryEntry &entry(int row) const { return m_rows.at(row); }
    /// The shown entries, newest first.
    const QList<HistoryEntry> &shownEntries() const { return m_rows; }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(
        int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    void rebuild();
    void add(const HistoryEntry &entry);
    bool accepts(const HistoryEntry &entry) const;

    const EventHistory *m_history;
    QList<HistoryEntry> m_rows;
    int m_severity = AllSeverities;
    int m_source = AllSources;
    /// Entries with a lower running number are hidden (EventHistory::firstNumber()).
    quint64 m_hiddenBelow = 0;
};
