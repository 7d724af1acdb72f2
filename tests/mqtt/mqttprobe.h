#pragma once

#include "mqttclient.h"
#include "spin.h"

#include <QHash>
#include <QList>
#include <QPair>

/// A test subscriber: keeps the last payload of every topic below \a pattern and every message
/// in order, and subscribes again after each reconnect. With \a user it logs in as that user,
/// whose password is the user name with "-secret" appended.
class MqttProbe : public QObject
{
public:
    MqttProbe(quint16 port, const QByteArray &pattern, const QString &user = QString())
        : m_pattern(pattern)
    {
        BrokerSettings s;
        s.port = port;
        s.user = user;
        s.password = user.isEmpty() ? QString() : user + QStringLiteral("-secret");
        s.clientId = QStringLiteral("probe-%1").arg(quintptr(this));
        client = new MqttClient(s, QByteArray(), QByteArray(), this);
        connect(client, &MqttClient::connected, this, [this]() { client->subscribe(m_pattern); });
        connect(client, &MqttClient::messageReceived, this,
            [this](const QByteArray &topic, const QByteArray &payload, bool) {
                last.insert(topic, payload);
                messages.append(qMakePair(topic, payload));
            });
        client->start();
    }

    /// Runs the event loop until \a topic holds \a payload; false after \a ms.
    bool waitFor(const QByteArray &topic, const QByteArray &payload, int ms)
    {
        return spinUntil([&]() { return last.value(topic) == payload; }, ms);
    }

    /// The payloads of the messages on \a topic from the \a from-th message on.
    QList<QByteArray> payloads(const QByteArray &topic, qsizetype from = 0) const
    {
        QList<QByteArray> found;
        for (qsizetype i = from; i < messages.size(); ++i) {
            if (messages.at(i).first == topic)
                found.append(messages.at(i).second);
        }
        return found;
    }

    MqttClient *client = nullptr;
    QHash<QByteArray, QByteArray> last;
    QList<QPair<QByteArray, QByteArray>> messages;

private:
    QByteArray m_pattern;
};
