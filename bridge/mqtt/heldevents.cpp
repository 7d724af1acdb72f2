#include "heldevents.h"

void HeldEvents::append(Severity severity, const QByteArray &payload)
{
    if (m_held.size() >= m_capacity) {
        // The oldest entry of the lowest severity held.
        qsizetype drop = -1;
        for (qsizetype i = 0; i < m_held.size(); ++i) {
            if (drop < 0 || m_held.at(i).severity < m_held.at(drop).severity) {
                drop = i;
                if (m_held.at(i).severity == Severity::Info)
                    break;
            }
        }
        if (drop < 0 || m_held.at(drop).severity > severity) {
            ++m_dropped[size_t(severity)];
            return;
        }
        ++m_dropped[size_t(m_held.at(drop).severity)];
        m_held.removeAt(drop);
    }
    m_held.append({ severity, payload });
}
