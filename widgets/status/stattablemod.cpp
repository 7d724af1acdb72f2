#include "stattablemod.h"

#include "czelkmodulestatusbits.h"

#define TIP(text) QT_TRANSLATE_NOOP("StatTableMod", text)

namespace {
using Mod = CZelkModuleStatusBits;
/// The events the event status row shows.
constexpr quint16 shownEvents = Mod::EventLiveInsertion | Mod::EventService | Mod::EventInputError
    | Mod::EventSafetyLoopNotGood | Mod::EventSupplyNotGood | Mod::EventTemperatureNotGood;
/// The events the event mask word enables; live insertion has no mask bit.
constexpr quint16 maskedEvents = Mod::EventService | Mod::EventHardwareVoltageLimitNotGood
    | Mod::EventInputError | Mod::EventSafetyLoopNotGood | Mod::EventSupplyNotGood
    | Mod::EventTemperatureNotGood;
} // namespace

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
        { Mod::SetInterlock, { nullptr, Fill::Red, TIP("Set Interlock") },
            { "noILK", Fill::LightGray, TIP("Unset Interlock") } },
        { Mod::DoClear, { nullptr, Fill::Green, TIP("Clear all Events") },
            { "noCLEAR", Fill::LightGray, TIP("Don't clear Events") } },
        { Mod::SetBigEndian, { nullptr, Fill::Green, TIP("Set Big Endian order") },
            { "little ENDN", Fill::LightGray, TIP("Set Little Endian order") } },
        { Mod::SetAdjust, { nullptr, Fill::Green, TIP("Set Fine Adjustment on") },
            { "ADJ off", Fill::LightGray, TIP("Set Fine Adjustment off") } },
        { Mod::SetKillEnable, { nullptr, Fill::Red, TIP("Set Kill Enable") },
            { "noKILL", Fill::LightGray, TIP("Set Kill Disable") } },
    };
    applyRules(ControlRow, control, rules, controlNames);
}

void StatTableMod::updateStatus(quint16 status)
{
    static const BitRule rules[] = {
        { Mod::Adjust, { nullptr, Fill::Green, TIP("is in Fine Adjustment state") },
            { "noADJ", Fill::LightGray, TIP("is not in Fine Adjustment state") } },
        { Mod::LiveInsertion, { nullptr, Fill::Green, TIP("is in Live Insertion mode") },
            { "noLVINS", Fill::LightGray, TIP("not in Live Insertion mode") } },
        { Mod::HighVoltageOn, { nullptr, Fill::Green, TIP("High Voltage is on") },
            { "", Fill::LightGray, "" } },
        { Mod::Service, { nullptr, Fill::Red, TIP("Device in bad condition, service is needed!") },
            { "noSrvc", Fill::LightGray, TIP("device working properly, no Service needed") } },
        { Mod::InputError, { nullptr, Fill::Green, TIP("Input Error occured") },
            { "noIERR", Fill::LightGray, TIP("no Input Error") } },
        { Mod::NoSumError, { nullptr, Fill::LightGray, TIP("no Sum Error") },
            { "SERR", Fill::Red, TIP("Sum Error occured!") } },
        { Mod::NoRamp, { nullptr, Fill::LightGray, TIP("no Ramp active") },
            { "RAMP", Fill::Yellow, TIP("at least one Channel is ramping") } },
        { Mod::SafetyLoopGood, { nullptr, Fill::LightGray, TIP("Safety Loop is closed") },
            { "SFLPngd", Fill::Red, TIP("Safety Loop is open!") } },
        { Mod::EventActive, { nullptr, Fill::Green, TIP("one or more Events are active") },
            { "noEVact", Fill::LightGray, TIP("no Event active") } },
        { Mod::ModuleGood, { nullptr, Fill::LightGray, TIP("no Error") },
            { "MODngd", Fill::Red, TIP("one or more Errors occured") } },
        { Mod::SupplyGood, { nullptr, Fill::LightGray, TIP("no Supply Error") },
            { "SPLYngd", Fill::Red, TIP("Supply not good") } },
        { Mod::TemperatureGood, { nullptr, Fill::LightGray, TIP("Temperature is good") },
            { "TMPngd", Fill::Red, TIP("Temperature not good!") } },
        { Mod::KillEnable, { nullptr, Fill::Red, TIP("Kill Enable active!") },
            { "noKILL", Fill::LightGray, TIP("no Kill Enable active") } },
    };
    applyRules(StatusRow, status, rules, statusNames);
}

void StatTableMod::updateEventStatus(quint16 eventStatus)
{
    // Only six bits name events the operator must see; any other 1 keeps its cell as it was.
    static constexpr Look cleared = { "", Fill::LightGray, "" };
    static const BitRule rules[] = {
        { Mod::EventLiveInsertion, { nullptr, Fill::Orange, TIP("Event Live Insertion") },
            cleared },
        { Mod::EventService, { nullptr, Fill::Red, TIP("Event Service Needed") }, cleared },
        { Mod::EventInputError, { nullptr, Fill::Orange, TIP("Event Input Error") }, cleared },
        { Mod::EventSafetyLoopNotGood, { nullptr, Fill::Red, TIP("Event Safety Loop not good") },
            cleared },
        { Mod::EventSupplyNotGood, { nullptr, Fill::Red, TIP("Event Supply not good") }, cleared },
        { Mod::EventTemperatureNotGood, { nullptr, Fill::Red, TIP("Event Temperature not good") },
            cleared },
    };
    applyRules(EventStatusRow, eventStatus, rules, eventStatusNames, quint16(~shownEvents));
}

void StatTableMod::updateEventMask(quint16 eventMask)
{
    static const BitRule rules[] = {
        { Mod::EventInputError, { nullptr, Fill::White, TIP("Mask Event Input Error is active") },
            { "MEIERR", Fill::LightGray, TIP("Mask Event Input Error is inactive") } },
        { Mod::EventSafetyLoopNotGood,
            { nullptr, Fill::White, TIP("Mask Event Safety Loop is active") },
            { "MESFLPngd", Fill::LightGray, TIP("Mask Event Safety Loop is inactive") } },
        { Mod::EventSupplyNotGood,
            { nullptr, Fill::White, TIP("Mask Event Supply not good is active") },
            { "MESPLYngd", Fill::LightGray, TIP("Mask Event Supply not good is inactive") } },
        { Mod::EventTemperatureNotGood,
            { nullptr, Fill::White, TIP("Mask Event Temperature not good is active") },
            { "METMPngd", Fill::LightGray, TIP("Mask Event Temperature not good is inactive") } },
    };
    applyRules(EventMaskRow, eventMask, rules, eventMaskNames);
}

bool StatTableMod::isToggleable(QTableWidgetItem *item)
{
    return isBitCell(item, EventMaskRow, maskedEvents);
}
