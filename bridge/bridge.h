#pragma once

#include "bridgeconfig.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QTimer>

#include <memory>

class BridgeModule;
class HistoryPublisher;
class ModuleCommands;
class ModulePublisher;
class EngineThreads;
class LoopBatching;
class MqttClient;
class ModulePoller;
class WriteRound;

/// The bridge: one broker connection and, per configured module, a BridgeModule (poller,
/// publisher, event history, command side). All modules share the one event loop, but for the
/// engines of GPIB modules, which run on a worker thread per board (EngineThreads); each is
/// answer-driven, so none waits for another.
///
/// Set topics of a module are subscribed only when the module's "commands" setting is on.
/// Modules are found by the serial number their topics are published under. While two modules
/// online report the same serial number, their topics are the same: their state says "clash",
/// the clash is published on their "error", a running sequence on either is held, and they
/// take an off, an emergency off or a sequence abort only, which goes to each of them. Once
/// one is offline, commands go to the one online.
///
/// A running sequence whose broker has been gone for BrokerLostGraceMs takes its file's
/// "brokerLost" rule.
class Bridge : public QObject
{
    Q_OBJECT

public:
    /// From this many modules on, the answers gather for up to BatchIntervalUs between two
    /// passes of the event loop (LoopBatching).
    static constexpr int BatchedModules = 100;
    static constexpr int BatchIntervalUs = 1000;
    /// How long the broker may be gone before running sequences take their "brokerLost" rule:
    /// a broker restart or a short network fault passes unnoticed.
    static constexpr int BrokerLostGraceMs = 5000;

    explicit Bridge(const BridgeSettings &settings, QObject *parent = nullptr);
    ~Bridge() override;

    /// Starts the broker connection and the pollers; false when the broker settings are unusable.
    bool start();
    /// Ends running sequences where they are (\a why in their journal), publishes every module
    /// and the bridge itself "offline" and disconnects cleanly.
    void stop(const QString &why = QStringLiteral("the bridge stopped"));
    /// Takes \a settings, read again from the file: a module whose section is unchanged keeps
    /// running as it is (link, history, a running sequence); one whose section changed or went
    /// is ended (its sequence where it is, said in the journal) and published "offline"; a
    /// changed or new one is started. False, with nothing changed, when the broker settings
    /// differ: the bridge must then be made anew.
    bool reload(const BridgeSettings &settings);

    /// "<prefix>/bridge/<client id>/state", retained "online", "offline" through the will.
    QByteArray stateTopic() const;
    const BridgeSettings &settings() const { return m_settings; }
    /// The modules' pollers in the order of the file.
    const QList<ModulePoller *> &pollers() const { return m_pollers; }
    /// The modules' parts in the order of the file.
    QList<ModulePublisher *> publishers() const;
    QList<HistoryPublisher *> histories() const;
    QList<ModuleCommands *> commands() const;
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
    BridgeModule *makeModule(const ModuleSettings &settings);
    void endModule(BridgeModule *module, const QString &why);
    void onBrokerConnected();
    void onBrokerGone();
    void onModuleOnline(BridgeModule *module);
    void onModuleOffline(BridgeModule *module);
    /// Files \a module under the serial number of its topics (0: none yet).
    void fileUnder(BridgeModule *module, int serial);
    /// Finds whether the modules online under \a serial clash and blocks or frees their
    /// commands; the state of \a skip is left to the caller.
    void updateClash(int serial, BridgeModule *skip = nullptr);
    /// Hands a message on a module's command topic to the module(s) it is for.
    void dispatch(const QByteArray &topic, const QByteArray &payload, bool retained, int tooLarge);

    BridgeSettings m_settings;
    std::unique_ptr<EngineThreads> m_threads;
    MqttClient *m_client = nullptr;
    WriteRound *m_round = nullptr;
    LoopBatching *m_batching = nullptr;
    /// In the order of the file.
    QList<BridgeModule *> m_modules;
    QList<ModulePoller *> m_pollers;
    /// The modules by the serial number their topics are under (once first online).
    QHash<int, QList<BridgeModule *>> m_bySerial;
    QHash<BridgeModule *, int> m_serialOf;
    /// Runs while the broker is gone; at its end running sequences take their rule.
    QTimer m_brokerGone;
};
