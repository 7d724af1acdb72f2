#include "wordboxes.h"

#include <QCheckBox>

void WordBoxes::show(quint16 word)
{
    if (word == m_word)
        return;
    m_word = word;
    for (const BitBox &b : std::as_const(m_boxes))
        b.box->setChecked(word & (1u << b.bit));
}

quint16 WordBoxes::read()
{
    for (const BitBox &b : std::as_const(m_boxes)) {
        const auto bit = static_cast<quint16>(1u << b.bit);
        m_word = b.box->isChecked() ? (m_word | bit) : (m_word & ~bit);
    }
    return m_word;
}
