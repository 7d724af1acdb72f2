#pragma once

#include <QAbstractTableModel>

class AlarmBook;

/// The alarm list of every module as a table, newest first, in severity colours: time, module,
/// channel, text, whether the condition is still there, and who acknowledged it with the note.
class AlarmListModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { Time, Module, Channel, Text, Active, Acknowledged, Columns };

    explicit AlarmListModel(AlarmBook *book, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    AlarmBook *m_book;
};
