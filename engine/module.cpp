#include "module.h"

#include "modulefamily.h"

Module::Module(int channelRecords, QObject *parent)
    : QObject(parent)
{
    if (channelRecords > 0) {
        m_channels.reserve(static_cast<size_t>(channelRecords));
        for (int i = 0; i < channelRecords; ++i)
            m_channels.emplace_back(i);
    }
}

int Module::output(Output which) const
{
    const int i = static_cast<int>(which);
    return (i >= 0 && i < 3) ? m_output[i] : 0;
}

void Module::setOutput(Output which, int value)
{
    const int i = static_cast<int>(which);
    if (i < 0 || i >= 3 || m_output[i] == value)
        return;
    emit outputChanged(which, value);
    m_output[i] = value;
}

void Module::setInterlock(int value)
{
    if (value == m_interlock)
        return;
    emit interlockChanged(value);
    m_interlock = value;
}

// The emission and filament setters store before they emit, so a receiver reading the getter
// from its slot already sees the new value.
#define VORN_CHANGE_DETECTING_SETTER(Setter, member, signal)                                       \
    void Module::Setter(float value)                                                               \
    {                                                                                              \
        if (value == member)                                                                       \
            return;                                                                                \
        member = value;                                                                            \
        emit signal(value);                                                                        \
    }

VORN_CHANGE_DETECTING_SETTER(setEmissionParameterP, m_emissionParameterP, emissionParameterPChanged)
VORN_CHANGE_DETECTING_SETTER(setEmissionParameterI, m_emissionParameterI, emissionParameterIChanged)
VORN_CHANGE_DETECTING_SETTER(setEmissionParameterD, m_emissionParameterD, emissionParameterDChanged)
VORN_CHANGE_DETECTING_SETTER(setFilamentMinimum, m_filamentMinimum, filamentMinimumChanged)
VORN_CHANGE_DETECTING_SETTER(setFilamentMaximum, m_filamentMaximum, filamentMaximumChanged)

#undef VORN_CHANGE_DETECTING_SETTER

bool Module::isPercentBased() const
{
    return ModuleFamily::identify(m_deviceName, m_firmwareName, m_channelCount).percentBased;
}
