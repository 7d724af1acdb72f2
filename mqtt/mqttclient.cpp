#include "mqttclient.h"

#include <QAbstractEventDispatcher>
#include <QDeadlineTimer>
#include <QRandomGenerator>
#include <QSocketNotifier>
#include <QThread>

#include <cerrno>
#include <cstring>
#include <mosquitto.h>
#include <mqtt_protocol.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>

Q_LOGGING_CATEGORY(lcMqtt, "vorn.bridge.mqtt", QtInfoMsg)

namespace {

constexpr int ConnectTimeoutMs = 10000;
/// A failed attempt for the same reason as the last message is said again after this long.
constexpr int RepeatLogMs = 60000;

void initLibrary()
{
    static const bool done = [] {
        mosquitto_lib_init();
        return true;
    }();
    Q_UNUSED(done);
}

QByteArray utf8(const QString &text)
{
    return text.toUtf8();
}

} // namespace

MqttClient::MqttClient(const BrokerSettings &settings, const QByteArray &willTopic,
    const QByteArray &willPayload, QObject *parent)
    : QObject(parent)
    , m_settings(settings)
{
    initLibrary();
    // Clean start off: the session outlives a lost connection.
    m_mosq = mosquitto_new(utf8(settings.clientId).constData(), false, this);
    mosquitto_int_option(m_mosq, MOSQ_OPT_PROTOCOL_VERSION, MQTT_PROTOCOL_V5);
    mosquitto_int_option(m_mosq, MOSQ_OPT_TCP_NODELAY, 1);
    // Packets wait until the event loop has served what woke it instead of being written one
    // by one as they are queued: what a pass of the loop publishes leaves together.
    mosquitto_threaded_set(m_mosq, true);
    // The library takes CONNECT properties only from its blocking connect, which stores them
    // before it looks at the host; without a host it stops there, and every later connect
    // (the asynchronous one below) sends them.
    mosquitto_property *properties = nullptr;
    mosquitto_property_add_int32(
        &properties, MQTT_PROP_SESSION_EXPIRY_INTERVAL, uint32_t(SessionExpirySeconds));
    mosquitto_property_add_int32(&properties, MQTT_PROP_MAXIMUM_PACKET_SIZE, MaxPacketBytes);
    mosquitto_connect_bind_v5(m_mosq, nullptr, 0, settings.keepAlive, nullptr, properties);
    mosquitto_property_free_all(&properties);
    mosquitto_connect_v5_callback_set(m_mosq, &MqttClient::onConnect);
    mosquitto_disconnect_v5_callback_set(m_mosq, &MqttClient::onDisconnect);
    mosquitto_message_callback_set(m_mosq, &MqttClient::onMessage);
    mosquitto_subscribe_callback_set(m_mosq, &MqttClient::onSubscribe);
    mosquitto_publish_callback_set(m_mosq, [](mosquitto *, void *self, int mid) {
        static_cast<MqttClient *>(self)->m_unacknowledged.remove(mid);
    });
    if (!willTopic.isEmpty())
        mosquitto_will_set(m_mosq, willTopic.constData(), int(willPayload.size()),
            willPayload.constData(), 1, true);

    // Before the event loop waits again: everything that woke it has been served. A posted
    // call or the write notifier would cost a pass of its own, which with a thousand modules
    // asks the system about a thousand sockets.
    if (QAbstractEventDispatcher *dispatcher = QAbstractEventDispatcher::instance(thread())) {
        connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, [this] {
            if (m_writeScheduled)
                writeOut();
        });
    }
    m_housekeeping.setInterval(1000);
    connect(&m_housekeeping, &QTimer::timeout, this, &MqttClient::onHousekeeping);
    m_retry.setSingleShot(true);
    connect(&m_retry, &QTimer::timeout, this, &MqttClient::tryConnect);
    m_connectTimeout.setSingleShot(true);
    m_connectTimeout.setInterval(ConnectTimeoutMs);
    connect(&m_connectTimeout, &QTimer::timeout, this,
        [this]() { lose(QStringLiteral("no answer from the broker")); });
    m_stable.setSingleShot(true);
    m_stable.setInterval(StableMs);
    connect(
        &m_stable, &QTimer::timeout, this, [this]() { m_refusedPauseMs = RefusedFirstPauseMs; });
    m_backlogEnd.setSingleShot(true);
    connect(&m_backlogEnd, &QTimer::timeout, this, [this]() {
        qCWarning(lcMqtt).noquote()
            << QStringLiteral("the marker on %1 did not come back within %2 s; what came since "
                              "the reconnect counts as sent while the connection was lost")
                   .arg(QString::fromUtf8(m_marker))
                   .arg(BacklogMaxMs / 1000);
        endBacklog();
    });
}

