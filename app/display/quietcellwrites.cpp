#include "quietcellwrites.h"

#include <QTableWidget>

QuietCellWrites::~QuietCellWrites()
{
    if (!m_quiet)
        return;
    m_quiet.reset();
    const QAbstractItemModel *model = m_table->model();
    for (int column = 0; column < int(m_columns.size()); ++column) {
        const Rows &rows = m_columns[size_t(column)];
        if (rows.first < 0)
            continue;
        m_table->viewport()->update(m_table->visualRect(model->index(rows.first, column))
            | m_table->visualRect(model->index(rows.last, column)));
    }
}

void QuietCellWrites::writing(int row, int column)
{
    if (!m_quiet)
        m_quiet.emplace(m_table->model());
    if (column < 0 || column >= int(m_columns.size()))
        return;
    Rows &rows = m_columns[size_t(column)];
    rows.first = rows.first < 0 ? row : qMin(rows.first, row);
    rows.last = qMax(rows.last, row);
}
