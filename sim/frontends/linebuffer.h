#pragma once

#include <QByteArray>
#include <QList>

namespace vornsim {

/// Collects received bytes into request lines. A line ends with LF; a CR before it is dropped.
/// A module's input buffer is small: a line that grows past maxLine without LF is discarded,
/// and when its LF finally arrives the line comes out as overlong so the front end can answer
/// with an error instead of leaving the host waiting.
class LineBuffer
{
public:
    static constexpr int maxLine = 4096;

    struct Line
    {
        QByteArray text; ///< without CR LF
        bool overlong = false;
    };

    /// Appends bytes and returns the lines they completed, in order.
    QList<Line> append(const QByteArray &bytes);
    /// Ends the unfinished line, as the end of a GPIB message (EOI) does. False when nothing
    /// is pending.
    bool takePending(Line *line);
    /// Bytes of the unfinished line.
    const QByteArray &pending() const { return m_buffer; }
    void clear();

private:
    QByteArray m_buffer;
    bool m_overflow = false;
};

} // namespace vornsim