MqttClient::~MqttClient()
{
    unwatchSocket();
    if (m_connector)
        m_connector->wait(); // the library's connect may still be resolving
    mosquitto_destroy(m_mosq);
    for (mosquitto_property *property : std::as_const(m_expiryProperties))
        mosquitto_property_free_all(&property);
}

void MqttClient::releaseLibrary()
{
    mosquitto_lib_cleanup();
}

bool MqttClient::start()
{
    const BrokerSettings &s = m_settings;
    if (!s.user.isEmpty()
        && mosquitto_username_pw_set(m_mosq, utf8(s.user).constData(),
               s.password.isEmpty() ? nullptr : utf8(s.password).constData())
            != MOSQ_ERR_SUCCESS) {
        qCWarning(lcMqtt) << "broker user name or password not usable";
        return false;
    }
    if (s.tls) {
        const QByteArray ca = utf8(s.caFile), cert = utf8(s.certFile), key = utf8(s.keyFile);
        const int rc = mosquitto_tls_set(m_mosq, ca.isEmpty() ? nullptr : ca.constData(),
            ca.isEmpty() ? "/etc/ssl/certs" : nullptr, cert.isEmpty() ? nullptr : cert.constData(),
            key.isEmpty() ? nullptr : key.constData(), nullptr);
        if (rc != MOSQ_ERR_SUCCESS) {
            qCWarning(lcMqtt).noquote() << "TLS settings not usable:" << mosquitto_strerror(rc);
            return false;
        }
    }
    m_stopped = false;
    m_housekeeping.start();
    tryConnect();
    return true;
}

void MqttClient::tryConnect()
{
    if (m_stopped || m_connecting)
        return;
    // The library resolves the host name with a blocking call, which can take as long as the
    // resolver's time-out; the modules' watchdogs must not wait for it. Until the thread has
    // finished, nothing else touches the library's client: it is neither connected nor watched.
    if (m_connector) {
        m_connector->wait(); // finished() may arrive a moment before the thread has ended
        delete m_connector;
    }
    m_connecting = true;
    m_lossKind = LossKind::Gone;
    m_endReason.clear();
    const QByteArray host = utf8(m_settings.host);
    const int port = m_settings.port;
    const int keepAlive = m_settings.keepAlive;
    m_connector = QThread::create([this, host, port, keepAlive]() {
        m_connectResult = mosquitto_connect_async(m_mosq, host.constData(), port, keepAlive);
        m_connectErrno = errno;
    });
    m_connector->setParent(this);
    connect(m_connector, &QThread::finished, this, &MqttClient::onConnectStarted);
    m_connector->start();
}

void MqttClient::onConnectStarted()
{
    m_connecting = false;
    if (m_stopped)
        return;
    const int rc = m_connectResult;
    if (rc != MOSQ_ERR_SUCCESS) {
        lose(rc == MOSQ_ERR_ERRNO ? QString::fromLocal8Bit(strerror(m_connectErrno))
                                  : QString::fromUtf8(mosquitto_strerror(rc)));
        return;
    }
    m_connectTimeout.start();
    watchSocket();
}

void MqttClient::watchSocket()
{
    unwatchSocket();
    const int fd = mosquitto_socket(m_mosq);
    if (fd < 0)
        return;
    m_readNotifier = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connect(m_readNotifier, &QSocketNotifier::activated, this, &MqttClient::onReadable);
    m_writeNotifier = new QSocketNotifier(fd, QSocketNotifier::Write, this);
    connect(m_writeNotifier, &QSocketNotifier::activated, this, &MqttClient::writeOut);
    updateWriteInterest();
}

