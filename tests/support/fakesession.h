#pragma once

#include "fakelink.h"
#include "modulecontroller.h"
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

/// A module controller whose session's links are fake links.
class FakeController : public ModuleController
{
public:
    FakeController()
    {
        session()->setLinkFactory(
            [](const LinkSettings &, QObject *parent) { return new FakeLink(parent); });
    }
    FakeLink &connectFake()
    {
        session()->connectTo(LinkSettings());
        return *fakeLink();
    }
    void disconnectFromModule() { session()->disconnectFromModule(); }
    FakeLink *fakeLink() const { return static_cast<FakeLink *>(session()->link()); }
};
