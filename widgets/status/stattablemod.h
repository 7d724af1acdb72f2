#pragma once

#include "stattable.h"

/// The status-bit table of the module: its control, status, event status and event mask
/// words, named after CZelkModuleStatusBits. The module's health bits are 1 when healthy, so
/// their 0 state is the one painted as a fault.
class StatTableMod : public StatTable
{
    Q_OBJECT

public:
    explicit StatTableMod(QWidget *parent = nullptr);

    /// Bits 5, 6, 11, 12 and 14 only.
    void updateControl(quint16 control);
    /// Every bit but 1, 5 and 7.
    void updateStatus(quint16 status);
    /// A bit that is 0 clears its cell; of the bits that are 1 only 2, 4, 6, 10, 13 and 14 are
    /// painted, the others keep what they show.
    void updateEventStatus(quint16 eventStatus);
    /// Bits 6, 10, 13 and 14 only: white when active (1), light grey when not.
    void updateEventMask(quint16 eventMask);

    /// Event mask cells of bits 4, 5, 6, 10, 13 and 14.
    bool isToggleable(QTableWidgetItem *item) override;

private:
    QStringList statusNames;
    QStringList eventStatusNames;
    QStringList eventMaskNames;
    QStringList controlNames;
};
