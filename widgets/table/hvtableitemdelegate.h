#pragma once

#include <QItemDelegate>

/// Painter and editor of the channel table's cells. Keeps no state: what it paints comes from
/// the item (text, background, the low-current-range and delayed-trip roles), what it edits goes
/// out as dataEntered().
class HvTableItemDelegate : public QItemDelegate
{
    Q_OBJECT

public:
    /// Item role holding the row channel's low-current-range flag (column 5).
    static constexpr int LowCurrentRangeRole = Qt::UserRole + 1;
    /// Item role holding the row channel's delayed-trip flag (column 4).
    static constexpr int DelayedTripRole = Qt::UserRole + 2;

    explicit HvTableItemDelegate(QObject *parent = nullptr);

    /// Escape in the editor emits dataDiscarded() before the default handling closes the editor
    /// without committing.
    bool eventFilter(QObject *object, QEvent *event) override;
    void paint(QPainter *painter, const QStyleOptionViewItem &option,
        const QModelIndex &index) const override;
    /// Stores the editor's text into the item and emits dataEntered() with the stored text.
    void setModelData(
        QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override;

signals:
    void dataEntered(int row, int column, QString data);
    void dataDiscarded();
};
