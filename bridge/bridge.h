#pragma once

#include "bridgeconfig.h"

#include <QByteArray>
#include <QList>
#include <QObject>

class HistoryPublisher;
class MqttClient;
class ModulePoller;
class ModulePublisher;
class WriteRound;

/// The bridge: one broker connection and, per configured module, a poller that keeps the
/// module's engine running and a publisher that puts its values on the broker. All modules
/// share the one event loop; each is answer-driven, so none waits for another.
///
/// Set topics of a module are subscribed only when the module's "commands" setting is on.
class Bridge : public QObject
{
    Q_OBJECT

public:
    explicit Bridge(const BridgeSettings &settings, QObject *parent = nullptr);
    ~Bridge() override;

    /// Starts the broker connection and the pollers; false when the broker settings are unusable.
    bool start();
    /// Publishes every module and the bridge itself "offline" and disconnects cleanly.
    void stop();

    /// "<prefix>/bridge/<client id>/state", retained "online", "offline" through the will.
    QByteArray stateTopic() const;
    const QList<ModulePoller *> &pollers() const { return m_pollers; }
    const MqttClient *client() const { return m_client; }

private:
    void onBrokerConnected();
    void onModuleOnline(int index);
    void onModuleOffline(int index);
    void onMessage(const QByteArray &topic, const QByteArray &payload, bool retained);
    void subscribeCommands(int index);
    void refuse(int index, const QByteArray &path, const QByteArray &payload, const QString &why);

    BridgeSettings m_settings;
    MqttClient *m_client = nullptr;
    WriteRound *m_round = nullptr;
    QList<ModulePoller *> m_pollers;
    QList<ModulePublisher *> m_publishers;
    /// Per module its event history on "events" and "alarms".
    QList<HistoryPublisher *> m_histories;
    /// Per module the command pattern currently subscribed, or empty.
    QList<QByteArray> m_commandPatterns;
};
