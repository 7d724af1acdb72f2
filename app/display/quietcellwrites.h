#pragma once

#include <QSignalBlocker>
#include <QTableWidget>

#include <array>

/// Writes cells of a table without the model telling the view about each one, and repaints
/// the cells written in a run, column by column, in one go when the run is over.
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
    /// Repaints what was written.
    ~QuietCellWrites();
    QuietCellWrites(const QuietCellWrites &) = delete;
    QuietCellWrites &operator=(const QuietCellWrites &) = delete;

    /// Runs \a write, which writes cell (\a row, \a column), with the model quiet.
    template <typename Write> void write(int row, int column, const Write &write)
    {
        {
            const QSignalBlocker quiet(m_table->model());
            write();
        }
        written(row, column);
    }

private:
    void written(int row, int column);

    struct Rows
    {
        int first = -1;
        int last = -1;
    };

    QTableWidget *m_table;
    /// Rows written in each column of the channel table.
    std::array<Rows, 12> m_columns;
};
