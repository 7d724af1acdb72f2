#include "tablestatitem.h"

#include <QBrush>

TableStatItem::TableStatItem()
    : QTableWidgetItem(QTableWidgetItem::Type)
{
}

void TableStatItem::setLightGray()
{
    setSolid(lightGray());
}

void TableStatItem::setWhite()
{
    setSolid(QColor(255, 255, 255));
}

void TableStatItem::setRed()
{
    setSolid(QColor(255, 0, 0));
}

void TableStatItem::setGreen()
{
    setSolid(QColor(0, 255, 0));
}

void TableStatItem::setYellow()
{
    setSolid(QColor(255, 255, 0));
}

void TableStatItem::setOrange()
{
    setSolid(orange());
}

void TableStatItem::setSolid(const QColor &colour)
{
    setBackground(QBrush(colour, Qt::SolidPattern));
}
