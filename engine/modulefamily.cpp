#include "modulefamily.h"

#include "scpi_parser.h"

namespace {

using P = SCPI_Parser;
using Q = PlannedQuery;

// Lines asked in more than one place are one text each, so that the engine builds them once.
const char *const VoltageNominal = ":READ:VOLT:NOM?%1\r\n";
const char *const Limits = ":READ:VOLT:LIM?;:READ:CURR:LIM?\r\n";
const char *const Outputs = ":CONF:OUTP? (@0-2)\r\n";

QList<PlannedQuery> configurationSteps(const char *voltageBounds)
{
    return { { P::ReadFirmware, ":READ:FIRM:NAME?;REL?\r\n" },
        { P::ReadVoltageBounds, voltageBounds }, { P::ReadVoltageNominal, VoltageNominal },
        { P::ReadCurrentBounds, ":READ:CURR:BOU?%1\r\n" },
        { P::ReadCurrentNominal, ":READ:CURR:NOM?%1\r\n" },
        { P::ReadRamps, ":READ:RAMP:VOLT?;CURR?\r\n" },
        { P::ReadChannelEventMask, ":READ:CHAN:EV:MASK?%1\r\n" },
        { P::ReadChannelControl, ":READ:CHAN:CONT?%1\r\n" }, { P::ReadAverage, ":CONF:AVER?\r\n" },
        { P::ReadInterfaceMode, ":CONF:INTER:MODE?\r\n", Q::InterfaceMode } };
}

/// The polling cycle after its first request: channels, module words, supplies, then what the
/// family has besides.
QueryPlan polling(const QList<PlannedQuery> &extra)
{
    QList<PlannedQuery> steps { { P::ReadCurrentSet, ":READ:CURR?%1\r\n" },
        { P::MeasureVoltage, ":MEAS:VOLT?%1\r\n" }, { P::MeasureCurrent, ":MEAS:CURR?%1\r\n" },
        { P::ReadChannelStatus, ":READ:CHAN:STAT?%1\r\n" },
        { P::ReadChannelEventStatus, ":READ:CHAN:EV:STAT?%1\r\n" },
        { P::ReadModuleStatus, ":READ:MOD:CONT?;STAT?;EV:STAT?;MASK?\r\n" },
        { P::ReadSupplies, ":READ:MOD:TEMP?;SUP:P24V?;P5V?;P12V?;N12V?\r\n" } };
    return { steps + extra, { { P::ReadVoltageSet, ":READ:VOLT?%1\r\n" } } };
}

const QueryPlan &standardConfiguration()
{
    static const QueryPlan plan { configurationSteps(":READ:VOLT:BOU?%1\r\n"),
        { { P::ReadVoltageNominal, VoltageNominal } } };
    return plan;
}

// DRS modules confirm their high-voltage state with the first bounds query and read their EPU
// flags last.
const QueryPlan &drsConfiguration()
{
    static const QueryPlan plan { configurationSteps(":CONF:HVDRSB HV_OK;:READ:VOLT:BOU?%1\r\n"),
        { { P::ReadEpu, ":SYS:USER:EPU?%1\r\n", Q::NewEpu },
            { P::ReadEpu, ":SYS:USER:READ:EPU?%1\r\n" } } };
    return plan;
}

const QueryPlan &basicPolling()
{
    static const QueryPlan plan = polling({});
    return plan;
}

const QueryPlan &percentLimitPolling()
{
    static const QueryPlan plan = polling({ { P::ReadLimitsPercent, Limits, Q::PercentLimits } });
    return plan;
}

const QueryPlan &unitLimitPolling()
{
    static const QueryPlan plan = polling({ { P::ReadLimitsUnits, Limits } });
    return plan;
}

// Filament supplies read their outputs twice a cycle, where other families have their limits
// and their outputs.
const QueryPlan &filamentPolling()
{
    static const QueryPlan plan = polling({ { P::ReadOutputs, Outputs },
        { P::ReadOutputs, Outputs }, { P::ReadInterlock, ":READ:MOD:STATUS:INTERLOCK?\r\n" } });
    return plan;
}

const QueryPlan &emissionPolling()
{
    static const QueryPlan plan = polling({ { P::ReadOutputs, Outputs },
        { P::ReadOutputs, Outputs }, { P::ReadInterlock, ":READ:MOD:STATUS:INTERLOCK?\r\n" },
        { P::ReadEmission, ":CONF:FILA:EMI:P?;I?;D?;:CONF:FILA:CURR:MIN?;MAX?\r\n" } });
    return plan;
}

/// A table entry, written rule by rule.
struct Entry
{
    ModuleFamily f;

