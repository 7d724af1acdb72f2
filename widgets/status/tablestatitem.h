#pragma once

#include <QTableWidgetItem>

/// One cell of a status-bit table. The fill colours are the table's whole vocabulary: every
/// setter paints a solid background of one fixed colour.
class TableStatItem : public QTableWidgetItem
{
public:
    TableStatItem();

    static QColor lightGray() { return QColor(192, 192, 192); }
    static QColor orange() { return QColor(255, 160, 60, 255); }

    void setLightGray();
    void setWhite();
    void setRed();
    void setGreen();
    void setYellow();
    void setOrange();

private:
    void setSolid(const QColor &colour);
};
