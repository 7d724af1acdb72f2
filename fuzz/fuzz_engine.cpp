// The engine's answer processing against arbitrary bytes. The first input byte picks the family
// the engine has identified (after a full, plausible start); the rest is a series of records,
// each a code byte and an answer up to LF. The code byte names the request the answer is taken
// for (any request code), or, at 0xFF, leaves the request the engine itself is waiting for.
#include "enginedriver.h"

#include <QCoreApplication>
#include <QLoggingCategory>

#include <cstddef>
#include <cstdint>
#include <iterator>

namespace {

struct Family
{
    const char *device;
    const char *firmware;
    const char *release;
    int channels;
};

const Family families[] = {
    { "KA2F8", "KA2F8", "2.05", 4 },
    { "DRSB", "DRSB", "4.08", 1 },
    { "GLW802", "GLW802", "2.10", 8 },
    { "TX01B0", "TX01B0", "5.01", 1 },
    { "TQ88812p0000", "TX02B0", "3.10", 2 },
    { "KA3F1", "KA3F1", "1.0", 64 },
};

const quint16 codes[] = { SCPI_Parser::ReadVoltageSet, SCPI_Parser::ReadVoltageNominal,
    SCPI_Parser::ReadVoltageBounds, SCPI_Parser::ReadCurrentSet, SCPI_Parser::ReadCurrentNominal,
    SCPI_Parser::ReadCurrentBounds, SCPI_Parser::ReadRamps, SCPI_Parser::ReadFirmware,
    SCPI_Parser::ReadModuleStatus, SCPI_Parser::ClearModuleEvents, SCPI_Parser::SetModuleEventMask,
    SCPI_Parser::ReadSupplies, SCPI_Parser::ReadChannelControl, SCPI_Parser::ReadChannelStatus,
    SCPI_Parser::ReadChannelEventStatus, SCPI_Parser::ReadChannelEventMask,
    SCPI_Parser::ReadIdentity, SCPI_Parser::ReadLimitsPercent, SCPI_Parser::ReadLimitsUnits,
    SCPI_Parser::MeasureVoltage, SCPI_Parser::MeasureCurrent, SCPI_Parser::ReadEpu,
    SCPI_Parser::SaveConfiguration, SCPI_Parser::ReadAverage, SCPI_Parser::ReadInterfaceMode,
    SCPI_Parser::SetModuleControl, SCPI_Parser::ReadOutputs, SCPI_Parser::ReadInterlock,
    SCPI_Parser::ReadEmission };

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    static QCoreApplication app(*argc, *argv);
    QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false\n*.warning=false"));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    const Family &family = families[data[0] % std::size(families)];
    FakeLink link;
    EngineDriver::start(link, family.device, family.firmware, family.release, family.channels);
    link.setVoltage(10.0f, 0); // something queued, so set commands meet odd answers too

    const char *bytes = reinterpret_cast<const char *>(data) + 1;
    const char *end = reinterpret_cast<const char *>(data) + size;
    while (bytes < end) {
        const auto code = static_cast<uint8_t>(*bytes++);
        if (code != 0xFF)
            link.sendCommand(codes[code % std::size(codes)], QString());
        const char *lf = bytes;
        while (lf < end && *lf != '\n')
            ++lf;
        if (lf < end)
            ++lf;
        link.feed(QByteArray(bytes, lf - bytes));
        bytes = lf;
    }
    // Whatever arrived, the engine must still be able to build its requests.
    link.setCurrent(1e-3f, link.module().channelCount());
    link.callRefreshData();
    return 0;
}
