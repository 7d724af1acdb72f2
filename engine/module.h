#pragma once

#include "modulestate.h"

#include <QObject>
#include <QString>

/// The mirror of the one module the program is connected to. The engine owns exactly one and
/// writes it from parsed answers; everybody else reads it. Its values are one ModuleState
/// (state(), a copy is a snapshot); the getters and setters below read and write it, and the
/// setters of the values the panel's dialogs follow say when those change.
class Module : public QObject
{
    Q_OBJECT

public:
    enum Output { VoltageOutput = 0, FilamentOutput = 1, DigitalOutput = 2 };
    Q_ENUM(Output)

    /// Creates \a channelRecords channel records with indexes 0 .. channelRecords - 1.
    explicit Module(int channelRecords, QObject *parent = nullptr);

    quint16 status() const { return m_state.status; }
    void setStatus(quint16 value) { m_state.status = value; }
    quint16 control() const { return m_state.control; }
    void setControl(quint16 value) { m_state.control = value; }
    quint16 eventStatus() const { return m_state.eventStatus; }
    void setEventStatus(quint16 value) { m_state.eventStatus = value; }
    quint32 eventMask() const { return m_state.eventMask; }
    void setEventMask(quint32 value) { m_state.eventMask = value; }

    int channelCount() const { return m_state.channelCount; }
    void setChannelCount(int value);
    int serialNumber() const { return m_state.serialNumber; }
    void setSerialNumber(int value) { m_state.serialNumber = value; }
    int average() const { return m_state.average; }
    void setAverage(int value) { m_state.average = value; }

    /// Returns 0 for an index of 3 or more.
    int output(Output which) const;
    /// Ignores an index of 3 or more; emits outputChanged() only when the value changes.
    void setOutput(Output which, int value);
    int interlock() const { return m_state.interlock; }
    void setInterlock(int value);

    float emissionParameterP() const { return m_state.emissionParameterP; }
    void setEmissionParameterP(float value);
    float emissionParameterI() const { return m_state.emissionParameterI; }
    void setEmissionParameterI(float value);
    float emissionParameterD() const { return m_state.emissionParameterD; }
    void setEmissionParameterD(float value);
    float filamentMinimum() const { return m_state.filamentMinimum; }
    void setFilamentMinimum(float value);
    float filamentMaximum() const { return m_state.filamentMaximum; }
    void setFilamentMaximum(float value);

    float supplyP24() const { return m_state.supplyP24; }
    void setSupplyP24(float value) { m_state.supplyP24 = value; }
    float supplyP5() const { return m_state.supplyP5; }
    void setSupplyP5(float value) { m_state.supplyP5 = value; }
    float supplyP12() const { return m_state.supplyP12; }
    void setSupplyP12(float value) { m_state.supplyP12 = value; }
    float supplyN12() const { return m_state.supplyN12; }
    void setSupplyN12(float value) { m_state.supplyN12 = value; }
    float temperature() const { return m_state.temperature; }
    void setTemperature(float value) { m_state.temperature = value; }

    float voltageIncrement() const { return m_state.voltageIncrement; }
    void setVoltageIncrement(float value) { m_state.voltageIncrement = value; }
    float voltageRamp() const { return m_state.voltageRamp; }
    void setVoltageRamp(float value) { m_state.voltageRamp = value; }
    float currentRamp() const { return m_state.currentRamp; }
    void setCurrentRamp(float value) { m_state.currentRamp = value; }
    float voltageLimit() const { return m_state.voltageLimit; }
    void setVoltageLimit(float value) { m_state.voltageLimit = value; }
    float currentLimit() const { return m_state.currentLimit; }
    void setCurrentLimit(float value) { m_state.currentLimit = value; }

    QString deviceName() const { return m_state.deviceName; }
    void setDeviceName(const QString &value);
    QString firmwareName() const { return m_state.firmwareName; }
    void setFirmwareName(const QString &value);
    QString firmwareRelease() const { return m_state.firmwareRelease; }
    void setFirmwareRelease(const QString &value) { m_state.firmwareRelease = value; }

    quint32 interfaceMode() const { return m_state.interfaceMode; }
    void setInterfaceMode(quint32 value) { m_state.interfaceMode = value; }

    /// The record of channel \a index; \a index must lie in 0 .. recordCount() - 1.
    Channel &channel(int index) { return m_state.channels[static_cast<size_t>(index)]; }
    const Channel &channel(int index) const { return m_state.channels[static_cast<size_t>(index)]; }
    int recordCount() const { return static_cast<int>(m_state.channels.size()); }

    /// True for the families that report ramps and limits in percent of nominal.
    bool isPercentBased() const { return m_state.isPercentBased(); }

    /// The family of the identity set last: chosen again whenever the device name, the
    /// firmware name or the channel count changes (the identity answers), from the table.
    const ModuleFamily &family() const { return *m_state.family; }

    /// All values at once: a copy is a snapshot of the module.
    const ModuleState &state() const { return m_state; }

signals:
    void interlockChanged(int interlock);
    void outputChanged(Module::Output output, int value);
    void emissionParameterPChanged(float value);
    void emissionParameterIChanged(float value);
    void emissionParameterDChanged(float value);
    void filamentMinimumChanged(float value);
    void filamentMaximumChanged(float value);

private:
    /// Chooses the family of the identity now.
    void identify();

    ModuleState m_state;
};
