#include "refreshscope.h"

#include "scpi_parser.h"

namespace {
constexpr quint16 column(int c)
{
    return static_cast<quint16>(1u << c);
}
} // namespace

RefreshScope RefreshScope::ofAnswer(int requestCode)
{
    switch (requestCode) {
    case SCPI_Parser::ReadVoltageSet:
        return { column(0), false };
    case SCPI_Parser::MeasureVoltage:
        return { column(1) | column(8), false };
    case SCPI_Parser::ReadVoltageBounds:
        return { column(2), false };
    case SCPI_Parser::ReadVoltageNominal:
        return { column(3), false };
    case SCPI_Parser::ReadCurrentSet:
        return { column(4), false };
    case SCPI_Parser::MeasureCurrent:
        return { column(5) | column(8), false };
    case SCPI_Parser::ReadCurrentBounds:
        return { column(6), false };
    case SCPI_Parser::ReadCurrentNominal:
        return { column(7), false };
    // Iset marks a delayed trip and Imeas switches to microamperes by the status word.
    case SCPI_Parser::ReadChannelStatus:
        return { quint16(column(4) | column(5) | column(9) | column(10) | column(11)), false,
            true };
    // A channel switched on but not reported on yet shows "On" in yellow.
    case SCPI_Parser::ReadChannelControl:
        return { column(9), false, true };
    // Serial number, release and channel count; firmware name and with it the ramp units.
    case SCPI_Parser::ReadIdentity:
    case SCPI_Parser::ReadFirmware:
    case SCPI_Parser::ReadRamps:
        return { 0, true };
    case -1:
        return everything();
    default:
        // The event words, masks and module words reach only the status tables and the
        // signals; supplies, limits, average, interface mode, outputs, interlock, emission and
        // EPU flags are not shown by the refresh at all (a request code of a set command
        // counts as a word too).
        return { 0, false, true };
    }
}
