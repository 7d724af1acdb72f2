#pragma once

#include <QString>

/// Where and how an MQTT client reaches its broker.
struct BrokerSettings
{
    QString host = QStringLiteral("127.0.0.1");
    int port = 1883;
    /// The client's id, which also names its session on the broker; never empty (the client
    /// keeps its session under it). Give every program, and every machine it runs on, an id of
    /// its own, or they push each other off the broker.
    QString clientId;
    QString user;
    QString password;
    bool tls = false;
    QString caFile;
    QString certFile;
    QString keyFile;
    int keepAlive = 30;

    bool operator==(const BrokerSettings &o) const
    {
        return host == o.host && port == o.port && clientId == o.clientId && user == o.user
            && password == o.password && tls == o.tls && caFile == o.caFile
            && certFile == o.certFile && keyFile == o.keyFile && keepAlive == o.keepAlive;
    }
};
