#pragma once

#include "modulesession.h"
#include "scpi_parser.h"

#include <QPointer>

#include <utility>

/// A link of kind \a Link that tells its session where each polling cycle starts, so that the
/// session can hold the cycle back until its period is over (ModuleSession::setCyclePeriod()).
/// Everything else is the link's own. Made by the session's link factory, e.g.
///
///     session.setLinkFactory([&session](const LinkSettings &, QObject *owner) {
///         return new PacedLink<SCPI_Gpib>(&session, owner); });
template <class Link> class PacedLink : public Link
{
public:
    /// \a args go to the link's own constructor.
    template <typename... Args>
    explicit PacedLink(ModuleSession *session, Args &&...args)
        : Link(std::forward<Args>(args)...)
        , m_session(session)
    {
        QObject::connect(this, &SCPI_Parser::cycleStarting, this, [this] { m_startsCycle = true; });
    }

    void sendCommand(quint16 code, const QString &command) override
    {
        if (std::exchange(m_startsCycle, false) && m_session) {
            QPointer<PacedLink> self(this);
            if (m_session->beginCycle(this, [self, code, command] {
                    if (self)
                        self->Link::sendCommand(code, command);
                }))
                return;
        }
        Link::sendCommand(code, command);
    }

private:
    QPointer<ModuleSession> m_session;
    /// The engine has said that the request it sends next starts a polling cycle.
    bool m_startsCycle = false;
};
