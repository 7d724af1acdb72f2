#pragma once

#include "tokenbucket.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTimer>

#include <array>

class MqttClient;
class ModulePoller;
class ModulePublisher;
class ModuleSequence;

/// The command side of one module: subscribes the module's set topics when its file says
/// "commands = on", refuses what must not reach the module (retained commands, commands while
/// it is offline, all but safety commands while it is blocked, bad topics and values) and hands the
/// rest to the module's CommandGate through its poller (which refuses too many). Refusals are
/// published on the module's "error" topic and logged with control characters escaped, at most
/// RefusalBurst at once and one a second after that; the rest are counted and reported together.
class ModuleCommands : public QObject
{
    Q_OBJECT

public:
    /// Longest payload taken; longer ones are refused before they are copied.
    static constexpr int MaxPayload = 256;
    static constexpr double RefusalBurst = 5.0;
    static constexpr int MaxResubscribePauseMs = 60000;

    /// Why a command was refused, for the counts.
    enum class Refusal {
        Retained,
        /// Two modules of one serial number.
        Clash,
        Offline,
        /// Unknown topic or channel, a value out of range, a channel without nominal values.
        Invalid,
        /// Too many commands wait for the module.
        Busy,
        /// Too many commands a second.
        Rate,
        TooLarge,
        Sequence,
        /// Queued by the broker while the bridge was away from it: only an off or an abort is
        /// carried out late.
        Late,
        /// Any other refusal of the module's command gate.
        Other,
    };
    static constexpr int Refusals = int(Refusal::Other) + 1;
    /// The label of \a refusal in the metrics ("too_large").
    static const char *refusalName(Refusal refusal);

    /// \a client, \a poller and \a publisher are not owned and must outlive this object.
    ModuleCommands(MqttClient *client, ModulePoller *poller, ModulePublisher *publisher,
        QObject *parent = nullptr);

    /// Subscribes "<prefix>/<serial>/ch/+/set/+" once the module's serial number is known and
    /// the broker connected, unless already subscribed.
    void subscribe();
    /// The broker connection was new: nothing is subscribed any more.
    void forgetSubscription();
    /// The pattern subscribed, or empty.
    QByteArray pattern() const { return m_pattern; }

    /// A message on one of the module's command topics.
    void handle(const QByteArray &topic, const QByteArray &payload, bool retained);
    /// A message whose payload of \a size bytes was too long to be taken.
    void handleTooLarge(const QByteArray &topic, int size, bool retained);
    void onSubscriptionRefused(const QByteArray &pattern, const QString &reason);
    /// Why no command but a safety command is taken (a serial number two modules report), or
    /// empty.
    void setBlocked(const QString &why) { m_blocked = why; }
    const QString &blocked() const { return m_blocked; }
    /// An off, an emergency off or a sequence abort (\a path below "<prefix>/<serial>/"): taken
    /// also while commands are blocked, and by every module of a clashing serial number.
    static bool isSafetyCommand(const QByteArray &path, const QByteArray &payload);
    /// The module's sequences ("sequences = FOLDER" with commands on), or null.
    ModuleSequence *sequence() const { return m_sequence; }

    /// Commands (sequence commands too) handed on since construction, and refused for \a why.
    quint64 acceptedCount() const { return m_accepted; }
    quint64 refusedCount(Refusal why) const { return m_refused[size_t(why)]; }

private:
    void refuse(
        const QByteArray &path, const QByteArray &payload, const QString &why, Refusal kind);
    void report(const QString &text);
    void reportUnreported();

    MqttClient *m_client;
    ModulePoller *m_poller;
    ModulePublisher *m_publisher;
    ModuleSequence *m_sequence = nullptr;
    QString m_blocked;
    QByteArray m_pattern;
    QTimer m_resubscribe;
    int m_resubscribePauseMs = 1000;
    TokenBucket m_refusals { 1.0, RefusalBurst };
    int m_unreported = 0;
    QTimer m_summary;
    quint64 m_accepted = 0;
    std::array<quint64, Refusals> m_refused {};
};

/// \a text for a log line: control characters (a CR LF that would start a forged line) are
/// written as \r, \n, \t or \xNN.
QString printable(const QString &text);
