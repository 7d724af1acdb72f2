#pragma once

#include "spin.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

/// mosquitto_sub as a persistent QoS 1 subscriber of its own (clean session off, a fixed client
/// id), as a lab's archiver of "events" would be: it reconnects by itself after the broker
/// comes back, and prints its debug lines and every payload line by line.
class PersistentSubscriber
{
public:
    ~PersistentSubscriber() { stop(); }

    /// Subscribes \a topic on the broker at \a port as \a clientId; true once subscribed.
    bool start(quint16 port, const QString &clientId, const QString &topic)
    {
        process.setProcessChannelMode(QProcess::MergedChannels);
        // Line by line, not when it ends.
        process.start(QStringLiteral("stdbuf"),
            { QStringLiteral("-oL"), QStringLiteral("mosquitto_sub"), QStringLiteral("-d"),
                QStringLiteral("-p"), QString::number(port), QStringLiteral("-c"),
                QStringLiteral("-q"), QStringLiteral("1"), QStringLiteral("-i"), clientId,
                QStringLiteral("-t"), topic });
        return spinUntil([this]() { return subscriptions() > 0; }, 10000);
    }

    /// Everything printed so far.
    const QByteArray &read()
    {
        log += process.readAll();
        return log;
    }
    /// Subscriptions the broker has acknowledged, one per connection.
    qsizetype subscriptions() { return read().count("received SUBACK"); }

    void stop()
    {
        if (process.state() == QProcess::NotRunning)
            return;
        process.terminate();
        process.waitForFinished(3000);
    }

    QProcess process;
    QByteArray log;
};

/// "serial/channel" of a trip's entry on "events", or empty for any other line. A trip that
/// the event word shows before the status word is its entry as ETRP, and only once.
inline QByteArray tripOf(const QByteArray &line)
{
    const QJsonObject entry = QJsonDocument::fromJson(line).object();
    const QJsonArray rose = entry[QLatin1String("rose")].toArray();
    if (!rose.contains(QStringLiteral("isTRP")) && !rose.contains(QStringLiteral("ETRP")))
        return QByteArray();
    return QByteArray::number(entry[QLatin1String("serial")].toInt()) + '/'
        + QByteArray::number(entry[QLatin1String("channel")].toInt());
}
