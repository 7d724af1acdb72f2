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
};

/// Opens the parts of the main window that the command tests set up and read.
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
    static Configuration &configuration(EthControl &window) { return *window.configuration; }
    static QLabel *incrementLabel(EthControl &window) { return window.incrementLabel; }
};
