#include "stattablech.h"

#include "czelkchannelstatusbits.h"

#define TIP(text) QT_TRANSLATE_NOOP("StatTableCh", text)

StatTableCh::StatTableCh(QWidget *parent)
    : StatTable(parent)
    , statusNames(CZelkChannelStatusBits::statusNames())
    , eventStatusNames(CZelkChannelStatusBits::eventStatusNames())
    , eventMaskNames(CZelkChannelStatusBits::eventMaskNames())
    , controlNames(CZelkChannelStatusBits::controlNames())
{
}

void StatTableCh::updateControl(quint16 control)
{
    static const BitRule rules[] = {
        { 3, { nullptr, Fill::Green, TIP("set Channel on") },
            { "Ch. off", Fill::LightGray, TIP("set Channel off") } },
        { 5, { nullptr, Fill::Red, TIP("set Channel Emergency") },
            { "no EMCY", Fill::LightGray, TIP("no Channel Emergency") } },
    };
    applyRules(ControlRow, control, rules, controlNames);
}

void StatTableCh::updateStatus(quint16 status)
{
    static const BitRule rules[] = {
        { 0, { nullptr, Fill::LightGray, TIP("Channel is positive") },
            { "isNEG", Fill::LightGray, TIP("Channel is negative") } },
        { 1, { nullptr, Fill::Orange, TIP("an Arc is detected") },
            { "noARC", Fill::LightGray, TIP("no Arc is detected") } },
        { 2, { nullptr, Fill::Orange, TIP("Channel Input Error detected") },
            { "noIERR", Fill::LightGray, TIP("no Channel Input Error detected") } },
        { 3, { nullptr, Fill::Green, TIP("Channel is on") },
            { "isOFF", Fill::LightGray, TIP("Channel is off") } },
        { 4, { nullptr, Fill::Green, TIP("Channel is ramping") },
            { "noRamp", Fill::LightGray, TIP("Channel is not ramping") } },
        { 5, { nullptr, Fill::Red, TIP("Channel is in Emergency state") },
            { "noEMCY", Fill::LightGray, TIP("Channel is not in Emergency state") } },
        { 6, { nullptr, Fill::Green, TIP("Constant Current regulation is active") },
            { "noCC", Fill::LightGray, TIP("Constant Current regulation is inactive") } },
        { 7, { nullptr, Fill::Green, TIP("Constant Voltage regulation is active") },
            { "noCV", Fill::LightGray, TIP("Constant Voltage regulation is inactive") } },
        { 8, { nullptr, Fill::Green, TIP("low current range measurement") },
            { "noLCR", Fill::LightGray, TIP("low current measurement inactive") } },
        { 9, { nullptr, Fill::Red, TIP("Arc Error switched off the HV") },
            { "noARCERR", Fill::LightGray, TIP("No ARC Error active") } },
        { 10, { nullptr, Fill::Orange, TIP("Current is out of bounds") },
            { "noCBND", Fill::LightGray, TIP("Current is within bounds") } },
        { 11, { nullptr, Fill::Orange, TIP("Voltage is out of bounds") },
            { "noVBND", Fill::LightGray, TIP("Voltage is within bounds") } },
        { 12, { nullptr, Fill::Red, TIP("External Inhibit is set") },
            { "noEINH", Fill::LightGray, TIP("no External Inhibit") } },
        { 13, { nullptr, Fill::Orange, TIP("Channel is on Trip") },
            { "noTRP", Fill::LightGray, TIP("Channel is not on Trip") } },
        { 14, { nullptr, Fill::Red, TIP("Current limit is exceeded") },
            { "noCLIM", Fill::LightGray, TIP("Current is within limits") } },
        { 15, { nullptr, Fill::Red, TIP("Voltage limit is exceeded") },
            { "noVLIM", Fill::LightGray, TIP("Voltage is within limits") } },
    };
    applyRules(StatusRow, status, rules, statusNames);
}

