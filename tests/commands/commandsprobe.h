#pragma once

#include "ethcontrol.h"
#include "fakelink.h"

#include <QActionGroup>
#include <QStringList>

/// A fake link that keeps the queued set commands for the test to read.
class QueueLink : public FakeLink
{
public:
    using FakeLink::FakeLink;

    QStringList queued() const
    {
        QStringList lines;
        for (const auto &command : commandQueue)
            lines.append(command.second);
        return lines;
    }
    /// As if the configuration had been read.
    void endFullRead() { fullRead = false; }
};

/// Gives the main window a link for its pop-up menus.
struct CommandsProbe
{
    /// The window takes \a link as its current link, which must be a child of the window, and
    /// enables the actions a connection enables.
    static void setLink(EthControl &window, SCPI_Parser *link)
    {
        window.link = link;
        window.connectionActions->setEnabled(true);
        window.interfaceModeSupported(true);
    }
};
