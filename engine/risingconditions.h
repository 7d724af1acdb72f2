#pragma once

#include <QtGlobal>

/// The status and event-status words of one channel, or of the module, as one answer left them.
struct StatusWords
{
    quint16 status = 0;
    quint16 eventStatus = 0;
};

/// The conditions that began between two readings of one source's words (a channel's or the
/// module's). A condition sits at the position of its status bit, and the event bit at the same
/// position latches it (CZelkChannelStatusBits, CZelkModuleStatusBits).
///
/// A condition begins when its status bit starts to report it, or when its event rises while
/// the status bit reported it neither in the reading before nor now: the condition came and
/// went between two readings. The module answers the two words to separate requests, so an
/// event may show one answer later than its status bit; an event rising while the status bit
/// reports the condition, or did so in the reading before, is that same condition.
struct RisingConditions
{
    /// The status bit began to report the condition.
    quint16 byStatus = 0;
    /// Only the latched event reports it.
    quint16 byEvent = 0;

    quint16 all() const { return byStatus | byEvent; }

    /// \a healthBits are the status bits whose condition a 0 reports (the module's health
    /// bits); a channel has none.
    static RisingConditions between(
        const StatusWords &before, const StatusWords &now, quint16 healthBits = 0);
};
