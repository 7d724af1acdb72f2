#pragma once

#include <QStringList>
#include <QTableWidget>

#include <array>
#include <cstddef>

class TableStatItem;

/// A compact display of four 16-bit words: row 0 control, row 1 status, row 2 event status,
/// row 3 event mask; column 0 holds the row captions and column c (1 to 16) bit c - 1.
/// Every cell shows a short name, a background colour and a tooltip. The table is display-only:
/// a double-click on a toggleable cell flips its colour between light grey and white and
/// nothing else; the next fill of that row repaints it from the module's real word.
class StatTable : public QTableWidget
{
    Q_OBJECT

public:
    enum Row { ControlRow = 0, StatusRow = 1, EventStatusRow = 2, EventMaskRow = 3 };

    explicit StatTable(QWidget *parent = nullptr);
    ~StatTable() override;

    /// Must run once after construction (and after a form has set up the table) and before
    /// any fill: gives every cell a TableStatItem, bit cells light grey, and writes the captions.
    void initTable();

    /// True when a double-click may flip \a item's colour.
    virtual bool isToggleable(QTableWidgetItem *item) = 0;

protected:
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void changeEvent(QEvent *event) override;

    enum class Fill { Unchanged, LightGray, White, Red, Green, Yellow, Orange };
    /// What a bit cell shows. \c text nullptr stands for the bit's name from the row's list;
    /// \c toolTip is translated in the context of the concrete table class; Fill::Unchanged
    /// leaves the whole cell as it was.
    struct Look
    {
        const char *text;
        Fill fill;
        const char *toolTip;
    };
    /// The look of one bit, given by its mask, when it is 1 and when it is 0.
    struct BitRule
    {
        quint16 mask;
        Look set;
        Look clear;
    };

    /// Paints the cells of \a row for the bits that \a rules name; the cells of the \a quiet
    /// bits are emptied (light grey) when their bit is 0 and left as they are when it is 1;
    /// other bits stay untouched. A row that already shows \a word is left as it is (the
    /// refresh fills every answer).
    void applyRules(Row row, quint16 word, const BitRule *rules, std::size_t count,
        const QStringList &names, quint16 quiet = 0);
    template <std::size_t N>
    void applyRules(Row row, quint16 word, const BitRule (&rules)[N], const QStringList &names,
        quint16 quiet = 0)
    {
        applyRules(row, word, rules, N, names, quiet);
    }
    /// True when \a item is the cell of one of the \a bits in \a row.
    static bool isBitCell(const QTableWidgetItem *item, Row row, quint16 bits);

private:
    TableStatItem *bitItem(Row row, int bit) const;
    /// Paints one cell; false when the table has no cell items yet.
    bool paint(Row row, const BitRule &rule, bool set, const QStringList &names);
    /// Makes the next fill of every row paint all its cells again.
    void forgetWords();

    /// The word each row shows, -1 when the row must be painted by the next fill (not yet
    /// filled, a flipped cell, new translations).
    std::array<int, 4> shownWord {};
};
