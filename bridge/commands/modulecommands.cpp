#include "modulecommands.h"

#include "channelcommand.h"
#include "modulepoller.h"
#include "modulepublisher.h"
#include "modulesequence.h"
#include "mqttclient.h"

namespace {

/// How long refusals beyond the limit wait before they are reported together.
constexpr int SummaryMs = 2000;

/// The kind of a refusal of the module's command gate, by its text.
ModuleCommands::Refusal gateRefusal(const QString &why)
{
    if (why == QLatin1String("module offline"))
        return ModuleCommands::Refusal::Offline;
    if (why.startsWith(QLatin1String("busy")))
        return ModuleCommands::Refusal::Busy;
    if (why.contains(QLatin1String(" a second")))
        return ModuleCommands::Refusal::Rate;
    return ModuleCommands::Refusal::Other;
}

} // namespace

const char *ModuleCommands::refusalName(Refusal refusal)
{
    static constexpr const char *names[Refusals] = { "retained", "clash", "offline", "invalid",
        "busy", "rate", "too_large", "sequence", "late", "other" };
    return names[int(refusal)];
}

QString printable(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u >= 0x20 && u != 0x7f && !(u >= 0x80 && u < 0xa0)) {
            out += c;
        } else if (u == '\r') {
            out += QLatin1String("\\r");
        } else if (u == '\n') {
            out += QLatin1String("\\n");
        } else if (u == '\t') {
            out += QLatin1String("\\t");
        } else {
            out += QStringLiteral("\\x%1").arg(int(u), 2, 16, QLatin1Char('0'));
        }
    }
    return out;
}

ModuleCommands::ModuleCommands(
    MqttClient *client, ModulePoller *poller, ModulePublisher *publisher, QObject *parent)
    : QObject(parent)
    , m_client(client)
    , m_poller(poller)
    , m_publisher(publisher)
{
    m_resubscribe.setSingleShot(true);
    connect(&m_resubscribe, &QTimer::timeout, this, &ModuleCommands::subscribe);
    m_summary.setSingleShot(true);
    m_summary.setInterval(SummaryMs);
    connect(&m_summary, &QTimer::timeout, this, &ModuleCommands::reportUnreported);
    if (poller->settings().commands && !poller->settings().sequences.isEmpty())
        m_sequence = new ModuleSequence(client, poller, publisher, this);
}

void ModuleCommands::subscribe()
{
    if (!m_poller->settings().commands || !m_client->isConnected())
        return;
    const QByteArray base = m_publisher->base();
    if (base.isEmpty())
        return;
    const QByteArray pattern = base + "ch/+/set/+";
    // Retained commands arrive with their flag so they can be refused, also on live delivery;
    // the empty message that clears one does not come back. The set topics first: the state
    // "online" has just gone out, and a client that saw it may command at once.
    if (m_pattern != pattern
        && m_client->subscribe(pattern, 1, MqttClient::NoLocal | MqttClient::RetainAsPublished))
        m_pattern = pattern;
    if (m_sequence)
        m_sequence->subscribe();
}

void ModuleCommands::forgetSubscription()
{
    m_pattern.clear();
    if (m_sequence)
        m_sequence->forgetSubscription();
    m_resubscribe.stop();
    m_resubscribePauseMs = 1000;
}

void ModuleCommands::onSubscriptionRefused(const QByteArray &pattern, const QString &reason)
{
    if (m_sequence && m_sequence->subscribed(pattern)) {
        qCWarning(lcBridge).noquote()
            << QStringLiteral("module %1: the broker refused the subscription to %2 (%3)")
                   .arg(m_poller->settings().name, QString::fromUtf8(pattern), reason);
        m_sequence->forgetSubscription();
        return;
    }
    if (pattern != m_pattern)
        return;
    qCWarning(lcBridge).noquote() << QStringLiteral(
        "module %1: the broker refused the subscription to %2 (%3), so no "
        "command can arrive; trying again in %4 s")
                                         .arg(m_poller->settings().name, QString::fromUtf8(pattern),
                                             reason)
                                         .arg(m_resubscribePauseMs / 1000);
    m_pattern.clear();
    m_resubscribe.start(m_resubscribePauseMs);
    m_resubscribePauseMs = qMin(m_resubscribePauseMs * 2, MaxResubscribePauseMs);
}

