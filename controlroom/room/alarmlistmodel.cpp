#include "alarmlistmodel.h"

#include "alarmbook.h"

#include <QColor>
#include <QDateTime>

AlarmListModel::AlarmListModel(AlarmBook *book, QObject *parent)
    : QAbstractTableModel(parent)
    , m_book(book)
{
    connect(book, &AlarmBook::changed, this, [this]() {
        beginResetModel();
        endResetModel();
    });
}

int AlarmListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_book->alarms().size());
}

int AlarmListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : Columns;
}

QVariant AlarmListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_book->alarms().size())
        return {};
    const RoomAlarm &alarm = m_book->alarms().at(index.row());
    if (role == Qt::BackgroundRole && !alarm.isAcknowledged())
        return alarm.severity == Severity::Alarm ? QColor(255, 150, 150) : QColor(255, 230, 150);
    if (role != Qt::DisplayRole)
        return {};
    switch (index.column()) {
    case Time:
        return QDateTime::fromMSecsSinceEpoch(alarm.timeMs).toString(u"yyyy-MM-dd HH:mm:ss");
    case Module:
        return alarm.serial;
    case Channel:
        return alarm.channel >= 0 ? QVariant(alarm.channel) : QVariant(tr("module"));
    case Text:
        return alarm.text;
    case Active:
        return alarm.active ? tr("yes") : QString();
    case Acknowledged:
        if (!alarm.isAcknowledged())
            return QString();
        return alarm.note.isEmpty() ? alarm.acknowledgedBy
                                    : QStringLiteral("%1: %2").arg(alarm.acknowledgedBy, alarm.note);
    }
    return {};
}

QVariant AlarmListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
    case Time:
        return tr("Time");
    case Module:
        return tr("Serial");
    case Channel:
        return tr("Channel");
    case Text:
        return tr("Alarm");
    case Active:
        return tr("Still there");
    case Acknowledged:
        return tr("Acknowledged");
    }
    return {};
}
