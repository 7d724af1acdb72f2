#pragma once

#include "spin.h"

#include <QFile>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QPair>
#include <QTcpServer>

#include <memory>

/// An HTTP request to a port of this machine (the bridge's metrics, a monitoring server); the
/// status code (0 for none within 10 s) and the body.
inline QPair<int, QByteArray> httpRequest(
    quint16 port, const QByteArray &path, const QByteArray &method = "GET")
{
    QNetworkAccessManager manager;
    const QNetworkRequest request(
        QUrl(QStringLiteral("http://127.0.0.1:%1").arg(port) + QString::fromLatin1(path)));
    std::unique_ptr<QNetworkReply> reply(manager.sendCustomRequest(request, method));
    if (!spinUntil([&]() { return reply->isFinished(); }, 10000))
        return { 0, QByteArray() };
    return { reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(), reply->readAll() };
}

/// The value of the sample \a name (with its labels) in metrics \a text; -1 when it is missing.
inline double metricIn(const QByteArray &text, const QByteArray &name)
{
    for (const QByteArray &line : text.split('\n')) {
        if (line.startsWith(name + ' '))
            return line.mid(name.size() + 1).toDouble();
    }
    return -1.0;
}

/// The sample \a name of the bridge whose metrics are on \a port; -1 when it is missing.
inline double scrapeMetric(quint16 port, const QByteArray &name)
{
    return metricIn(httpRequest(port, "/metrics").second, name);
}

/// The resident memory of process \a pid in KiB ("self" for this one); -1 when unknown.
inline long residentKiB(const QString &pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    }
    return -1;
}

/// A free TCP port on the loopback address (free when asked).
inline quint16 freeLoopbackPort()
{
    QTcpServer probe;
    return probe.listen(QHostAddress::LocalHost, 0) ? probe.serverPort() : 0;
}
