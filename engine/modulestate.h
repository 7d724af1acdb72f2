#pragma once

#include "channel.h"
#include "modulefamily.h"

#include <QMetaType>
#include <QString>

#include <array>
#include <vector>

/// The state of a channel: the engine's channel record, copied with its module's state.
using ChannelState = Channel;

/// Everything known of one module at a moment, as a plain value: the engine's Module holds one
/// and writes it from answers; a copy is a snapshot for another thread, and the telemetry reads
/// one from the topics a bridge publishes. Values are SI units (V, A, deg C) or percent where
/// the module reports percent.
struct ModuleState
{
    // --- identity -------------------------------------------------------------------------
    int serialNumber = 0;
    QString deviceName;
    QString firmwareName;
    QString firmwareRelease;
    /// The channels the module reports; channels may hold more records (see channelsInUse()).
    int channelCount = 0;
    /// Points into the family table, never null.
    const ModuleFamily *family = &ModuleFamily::unknown();

    // --- module words ---------------------------------------------------------------------
    quint16 status = 0;
    quint16 control = 0;
    quint16 eventStatus = 0;
    quint32 eventMask = 0;

    // --- supplies, temperature, limits, ramps ---------------------------------------------
    float supplyP24 = 0.0f;
    float supplyP5 = 0.0f;
    float supplyP12 = 0.0f;
    float supplyN12 = 0.0f;
    float temperature = 0.0f;
    float voltageLimit = 0.0f;
    float currentLimit = 0.0f;
    float voltageRamp = 0.0f;
    float currentRamp = 0.0f;
    float voltageIncrement = 1.0f;
    int average = 0;

    // --- outputs, interlock, emission regulation, interface -------------------------------
    /// Indexed by Module::Output.
    std::array<int, 3> outputs { 0, 0, 0 };
    int interlock = 0;
    float emissionParameterP = 0.0f;
    float emissionParameterI = 0.0f;
    float emissionParameterD = 0.0f;
    float filamentMinimum = 0.0f;
    float filamentMaximum = 0.0f;
    quint32 interfaceMode = 0;

    /// The channel records, index i at position i.
    std::vector<ChannelState> channels;

    /// A state with \a records channel records, indexes 0 .. records - 1.
    static ModuleState withRecords(int records);
    /// Makes the records 0 .. \a records - 1, keeping those there are.
    void resizeChannels(int records);
    /// The channels both reported and recorded.
    int channelsInUse() const;

    /// True for the families that report ramps and limits in percent of nominal.
    bool isPercentBased() const;

    /// Every field, the family by identity; a value that is not a number differs from itself.
    bool operator==(const ModuleState &other) const;
    bool operator!=(const ModuleState &other) const { return !(*this == other); }
};
Q_DECLARE_METATYPE(ModuleState)

/// The firmware release as a number (0 when it is none).
double firmwareReleaseNumber(const QString &release);
/// Whether the module reports limits (in percent of nominal or in volts and amperes), as its
/// family's plans at its release ask for them.
bool hasLimits(const ModuleState &state);
