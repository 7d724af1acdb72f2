#include "historymodel.h"

#include "eventhistory.h"
#include "eventtext.h"
#include "historyformat.h"

#include <QColor>

namespace {
const QColor alarmColour(255, 205, 205);
const QColor warningColour(255, 240, 190);
} // namespace

HistoryModel::HistoryModel(const EventHistory *history, QObject *parent)
    : QAbstractTableModel(parent)
    , m_history(history)
{
    connect(history, &EventHistory::entryAdded, this, &HistoryModel::add);
    connect(history, &EventHistory::entriesReset, this, [this] {
        m_hiddenBelow = 0;
        rebuild();
    });
    rebuild();
}

void HistoryModel::setFilter(int severity, int source)
{
    if (severity == m_severity && source == m_source)
        return;
    m_severity = severity;
    m_source = source;
    rebuild();
}

void HistoryModel::clearView()
{
    m_hiddenBelow = m_history->firstNumber() + quint64(m_history->entries().size());
    rebuild();
}

bool HistoryModel::accepts(const HistoryEntry &entry) const
{
    return (m_severity == AllSeverities || int(entry.severity) == m_severity)
        && (m_source == AllSources || entry.channel == m_source);
}

void HistoryModel::rebuild()
{
    beginResetModel();
    m_rows.clear();
    const QList<HistoryEntry> &entries = m_history->entries();
    const quint64 first = m_history->firstNumber();
    for (qsizetype i = entries.size() - 1; i >= 0 && first + quint64(i) >= m_hiddenBelow; --i) {
        if (accepts(entries.at(i)))
            m_rows.append(entries.at(i));
    }
    endResetModel();
}

void HistoryModel::add(const HistoryEntry &entry)
{
    if (!accepts(entry))
        return;
    beginInsertRows(QModelIndex(), 0, 0);
    m_rows.prepend(entry);
    endInsertRows();
    if (m_rows.size() > EventHistory::MemoryEntries) {
        beginRemoveRows(QModelIndex(), int(m_rows.size()) - 1, int(m_rows.size()) - 1);
        m_rows.removeLast();
        endRemoveRows();
    }
}

int HistoryModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int HistoryModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant HistoryModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size())
        return QVariant();
    const HistoryEntry &entry = m_rows.at(index.row());
    if (role == Qt::BackgroundRole) {
        if (entry.severity == Severity::Alarm)
            return alarmColour;
        if (entry.severity == Severity::Warning)
            return warningColour;
        return QVariant();
    }
    if (role == Qt::ForegroundRole)
        return entry.severity == Severity::Info ? QVariant() : QVariant(QColor(Qt::black));
    if (role == Qt::TextAlignmentRole && index.column() >= VoltageColumn)
        return int(Qt::AlignRight | Qt::AlignVCenter);
    if (role == Qt::ToolTipRole && index.column() == EventColumn) {
        // The whole sentence, which a narrow column cuts, and the bits by their dictionary
        // names: "+" rose, "-" fell.
        QStringList bits;
        for (const QString &name : entry.rose)
            bits.append(QLatin1Char('+') + name);
        for (const QString &name : entry.fell)
            bits.append(QLatin1Char('-') + name);
        const QString sentence = EventText::describe(entry, true);
        return bits.isEmpty() ? sentence
                              : sentence + QLatin1Char('\n') + bits.join(QLatin1Char(' '));
    }
    if (role != Qt::DisplayRole)
        return QVariant();
    switch (index.column()) {
    case TimeColumn:
        return HistoryFormat::time(entry.timeMs);
    case SourceColumn:
        return HistoryFormat::source(entry);
    case SeverityColumn:
        return HistoryFormat::severity(entry.severity);
    case EventColumn:
        return EventText::describe(entry, true);
    case VoltageColumn:
        return HistoryFormat::voltage(entry);
    case CurrentColumn:
        return HistoryFormat::current(entry);
    default:
        return QVariant();
    }
}

QVariant HistoryModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    // The titles the CSV export shares.
    switch (section) {
    case TimeColumn:
        return HistoryFormat::tr("Time");
    case SourceColumn:
        return HistoryFormat::tr("Source");
    case SeverityColumn:
        return HistoryFormat::tr("Severity");
    case EventColumn:
        return HistoryFormat::tr("Event");
    case VoltageColumn:
        return tr("Voltage");
    case CurrentColumn:
        return tr("Current");
    default:
        return QVariant();
    }
}
