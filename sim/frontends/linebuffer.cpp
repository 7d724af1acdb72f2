#include "frontends/linebuffer.h"

namespace vornsim {

QList<LineBuffer::Line> LineBuffer::append(const QByteArray &bytes)
{
    QList<Line> lines;
    int from = 0;
    while (from < bytes.size()) {
        const int lf = bytes.indexOf('\n', from);
        const int end = lf < 0 ? int(bytes.size()) : lf;
        if (!m_overflow) {
            m_buffer.append(bytes.constData() + from, end - from);
            if (m_buffer.size() > maxLine) {
                m_buffer.clear();
                m_overflow = true;
            }
        }
        if (lf < 0)
            break;
        Line line;
        line.overlong = m_overflow;
        line.text = m_buffer;
        if (line.text.endsWith('\r'))
            line.text.chop(1);
        lines << line;
        m_buffer.clear();
        m_overflow = false;
        from = lf + 1;
    }
    return lines;
}

bool LineBuffer::takePending(Line *line)
{
    if (m_buffer.isEmpty() && !m_overflow)
        return false;
    line->overlong = m_overflow;
    line->text = m_buffer;
    if (line->text.endsWith('\r'))
        line->text.chop(1);
    clear();
    return true;
}

void LineBuffer::clear()
{
    m_buffer.clear();
    m_overflow = false;
}

} // namespace vornsim
