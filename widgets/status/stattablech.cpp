#include "stattablech.h"

#include "czelkchannelstatusbits.h"

#define TIP(text) QT_TRANSLATE_NOOP("StatTableCh", text)

namespace {
using Ch = CZelkChannelStatusBits;
} // namespace

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
        { Ch::SetOn, { nullptr, Fill::Green, TIP("set Channel on") },
            { "Ch. off", Fill::LightGray, TIP("set Channel off") } },
        { Ch::SetEmergency, { nullptr, Fill::Red, TIP("set Channel Emergency") },
            { "no EMCY", Fill::LightGray, TIP("no Channel Emergency") } },
    };
    applyRules(ControlRow, control, rules, controlNames);
}

void StatTableCh::updateStatus(quint16 status)
{
    static const BitRule rules[] = {
        { Ch::Positive, { nullptr, Fill::LightGray, TIP("Channel is positive") },
            { "isNEG", Fill::LightGray, TIP("Channel is negative") } },
        { Ch::Arc, { nullptr, Fill::Orange, TIP("an Arc is detected") },
            { "noARC", Fill::LightGray, TIP("no Arc is detected") } },
        { Ch::InputError, { nullptr, Fill::Orange, TIP("Channel Input Error detected") },
            { "noIERR", Fill::LightGray, TIP("no Channel Input Error detected") } },
        { Ch::On, { nullptr, Fill::Green, TIP("Channel is on") },
            { "isOFF", Fill::LightGray, TIP("Channel is off") } },
        { Ch::Ramp, { nullptr, Fill::Green, TIP("Channel is ramping") },
            { "noRamp", Fill::LightGray, TIP("Channel is not ramping") } },
        { Ch::Emergency, { nullptr, Fill::Red, TIP("Channel is in Emergency state") },
            { "noEMCY", Fill::LightGray, TIP("Channel is not in Emergency state") } },
        { Ch::ConstantCurrent,
            { nullptr, Fill::Green, TIP("Constant Current regulation is active") },
            { "noCC", Fill::LightGray, TIP("Constant Current regulation is inactive") } },
        { Ch::ConstantVoltage,
            { nullptr, Fill::Green, TIP("Constant Voltage regulation is active") },
            { "noCV", Fill::LightGray, TIP("Constant Voltage regulation is inactive") } },
        { Ch::LowCurrentRange, { nullptr, Fill::Green, TIP("low current range measurement") },
            { "noLCR", Fill::LightGray, TIP("low current measurement inactive") } },
        { Ch::ArcError, { nullptr, Fill::Red, TIP("Arc Error switched off the HV") },
            { "noARCERR", Fill::LightGray, TIP("No ARC Error active") } },
        { Ch::CurrentBounds, { nullptr, Fill::Orange, TIP("Current is out of bounds") },
            { "noCBND", Fill::LightGray, TIP("Current is within bounds") } },
        { Ch::VoltageBounds, { nullptr, Fill::Orange, TIP("Voltage is out of bounds") },
            { "noVBND", Fill::LightGray, TIP("Voltage is within bounds") } },
        { Ch::Inhibit, { nullptr, Fill::Red, TIP("External Inhibit is set") },
            { "noEINH", Fill::LightGray, TIP("no External Inhibit") } },
        { Ch::Trip, { nullptr, Fill::Orange, TIP("Channel is on Trip") },
            { "noTRP", Fill::LightGray, TIP("Channel is not on Trip") } },
        { Ch::CurrentLimit, { nullptr, Fill::Red, TIP("Current limit is exceeded") },
            { "noCLIM", Fill::LightGray, TIP("Current is within limits") } },
        { Ch::VoltageLimit, { nullptr, Fill::Red, TIP("Voltage limit is exceeded") },
            { "noVLIM", Fill::LightGray, TIP("Voltage is within limits") } },
    };
    applyRules(StatusRow, status, rules, statusNames);
}