void MqttClient::unwatchSocket()
{
    // The notifiers may be the sender of the running slot: disable now, delete later.
    for (QSocketNotifier *n : { m_readNotifier, m_writeNotifier }) {
        if (n) {
            n->setEnabled(false);
            n->deleteLater();
        }
    }
    m_readNotifier = nullptr;
    m_writeNotifier = nullptr;
}

void MqttClient::lose(QString reason)
{
    if (reason.endsWith(QLatin1Char('.')))
        reason.chop(1); // the library's texts end in a full stop

    unwatchSocket();
    m_connectTimeout.stop();
    m_stable.stop();
    m_backlogEnd.stop();
    m_backlog = false; // a reconnect into the session sends a new marker
    m_pendingSubscriptions.clear();
    mosquitto_disconnect(m_mosq);
    const bool was = m_connected;
    m_connected = false;
    if (m_stopped)
        return;
    // The broker may close a connection without a word when another client takes over its
    // client id: then it accepts the next one at once, which ends as soon. A broker that went
    // away refuses the next attempt.
    const bool shortLived = was && m_lossKind == LossKind::Gone && m_endReason.isEmpty()
        && !m_connectedClock.hasExpired(ShortLivedMs);
    m_shortLived = shortLived ? m_shortLived + 1 : 0;
    if (m_shortLived >= 2) {
        m_lossKind = LossKind::Kicked;
        reason = QStringLiteral("%1 %2 s after it was accepted (another client with the client "
                                "id \"%3\"?)")
                     .arg(reason)
                     .arg(m_connectedClock.elapsed() / 1000.0, 0, 'f', 1)
                     .arg(m_settings.clientId);
    }
    const LossKind kind = m_lossKind;
    ++m_losses[int(kind)];
    m_lastPauseMs = nextPause(kind);
    // While the broker stays away for the same reason, once a minute is said often enough.
    const QString line = QStringLiteral("broker %1:%2: %3; trying again in %4 s")
                             .arg(m_settings.host)
                             .arg(m_settings.port)
                             .arg(reason)
                             .arg(m_lastPauseMs / 1000.0, 0, 'f', 1);
    if (reason != m_lastReason || !m_lastSaid.isValid() || m_lastSaid.hasExpired(RepeatLogMs)) {
        qCWarning(lcMqtt).noquote() << line
                + (m_unsaid > 0
                        ? QStringLiteral(" (%1 attempts since the last message)").arg(m_unsaid)
                        : QString());
        m_lastReason = reason;
        m_lastSaid.start();
        m_unsaid = 0;
    } else {
        qCDebug(lcMqtt).noquote() << line;
        ++m_unsaid;
    }
    m_retry.start(m_lastPauseMs);
    if (was)
        emit connectionLost();
    else
        emit attemptFailed(reason);
}

int MqttClient::nextPause(LossKind kind)
{
    int &bound = kind == LossKind::Gone ? m_gonePauseMs : m_refusedPauseMs;
    const int top = bound;
    bound = qMin(bound * 2, kind == LossKind::Gone ? GoneMaxPauseMs : RefusedMaxPauseMs);
    int pause = top / 2 + int(QRandomGenerator::global()->bounded(top / 2 + 1));
    if (m_shortPauses && m_shortPauses())
        pause = qMin(pause, ShortPauseMs);
    return pause;
}

bool MqttClient::socketClosed()
{
    if (mosquitto_socket(m_mosq) >= 0)
        return false;
    lose(m_endReason.isEmpty() ? QStringLiteral("connection closed") : m_endReason);
    return true;
}

void MqttClient::onReadable()
{
    const int rc = mosquitto_loop_read(m_mosq, 1);
    if (rc != MOSQ_ERR_SUCCESS) {
        lose(rc == MOSQ_ERR_CONN_LOST ? QStringLiteral("connection lost")
                                      : QString::fromUtf8(mosquitto_strerror(rc)));
        return;
    }
    if (!socketClosed())
        updateWriteInterest();
}

void MqttClient::scheduleWrite()
{
    m_writeScheduled = true;
}

