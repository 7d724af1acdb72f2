#pragma once

#include <QtGlobal>

#include <vector>

/// Remembers, per cell of the channel table, a key of what was last written into it (the
/// values and status bits its text and colour derive from), so that the refresh formats and
/// writes only cells whose inputs changed.
class CellCache
{
public:
    static constexpr int Columns = 12;

    /// Forgets every cell and sizes the cache for \a rows rows.
    void reset(int rows)
    {
        keys.assign(static_cast<size_t>(rows) * Columns, 0);
        known.assign(static_cast<size_t>(rows) * Columns, 0);
    }
    /// Forgets the cells of \a row (its texts were changed from outside, by an edit).
    void forgetRow(int row)
    {
        if (row < 0 || static_cast<size_t>(row + 1) * Columns > known.size())
            return;
        for (int c = 0; c < Columns; ++c)
            known[static_cast<size_t>(row) * Columns + c] = 0;
    }
    /// True when cell (\a row, \a column) last got \a key; otherwise records \a key.
    bool unchanged(int row, int column, quint64 key)
    {
        const size_t i = static_cast<size_t>(row) * Columns + static_cast<size_t>(column);
        if (i >= keys.size())
            return false;
        if (known[i] && keys[i] == key)
            return true;
        known[i] = 1;
        keys[i] = key;
        return false;
    }

private:
    std::vector<quint64> keys;
    /// Bytes, not std::vector<bool>: looked up for every cell on every answer.
    std::vector<quint8> known;
};
