#pragma once

#include "brokersettings.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QHash>
#include <QLoggingCategory>
#include <QObject>
#include <QSet>
#include <QTimer>

#include <array>
#include <functional>

struct mosquitto;
struct mosquitto_message;
typedef struct mqtt5__property mosquitto_property;
class QSocketNotifier;
class QThread;

Q_DECLARE_LOGGING_CATEGORY(lcMqtt)

/// An MQTT client on the Qt event loop: the client library's socket is watched by socket
/// notifiers and its keep-alive is driven by a timer, so everything runs on the thread that
/// owns the object and no callback crosses threads. What is published during one pass of the
/// event loop leaves together once the pass is over.
///
/// The client speaks MQTT 5 with a persistent session: clean start off and a session expiry of
/// SessionExpirySeconds, so that QoS 1 messages on their way in either direction when the
/// connection drops are delivered after the reconnect, and the broker keeps the subscriptions.
/// stop() ends the session. Messages the broker kept for the session while the client was away
/// arrive first after a reconnect; with a backlog marker set, deliveringBacklog() is true until
/// they are all in (see setBacklogMarker()). The CONNECT announces a maximum packet size of MaxPacketBytes: the
/// broker drops anything longer for this client instead of sending it.
///
/// After start() it connects and reconnects by itself after every loss. How soon depends on
/// how the connection ended (LossKind): a broker that went away (connection refused or lost,
/// no answer, shutting down) is tried again after a short pause that grows to GoneMaxPauseMs,
/// so the client is back within seconds of the broker; a connection the broker refused or
/// ended on purpose (credentials, session taken over by a client of the same id, which the
/// broker may do without a word: then connections end within ShortLivedMs of being accepted,
/// twice in a row with no failed attempt between them) after a pause that grows from 1 s to
/// RefusedMaxPauseMs and goes back to 1 s only after StableMs connected.
/// Every pause is drawn at random from its upper half, so that many clients do not come back
/// in step. The broker's host name is resolved on a thread of its own, so a slow resolver
/// never stalls the event loop.
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
    /// How a connection ended, or why an attempt failed.
    enum class LossKind {
        /// Refused or lost at the network, no answer, or the broker shutting down.
        Gone,
        /// The broker refused the CONNECT (credentials, not authorised, ...).
        Refused,
        /// The broker ended the connection on purpose (session taken over, ...).
        Kicked,
    };
    static constexpr int LossKinds = 3;
    static constexpr int StableMs = 60000;
    /// Two connections in a row lost without the broker's word sooner than this after they were
    /// accepted count as ended on purpose (Kicked).
    static constexpr int ShortLivedMs = 5000;
    static constexpr int GoneFirstPauseMs = 500;
    static constexpr int GoneMaxPauseMs = 2000;
    static constexpr int RefusedFirstPauseMs = 1000;
    static constexpr int RefusedMaxPauseMs = 30000;
    /// The longest pause while keepPausesShort() says so.
    static constexpr int ShortPauseMs = 2000;
    static constexpr int SessionExpirySeconds = 60;
    static constexpr int MaxPacketBytes = 4096;

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

    /// After a reconnect into a session the broker kept, the client publishes a message of its
    /// own to \a topic (subscribed without NoLocal) and says deliveringBacklog() until that
    /// message comes back: the broker hands a session's queued messages out in order, so
    /// everything before it was sent while the client was away. The marker is not passed on by
    /// messageReceived(). Should it not come back within BacklogMaxMs (a broker that denies the
    /// topic), the backlog counts as over then.
    void setBacklogMarker(const QByteArray &topic) { m_marker = topic; }
    /// True while messages queued for the session during a loss are being delivered.
    bool deliveringBacklog() const { return m_backlog; }
    static constexpr int BacklogMaxMs = 3000;

    /// Releases the client library's global state; call once no client is left.
    static void releaseLibrary();

    /// While \a shortPauses returns true (asked at each loss and failed attempt), no pause
    /// before the next attempt exceeds ShortPauseMs, whatever ended the connection.
    void setKeepPausesShort(std::function<bool()> shortPauses) { m_shortPauses = shortPauses; }

    /// Messages handed to the broker since construction.
    quint64 publishCount() const { return m_publishCount; }
    /// Connections the broker accepted since construction.
    quint64 connectionCount() const { return m_connections; }
    /// Connections lost and attempts failed since construction, of one kind.
    quint64 lossCount(LossKind kind) const { return m_losses[int(kind)]; }
    /// Messages published with QoS 1 or 2 that the broker has not acknowledged yet.
    int unacknowledgedCount() const { return int(m_unacknowledged.size()); }
    /// The pause before the attempt that follows the latest loss, in ms.
    int lastPauseMs() const { return m_lastPauseMs; }

