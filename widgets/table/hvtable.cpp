#include "hvtable.h"

#include "hvtableitemdelegate.h"
#include "widgetslogging.h"

#include <QBrush>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>

#include <algorithm>

namespace {
constexpr int channelRowHeight = 20;
constexpr int columnIset = 4;
constexpr int columnImeas = 5;
constexpr int valueColumns = 10; // 0 .. 9 share the width; 10 and 11 (CV, CC) are narrow
constexpr int markerColumnWidth = 25;
constexpr int columnStatus = 9;
// The painter keeps 3 pixels on the right of the text; a little air on the left as well.
constexpr int statusTextMargin = 8;

bool isEditableColumn(int column)
{
    return column == 0 || column == 2 || column == 4 || column == 6;
}

/// A cell of the channel table, written after every answer that changes what it shows. It
/// keeps its text in a member of its own: a new reading costs a string assignment and, unless
/// the table's model is quiet (the refresh repaints what it wrote in one go), one change notice,
/// instead of a search through the item's stored roles. It remembers the colour setCell() last
/// gave it: a reading's new digits come in the colour the cell already has, and the colour is
/// written only when it changes.
class ChannelCell : public QTableWidgetItem
{
public:
    static constexpr int CellType = QTableWidgetItem::UserType + 1;

    ChannelCell()
        : QTableWidgetItem(CellType)
    {
    }
    QTableWidgetItem *clone() const override { return new ChannelCell(*this); }

    QVariant data(int role) const override
    {
        if (role == Qt::DisplayRole || role == Qt::EditRole)
            return shownText;
        return QTableWidgetItem::data(role);
    }
    void setData(int role, const QVariant &value) override
    {
        if (role != Qt::DisplayRole && role != Qt::EditRole) {
            QTableWidgetItem::setData(role, value);
            return;
        }
        QString text = value.toString();
        if (text == shownText)
            return;
        shownText = std::move(text);
        QTableWidget *table = tableWidget();
        QAbstractItemModel *model = table ? table->model() : nullptr;
        if (!model || model->signalsBlocked())
            return;
        const QModelIndex index = model->index(table->row(this), table->column(this));
        emit model->dataChanged(index, index, { Qt::DisplayRole, Qt::EditRole });
    }

    /// Writes \a color as the background unless the cell has it.
    void setColor(const QColor &color)
    {
        const QRgb rgba = color.rgba();
        if (colored && shown == rgba)
            return;
        setBackground(QBrush(color, Qt::SolidPattern));
        shown = rgba;
        colored = true;
    }

    /// True when the cell's marker flag (low current range, delayed trip) is not yet \a on;
    /// it is taken as written then.
    bool markerChanges(bool on)
    {
        const int state = on ? 1 : 0;
        if (marker == state)
            return false;
        marker = state;
        return true;
    }

private:
    QString shownText;
    QRgb shown = 0;
    bool colored = false;
    int marker = -1;
};
}

HvTable::HvTable(QWidget *parent)
    : QTableWidget(parent)
    , delegate(std::make_unique<HvTableItemDelegate>())
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    // The CV and CC columns are narrower than the style's default minimum section size.
    horizontalHeader()->setMinimumSectionSize(markerColumnWidth);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
    setItemDelegate(delegate.get());
    connect(delegate.get(), &HvTableItemDelegate::dataEntered, this, &HvTable::dataEntered);
    connect(delegate.get(), &QAbstractItemDelegate::closeEditor, this, &HvTable::dataDiscarded);
}

HvTable::~HvTable() = default;

void HvTable::setChannelCount(int count)
{
    if (count < 0) {
        qCWarning(lcWidgets) << "negative channel count ignored:" << count;
        return;
    }
    while (lowCurrentRange.size() < count)
        lowCurrentRange.append(false);
    while (delayedTrip.size() < count)
        delayedTrip.append(false);
    // Removing a row closes its editor without the delegate's closeEditor(), so the mark of a
    // removed cell under edit would outlive it and block that cell once the row returns.
    if (editRow >= count)
        dataDiscarded();
    setRowCount(count);
    for (int row = 0; row < count; ++row) {
        if (verticalHeaderItem(row))
            continue;
        auto *header = new QTableWidgetItem;
        setVerticalHeaderItem(row, header);
        setRowHeight(row, channelRowHeight);
        header->setText(tr("Channel %1").arg(row));
        showRowAlarm(row);
    }
}

