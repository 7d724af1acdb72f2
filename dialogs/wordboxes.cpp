#include "wordboxes.h"

#include <QCheckBox>

void WordBoxes::show(quint16 word)
{
    if (word == m_word)
        return;
    m_word = word;
    for (const BitBox &b : std::as_const(m_boxes))
        b.box->setChecked(word & b.mask);
}

quint16 WordBoxes::read()
{
    for (const BitBox &b : std::as_const(m_boxes))
        m_word = b.box->isChecked() ? (m_word | b.mask) : (m_word & ~b.mask);
    return m_word;
}
