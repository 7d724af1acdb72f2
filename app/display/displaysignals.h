#pragma once

#include <QString>
#include <QtGlobal>

/// What the display refresh tells the open dialogs after a run, through the window: the window
/// implements this by emitting its declared signals. A value nobody receives is not sent, which
/// nobody can tell from a send without a receiver; the refresh asks hasReceivers() once, and
/// again after the window says that a receiver came or went (DisplayRefresh::forgetReceivers()).
class DisplaySignals
{
public:
    /// One bit for each of the values below.
    enum Signal : quint16 {
        AllStarted = 1u << 0,
        AllCompleted = 1u << 1,
        Temperature = 1u << 2,
        VoltageMeasure = 1u << 3,
        CurrentMeasure = 1u << 4,
        ChannelStatus = 1u << 5,
        SuppliesTempLimits = 1u << 6,
        ChannelControl = 1u << 7,
        ModuleControl = 1u << 8,
        PerChannel = VoltageMeasure | CurrentMeasure | ChannelStatus,
    };
    static constexpr Signal Each[] = { AllStarted, AllCompleted, Temperature, VoltageMeasure,
        CurrentMeasure, ChannelStatus, SuppliesTempLimits, ChannelControl, ModuleControl };

    /// Whether anything receives \a signal (one bit).
    virtual bool hasReceivers(Signal signal) const = 0;

    /// Before and after the rows of one run (AllStarted, AllCompleted).
    virtual void allModulesStarted() = 0;
    virtual void allModulesCompleted() = 0;
    virtual void moduleTemperature(int serialNumber, int index, float temperature) = 0;
    /// One row's readings and words, in SI units (VoltageMeasure, CurrentMeasure,
    /// ChannelStatus).
    virtual void channelVoltageMeasure(int serialNumber, int channel, float siValue) = 0;
    virtual void channelCurrentMeasure(int serialNumber, int channel, float siValue) = 0;
    virtual void channelStatus(int serialNumber, int channel, quint32 status, quint32 eventStatus)
        = 0;
    virtual void suppliesTempLimits(double sp5, double sp24, double sp12, double sn12, double temp,
        double vmax, double imax, const QString &fname)
        = 0;
    /// The selected row's control words and the module's (ChannelControl, ModuleControl).
    virtual void channelControlStatus(int chn, quint16 control, quint16 status, quint16 eventstatus,
        quint16 eventmask, float vnom, float inom)
        = 0;
    virtual void moduleControlStatus(
        quint16 control, quint16 status, quint16 eventstatus, quint16 eventmask)
        = 0;

protected:
    ~DisplaySignals() = default;
};
