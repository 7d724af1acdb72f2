#include "hvtableitemdelegate.h"

#include <QBrush>
#include <QEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLinearGradient>
#include <QPainter>

namespace {
constexpr int columnIset = 4;
constexpr int columnImeas = 5;
constexpr int columnStatus = 9;

// Columns whose background carries meaning (Iset zero, the state word, CV, CC); the other
// columns let the view's alternating row colours show.
bool paintsItemBackground(int column)
{
    return column == columnIset || column == columnStatus || column == 10 || column == 11;
}
}

HvTableItemDelegate::HvTableItemDelegate(QObject *parent)
    : QItemDelegate(parent)
{
}

bool HvTableItemDelegate::eventFilter(QObject *object, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Escape) {
            emit dataDiscarded();
        } else if (key == Qt::Key_Tab || key == Qt::Key_Backtab) {
            // The default would commit and then open an editor in the neighbour column, and
            // every neighbour of an editable column is display-only: commit and end the edit.
            if (auto *editor = qobject_cast<QWidget *>(object)) {
                emit commitData(editor);
                emit closeEditor(editor, QAbstractItemDelegate::NoHint);
                return true;
            }
        }
    }
    return QItemDelegate::eventFilter(object, event);
}

void HvTableItemDelegate::paint(
    QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    painter->save();
    QPen pen(Qt::SolidLine);
    pen.setWidth(1);
    pen.setColor(QColor(40, 40, 40));

    const QRect rect = option.rect;
    const int column = index.column();
    if (option.state & QStyle::State_Selected) {
        QLinearGradient gradient(rect.topLeft(), QPoint(rect.left(), rect.bottom() + 1));
        gradient.setColorAt(0.0, QColor(119, 213, 247));
        gradient.setColorAt(0.9, QColor(27, 134, 183));
        gradient.setColorAt(1.0, QColor(0, 120, 174));
        painter->fillRect(rect, gradient);
    } else if (paintsItemBackground(column)) {
        const QBrush brush = index.data(Qt::BackgroundRole).value<QBrush>();
        // A cell no refresh has written yet has no colour of its own.
        if (brush.style() != Qt::NoBrush) {
            painter->fillRect(rect, brush.color());
            painter->setPen(brush.color());
            painter->drawRect(rect.adjusted(0, 0, -1, -1));
        }
    }

    const bool lowCurrentMarker = column == columnImeas && index.data(LowCurrentRangeRole).toBool();
    const bool delayedTripMarker = column == columnIset && index.data(DelayedTripRole).toBool();
    painter->setFont(option.font);
    if (lowCurrentMarker || delayedTripMarker) {
        pen.setColor(Qt::blue);
        painter->setPen(pen);
        painter->drawText(QPoint(rect.left() + 8, rect.top() + 14),
            lowCurrentMarker ? QStringLiteral("L") : QStringLiteral("T"));
    }
    painter->setPen(pen);
    const QRect textRect = rect.adjusted(0, 0, -3, 0);
    QString text = index.data(Qt::DisplayRole).toString();
    // Right-aligned text wider than the cell would lose its beginning; a state word too wide
    // for a very narrow window keeps its beginning and ends in an ellipsis instead.
    if (column == columnStatus)
        text = QFontMetrics(option.font).elidedText(text, Qt::ElideRight, textRect.width());
    painter->drawText(textRect, Qt::AlignRight | Qt::AlignVCenter, text);
    painter->restore();
}

void HvTableItemDelegate::setModelData(
    QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const
{
    QItemDelegate::setModelData(editor, model, index);
    const QString text = index.data(Qt::EditRole).toString();
    // The base interface declares this operation const although committing is the moment the
    // table must learn of the operator's input; the signal changes no state of the delegate.
    emit const_cast<HvTableItemDelegate *>(this)->dataEntered(index.row(), index.column(), text);
}
