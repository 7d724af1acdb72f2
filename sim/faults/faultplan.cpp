#include "faults/faultplan.h"

namespace vornsim {

FaultPlan::Action FaultPlan::nextAnswer()
{
    ++m_answers;
    if (m_options->endlessAfter > 0 && m_answers == m_options->endlessAfter)
        return Action::Endless;
    if (every(m_options->garbageEvery, m_answers))
        return Action::Garbage;
    if (every(m_options->dropEvery, m_answers))
        return Action::Drop;
    return Action::Send;
}

bool FaultPlan::closeDue() const
{
    return m_options->closeAfter > 0 && m_answers >= m_options->closeAfter;
}

bool FaultPlan::nextEchoWrong()
{
    ++m_echoes;
    return every(m_options->wrongEchoEvery, m_echoes);
}

bool FaultPlan::nextLoneLf()
{
    ++m_lines;
    return every(m_options->loneLfEvery, m_lines);
}

QList<QByteArray> FaultPlan::segments(const QByteArray &answer) const
{
    const int parts = qMin(m_options->splitParts, int(answer.size()));
    if (parts < 2)
        return { answer };
    QList<QByteArray> pieces;
    const int size = int(answer.size());
    for (int i = 0; i < parts; ++i) {
        const int from = size * i / parts;
        const int to = size * (i + 1) / parts;
        pieces << answer.mid(from, to - from);
    }
    return pieces;
}

QByteArray FaultPlan::garbage(int number)
{
    QByteArray junk("\x7f#?@");
    for (int i = 0; i < 12; ++i)
        junk += char(0x80 + (number * 7 + i * 13) % 0x7f);
    junk += ";,,E+V%";
    return junk + "\r\n";
}

} // namespace vornsim