void HvTable::setCell(int row, int column, const QString &text, const QColor &background)
{
    if (row == editRow && column == editColumn)
        return;
    if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount()) {
        qCWarning(lcWidgets) << "setCell outside the table:" << row << column;
        return;
    }
    QTableWidgetItem *cell = item(row, column);
    if (!cell) {
        cell = new ChannelCell;
        setItem(row, column, cell);
    }
    const bool widerStatus = column == columnStatus && cell->text() != text
        && statusTextWidth(text) > columnWidth(columnStatus);
    cell->setText(text);
    if (widerStatus && layoutWidth >= 0)
        applyWidthRule(layoutWidth);
    auto *channelCell
        = cell->type() == ChannelCell::CellType ? static_cast<ChannelCell *>(cell) : nullptr;
    const auto marker = [&](int role, bool on, const QString &tip) {
        if (channelCell && !channelCell->markerChanges(on))
            return;
        cell->setData(role, on);
        if (on)
            cell->setToolTip(tip);
    };
    if (column == columnImeas) {
        const bool on = lowCurrentRange.value(row, false);
        marker(HvTableItemDelegate::LowCurrentRangeRole, on,
            on ? tr("Channel is in Low Current Range.") : QString());
    } else if (column == columnIset) {
        const bool on = delayedTrip.value(row, false);
        marker(HvTableItemDelegate::DelayedTripRole, on,
            on ? tr("Channel is configured for Delayed Trip.") : QString());
    }
    if (channelCell)
        channelCell->setColor(background);
    else
        cell->setBackground(QBrush(background, Qt::SolidPattern));
}

void HvTable::setLowCurrentRange(int channel, bool on)
{
    if (channel < 0)
        return;
    while (lowCurrentRange.size() <= channel)
        lowCurrentRange.append(false);
    lowCurrentRange[channel] = on;
}

void HvTable::setDelayedTrip(int channel, bool on)
{
    if (channel < 0)
        return;
    while (delayedTrip.size() <= channel)
        delayedTrip.append(false);
    delayedTrip[channel] = on;
}

void HvTable::setRowAlarm(int channel, bool on)
{
    if (channel < 0 || (!on && channel >= rowAlarms.size()))
        return;
    while (rowAlarms.size() <= channel)
        rowAlarms.append(false);
    if (rowAlarms.at(channel) == on)
        return;
    rowAlarms[channel] = on;
    showRowAlarm(channel);
}

void HvTable::showRowAlarm(int row)
{
    QTableWidgetItem *header = verticalHeaderItem(row);
    if (!header)
        return;
    const bool on = rowAlarm(row);
    if (on) {
        // A red disc with a white bar: readable in any style, without the style's own icons.
        QPixmap sign(12, 12);
        sign.fill(Qt::transparent);
        QPainter painter(&sign);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(208, 0, 0));
        painter.drawEllipse(0, 0, 12, 12);
        painter.setBrush(Qt::white);
        painter.drawRect(5, 2, 2, 5);
        painter.drawRect(5, 8, 2, 2);
        header->setIcon(QIcon(sign));
    } else {
        header->setIcon(QIcon());
    }
    header->setForeground(on ? QBrush(QColor(208, 0, 0)) : QBrush());
    QFont font = header->font();
    font.setBold(on);
    header->setFont(font);
    header->setToolTip(on ? tr("Unacknowledged alarm: see the event history") : QString());
}

