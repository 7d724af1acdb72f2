#pragma once

#include "bridgeconfig.h"

#include <QByteArray>
#include <QLoggingCategory>
#include <QObject>
#include <QTimer>

struct mosquitto;
struct mosquitto_message;
class QSocketNotifier;

Q_DECLARE_LOGGING_CATEGORY(lcMqtt)

/// An MQTT client on the Qt event loop: the client library's socket is watched by socket
/// notifiers and its keep-alive is driven by a timer, so everything runs on the thread that
/// owns the object and no callback crosses threads.
///
/// After start() the client connects and reconnects by itself after every loss, with a pause
/// that grows from 1 s to 30 s. Sessions are clean: the owner subscribes again on connected().
class MqttClient : public QObject
{
    Q_OBJECT

public:
    /// \a willTopic, when not empty, gets the retained \a willPayload from the broker if this
    /// client disappears without a clean disconnect.
    MqttClient(const BrokerSettings &settings, const QByteArray &willTopic,
        const QByteArray &willPayload, QObject *parent = nullptr);
    ~MqttClient() override;

    /// Starts connecting. False when the settings cannot be used (TLS files, credentials).
    bool start();
    bool isConnected() const { return m_connected; }

    /// Hands one message to the broker; false while not connected.
    bool publish(const QByteArray &topic, const QByteArray &payload, int qos, bool retain);
    bool subscribe(const QByteArray &pattern, int qos = 1);
    void unsubscribe(const QByteArray &pattern);
    /// Disconnects cleanly (the broker then sends no will); the client stays down.
    void stop();

    /// Releases the client library's global state; call once no client is left.
    static void releaseLibrary();

    /// Messages handed to the broker since construction.
    quint64 publishCount() const { return m_publishCount; }

signals:
    void connected();
    void connectionLost();
    void messageReceived(const QByteArray &topic, const QByteArray &payload, bool retained);

private:
    static void onConnect(mosquitto *, void *self, int rc);
    static void onDisconnect(mosquitto *, void *self, int rc);
    static void onMessage(mosquitto *, void *self, const mosquitto_message *message);

    void tryConnect();
    void watchSocket();
    void unwatchSocket();
    void lose(QString reason);
    void onReadable();
    void onWritable();
    void onHousekeeping();
    void updateWriteInterest();

    BrokerSettings m_settings;
    mosquitto *m_mosq = nullptr;
    QSocketNotifier *m_readNotifier = nullptr;
    QSocketNotifier *m_writeNotifier = nullptr;
    QTimer m_housekeeping;
    QTimer m_retry;
    QTimer m_connectTimeout;
    int m_pauseMs = 1000;
    bool m_connected = false;
    bool m_stopped = false;
    quint64 m_publishCount = 0;
};
