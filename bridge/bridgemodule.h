#pragma once

#include "bridgeconfig.h"

#include <QObject>
#include <QString>

class HistoryPublisher;
class ModuleCommands;
class ModulePoller;
class ModulePublisher;
class ModuleSequence;
class MqttClient;
class WriteRound;

/// One module of the bridge's file: its poller, publisher, event history and command side
/// (with its sequences), made and ended together, so that a reload keeps a module whose section
/// did not change with everything it holds, a running sequence too.
class BridgeModule : public QObject
{
    Q_OBJECT

public:
    /// \a client is not owned and must outlive the module; \a round and \a engineHome as for
    /// ModulePoller. \a prefix, \a rate and \a bridgeTopic come from the broker settings.
    BridgeModule(const ModuleSettings &settings, MqttClient *client, const QByteArray &prefix,
        double rate, const QByteArray &bridgeTopic, WriteRound *round, QObject *engineHome,
        QObject *parent = nullptr);
    /// Ends the poller first (its engine, also on a worker thread), then the rest.
    ~BridgeModule() override;

    const ModuleSettings &settings() const;
    ModulePoller *poller() const { return m_poller; }
    ModulePublisher *publisher() const { return m_publisher; }
    HistoryPublisher *history() const { return m_history; }
    ModuleCommands *commands() const { return m_commands; }
    /// Null unless the module runs sequences.
    ModuleSequence *sequence() const;
    bool isOnline() const;

    /// Why its serial number clashes with another module's, or empty.
    QString clash;

signals:
    /// The poller's online() and offline(), before the event history hears of them: the
    /// bridge gives the module its topics first.
    void online();
    void offline();

private:
    ModulePoller *m_poller = nullptr;
    ModulePublisher *m_publisher = nullptr;
    HistoryPublisher *m_history = nullptr;
    ModuleCommands *m_commands = nullptr;
};
