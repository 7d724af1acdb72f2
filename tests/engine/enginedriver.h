#pragma once

#include "fakelink.h"

#include <QByteArray>
#include <QString>

/// Brings a fake link through identification and configuration with plausible answers, so a
/// test can start from a polling engine of a chosen family.
struct EngineDriver
{
    /// "<device>,<serial>,<release>" identity of a Vornwerk module with \a channels channels.
    static QByteArray identity(const QByteArray &device, const QByteArray &release, int channels)
    {
        return "Vornwerk GmbH," + device + ",4711," + release + ";" + QByteArray::number(channels)
            + "\r\n";
    }

    /// A harmless answer for \a code on a module with \a channels channels: per-channel lists
    /// carry one zero per channel, everything else a single zero.
    static QByteArray filler(quint16 code, int channels)
    {
        switch (code) {
        case SCPI_Parser::ReadRamps:
            return "1.000E+01V/s;1.000E-04A/s\r\n";
        case SCPI_Parser::ReadModuleStatus:
            return "0;0;0;0\r\n";
        case SCPI_Parser::ReadSupplies:
            return "25.0C;24.0V;5.0V;12.0V;-12.0V\r\n";
        case SCPI_Parser::ReadLimitsPercent:
        case SCPI_Parser::ReadLimitsUnits:
            return "100%;100%\r\n";
        case SCPI_Parser::ReadOutputs:
            return "0,0,0\r\n";
        case SCPI_Parser::ReadEmission:
            return "1;2;3;0.5A;2.5A\r\n";
        case SCPI_Parser::ReadAverage:
        case SCPI_Parser::ReadInterfaceMode:
        case SCPI_Parser::ReadInterlock:
            return "0\r\n";
        default: {
            QByteArray list = "0";
            for (int i = 1; i < channels; ++i)
                list += ",0";
            return list + "\r\n";
        }
        }
    }

    /// Identifies and configures: afterwards the whole configuration sequence has been
    /// answered and the first cyclic request (the set voltages) is pending.
    static void start(FakeLink &link, const QByteArray &device, const QByteArray &firmware,
        const QByteArray &release, int channels)
    {
        link.connectDevice();
        link.requestIdentity();
        link.restartFullRead();
        link.feed(identity(device, release, channels));
        link.feed(firmware + ";" + release + "\r\n");
        while (link.isFullRead())
            link.feed(filler(link.lastCode(), channels));
        while (link.lastCode() != SCPI_Parser::ReadVoltageSet)
            link.feed(filler(link.lastCode(), channels));
    }

    /// Answers the pending request with a filler.
    static void answer(FakeLink &link)
    {
        link.feed(filler(link.lastCode(), link.module().channelCount()));
    }
};
