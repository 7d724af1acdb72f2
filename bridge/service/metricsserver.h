#pragma once

#include <QAbstractHttpServer>
#include <QByteArray>
#include <QHostAddress>

#include <functional>

/// Serves the bridge's metrics over HTTP, read-only: GET "/metrics" answers the text
/// of the metrics function in the Prometheus text format, "/healthz" "ok" (200) while the
/// health function says so and its reason (503) otherwise. Every other path is 404, every
/// other method 405; nothing is ever changed through it.
class MetricsServer : public QAbstractHttpServer
{
    Q_OBJECT

public:
    /// What /healthz says: empty when healthy, else why not.
    using Health = std::function<QString()>;

    MetricsServer(std::function<QByteArray()> metrics, Health health, QObject *parent = nullptr);

    /// Listens on \a address and \a port; false (with the reason in \a error) when it cannot.
    bool listenOn(const QHostAddress &address, quint16 port, QString *error);

protected:
    bool handleRequest(const QHttpServerRequest &request, QTcpSocket *socket) override;
    void missingHandler(const QHttpServerRequest &request, QTcpSocket *socket) override;

private:
    std::function<QByteArray()> m_metrics;
    Health m_health;
};
