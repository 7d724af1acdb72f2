#include "metricsserver.h"

#include <QHttpServerRequest>
#include <QHttpServerResponder>
#include <QTcpServer>

namespace {

using Status = QHttpServerResponder::StatusCode;

/// Prometheus' text exposition format.
const QByteArray MetricsType = QByteArrayLiteral("text/plain; version=0.0.4; charset=utf-8");
const QByteArray TextType = QByteArrayLiteral("text/plain; charset=utf-8");

} // namespace

MetricsServer::MetricsServer(std::function<QByteArray()> metrics, Health health, QObject *parent)
    : QAbstractHttpServer(parent)
    , m_metrics(std::move(metrics))
    , m_health(std::move(health))
{
}

bool MetricsServer::listenOn(const QHostAddress &address, quint16 port, QString *error)
{
    auto *server = new QTcpServer(this);
    if (!server->listen(address, port)) {
        *error = server->errorString();
        delete server;
        return false;
    }
    bind(server);
    return true;
}

bool MetricsServer::handleRequest(const QHttpServerRequest &request, QTcpSocket *socket)
{
    const QString path = request.url().path();
    if (path != QLatin1String("/metrics") && path != QLatin1String("/healthz"))
        return false;
    QHttpServerResponder responder = makeResponder(request, socket);
    if (request.method() != QHttpServerRequest::Method::Get) {
        responder.write("only GET\n", TextType, Status::MethodNotAllowed);
        return true;
    }
    if (path == QLatin1String("/metrics")) {
        responder.write(m_metrics(), MetricsType);
        return true;
    }
    const QString problem = m_health();
    responder.write(problem.isEmpty() ? QByteArrayLiteral("ok\n") : problem.toUtf8() + '\n',
        TextType, problem.isEmpty() ? Status::Ok : Status::ServiceUnavailable);
    return true;
}

void MetricsServer::missingHandler(const QHttpServerRequest &request, QTcpSocket *socket)
{
    makeResponder(request, socket)
        .write("not found: /metrics and /healthz only\n", TextType, Status::NotFound);
}