void StatTableCh::updateEventStatus(quint16 eventStatus)
{
    // Bits 0 and 8 are reserved: a 1 there is no event, so the cell keeps what it shows.
    static constexpr Look cleared = { "", Fill::LightGray, "" };
    static constexpr Look unchanged = { nullptr, Fill::Unchanged, nullptr };
    static const BitRule rules[] = {
        { 0, unchanged, cleared },
        { 1, { nullptr, Fill::Orange, TIP("Event Arc Detected") }, cleared },
        { 2, { nullptr, Fill::Orange, TIP("Event Input Error") }, cleared },
        { 3, { nullptr, Fill::Green, TIP("Event Switch On to Off") }, cleared },
        { 4, { nullptr, Fill::Green, TIP("Event End of Ramp") }, cleared },
        { 5, { nullptr, Fill::Red, TIP("Event Channel Emergency") }, cleared },
        { 6, { nullptr, Fill::Green, TIP("Event Constant Current") }, cleared },
        { 7, { nullptr, Fill::Green, TIP("Event Constant Voltage") }, cleared },
        { 8, unchanged, cleared },
        { 9, { nullptr, Fill::Red, TIP("Event Arc Error") }, cleared },
        { 10, { nullptr, Fill::Orange, TIP("Event Current Bounds exceeded") }, cleared },
        { 11, { nullptr, Fill::Orange, TIP("Event Voltage Bounds exceeded") }, cleared },
        { 12, { nullptr, Fill::Red, TIP("Event External Inhibit") }, cleared },
        { 13, { nullptr, Fill::Orange, TIP("Event Trip") }, cleared },
        { 14, { nullptr, Fill::Red, TIP("Event Current Limit exceeded") }, cleared },
        { 15, { nullptr, Fill::Red, TIP("Event Voltage Limit exceeded") }, cleared },
    };
    applyRules(EventStatusRow, eventStatus, rules, eventStatusNames);
}

void StatTableCh::updateEventMask(quint16 eventMask)
{
    static const BitRule rules[] = {
        { 1, { nullptr, Fill::White, TIP("Mask Event Arc is active") },
            { nullptr, Fill::LightGray, TIP("Mask Event Arc is inactive") } },
        { 2, { nullptr, Fill::White, TIP("Mask Event Input Error is active") },
            { nullptr, Fill::LightGray, TIP("Mask Event Input Error is inactive") } },
        { 3, { nullptr, Fill::White, TIP("Mask Event Toggle ON to OFF is active") },
            { nullptr, Fill::LightGray, TIP("Mask Event Toggle ON to OFF is inactive") } },
        { 4, { nullptr, Fill::White, TIP("Mask Event End of Ramp is active") },
            { nullptr, Fill::LightGray, TIP("Mask Event End of Ramp is inactive") } },
        { 5, { nullptr, Fill::White, TIP("Mask Event Channel Emergency is active") },
            { nullptr, Fill::LightGray, TIP("Mask Event Channel Emergency is inactive") } },
        { 6, { nullptr, Fill::White, TIP("Mask Event Constant Current is active") },
            { nullptr, Fill::LightGray, TIP("Mask Event Constant Current is inactive") } },
        { 7, { nullptr, Fill::White, TIP("Mask Event Constant Voltage is active") },
            { nullptr, Fill::LightGray, TIP("Mask Event Constant Voltage is inactive") } },
        { 9, { nullptr, Fill::White, TIP("Mask Event Arc Error is active") },
            { nullptr, Fill::LightGray, TIP("Mask Event Arc Error is inactive") } },
        { 10, { nullptr, Fill::White, TIP("Mask Event Current Bound is active") },
            { nullptr, Fill::LightGray, TIP("Mask Event Current Bound is inactive") } },
        { 11, { nullptr, Fill::White, TIP("Mask Event Voltage Bound is active") },
            { nullptr, Fill::LightGray, TIP("Mask Event Voltage Bound is inactive") } },
        { 12, { nullptr, Fill::White, TIP("Mask Event Inhibit is active") },
            { nullptr, Fill::LightGray, TIP("Mask Event Inhibit is inactive") } },
        { 13, { nullptr, Fill::White, TIP("Mask Event Trip is active") },
            { nullptr, Fill::LightGray, TIP("Mask Event Trip is inactive") } },
        { 14, { nullptr, Fill::White, TIP("Mask Event Current Limit is active") },
            { nullptr, Fill::LightGray, TIP("Mask Event Current Limit is inactive") } },
        { 15, { nullptr, Fill::White, TIP("Mask Event Voltage Limit is active") },
            { nullptr, Fill::LightGray, TIP("Mask Event Voltage Limit is inactive") } },
    };
    applyRules(EventMaskRow, eventMask, rules, eventMaskNames);
}

bool StatTableCh::isToggleable(QTableWidgetItem *item)
{
    if (!item || item->row() != EventMaskRow)
        return false;
    const int column = item->column();
    return (column >= 2 && column <= 8) || (column >= 10 && column <= 16);
}
