#pragma once

#include "bridgeconfig.h"

#include <QByteArray>
#include <QList>
#include <QObject>

#include <memory>

class EngineThreads;
class HistoryPublisher;
class MqttClient;
class ModuleCommands;
class ModulePoller;
class ModulePublisher;
class WriteRound;

/// The bridge: one broker connection and, per configured module, a poller that keeps the
/// module's engine running, a publisher that puts its values on the broker and the module's
/// command side. All modules share the one event loop, but for the engines of GPIB modules,
/// which run on a worker thread per board (EngineThreads); each is answer-driven, so none waits
/// for another.
///
/// Set topics of a module are subscribed only when the module's "commands" setting is on.
/// While two modules online report the same serial number, their topics are the same: both
/// take no command, their state says "clash" and the clash is published on their "error".
class Bridge : public QObject
{
    Q_OBJECT

public:
    /// From this many modules on, the answers gather for up to BatchIntervalUs between two
    /// passes of the event loop (LoopBatching).
    static constexpr int BatchedModules = 100;
    static constexpr int BatchIntervalUs = 1000;

    explicit Bridge(const BridgeSettings &settings, QObject *parent = nullptr);
    ~Bridge() override;

    /// Starts the broker connection and the pollers; false when the broker settings are unusable.
    bool start();
    /// Publishes every module and the bridge itself "offline" and disconnects cleanly.
    void stop();

    /// "<prefix>/bridge/<client id>/state", retained "online", "offline" through the will.
    QByteArray stateTopic() const;
    const BridgeSettings &settings() const { return m_settings; }
    const QList<ModulePoller *> &pollers() const { return m_pollers; }
    const QList<ModulePublisher *> &publishers() const { return m_publishers; }
    const QList<HistoryPublisher *> &histories() const { return m_histories; }
    const QList<ModuleCommands *> &commands() const { return m_commands; }
    const MqttClient *client() const { return m_client; }
    MqttClient *client() { return m_client; }
    /// Modules online and not clashing / online with a serial number another one reports.
    int onlineCount() const;
    int clashCount() const;
    /// Whether a ramp sequence of any module is active (running, paused or stopping).
    bool sequenceActive() const;
    int activeSequenceCount() const;
    /// Objects living on the worker threads of the GPIB engines, one per thread.
    QList<QObject *> workerHomes() const;

private:
    void onBrokerConnected();
    void onModuleOnline(int index);
    void onModuleOffline(int index);
    /// Finds which online modules share a serial number and blocks or frees their commands;
    /// the state of \a skip is left to the caller.
    void updateClashes(int skip);
    /// The command side of the module whose topics \a topic lies below, or null.
    ModuleCommands *commandsFor(const QByteArray &topic) const;

    BridgeSettings m_settings;
    std::unique_ptr<EngineThreads> m_threads;
    MqttClient *m_client = nullptr;
    WriteRound *m_round = nullptr;
    QList<ModulePoller *> m_pollers;
    QList<ModulePublisher *> m_publishers;
    /// Per module its event history on "events" and "alarms".
    QList<HistoryPublisher *> m_histories;
    QList<ModuleCommands *> m_commands;
    /// Per module why its serial number clashes, or empty.
    QList<QString> m_clashes;
};
