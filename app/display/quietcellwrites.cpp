#include "quietcellwrites.h"

QuietCellWrites::~QuietCellWrites()
{
    const QAbstractItemModel *model = m_table->model();
    for (int column = 0; column < int(m_columns.size()); ++column) {
        const Rows &rows = m_columns[size_t(column)];
        if (rows.first < 0)
            continue;
        m_table->viewport()->update(m_table->visualRect(model->index(rows.first, column))
            | m_table->visualRect(model->index(rows.last, column)));
    }
}

void QuietCellWrites::written(int row, int column)
{
    if (column < 0 || column >= int(m_columns.size()))
        return;
    Rows &rows = m_columns[size_t(column)];
    rows.first = rows.first < 0 ? row : qMin(rows.first, row);
    rows.last = qMax(rows.last, row);
}
