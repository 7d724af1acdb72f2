#pragma once

#include <QtGlobal>

#include <vector>

/// Remembers, per cell of the channel table, a key of what was last written into it (the
/// shown digits and status bits its text and colour derive from), so that the refresh formats
/// and writes only cells whose text or colour changes; and the exact inputs it was last worked
/// out from, so that a cell whose inputs did not change at all costs no key either.
class CellCache
{
public:
    static constexpr int Columns = 12;

    /// Forgets every cell and sizes the cache for \a rows rows.
    void reset(int rows)
    {
        keys.assign(static_cast<size_t>(rows) * Columns, 0);
        inputs.assign(static_cast<size_t>(rows) * Columns, 0);
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
    bool unchanged(int row, int column, quint64 key) { return same(keys, row, column, key, true); }
    /// True when cell (\a row, \a column) was last worked out from \a input, and still shows
    /// what it was worked out to; otherwise records \a input, and unchanged() must follow.
    bool sameInput(int row, int column, quint64 input)
    {
        return same(inputs, row, column, input, false);
    }

private:
    bool same(std::vector<quint64> &values, int row, int column, quint64 value, bool makeKnown)
    {
        const size_t i = static_cast<size_t>(row) * Columns + static_cast<size_t>(column);
        if (i >= values.size())
            return false;
        if (known[i] && values[i] == value)
            return true;
        values[i] = value;
        if (makeKnown)
            known[i] = 1;
        return false;
    }

    std::vector<quint64> keys;
    std::vector<quint64> inputs;
    /// Bytes, not std::vector<bool>: looked up for every cell on every answer.
    std::vector<quint8> known;
};
