#include "stattable.h"

#include "tablestatitem.h"
#include "widgetslogging.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QMouseEvent>
#include <QtAlgorithms>

namespace {
constexpr int rowCountOfWords = 4;
constexpr int columnCountWithCaptions = 17;
constexpr int captionColumnWidth = 104;
}

StatTable::StatTable(QWidget *parent)
    : QTableWidget(rowCountOfWords, columnCountWithCaptions, parent)
{
    forgetWords();
}

StatTable::~StatTable() = default;

void StatTable::initTable()
{
    for (int column = 0; column < columnCountWithCaptions; ++column) {
        for (int row = 0; row < rowCountOfWords; ++row) {
            if (item(row, column))
                continue;
            auto *cell = new TableStatItem;
            if (column != 0)
                cell->setLightGray();
            setItem(row, column, cell);
        }
    }
    const QString captions[rowCountOfWords]
        = { tr("Control"), tr("Status "), tr("Event Status"), tr("Event Mask") };
    for (int row = 0; row < rowCountOfWords; ++row) {
        if (QTableWidgetItem *caption = item(row, 0))
            caption->setText(captions[row]);
    }
    // The bit columns share the width; the caption column keeps its own, or a stretching
    // section would shorten "Event Status" and "Event Mask" to "Event …".
    horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    horizontalHeader()->setSectionResizeMode(0, QHeaderView::Fixed);
    setColumnWidth(0, captionColumnWidth);
    forgetWords();
}

void StatTable::forgetWords()
{
    shownWord.fill(-1);
}

void StatTable::changeEvent(QEvent *event)
{
    // Tooltips are translated while painting a row: the next fill paints them anew.
    if (event->type() == QEvent::LanguageChange)
        forgetWords();
    QTableWidget::changeEvent(event);
}

void StatTable::mouseDoubleClickEvent(QMouseEvent *event)
{
    // The base handling never runs: it would open a cell editor on a display-only table.
    event->accept();
    QTableWidgetItem *cell = currentItem();
    if (!cell || !isToggleable(cell))
        return;
    auto *statItem = dynamic_cast<TableStatItem *>(cell);
    if (!statItem)
        return;
    if (statItem->row() >= 0 && statItem->row() < rowCountOfWords)
        shownWord[static_cast<std::size_t>(statItem->row())] = -1;
    if (statItem->background().color() == TableStatItem::lightGray())
        statItem->setWhite();
    else
        statItem->setLightGray();
}

void StatTable::applyRules(Row row, quint16 word, const BitRule *rules, std::size_t count,
    const QStringList &names, quint16 quiet)
{
    int &shown = shownWord[static_cast<std::size_t>(row)];
    if (shown == word)
        return;
    shown = -1;
    for (std::size_t i = 0; i < count; ++i) {
        if (!paint(row, rules[i], (word & rules[i].mask) != 0, names))
            return;
    }
    static constexpr Look unchanged = { nullptr, Fill::Unchanged, nullptr };
    static constexpr Look cleared = { "", Fill::LightGray, "" };
    for (int bit = 0; bit < 16; ++bit) {
        const auto mask = static_cast<quint16>(1u << bit);
        if ((quiet & mask) && !paint(row, { mask, unchanged, cleared }, (word & mask) != 0, names))
            return;
    }
    shown = word;
}

bool StatTable::paint(Row row, const BitRule &rule, bool set, const QStringList &names)
{
    const Look &look = set ? rule.set : rule.clear;
    if (look.fill == Fill::Unchanged)
        return true;
    const int bit = qCountTrailingZeroBits(rule.mask);
    TableStatItem *cell = bitItem(row, bit);
    if (!cell) {
        qCWarning(lcWidgets) << metaObject()->className()
                             << "has no cell items; initTable() must run before a fill";
        return false;
    }
    cell->setText(look.text ? QString::fromLatin1(look.text) : names.value(bit));
    switch (look.fill) {
    case Fill::LightGray:
        cell->setLightGray();
        break;
    case Fill::White:
        cell->setWhite();
        break;
    case Fill::Red:
        cell->setRed();
        break;
    case Fill::Green:
        cell->setGreen();
        break;
    case Fill::Yellow:
        cell->setYellow();
        break;
    case Fill::Orange:
        cell->setOrange();
        break;
    case Fill::Unchanged:
        break;
    }
    cell->setToolTip(look.toolTip && *look.toolTip
            ? QCoreApplication::translate(metaObject()->className(), look.toolTip)
            : QString());
    return true;
}

bool StatTable::isBitCell(const QTableWidgetItem *item, Row row, quint16 bits)
{
    if (!item || item->row() != row)
        return false;
    const int bit = item->column() - 1;
    return bit >= 0 && bit < 16 && (bits & (1u << bit));
}

TableStatItem *StatTable::bitItem(Row row, int bit) const
{
    return dynamic_cast<TableStatItem *>(item(row, bit + 1));
}
