#pragma once

#include <QSignalBlocker>

#include <array>
#include <optional>

class QTableWidget;

/// Writes a run's cells of a table without the model telling the view about each one, and
/// then repaints the cells written, column by column, in one go.
///
/// A written cell makes the table's model announce the change, and the view works out where the
/// cell is and adds it to the area to repaint; that costs more than the writing itself. Nothing
/// else in the window listens to those announcements.
class QuietCellWrites
{
public:
    /// \a table (not owned) must outlive this object.
    explicit QuietCellWrites(QTableWidget *table)
        : m_table(table)
    {
    }
    /// Lets the model speak again and repaints what was written.
    ~QuietCellWrites();
    QuietCellWrites(const QuietCellWrites &) = delete;
    QuietCellWrites &operator=(const QuietCellWrites &) = delete;

    /// Cell (\a row, \a column) is about to be written.
    void writing(int row, int column);

private:
    struct Rows
    {
        int first = -1;
        int last = -1;
    };

    QTableWidget *m_table;
    std::optional<QSignalBlocker> m_quiet;
    /// Rows written in each column of the channel table.
    std::array<Rows, 12> m_columns;
};