void StatTableCh::updateEventStatus(quint16 eventStatus)
{
    // A 1 in a reserved bit is no event, so the cell keeps what it shows.
    static constexpr Look cleared = { "", Fill::LightGray, "" };
    static const BitRule rules[] = {
        { Ch::EventArc, { nullptr, Fill::Orange, TIP("Event Arc Detected") }, cleared },
        { Ch::EventInputError, { nullptr, Fill::Orange, TIP("Event Input Error") }, cleared },
        { Ch::EventSwitchedOff, { nullptr, Fill::Green, TIP("Event Switch On to Off") }, cleared },
        { Ch::EventEndOfRamp, { nullptr, Fill::Green, TIP("Event End of Ramp") }, cleared },
        { Ch::EventEmergency, { nullptr, Fill::Red, TIP("Event Channel Emergency") }, cleared },
        { Ch::EventConstantCurrent, { nullptr, Fill::Green, TIP("Event Constant Current") },
            cleared },
        { Ch::EventConstantVoltage, { nullptr, Fill::Green, TIP("Event Constant Voltage") },
            cleared },
        { Ch::EventArcError, { nullptr, Fill::Red, TIP("Event Arc Error") }, cleared },
        { Ch::EventCurrentBounds, { nullptr, Fill::Orange, TIP("Event Current Bounds exceeded") },
            cleared },
        { Ch::EventVoltageBounds, { nullptr, Fill::Orange, TIP("Event Voltage Bounds exceeded") },
            cleared },
        { Ch::EventInhibit, { nullptr, Fill::Red, TIP("Event External Inhibit") }, cleared },
        { Ch::EventTrip, { nullptr, Fill::Orange, TIP("Event Trip") }, cleared },
        { Ch::EventCurrentLimit, { nullptr, Fill::Red, TIP("Event Current Limit exceeded") },
            cleared },
        { Ch::EventVoltageLimit, { nullptr, Fill::Red, TIP("Event Voltage Limit exceeded") },
            cleared },
    };
    applyRules(EventStatusRow, eventStatus, rules, eventStatusNames, quint16(~Ch::EventBits));
}

void StatTableCh::updateEventMask(quint16 eventMask)
{
    static const BitRule rules[] = {
        { Ch::EventArc, { nullptr, Fill::White, TIP("Mask Event Arc is active") },
            { nullptr, Fill::LightGray, TIP("Mask Event Arc is inactive") } },
        { Ch::EventInputError, { nullptr, Fill::White, TIP("Mask Event Input Error is active") },
            { nullptr, Fill::LightGray, TIP("Mask Event Input Error is inactive") } },
        { Ch::EventSwitchedOff,
            { nullptr, Fill::White, TIP("Mask Event Toggle ON to OFF is active") },
            { nullptr, Fill::LightGray, TIP("Mask Event Toggle ON to OFF is inactive") } },
        { Ch::EventEndOfRamp, { nullptr, Fill::White, TIP("Mask Event End of Ramp is active") },
            { nullptr, Fill::LightGray, TIP("Mask Event End of Ramp is inactive") } },
        { Ch::EventEmergency,
            { nullptr, Fill::White, TIP("Mask Event Channel Emergency is active") },
            { nullptr, Fill::LightGray, TIP("Mask Event Channel Emergency is inactive") } },
        { Ch::EventConstantCurrent,
            { nullptr, Fill::White, TIP("Mask Event Constant Current is active") },
            { nullptr, Fill::LightGray, TIP("Mask Event Constant Current is inactive") } },
        { Ch::EventConstantVoltage,
            { nullptr, Fill::White, TIP("Mask Event Constant Voltage is active") },
            { nullptr, Fill::LightGray, TIP("Mask Event Constant Voltage is inactive") } },
        { Ch::EventArcError, { nullptr, Fill::White, TIP("Mask Event Arc Error is active") },
            { nullptr, Fill::LightGray, TIP("Mask Event Arc Error is inactive") } },
        { Ch::EventCurrentBounds,
            { nullptr, Fill::White, TIP("Mask Event Current Bound is active") },
            { nullptr, Fill::LightGray, TIP("Mask Event Current Bound is inactive") } },
        { Ch::EventVoltageBounds,
            { nullptr, Fill::White, TIP("Mask Event Voltage Bound is active") },
            { nullptr, Fill::LightGray, TIP("Mask Event Voltage Bound is inactive") } },
        { Ch::EventInhibit, { nullptr, Fill::White, TIP("Mask Event Inhibit is active") },
            { nullptr, Fill::LightGray, TIP("Mask Event Inhibit is inactive") } },
        { Ch::EventTrip, { nullptr, Fill::White, TIP("Mask Event Trip is active") },
            { nullptr, Fill::LightGray, TIP("Mask Event Trip is inactive") } },
        { Ch::EventCurrentLimit,
            { nullptr, Fill::White, TIP("Mask Event Current Limit is active") },
            { nullptr, Fill::LightGray, TIP("Mask Event Current Limit is inactive") } },
        { Ch::EventVoltageLimit,
            { nullptr, Fill::White, TIP("Mask Event Voltage Limit is active") },
            { nullptr, Fill::LightGray, TIP("Mask Event Voltage Limit is inactive") } },
    };
    applyRules(EventMaskRow, eventMask, rules, eventMaskNames);
}

bool StatTableCh::isToggleable(QTableWidgetItem *item)
{
    return isBitCell(item, EventMaskRow, Ch::EventBits);
}
