#include "stattablemod.h"

#include "czelkmodulestatusbits.h"

#define TIP(text) QT_TRANSLATE_NOOP("StatTableMod", text)

StatTableMod::StatTableMod(QWidget *parent)
    : StatTable(parent)
    , statusNames(CZelkModuleStatusBits::statusNames())
    , eventStatusNames(CZelkModuleStatusBits::eventStatusNames())
    , eventMaskNames(CZelkModuleStatusBits::eventMaskNames())
    , controlNames(CZelkModuleStatusBits::controlNames())
{
}

void StatTableMod::updateControl(quint16 control)
{
    static const BitRule rules[] = {
        { 5, { nullptr, Fill::Red, TIP("Set Interlock") },
            { "noILK", Fill::LightGray, TIP("Unset Interlock") } },
        { 6, { nullptr, Fill::Green, TIP("Clear all Events") },
            { "noCLEAR", Fill::LightGray, TIP("Don't clear Events") } },
        { 11, { nullptr, Fill::Green, TIP("Set Big Endian order") },
            { "little ENDN", Fill::LightGray, TIP("Set Little Endian order") } },
        { 12, { nullptr, Fill::Green, TIP("Set Fine Adjustment on") },
            { "ADJ off", Fill::LightGray, TIP("Set Fine Adjustment off") } },
        { 14, { nullptr, Fill::Red, TIP("Set Kill Enable") },
            { "noKILL", Fill::LightGray, TIP("Set Kill Disable") } },
    };
    applyRules(ControlRow, control, rules, controlNames);
}

void StatTableMod::updateStatus(quint16 status)
{
    static const BitRule rules[] = {
        { 0, { nullptr, Fill::Green, TIP("is in Fine Adjustment state") },
            { "noADJ", Fill::LightGray, TIP("is not in Fine Adjustment state") } },
        { 2, { nullptr, Fill::Green, TIP("is in Live Insertion mode") },
            { "noLVINS", Fill::LightGray, TIP("not in Live Insertion mode") } },
        { 3, { nullptr, Fill::Green, TIP("High Voltage is on") }, { "", Fill::LightGray, "" } },
        { 4, { nullptr, Fill::Red, TIP("Device in bad condition, service is needed!") },
            { "noSrvc", Fill::LightGray, TIP("device working properly, no Service needed") } },
        { 6, { nullptr, Fill::Green, TIP("Input Error occured") },
            { "noIERR", Fill::LightGray, TIP("no Input Error") } },
        { 8, { nullptr, Fill::LightGray, TIP("no Sum Error") },
            { "SERR", Fill::Red, TIP("Sum Error occured!") } },
        { 9, { nullptr, Fill::LightGray, TIP("no Ramp active") },
            { "RAMP", Fill::Yellow, TIP("at least one Channel is ramping") } },
        { 10, { nullptr, Fill::LightGray, TIP("Safety Loop is closed") },
            { "SFLPngd", Fill::Red, TIP("Safety Loop is open!") } },
        { 11, { nullptr, Fill::Green, TIP("one or more Events are active") },
            { "noEVact", Fill::LightGray, TIP("no Event active") } },
        { 12, { nullptr, Fill::LightGray, TIP("no Error") },
            { "MODngd", Fill::Red, TIP("one or more Errors occured") } },
        { 13, { nullptr, Fill::LightGray, TIP("no Supply Error") },
            { "SPLYngd", Fill::Red, TIP("Supply not good") } },
        { 14, { nullptr, Fill::LightGray, TIP("Temperature is good") },
            { "TMPngd", Fill::Red, TIP("Temperature not good!") } },
        { 15, { nullptr, Fill::Red, TIP("Kill Enable active!") },
            { "noKILL", Fill::LightGray, TIP("no Kill Enable active") } },
    };
    applyRules(StatusRow, status, rules, statusNames);
}

void StatTableMod::updateEventStatus(quint16 eventStatus)
{
    // Only six bits name events the operator must see; any other 1 keeps its cell as it was.
    static constexpr Look cleared = { "", Fill::LightGray, "" };
    static constexpr Look unchanged = { nullptr, Fill::Unchanged, nullptr };
    static const BitRule rules[] = {
        { 0, unchanged, cleared },
        { 1, unchanged, cleared },
        { 2, { nullptr, Fill::Orange, TIP("Event Live Insertion") }, cleared },
        { 3, unchanged, cleared },
        { 4, { nullptr, Fill::Red, TIP("Event Service Needed") }, cleared },
        { 5, unchanged, cleared },
        { 6, { nullptr, Fill::Orange, TIP("Event Input Error") }, cleared },
        { 7, unchanged, cleared },
        { 8, unchanged, cleared },
        { 9, unchanged, cleared },
        { 10, { nullptr, Fill::Red, TIP("Event Safety Loop not good") }, cleared },
        { 11, unchanged, cleared },
        { 12, unchanged, cleared },
        { 13, { nullptr, Fill::Red, TIP("Event Supply not good") }, cleared },
        { 14, { nullptr, Fill::Red, TIP("Event Temperature not good") }, cleared },
        { 15, unchanged, cleared },
    };
    applyRules(EventStatusRow, eventStatus, rules, eventStatusNames);
}

void StatTableMod::updateEventMask(quint16 eventMask)
{
    static const BitRule rules[] = {
        { 6, { nullptr, Fill::White, TIP("Mask Event Input Error is active") },
            { "MEIERR", Fill::LightGray, TIP("Mask Event Input Error is inactive") } },
        { 10, { nullptr, Fill::White, TIP("Mask Event Safety Loop is active") },
            { "MESFLPngd", Fill::LightGray, TIP("Mask Event Safety Loop is inactive") } },
        { 13, { nullptr, Fill::White, TIP("Mask Event Supply not good is active") },
            { "MESPLYngd", Fill::LightGray, TIP("Mask Event Supply not good is inactive") } },
        { 14, { nullptr, Fill::White, TIP("Mask Event Temperature not good is active") },
            { "METMPngd", Fill::LightGray, TIP("Mask Event Temperature not good is inactive") } },
    };
    applyRules(EventMaskRow, eventMask, rules, eventMaskNames);
}

bool StatTableMod::isToggleable(QTableWidgetItem *item)
{
    if (!item || item->row() != EventMaskRow)
        return false;
    switch (item->column()) {
    case 5:
    case 6:
    case 7:
    case 11:
    case 14:
    case 15:
        return true;
    default:
        return false;
    }
}