void MqttClient::writeOut()
{
    m_writeScheduled = false;
    if (!m_readNotifier)
        return;
    const int fd = mosquitto_socket(m_mosq);
    if (fd < 0 || !mosquitto_want_write(m_mosq))
        return;
    // The library writes each packet with a call of its own: corked, the system sends them
    // in full segments when uncorked, not one segment (and one wake-up of the broker) each.
    int cork = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_CORK, &cork, sizeof cork);
    const int rc = mosquitto_loop_write(m_mosq, 1);
    cork = 0;
    if (mosquitto_socket(m_mosq) == fd)
        setsockopt(fd, IPPROTO_TCP, TCP_CORK, &cork, sizeof cork);
    if (rc != MOSQ_ERR_SUCCESS) {
        lose(QString::fromUtf8(mosquitto_strerror(rc)));
        return;
    }
    if (!socketClosed())
        updateWriteInterest();
}

void MqttClient::onHousekeeping()
{
    if (!m_readNotifier)
        return;
    // Keep-alive pings and retries of unacknowledged messages.
    const int rc = mosquitto_loop_misc(m_mosq);
    if (rc != MOSQ_ERR_SUCCESS || mosquitto_socket(m_mosq) < 0) {
        lose(QStringLiteral("the broker stopped answering"));
        return;
    }
    updateWriteInterest();
}

void MqttClient::updateWriteInterest()
{
    if (m_writeNotifier)
        m_writeNotifier->setEnabled(mosquitto_want_write(m_mosq));
}

const mosquitto_property *MqttClient::expiryProperty(int seconds)
{
    mosquitto_property *&property = m_expiryProperties[seconds];
    if (!property)
        mosquitto_property_add_int32(
            &property, MQTT_PROP_MESSAGE_EXPIRY_INTERVAL, uint32_t(seconds));
    return property;
}

bool MqttClient::publish(
    const QByteArray &topic, const QByteArray &payload, int qos, bool retain, int expirySeconds)
{
    if (!m_connected)
        return false;
    int mid = 0;
    const int rc = mosquitto_publish_v5(m_mosq, &mid, topic.constData(), int(payload.size()),
        payload.constData(), qos, retain,
        expirySeconds > 0 ? expiryProperty(expirySeconds) : nullptr);
    if (rc != MOSQ_ERR_SUCCESS) {
        qCWarning(lcMqtt).noquote() << "publish to" << topic << "failed:" << mosquitto_strerror(rc);
        return false;
    }
    if (qos > 0)
        m_unacknowledged.insert(mid);
    ++m_publishCount;
    scheduleWrite();
    return true;
}

bool MqttClient::subscribe(const QByteArray &pattern, int qos, int options)
{
    if (!m_connected)
        return false;
    int mid = 0;
    const bool ok = mosquitto_subscribe_v5(m_mosq, &mid, pattern.constData(), qos, options, nullptr)
        == MOSQ_ERR_SUCCESS;
    if (ok)
        m_pendingSubscriptions.insert(mid, pattern);
    scheduleWrite();
    return ok;
}

void MqttClient::stop()
{
    m_stopped = true;
    m_retry.stop();
    m_connectTimeout.stop();
    m_stable.stop();
    m_housekeeping.stop();
    if (m_connected) {
        // Everything sent, and what needs an acknowledgement acknowledged, before the
        // disconnect, waiting up to a second in all: the broker handles one connection's
        // packets in order, but a new connection with the same client id (the bridge started
        // again) could overtake this one and make the broker drop what it had not read yet.
        QDeadlineTimer deadline(1000);
        const auto settle = [this, &deadline]() {
            while ((mosquitto_want_write(m_mosq) || !m_unacknowledged.isEmpty())
                && !deadline.hasExpired()) {
                pollfd p = { mosquitto_socket(m_mosq),
                    short(POLLIN | (mosquitto_want_write(m_mosq) ? POLLOUT : 0)), 0 };
                if (p.fd < 0 || ::poll(&p, 1, int(deadline.remainingTime())) <= 0)
                    return;
                if (((p.revents & POLLOUT) && mosquitto_loop_write(m_mosq, 1) != MOSQ_ERR_SUCCESS)
                    || ((p.revents & ~POLLOUT)
                        && mosquitto_loop_read(m_mosq, 1) != MOSQ_ERR_SUCCESS))
                    return;
            }
        };
        settle();
        // A session expiry of 0 ends the session with this connection: the broker keeps no
        // subscription and queues no command for a bridge that has stopped.
        mosquitto_property *properties = nullptr;
        mosquitto_property_add_int32(&properties, MQTT_PROP_SESSION_EXPIRY_INTERVAL, 0);
        mosquitto_disconnect_v5(m_mosq, MQTT_RC_NORMAL_DISCONNECTION, properties);
        mosquitto_property_free_all(&properties);
        m_unacknowledged.clear();
        settle();
    }
    m_connected = false;
    unwatchSocket();
}

