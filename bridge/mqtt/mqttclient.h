#pragma once

#include "bridgeconfig.h"

#include <QByteArray>
#include <QHash>
#include <QLoggingCategory>
#include <QObject>
#include <QSet>
#include <QTimer>

struct mosquitto;
struct mosquitto_message;
class QSocketNotifier;
class QThread;

Q_DECLARE_LOGGING_CATEGORY(lcMqtt)

/// An MQTT client on the Qt event loop: the client library's socket is watched by socket
/// notifiers and its keep-alive is driven by a timer, so everything runs on the thread that
/// owns the object and no callback crosses threads.
///
/// The client speaks MQTT 5. After start() it connects and reconnects by itself after every
/// loss, with a pause that grows from 1 s to 30 s and goes back to 1 s only after a minute
/// connected, so a broker that accepts and drops at once is not hammered. The broker's host
/// name is resolved on a thread of its own, so a slow resolver never stalls the event loop.
/// Sessions are clean: the owner subscribes again on connected().
class MqttClient : public QObject
{
    Q_OBJECT

public:
    /// MQTT 5 subscription options.
    enum SubscribeOption {
        /// Messages this client publishes are not delivered back to it.
        NoLocal = 0x04,
        /// Messages keep the retain flag they were published with, also on live delivery.
        RetainAsPublished = 0x08,
    };
    static constexpr int StableMs = 60000;

    /// \a willTopic, when not empty, gets the retained \a willPayload from the broker if this
    /// client disappears without a clean disconnect.
    MqttClient(const BrokerSettings &settings, const QByteArray &willTopic,
        const QByteArray &willPayload, QObject *parent = nullptr);
    ~MqttClient() override;

    /// Starts connecting. False when the settings cannot be used (TLS files, credentials).
    bool start();
    bool isConnected() const { return m_connected; }

    /// Hands one message to the broker; false while not connected. With \a expirySeconds above
    /// 0 the broker drops the message (retained or queued) once it is that old.
    bool publish(const QByteArray &topic, const QByteArray &payload, int qos, bool retain,
        int expirySeconds = 0);
    /// Asks for a subscription with \a options (SubscribeOption bits); false while not
    /// connected. A subscription the broker denies is reported by subscriptionRefused().
    bool subscribe(const QByteArray &pattern, int qos = 1, int options = 0);
    /// Messages with a longer payload are reported by messageTooLarge() without being copied;
    /// 0 (the default) takes every size.
    void setMaxPayload(int bytes) { m_maxPayload = bytes; }
    /// Sends what is queued, waits (up to a second) until the broker has acknowledged every
    /// message published with QoS 1 or 2, and disconnects cleanly (the broker then sends no
    /// will); the client stays down.
    void stop();

    /// Releases the client library's global state; call once no client is left.
    static void releaseLibrary();

    /// Messages handed to the broker since construction.
    quint64 publishCount() const { return m_publishCount; }

signals:
    void connected();
    void connectionLost();
    void messageReceived(const QByteArray &topic, const QByteArray &payload, bool retained);
    void messageTooLarge(const QByteArray &topic, int size, bool retained);
    void subscriptionRefused(const QByteArray &pattern, const QString &reason);

private:
    static void onConnect(mosquitto *, void *self, int rc);
    static void onDisconnect(mosquitto *, void *self, int rc);
    static void onMessage(mosquitto *, void *self, const mosquitto_message *message);
    static void onSubscribe(mosquitto *, void *self, int mid, int count, const int *granted);

    void tryConnect();
    void onConnectStarted();
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
    /// Resets the reconnect pause once a connection has lasted StableMs.
    QTimer m_stable;
    /// Runs the library's connect, which resolves the host name; a child of this object.
    QThread *m_connector = nullptr;
    /// The connect's result, written by m_connector before it finishes.
    int m_connectResult = 0;
    int m_connectErrno = 0;
    /// Subscriptions waiting for the broker's answer, by message id.
    QHash<int, QByteArray> m_pendingSubscriptions;
    /// Message ids published with QoS above 0 and not acknowledged yet.
    QSet<int> m_unacknowledged;
    int m_pauseMs = 1000;
    int m_maxPayload = 0;
    bool m_connected = false;
    bool m_connecting = false;
    bool m_stopped = false;
    quint64 m_publishCount = 0;
};
