#pragma once

#include <QList>

#include <initializer_list>

class QCheckBox;

/// A check box that shows one bit of a 16-bit word, given by its mask.
struct BitBox
{
    QCheckBox *box;
    quint16 mask;
};

/// The check boxes of one status or control word and the word they last showed. The boxes are
/// rewritten only when the module reports a different word, so ticks the operator has not sent
/// yet survive the periodic updates.
class WordBoxes
{
public:
    WordBoxes() = default;
    WordBoxes(std::initializer_list<BitBox> boxes)
        : m_boxes(boxes)
    {
    }

    void show(quint16 word);
    /// The last word with the bits of the boxes as they are ticked now; kept as the last word.
    quint16 read();

private:
    QList<BitBox> m_boxes;
    quint16 m_word = 0;
};