void ModuleCommands::handle(const QByteArray &topic, const QByteArray &payload, bool retained)
{
    const QByteArray path = topic.mid(m_publisher->base().size());
    if (retained) {
        if (payload.isEmpty())
            return; // a retained command being cleared
        // Left on the broker it would be handed to every later subscriber: clear it.
        m_client->publish(topic, QByteArray(), 1, true);
        refuse(path, payload, QStringLiteral("retained commands are not carried out (cleared)"),
            Refusal::Retained);
        return;
    }
    if (m_client->deliveringBacklog() && !isSafetyCommand(path, payload)) {
        // A set value or an on that waited out an outage may no longer be what anyone wants.
        refuse(path, payload,
            QStringLiteral("sent while the bridge was away from the broker: only an off or an "
                           "abort is carried out late; send it again"),
            Refusal::Late);
        return;
    }
    if (!m_blocked.isEmpty() && !isSafetyCommand(path, payload)) {
        refuse(path, payload, m_blocked, Refusal::Clash);
        return;
    }
    if (m_sequence && path.startsWith("sequence/")) {
        m_sequence->handle(path.mid(9), payload, this, [this, path, payload](const QString &why) {
            if (!why.isEmpty()) {
                refuse(path, payload, why, Refusal::Sequence);
                return;
            }
            ++m_accepted;
            qCInfo(lcBridge).noquote()
                << QStringLiteral("module %1: %2 \"%3\"")
                       .arg(m_poller->settings().name, QString::fromUtf8(path),
                           printable(QString::fromUtf8(payload)));
        });
        return;
    }
    const ModuleState *module = m_poller->state();
    if (!module || !m_poller->isOnline()) {
        refuse(path, payload, QStringLiteral("module offline"), Refusal::Offline);
        return;
    }
    ChannelCommand command;
    QString why;
    if (!ChannelCommand::parse(path, payload, *module, &command, &why)) {
        refuse(path, payload, why, Refusal::Invalid);
        return;
    }
    const QString what = command.describe(module->channelCount);
    m_poller->pass(command, this, [this, path, payload, what](const QString &refused, int dropped) {
        if (!refused.isEmpty()) {
            refuse(path, payload, refused, gateRefusal(refused));
            return;
        }
        ++m_accepted;
        qCInfo(lcBridge).noquote() << QStringLiteral("module %1 (serial %2): command %3")
                                          .arg(m_poller->settings().name)
                                          .arg(m_publisher->serialNumber())
                                          .arg(what);
        if (dropped > 0)
            report(QStringLiteral("%1 went ahead of %2 queued commands, which were dropped")
                       .arg(what)
                       .arg(dropped));
    });
}

bool ModuleCommands::isSafetyCommand(const QByteArray &path, const QByteArray &payload)
{
    return path == "sequence/abort" || ChannelCommand::isOffMessage(path, payload);
}

void ModuleCommands::handleTooLarge(const QByteArray &topic, int size, bool retained)
{
    if (retained)
        m_client->publish(topic, QByteArray(), 1, true);
    refuse(topic.mid(m_publisher->base().size()), QByteArray(),
        QStringLiteral("a payload of %1 bytes is too long (at most %2)").arg(size).arg(MaxPayload),
        Refusal::TooLarge);
}

void ModuleCommands::refuse(
    const QByteArray &path, const QByteArray &payload, const QString &why, Refusal kind)
{
    ++m_refused[size_t(kind)];
    if (!m_refusals.take()) {
        ++m_unreported;
        if (!m_summary.isActive())
            m_summary.start();
        return;
    }
    report(QStringLiteral("%1 \"%2\" refused: %3")
               .arg(QString::fromUtf8(path.left(MaxPayload)), QString::fromUtf8(payload.left(80)),
                   why));
}

void ModuleCommands::reportUnreported()
{
    if (m_unreported == 0)
        return;
    const int count = std::exchange(m_unreported, 0);
    report(QStringLiteral("%1 more commands refused").arg(count));
}

void ModuleCommands::report(const QString &text)
{
    const QString line = printable(text);
    qCWarning(lcBridge).noquote()
        << QStringLiteral("module %1: command").arg(m_poller->settings().name) << line;
    m_client->publish(m_publisher->base() + "error", line.toUtf8(), 1, false);
}