void HvTable::showUnitsAndColumns(const QString &voltageUnit, const QString &currentUnit,
    bool voltageBounds, bool currentBounds, bool power)
{
    const QString voltageHeaders[] = { QStringLiteral("Vset (%1)"), QStringLiteral("Vmeas (%1)"),
        QStringLiteral("Vbounds (%1)"), QStringLiteral("Vnominal (%1)") };
    const QString currentHeaders[] = { QStringLiteral("Iset (%1)"), QStringLiteral("Imeas (%1)"),
        QStringLiteral("Ibounds (%1)"), QStringLiteral("Inominal (%1)") };
    for (int i = 0; i < 4; ++i) {
        setHeaderText(VoltageSet + i, voltageHeaders[i].arg(voltageUnit));
        setHeaderText(CurrentSet + i, currentHeaders[i].arg(currentUnit));
    }
    setColumnHidden(VoltageBounds, !voltageBounds);
    setColumnHidden(CurrentBounds, !currentBounds);
    setColumnHidden(Power, !power);
    // Hiding or showing a column sends the table no resize; share its width out again now.
    QResizeEvent resized(size(), size());
    resizeEvent(&resized);
}

void HvTable::setHeaderText(int column, const QString &text)
{
    if (column < 0 || column >= columnCount())
        return;
    QTableWidgetItem *header = horizontalHeaderItem(column);
    if (!header) {
        header = new QTableWidgetItem;
        setHorizontalHeaderItem(column, header);
    }
    header->setText(text);
}

void HvTable::dataEntered(int row, int column, QString text)
{
    emit cellDataChanged(row, column, text);
}

void HvTable::dataDiscarded()
{
    editRow = -1;
    editColumn = -1;
}

void HvTable::resizeEvent(QResizeEvent *event)
{
    QTableWidget::resizeEvent(event);
    layoutWidth = event->size().width();
    applyWidthRule(layoutWidth);
}

int HvTable::statusTextWidth(const QString &text) const
{
    return text.isEmpty() ? 0 : fontMetrics().horizontalAdvance(text) + statusTextMargin;
}

void HvTable::applyWidthRule(int tableWidth)
{
    int visible = 0;
    for (int column = 0; column < valueColumns; ++column) {
        if (!isColumnHidden(column))
            ++visible;
    }
    setColumnWidth(10, markerColumnWidth);
    setColumnWidth(11, markerColumnWidth);
    if (visible == 0)
        return;
    const int shared = std::max(0, tableWidth - 2 * markerColumnWidth);
    int width = shared / visible;
    // The state word is read as a whole: the Status column gets at least the width of its
    // widest text, and the other value columns share what remains.
    int statusWidth = width;
    if (!isColumnHidden(columnStatus) && visible > 1) {
        int widest = 0;
        for (int row = 0; row < rowCount(); ++row) {
            if (const QTableWidgetItem *cell = item(row, columnStatus))
                widest = std::max(widest, statusTextWidth(cell->text()));
        }
        if (widest > width) {
            statusWidth = std::min(widest, shared);
            width = (shared - statusWidth) / (visible - 1);
        }
    }
    for (int column = 0; column < valueColumns; ++column) {
        if (!isColumnHidden(column))
            setColumnWidth(column, column == columnStatus ? statusWidth : width);
    }
}

void HvTable::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (!beginEdit())
        return;
    QTableWidget::mouseDoubleClickEvent(event);
    endEditWithoutEditor();
}

void HvTable::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_F2:
        if (!beginEdit())
            return;
        QTableWidget::keyPressEvent(event);
        endEditWithoutEditor();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        dataDiscarded();
        break;
    default:
        break;
    }
    QTableWidget::keyPressEvent(event);
}

void HvTable::endEditWithoutEditor()
{
    // A double-click beside the cells (below the last row) opens no editor; the current cell
    // must not stay marked, or the refresh would never write it again.
    if (state() != QAbstractItemView::EditingState)
        dataDiscarded();
}

bool HvTable::beginEdit()
{
    const int column = currentColumn();
    if (!isEditableColumn(column))
        return false;
    editRow = currentRow();
    editColumn = column;
    // The displayed value carries thousands separators that the number reader of the set
    // command would stop at; the operator edits the plain number.
    if (QTableWidgetItem *cell = currentItem()) {
        QString text = cell->text();
        text.remove(locale().groupSeparator());
        cell->setText(text);
    }
    qCDebug(lcWidgets) << "edit begins at" << editRow << editColumn;
    return true;
}
