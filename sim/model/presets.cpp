#include "model/presets.h"

namespace vornsim {

namespace {

Preset make(const char *device, int serial, const char *firmware, const char *release, int channels,
    double voltage, double current, bool epu = false)
{
    Preset p;
    p.identity.deviceName = QString::fromLatin1(device);
    p.identity.serialNumber = serial;
    p.identity.firmwareName = QString::fromLatin1(firmware);
    p.identity.firmwareRelease = QString::fromLatin1(release);
    p.identity.channels = channels;
    p.voltageNominal = voltage;
    p.currentNominal = current;
    p.epu = epu;
    return p;
}

struct Named
{
    const char *name;
    Preset preset;
};

// Releases are chosen so that each preset gets the newer queries of its family: KA2F8 2.07 and
// DRSB 4.08 report percent limits, DRSB 4.08 the new EPU query, TX01B1 2.26, TX02B0 3.10 and
// GLW802 2.10 the interface mode; TX01B0 5.x and WD7A0 echo byte by byte on a serial port.
const Named *table(int *count)
{
    static const Named presets[] = {
        { "KA2F", make("KA2F840p", 7100001, "KA2F8", "2.07", 4, 6000.0, 0.004) },
        { "TX01B0", make("TX01B0315n", 7100002, "TX01B0", "5.14", 1, -3000.0, 0.005) },
        { "TX01B1", make("TX01B1315p", 7100003, "TX01B1", "2.26", 1, 3000.0, 0.005) },
        { "TX02B0", make("TX02B0620p", 7100004, "TX02B0", "3.10", 2, 6000.0, 0.002) },
        { "DRSB", make("DRSB140r", 7100005, "DRSB", "4.08", 1, 4000.0, 0.003, true) },
        { "GLW802", make("GLW802305p", 7100006, "GLW802", "2.10", 8, 500.0, 0.01) },
        { "WD7A0", make("WD7A0120p", 7100007, "WD7A0", "1.12", 1, 2000.0, 0.006) },
        { "TQ88812p0000", make("TQ88812p0000", 4711, "TQ888", "3.02", 1, 10000.0, 0.02) },
    };
    *count = int(sizeof(presets) / sizeof(presets[0]));
    return presets;
}

} // namespace

std::optional<Preset> presetByName(const QString &name)
{
    int count = 0;
    const Named *presets = table(&count);
    for (int i = 0; i < count; ++i) {
        if (name.compare(QLatin1String(presets[i].name), Qt::CaseInsensitive) == 0)
            return presets[i].preset;
    }
    return std::nullopt;
}

QStringList presetNames()
{
    QStringList names;
    int count = 0;
    const Named *presets = table(&count);
    for (int i = 0; i < count; ++i)
        names << QString::fromLatin1(presets[i].name);
    return names;
}

Preset presetForIdentity(const Identity &identity)
{
    Preset p;
    p.identity = identity;
    if (identity.firmwareName.startsWith(QLatin1String("KA"))) {
        p.voltageNominal = 6000.0;
        p.currentNominal = 0.004;
    } else if (identity.firmwareName.startsWith(QLatin1String("DRS"))) {
        p.voltageNominal = 4000.0;
        p.epu = true;
    } else if (identity.deviceName.startsWith(QLatin1String("TQ88812p00"))) {
        p.voltageNominal = 10000.0;
        p.currentNominal = 0.02;
    }
    return p;
}

} // namespace vornsim
