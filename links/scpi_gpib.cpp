#include "scpi_gpib.h"

#include "gpib488loader.h"

#include <QTimer>

using namespace Gpib488;

namespace {

/// Delay between a write and the read of its answer: the bus has no data-arrival signal.
constexpr int AnswerDelayMs = 20;
/// Addresses searched by the bus scan (0 is the controller).
constexpr int ScanAddresses = 30;
/// Bytes one scan reply may have.
constexpr int ScanReplyBytes = 255;

bool failed(int status)
{
    return (status & ERR) != 0;
}

} // namespace

SCPI_Gpib::SCPI_Gpib(QObject *parent)
    : SCPI_Parser(parent)
{
}

SCPI_Gpib::~SCPI_Gpib()
{
    // The owner normally calls disconnectDevice() first; leaving the descriptor open would
    // keep the device addressed by a program that no longer talks to it.
    if (m_deviceDescriptor > 0)
        Gpib488Loader::ibonl(m_deviceDescriptor, 0);
}

bool SCPI_Gpib::connectDevice()
{
    answerCount = 0;
    m_deviceDescriptor = Gpib488Loader::ibdev(0, m_primaryAddress, 0, T300ms, 0, 0);
    if (failed(Gpib488Loader::ThreadIbsta())) {
        qCDebug(lcGpib) << "ibdev Error";
        return false;
    }
    Gpib488Loader::ibclr(m_deviceDescriptor);
    if (failed(Gpib488Loader::ThreadIbsta())) {
        qCDebug(lcGpib) << "ibclr Error";
        return false;
    }
    Gpib488Loader::ibconfig(m_deviceDescriptor, IbcEOT, 1);
    return true;
}

void SCPI_Gpib::disconnectDevice()
{
    // A descriptor from a failed ibdev is negative; there is nothing to take offline then.
    if (m_deviceDescriptor > 0)
        Gpib488Loader::ibonl(m_deviceDescriptor, 0);
    m_deviceDescriptor = 0;
}

bool SCPI_Gpib::isConnected() const
{
    return m_deviceDescriptor > 0;
}

QString SCPI_Gpib::interfaceName() const
{
    return QStringLiteral("GPIB:%1").arg(m_primaryAddress);
}

void SCPI_Gpib::sendCommand(quint16 code, const QString &command)
{
    const QByteArray bytes = command.toLocal8Bit();
    if (m_deviceDescriptor != 0) {
        Gpib488Loader::ibwrt(m_deviceDescriptor, bytes.constData(), bytes.size());
        if (failed(Gpib488Loader::ThreadIbsta())) {
            qCDebug(lcGpib) << "ibwrt Error";
            requestCode = 0;
            return;
        }
    }
    requestCode = code;
    QTimer::singleShot(AnswerDelayMs, this, &SCPI_Gpib::onAnswerReady);
}

bool SCPI_Gpib::readAnswer(QByteArray &answer)
{
    if (m_deviceDescriptor == 0) {
        // Only a request sent before connectDevice() gets here: complete it with an empty
        // answer rather than with bytes nobody read.
        answer.clear();
        return true;
    }
    answer.resize(MaxAnswerBytes);
    Gpib488Loader::ibrd(m_deviceDescriptor, answer.data(), MaxAnswerBytes);
    if (failed(Gpib488Loader::ThreadIbsta())) {
        qCDebug(lcGpib) << "ibrd Error";
        return false;
    }
    answer.resize(qBound(0, Gpib488Loader::ThreadIbcnt(), MaxAnswerBytes));
    return true;
}

QStringList SCPI_Gpib::scanGpibBus()
{
    QStringList instruments;
    unsigned short addresses[ScanAddresses + 1];
    for (int i = 0; i < ScanAddresses; ++i)
        addresses[i] = static_cast<unsigned short>(i + 1);
    addresses[ScanAddresses] = NOADDR;
    unsigned short found[32] = {};

    Gpib488Loader::SendIFC(0);
    Gpib488Loader::FindLstn(0, addresses, found, ScanAddresses);

    // The driver ends the result with NOADDR, which reads as -1; an untouched entry stays 0.
    for (const unsigned short entry : found) {
        const int address = static_cast<qint16>(entry);
        if (address <= 0)
            break;
        const int descriptor = Gpib488Loader::ibdev(0, address, 0, T300ms, 1, 0);
        static const char query[] = "*IDN?\n";
        Gpib488Loader::ibwrt(descriptor, query, sizeof(query) - 1);
        char reply[ScanReplyBytes + 1] = {};
        Gpib488Loader::ibrd(descriptor, reply, ScanReplyBytes);
        // A listener that does not answer still belongs in the list, with an empty identity.
        const int count = qBound(0, Gpib488Loader::ThreadIbcnt(), ScanReplyBytes);
        const QString identity = QString::fromLatin1(reply, count).simplified();
        instruments.append(QString::number(address) + QLatin1Char(' ') + identity);
        Gpib488Loader::ibonl(descriptor, 0);
    }
    // The interface lists are scanned every few seconds while nothing is connected.
    qCDebug(lcGpibRepeat) << "bus scan found" << instruments.size() << "instruments";
    return instruments;
}