    explicit Entry(const char *name, const QueryPlan &pollingPlan = basicPolling(),
        const QueryPlan &configurationPlan = standardConfiguration())
    {
        f.name = QString::fromLatin1(name);
        f.polling = &pollingPlan;
        f.configuration = &configurationPlan;
    }
    Entry &firmwareIs(const char *name)
    {
        f.firmware = QLatin1String(name);
        return *this;
    }
    Entry &firmwareStarts(const char *prefix)
    {
        f.firmware = QLatin1String(prefix);
        f.firmwarePrefix = true;
        return *this;
    }
    Entry &deviceStarts(const char *prefix)
    {
        f.devicePrefix = QLatin1String(prefix);
        return *this;
    }
    Entry &channels(int minimum, int maximum)
    {
        f.minChannels = minimum;
        f.maxChannels = maximum;
        return *this;
    }
    Entry &percentBased()
    {
        f.percentBased = true;
        return *this;
    }
    Entry &percentLimitsFrom(double release)
    {
        f.percentLimitsFrom = release;
        return *this;
    }
    Entry &interfaceModeFrom(double release)
    {
        f.interfaceModeFrom = release;
        return *this;
    }
    Entry &newEpuFrom(double release)
    {
        f.newEpuFrom = release;
        return *this;
    }
    Entry &echoFrom(const char *releasePrefix)
    {
        f.echoRelease = releasePrefix;
        return *this;
    }
    Entry &listAlways()
    {
        f.listAlways = true;
        return *this;
    }
    operator ModuleFamily() const { return f; }
};

} // namespace

const QList<ModuleFamily> &ModuleFamily::table()
{
    // Filament supplies are told apart by their device name, whatever their firmware.
    static const QList<ModuleFamily> families {
        Entry("TQ88812p0000", emissionPolling()).deviceStarts("TQ88812p0000"),
        Entry("TQ88812p00", filamentPolling()).deviceStarts("TQ88812p00"),
        Entry("KA2F8", percentLimitPolling())
            .firmwareIs("KA2F8")
            .percentBased()
            .percentLimitsFrom(2.05),
        Entry("KA3F1", percentLimitPolling())
            .firmwareIs("KA3F1")
            .percentBased()
            .percentLimitsFrom(1.0),
        Entry("KA").firmwareStarts("KA").percentBased(),
        Entry("DRS", percentLimitPolling(), drsConfiguration())
            .firmwareStarts("DRS")
            .percentBased()
            .percentLimitsFrom(4.08)
            .newEpuFrom(4.0)
            .listAlways(),
        Entry("GLW802", unitLimitPolling()).firmwareIs("GLW802").interfaceModeFrom(2.1),
        Entry("TX01B0", unitLimitPolling()).firmwareIs("TX01B0").echoFrom("5."),
        Entry("TX01B1", unitLimitPolling()).firmwareIs("TX01B1").interfaceModeFrom(2.26),
        // With more than one channel in percent.
        Entry("TX02B0", unitLimitPolling())
            .firmwareIs("TX02B0")
            .channels(2, std::numeric_limits<int>::max())
            .percentBased()
            .interfaceModeFrom(3.1)
            .echoFrom("1."),
        Entry("TX02B0-1", unitLimitPolling())
            .firmwareIs("TX02B0")
            .interfaceModeFrom(3.1)
            .echoFrom("1."),
        Entry("WD7A0").firmwareIs("WD7A0").echoFrom(""),
        Entry(""),
    };
    return families;
}

const ModuleFamily &ModuleFamily::unknown()
{
    return table().constLast();
}

const ModuleFamily *ModuleFamily::byName(const QString &name)
{
    for (const ModuleFamily &family : table()) {
        if (family.name == name)
            return &family;
    }
    return nullptr;
}

const ModuleFamily &ModuleFamily::identify(
    const QString &device, const QString &firmware, int channels)
{
    for (const ModuleFamily &family : table()) {
        const bool firmwareFits = family.firmwarePrefix
            ? firmware.startsWith(family.firmware)
            : family.firmware.isEmpty() || firmware == family.firmware;
        if (firmwareFits && device.startsWith(family.devicePrefix) && channels >= family.minChannels
            && channels <= family.maxChannels)
            return family;
    }
    return unknown();
}

bool ModuleFamily::applies(PlannedQuery::When when, double release) const
{
    // A release is compared as a number; one that is no number has been read as 0.
    const auto since = [release](double from) { return from != Never && release >= from; };
    switch (when) {
    case PlannedQuery::Always:
        return true;
    case PlannedQuery::PercentLimits:
        return since(percentLimitsFrom);
    case PlannedQuery::InterfaceMode:
        return since(interfaceModeFrom);
    case PlannedQuery::NewEpu:
        return since(newEpuFrom);
    }
    return false;
}

bool ModuleFamily::asks(quint16 code, double release) const
{
    for (const QueryPlan *plan : { configuration, polling }) {
        for (const QList<PlannedQuery> *list : { &plan->steps, &plan->wrap }) {
            for (const PlannedQuery &query : *list) {
                if (query.code == code && applies(query.when, release))
                    return true;
            }
        }
    }
    return false;
}

bool ModuleFamily::echoes(const QByteArray &release) const
{
    return echoRelease && release.startsWith(echoRelease);
}