signals:
    void connected();
    void connectionLost();
    /// An attempt to connect failed (the broker was not connected before it).
    void attemptFailed(const QString &reason);
    void messageReceived(const QByteArray &topic, const QByteArray &payload, bool retained);
    void messageTooLarge(const QByteArray &topic, int size, bool retained);
    void subscriptionRefused(const QByteArray &pattern, const QString &reason);
    /// The messages queued for the session during the loss are all delivered (after
    /// deliveringBacklog() was true).
    void backlogDelivered();

private:
    static void onConnect(mosquitto *, void *self, int rc, int flags, const mosquitto_property *);
    static void onDisconnect(mosquitto *, void *self, int rc, const mosquitto_property *);
    static void onMessage(mosquitto *, void *self, const mosquitto_message *message);
    static void onSubscribe(mosquitto *, void *self, int mid, int count, const int *granted);

    void tryConnect();
    void onConnectStarted();
    void watchSocket();
    void unwatchSocket();
    void lose(QString reason);
    /// The pause before the next attempt after a loss of \a kind; advances the pauses.
    int nextPause(LossKind kind);
    /// After a read or write: the library closed the socket (the broker's DISCONNECT).
    bool socketClosed();
    /// The message expiry property for \a seconds, made once and kept.
    const mosquitto_property *expiryProperty(int seconds);
    void onReadable();
    /// Writes what the library has queued once the present pass of the event loop is over
    /// (before the loop waits again).
    void scheduleWrite();
    void writeOut();
    void onHousekeeping();
    void updateWriteInterest();
    void endBacklog();

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
    /// The next pause's upper bound after a refusal or a kick, and after the broker went away.
    int m_refusedPauseMs = RefusedFirstPauseMs;
    int m_gonePauseMs = GoneFirstPauseMs;
    int m_lastPauseMs = 0;
    /// How the present connection or attempt ended, as the library's callbacks said.
    LossKind m_lossKind = LossKind::Gone;
    /// The broker's reason when it sent a DISCONNECT.
    QString m_endReason;
    /// The reason of the last loss logged as a warning, when, and the losses since.
    QString m_lastReason;
    QElapsedTimer m_lastSaid;
    /// Since the present connection was accepted.
    QElapsedTimer m_connectedClock;
    /// Connections in a row that ended without the broker's word within ShortLivedMs, with no
    /// failed attempt between them.
    int m_shortLived = 0;
    int m_unsaid = 0;
    std::function<bool()> m_shortPauses;
    QHash<int, mosquitto_property *> m_expiryProperties;
    int m_maxPayload = 0;
    /// The backlog marker's topic, the payload of the marker on its way, and its deadline.
    QByteArray m_marker;
    QByteArray m_markerPayload;
    QTimer m_backlogEnd;
    quint64 m_markers = 0;
    bool m_backlog = false;
    bool m_connected = false;
    bool m_connecting = false;
    bool m_stopped = false;
    bool m_writeScheduled = false;
    quint64 m_publishCount = 0;
    quint64 m_connections = 0;
    std::array<quint64, LossKinds> m_losses {};
};
