#include "frontends/gpibconnection.h"

#include "frontends/gpib-standin/gpibwire.h"
#include "frontends/gpibdevice.h"
#include "frontends/gpibfrontend.h"
#include "simlog.h"

#include <QLocalSocket>

namespace vornsim {

namespace {
constexpr int maxHeader = 128;
constexpr qint64 maxPayload = 16 * 1024 * 1024;
} // namespace

GpibConnection::GpibConnection(QLocalSocket *socket, GpibFrontEnd *bus)
    : QObject(bus)
    , m_socket(socket)
    , m_bus(bus)
{
    socket->setParent(this);
    m_readTimeout.setSingleShot(true);
    m_readTimeout.setTimerType(Qt::PreciseTimer);
    connect(&m_readTimeout, &QTimer::timeout, this, [this]() {
        if (!m_reading)
            return;
        m_reading = false;
        reply(gpibwire::ERR | gpibwire::TIMO, gpibwire::EABO, 0);
        process();
    });
    connect(socket, &QLocalSocket::readyRead, this, &GpibConnection::onReadyRead);
    connect(socket, &QLocalSocket::disconnected, this, &QObject::deleteLater);
}

void GpibConnection::onReadyRead()
{
    m_input += m_socket->readAll();
    process();
}

void GpibConnection::process()
{
    // The stand-in sends one request and waits; requests behind a waiting read stay queued.
    while (!m_reading) {
        const int lf = m_input.indexOf('\n');
        if (lf < 0) {
            if (m_input.size() > maxHeader) {
                qCDebug(lcSim) << "GPIB client sent garbage; closing";
                m_socket->abort();
            }
            return;
        }
        const QList<QByteArray> fields = m_input.left(lf).split(' ');
        bool ok = fields.size() == 5;
        Request r;
        qint64 length = 0;
        if (ok) {
            bool okPad = false, ok1 = false, ok2 = false, okLen = false;
            r.verb = fields.at(0);
            r.pad = fields.at(1).toInt(&okPad);
            r.arg1 = fields.at(2).toLongLong(&ok1);
            r.arg2 = fields.at(3).toLongLong(&ok2);
            length = fields.at(4).toLongLong(&okLen);
            ok = okPad && ok1 && ok2 && okLen && length >= 0 && length <= maxPayload;
        }
        if (!ok) {
            qCDebug(lcSim) << "GPIB client sent a bad request; closing";
            m_socket->abort();
            return;
        }
        if (m_input.size() < lf + 1 + length)
            return;
        r.payload = m_input.mid(lf + 1, int(length));
        m_input.remove(0, lf + 1 + int(length));
        handle(r);
    }
}

void GpibConnection::handle(const Request &r)
{
    using namespace gpibwire;
    if (r.verb == "DEV") {
        reply(CMPL, 0, 0);
    } else if (r.verb == "CLR") {
        if (m_bus->deviceClear(r.pad))
            reply(CMPL, 0, 0);
        else
            reply(ERR, ENOL, 0);
    } else if (r.verb == "WRT") {
        if (m_bus->write(r.pad, r.payload, r.arg1 != 0))
            reply(CMPL, 0, r.payload.size());
        else
            reply(ERR, ENOL, 0);
    } else if (r.verb == "RD") {
        m_reading = true;
        m_readPad = r.pad;
        m_readCount = qMax<qint64>(0, r.arg1);
        if (!finishRead() && r.arg2 > 0)
            m_readTimeout.start(int(qMin<qint64>(r.arg2, 0x7fffffff)));
    } else if (r.verb == "LSN") {
        QList<QByteArray> list;
        const QList<int> pads = m_bus->addresses();
        for (int pad : pads)
            list << QByteArray::number(pad);
        reply(CMPL, 0, pads.size(), list.join(' '));
    } else if (r.verb == "IFC") {
        m_bus->interfaceClear();
        reply(CMPL, 0, 0);
    } else {
        reply(ERR, EARG, 0);
    }
}

bool GpibConnection::finishRead()
{
    GpibDevice *d = m_bus->device(m_readPad);
    if (!m_reading || !d || d->output.isEmpty())
        return false;
    const QByteArray bytes = d->output.left(int(qMin<qint64>(m_readCount, d->output.size())));
    d->output.remove(0, int(bytes.size()));
    const bool end = d->output.isEmpty() && !bytes.isEmpty(); // EOI with the last byte
    m_reading = false;
    m_readTimeout.stop();
    reply(gpibwire::CMPL | (end ? gpibwire::END : 0), 0, bytes.size(), bytes);
    return true;
}

void GpibConnection::outputArrived(int pad)
{
    if (m_reading && pad == m_readPad && finishRead())
        process();
}

void GpibConnection::reply(int sta, int err, qint64 cnt, const QByteArray &payload)
{
    m_socket->write(QByteArray::number(sta) + ' ' + QByteArray::number(err) + ' '
        + QByteArray::number(cnt) + ' ' + QByteArray::number(payload.size()) + '\n' + payload);
}

} // namespace vornsim
