#pragma once

#include "channel.h"

#include <QObject>
#include <QString>
#include <vector>

/// The mirror of the one module the program is connected to. The engine owns exactly one and
/// writes it from parsed answers; everybody else reads it. Values are SI units (V, A, deg C) or
/// percent where the module reports percent.
class Module : public QObject
{
    Q_OBJECT

public:
    enum Output { VoltageOutput = 0, FilamentOutput = 1, DigitalOutput = 2 };
    Q_ENUM(Output)

    /// Creates \a channelRecords channel records with indexes 0 .. channelRecords - 1.
    explicit Module(int channelRecords, QObject *parent = nullptr);

    quint16 status() const { return m_status; }
    void setStatus(quint16 value) { m_status = value; }
    quint16 control() const { return m_control; }
    void setControl(quint16 value) { m_control = value; }
    quint16 eventStatus() const { return m_eventStatus; }
    void setEventStatus(quint16 value) { m_eventStatus = value; }
    quint32 eventMask() const { return m_eventMask; }
    void setEventMask(quint32 value) { m_eventMask = value; }

    int channelCount() const { return m_channelCount; }
    void setChannelCount(int value) { m_channelCount = value; }
    int serialNumber() const { return m_serialNumber; }
    void setSerialNumber(int value) { m_serialNumber = value; }
    int average() const { return m_average; }
    void setAverage(int value) { m_average = value; }

    /// Returns 0 for an index of 3 or more.
    int output(Output which) const;
    /// Ignores an index of 3 or more; emits outputChanged() only when the value changes.
    void setOutput(Output which, int value);
    int interlock() const { return m_interlock; }
    void setInterlock(int value);

    float emissionParameterP() const { return m_emissionParameterP; }
    void setEmissionParameterP(float value);
    float emissionParameterI() const { return m_emissionParameterI; }
    void setEmissionParameterI(float value);
    float emissionParameterD() const { return m_emissionParameterD; }
    void setEmissionParameterD(float value);
    float filamentMinimum() const { return m_filamentMinimum; }
    void setFilamentMinimum(float value);
    float filamentMaximum() const { return m_filamentMaximum; }
    void setFilamentMaximum(float value);

    float supplyP24() const { return m_supplyP24; }
    void setSupplyP24(float value) { m_supplyP24 = value; }
    float supplyP5() const { return m_supplyP5; }
    void setSupplyP5(float value) { m_supplyP5 = value; }
    float supplyP12() const { return m_supplyP12; }
    void setSupplyP12(float value) { m_supplyP12 = value; }
    float supplyN12() const { return m_supplyN12; }
    void setSupplyN12(float value) { m_supplyN12 = value; }
    float temperature() const { return m_temperature; }
    void setTemperature(float value) { m_temperature = value; }

    float voltageIncrement() const { return m_voltageIncrement; }
    void setVoltageIncrement(float value) { m_voltageIncrement = value; }
    float voltageRamp() const { return m_voltageRamp; }
    void setVoltageRamp(float value) { m_voltageRamp = value; }
    float currentRamp() const { return m_currentRamp; }
    void setCurrentRamp(float value) { m_currentRamp = value; }
    float voltageLimit() const { return m_voltageLimit; }
    void setVoltageLimit(float value) { m_voltageLimit = value; }
    float currentLimit() const { return m_currentLimit; }
    void setCurrentLimit(float value) { m_currentLimit = value; }

    QString deviceName() const { return m_deviceName; }
    void setDeviceName(const QString &value) { m_deviceName = value; }
    QString firmwareName() const { return m_firmwareName; }
    void setFirmwareName(const QString &value) { m_firmwareName = value; }
    QString firmwareRelease() const { return m_firmwareRelease; }
    void setFirmwareRelease(const QString &value) { m_firmwareRelease = value; }

    quint32 interfaceMode() const { return m_interfaceMode; }
    void setInterfaceMode(quint32 value) { m_interfaceMode = value; }

    /// The record of channel \a index; \a index must lie in 0 .. recordCount() - 1.
    Channel &channel(int index) { return m_channels[static_cast<size_t>(index)]; }
    const Channel &channel(int index) const { return m_channels[static_cast<size_t>(index)]; }
    int recordCount() const { return static_cast<int>(m_channels.size()); }

    /// True for the families that report ramps and limits in percent of nominal (ModuleFamily).
    bool isPercentBased() const;

signals:
    void interlockChanged(int interlock);
    void outputChanged(Module::Output output, int value);
    void emissionParameterPChanged(float value);
    void emissionParameterIChanged(float value);
    void emissionParameterDChanged(float value);
    void filamentMinimumChanged(float value);
    void filamentMaximumChanged(float value);

private:
    quint16 m_status = 0;
    quint16 m_control = 0;
    quint16 m_eventStatus = 0;
    quint32 m_eventMask = 0;
    int m_channelCount = 0;
    int m_serialNumber = 0;
    int m_average = 0;
    int m_output[3] = { 0, 0, 0 };
    int m_interlock = 0;
    float m_emissionParameterP = 0.0f;
    float m_emissionParameterI = 0.0f;
    float m_emissionParameterD = 0.0f;
    float m_filamentMinimum = 0.0f;
    float m_filamentMaximum = 0.0f;
    float m_supplyP24 = 0.0f;
    float m_supplyP5 = 0.0f;
    float m_supplyP12 = 0.0f;
    float m_supplyN12 = 0.0f;
    float m_temperature = 0.0f;
    float m_voltageIncrement = 1.0f;
    float m_voltageRamp = 0.0f;
    float m_currentRamp = 0.0f;
    float m_voltageLimit = 0.0f;
    float m_currentLimit = 0.0f;
    QString m_deviceName;
    QString m_firmwareName;
    QString m_firmwareRelease;
    std::vector<Channel> m_channels;
    quint32 m_interfaceMode = 0;
};
