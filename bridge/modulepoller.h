#pragma once

#include "bridgeconfig.h"
#include "modulesession.h"

#include <QLoggingCategory>
#include <QObject>
#include <QPointer>

class WriteRound;

Q_DECLARE_LOGGING_CATEGORY(lcBridge)

/// Keeps one module polled: a module session with the bridge's reconnection (a pause that
/// grows from 1 s to 30 s, always on) and, for TCP, requests handed to the bridge's write
/// round. It reports online once the module has been identified, its configuration read and
/// one polling cycle answered, and offline when the link ends; it logs what went wrong.
class ModulePoller : public QObject
{
    Q_OBJECT

public:
    static constexpr int FirstPauseMs = 1000;
    static constexpr int MaxPauseMs = 30000;

    /// A TCP link hands its requests to \a round when it is given, else writes them at once.
    ModulePoller(
        const ModuleSettings &settings, WriteRound *round = nullptr, QObject *parent = nullptr);
    ~ModulePoller() override;

    /// Opens the first link.
    void start();
    const ModuleSettings &settings() const { return m_settings; }
    /// The engine of the current link; null between links.
    SCPI_Parser *engine() const { return m_session.link(); }
    bool isOnline() const { return m_session.isOnline(); }
    /// The module session behind the poller (a sequence runner follows it).
    ModuleSession *session() { return &m_session; }
    /// Answers processed since construction, over all links.
    quint64 answerCount() const { return m_session.answerCount(); }

signals:
    void online();
    void offline(const QString &reason);
    /// After every processed answer while online.
    void answerProcessed();

private:
    void warn(const QString &reason) const;

    ModuleSettings m_settings;
    QPointer<WriteRound> m_round;
    ModuleSession m_session;
};
