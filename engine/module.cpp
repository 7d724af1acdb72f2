#include "module.h"

#include "modulefamily.h"

Module::Module(int channelRecords, QObject *parent)
    : QObject(parent)
    , m_state(ModuleState::withRecords(channelRecords))
{
}

int Module::output(Output which) const
{
    const int i = static_cast<int>(which);
    return (i >= 0 && i < 3) ? m_state.outputs[size_t(i)] : 0;
}

void Module::setOutput(Output which, int value)
{
    const int i = static_cast<int>(which);
    if (i < 0 || i >= 3 || m_state.outputs[size_t(i)] == value)
        return;
    emit outputChanged(which, value);
    m_state.outputs[size_t(i)] = value;
}

void Module::setInterlock(int value)
{
    if (value == m_state.interlock)
        return;
    emit interlockChanged(value);
    m_state.interlock = value;
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

VORN_CHANGE_DETECTING_SETTER(
    setEmissionParameterP, m_state.emissionParameterP, emissionParameterPChanged)
VORN_CHANGE_DETECTING_SETTER(
    setEmissionParameterI, m_state.emissionParameterI, emissionParameterIChanged)
VORN_CHANGE_DETECTING_SETTER(
    setEmissionParameterD, m_state.emissionParameterD, emissionParameterDChanged)
VORN_CHANGE_DETECTING_SETTER(setFilamentMinimum, m_state.filamentMinimum, filamentMinimumChanged)
VORN_CHANGE_DETECTING_SETTER(setFilamentMaximum, m_state.filamentMaximum, filamentMaximumChanged)

#undef VORN_CHANGE_DETECTING_SETTER

void Module::setChannelCount(int value)
{
    if (value == m_state.channelCount)
        return;
    m_state.channelCount = value;
    identify();
}

void Module::setDeviceName(const QString &value)
{
    if (value == m_state.deviceName)
        return;
    m_state.deviceName = value;
    identify();
}

void Module::setFirmwareName(const QString &value)
{
    if (value == m_state.firmwareName)
        return;
    m_state.firmwareName = value;
    identify();
}

void Module::identify()
{
    m_state.family = &ModuleFamily::identify(
        m_state.deviceName, m_state.firmwareName, m_state.channelCount);
}
