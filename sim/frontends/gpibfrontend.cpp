#include "frontends/gpibfrontend.h"

#include "frontends/gpibconnection.h"
#include "frontends/gpibdevice.h"
#include "model/simmodule.h"
#include "simlog.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QTimer>

namespace vornsim {

namespace {
// An endless answer on GPIB is a very long one without CR LF; reads take it in pieces.
constexpr qint64 endlessGpibBytes = 1024 * 1024;
} // namespace

GpibFrontEnd::GpibFrontEnd(QObject *parent)
    : QObject(parent)
    , m_server(new QLocalServer(this))
{
    connect(m_server, &QLocalServer::newConnection, this, &GpibFrontEnd::onNewConnection);
}

GpibFrontEnd::~GpibFrontEnd()
{
    m_server->close();
}

void GpibFrontEnd::addModule(int pad, SimModule *module)
{
    m_devices.insert(pad, std::make_shared<GpibDevice>(module, &m_faults));
}

void GpibFrontEnd::addSilentListener(int pad)
{
    m_devices.insert(pad, std::make_shared<GpibDevice>(nullptr, &m_faults));
}

bool GpibFrontEnd::listen(const QString &path)
{
    QLocalServer::removeServer(path);
    return m_server->listen(path);
}

QString GpibFrontEnd::socketPath() const
{
    return m_server->fullServerName();
}

QString GpibFrontEnd::errorString() const
{
    return m_server->errorString();
}

QList<int> GpibFrontEnd::addresses() const
{
    return m_devices.keys();
}

GpibDevice *GpibFrontEnd::device(int pad) const
{
    return m_devices.value(pad).get();
}

void GpibFrontEnd::onNewConnection()
{
    while (QLocalSocket *socket = m_server->nextPendingConnection()) {
        auto *connection = new GpibConnection(socket, this);
        m_connections << connection;
        connect(connection, &QObject::destroyed, this,
            [this, connection]() { m_connections.removeAll(connection); });
    }
}

void GpibFrontEnd::interfaceClear()
{
    for (const std::shared_ptr<GpibDevice> &d : std::as_const(m_devices)) {
        d->input.clear();
        d->output.clear();
        ++d->generation;
    }
}

bool GpibFrontEnd::deviceClear(int pad)
{
    const std::shared_ptr<GpibDevice> d = m_devices.value(pad);
    if (!d)
        return false;
    d->input.clear();
    d->output.clear();
    ++d->generation;
    return true;
}

bool GpibFrontEnd::write(int pad, const QByteArray &data, bool eoi)
{
    const std::shared_ptr<GpibDevice> d = m_devices.value(pad);
    if (!d)
        return false;
    // A new command makes an instrument forget output nobody has read.
    d->output.clear();
    ++d->generation;
    QList<LineBuffer::Line> lines = d->input.append(data);
    LineBuffer::Line last;
    if (eoi && d->input.takePending(&last))
        lines << last;
    for (const LineBuffer::Line &line : std::as_const(lines)) {
        if (line.overlong) {
            answer(pad, d, QByteArrayLiteral("ERROR\r\n"));
            continue;
        }
        emit lineReceived(pad, line.text);
        if (d->module)
            answer(pad, d, d->module->handleLine(line.text));
    }
    return true;
}

void GpibFrontEnd::answer(int pad, const std::shared_ptr<GpibDevice> &d, const QByteArray &text)
{
    if (text.isEmpty())
        return;
    QByteArray bytes;
    switch (d->plan.nextAnswer()) {
    case FaultPlan::Action::Send:
        bytes = text;
        break;
    case FaultPlan::Action::Drop:
        qCDebug(lcSim) << "GPIB answer dropped at" << pad;
        return;
    case FaultPlan::Action::Garbage:
        bytes = FaultPlan::garbage(int(text.size()));
        break;
    case FaultPlan::Action::Endless: {
        const qint64 size = qMin(endlessGpibBytes, m_faults.endlessBytes);
        static const QByteArray pattern = QByteArrayLiteral("1.00000E3V,");
        while (bytes.size() < size)
            bytes += pattern;
        bytes.truncate(size);
        break;
    }
    }
    if (m_faults.answerDelayMs <= 0) {
        d->output += bytes;
        notifyOutput(pad);
        return;
    }
    const quint64 generation = d->generation;
    QTimer::singleShot(m_faults.answerDelayMs, this, [this, pad, d, bytes, generation]() {
        if (d->generation != generation)
            return;
        d->output += bytes;
        notifyOutput(pad);
    });
}

void GpibFrontEnd::notifyOutput(int pad)
{
    const QList<GpibConnection *> connections = m_connections;
    for (GpibConnection *c : connections)
        c->outputArrived(pad);
}

} // namespace vornsim
