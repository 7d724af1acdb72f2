#pragma once

#include "stattable.h"

/// The status-bit table of one channel: its control, status, event status and event mask
/// words, named after CZelkChannelStatusBits.
class StatTableCh : public StatTable
{
    Q_OBJECT

public:
    explicit StatTableCh(QWidget *parent = nullptr);

    /// Bits 3 (on) and 5 (emergency off) only.
    void updateControl(quint16 control);
    /// All 16 bits; a bit that is 0 is light grey.
    void updateStatus(quint16 status);
    /// A bit that is 0 clears its cell; bits 0 and 8 (reserved) that are 1 leave it as it was.
    void updateEventStatus(quint16 eventStatus);
    /// Bits 1 to 7 and 9 to 15: white when active (1), light grey when not.
    void updateEventMask(quint16 eventMask);

    /// Event mask cells of bits 1 to 7 and 9 to 15.
    bool isToggleable(QTableWidgetItem *item) override;

private:
    QStringList statusNames;
    QStringList eventStatusNames;
    QStringList eventMaskNames;
    QStringList controlNames;
};
