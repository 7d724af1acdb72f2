#pragma once

#include <QtGlobal>

/// What one display refresh looks at: the columns of the channel table whose cells the
/// processed answer can have changed, and whether the module labels or the words in the status
/// tables can have changed. Every
/// other cell and label still shows what the module holds and is left alone.
struct RefreshScope
{
    /// Bit c stands for column c of the channel table.
    quint16 columns = 0;
    bool labels = false;
    /// Whether the status, event-status, event-mask or control word of a channel or of the
    /// module can have changed (the status tables).
    bool words = false;

    static constexpr quint16 AllColumns = 0x0FFF;

    /// Every cell, label and word.
    static RefreshScope everything() { return { AllColumns, true, true }; }
    /// What the answer to a request of \a requestCode (SCPI_Parser::answeredRequest()) can have
    /// changed of what the table and the labels show; -1 gives everything().
    static RefreshScope ofAnswer(int requestCode);

    bool covers(int column) const { return (columns >> column) & 1u; }
};
