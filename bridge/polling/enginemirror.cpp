#include "enginemirror.h"

#include <algorithm>

void copyModule(const Module &from, Module &to)
{
    to.setStatus(from.status());
    to.setControl(from.control());
    to.setEventStatus(from.eventStatus());
    to.setEventMask(from.eventMask());
    to.setChannelCount(from.channelCount());
    to.setSerialNumber(from.serialNumber());
    to.setAverage(from.average());
    for (const Module::Output output :
        { Module::VoltageOutput, Module::FilamentOutput, Module::DigitalOutput })
        to.setOutput(output, from.output(output));
    to.setInterlock(from.interlock());
    to.setEmissionParameterP(from.emissionParameterP());
    to.setEmissionParameterI(from.emissionParameterI());
    to.setEmissionParameterD(from.emissionParameterD());
    to.setFilamentMinimum(from.filamentMinimum());
    to.setFilamentMaximum(from.filamentMaximum());
    to.setSupplyP24(from.supplyP24());
    to.setSupplyP5(from.supplyP5());
    to.setSupplyP12(from.supplyP12());
    to.setSupplyN12(from.supplyN12());
    to.setTemperature(from.temperature());
    to.setVoltageIncrement(from.voltageIncrement());
    to.setVoltageRamp(from.voltageRamp());
    to.setCurrentRamp(from.currentRamp());
    to.setVoltageLimit(from.voltageLimit());
    to.setCurrentLimit(from.currentLimit());
    to.setDeviceName(from.deviceName());
    to.setFirmwareName(from.firmwareName());
    to.setFirmwareRelease(from.firmwareRelease());
    to.setInterfaceMode(from.interfaceMode());
    const int records = std::min(from.recordCount(), to.recordCount());
    for (int c = 0; c < records; ++c)
        to.channel(c) = from.channel(c);
}

ModuleSnapshot takeSnapshot(const Module &module)
{
    auto copy = std::make_shared<Module>(module.recordCount());
    copyModule(module, *copy);
    // Of no thread, so that the thread that receives it may read and delete it.
    copy->moveToThread(nullptr);
    return copy;
}
