#pragma once

#include "modulesession.h"
#include "scpi_parser.h"

#include <QLatin1String>
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
    }

    void sendCommand(quint16 code, const QString &command) override
    {
        if (m_session && startsCycle(code, command)) {
            QPointer<PacedLink> self(this);
            if (m_session->beginCycle([self, code, command] {
                    if (self)
                        self->Link::sendCommand(code, command);
                }))
                return;
        }
        Link::sendCommand(code, command);
    }

private:
    /// The polling cycle starts with the query of the set voltages; a set voltage command reads
    /// them back under the same code, but starts with the command.
    bool startsCycle(quint16 code, const QString &command) const
    {
        return code == SCPI_Parser::ReadVoltageSet && !this->isFullRead()
            && command.startsWith(QLatin1String(":READ:VOLT?"));
    }

    QPointer<ModuleSession> m_session;
};
