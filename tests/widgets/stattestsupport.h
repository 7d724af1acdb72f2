#pragma once

#include <QColor>
#include <QTableWidget>

// Colours every status table test speaks of.
namespace StatColour {
inline QColor lightGray()
{
    return QColor(192, 192, 192);
}
inline QColor white()
{
    return QColor(255, 255, 255);
}
inline QColor red()
{
    return QColor(255, 0, 0);
}
inline QColor green()
{
    return QColor(0, 255, 0);
}
inline QColor yellow()
{
    return QColor(255, 255, 0);
}
inline QColor orange()
{
    return QColor(255, 160, 60);
}
} // namespace StatColour

inline QColor cellColour(const QTableWidget &table, int row, int column)
{
    const QTableWidgetItem *item = table.item(row, column);
    return item ? item->background().color() : QColor();
}

inline QString cellText(const QTableWidget &table, int row, int column)
{
    const QTableWidgetItem *item = table.item(row, column);
    return item ? item->text() : QStringLiteral("<no item>");
}

inline QString cellToolTip(const QTableWidget &table, int row, int column)
{
    const QTableWidgetItem *item = table.item(row, column);
    return item ? item->toolTip() : QStringLiteral("<no item>");
}