void MqttClient::onConnect(mosquitto *, void *self, int rc, int flags, const mosquitto_property *)
{
    auto *client = static_cast<MqttClient *>(self);
    client->m_connectTimeout.stop();
    if (rc != 0) {
        // Refused: the broker closes the connection, which the next read reports.
        client->m_lossKind = LossKind::Refused;
        qCWarning(lcMqtt).noquote()
            << "broker refused the connection:" << mosquitto_reason_string(rc);
        return;
    }
    qCInfo(lcMqtt).noquote() << QStringLiteral("connected to %1:%2")
                                    .arg(client->m_settings.host)
                                    .arg(client->m_settings.port);
    client->m_connected = true;
    client->m_connectedClock.start();
    client->m_gonePauseMs = GoneFirstPauseMs;
    client->m_lastReason.clear();
    ++client->m_connections;
    client->m_stable.start();
    // The CONNACK's "session present" flag: the broker kept the subscriptions and queued what
    // came for them meanwhile. The marker follows that queue.
    if ((flags & 1) && !client->m_marker.isEmpty()) {
        client->m_backlog = true;
        client->m_markerPayload = QByteArray::number(++client->m_markers);
        client->subscribe(client->m_marker, 1, 0);
        client->publish(client->m_marker, client->m_markerPayload, 1, false);
        client->m_backlogEnd.start(BacklogMaxMs);
    }
    emit client->connected();
}

void MqttClient::endBacklog()
{
    m_backlogEnd.stop();
    if (!m_backlog)
        return;
    m_backlog = false;
    emit backlogDelivered();
}

void MqttClient::onDisconnect(mosquitto *, void *self, int rc, const mosquitto_property *)
{
    // A loss is handled where the read or the housekeeping reports it, outside the library. A
    // reason code from 0x80 up is the broker's DISCONNECT; anything else a loss at the network.
    qCDebug(lcMqtt) << "disconnected, code" << rc;
    auto *client = static_cast<MqttClient *>(self);
    if (rc < 0x80)
        return;
    client->m_endReason = QStringLiteral("the broker ended the connection (%1)")
                              .arg(QString::fromUtf8(mosquitto_reason_string(rc)));
    if (rc != MQTT_RC_SERVER_SHUTTING_DOWN)
        client->m_lossKind = LossKind::Kicked;
}

void MqttClient::onSubscribe(mosquitto *, void *self, int mid, int count, const int *granted)
{
    auto *client = static_cast<MqttClient *>(self);
    const QByteArray pattern = client->m_pendingSubscriptions.take(mid);
    // MQTT 5 answers each subscription with the granted QoS, or a reason code from 0x80 up.
    for (int i = 0; i < count; ++i) {
        if (granted[i] >= 0x80) {
            emit client->subscriptionRefused(
                pattern, QString::fromUtf8(mosquitto_reason_string(granted[i])));
            return;
        }
    }
}

void MqttClient::onMessage(mosquitto *, void *self, const mosquitto_message *message)
{
    auto *client = static_cast<MqttClient *>(self);
    if (client->m_stopped)
        return; // arrived while saying goodbye
    if (!client->m_marker.isEmpty() && client->m_marker == message->topic) {
        if (client->m_backlog
            && client->m_markerPayload
                == QByteArray::fromRawData(
                    static_cast<const char *>(message->payload), message->payloadlen))
            client->endBacklog();
        return;
    }
    if (client->m_maxPayload > 0 && message->payloadlen > client->m_maxPayload) {
        emit client->messageTooLarge(
            QByteArray(message->topic), message->payloadlen, message->retain);
        return;
    }
    emit client->messageReceived(QByteArray(message->topic),
        QByteArray(static_cast<const char *>(message->payload), message->payloadlen),
        message->retain);
}
