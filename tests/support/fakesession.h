#pragma once

#include "fakelink.h"
#include "modulesession.h"

/// A module session whose links are fake links.
class FakeSession : public ModuleSession
{
public:
    FakeSession()
    {
        setLinkFactory([](const LinkSettings &, QObject *parent) { return new FakeLink(parent); });
    }
    /// Ends the present link and opens a new fake one.
    FakeLink &connectFake()
    {
        connectTo(LinkSettings());
        return *fakeLink();
    }
    FakeLink *fakeLink() const { return static_cast<FakeLink *>(link()); }
};
