#include "scpi_serial.h"

#include <QSerialPort>
#include <QSerialPortInfo>
#include <algorithm>

Q_LOGGING_CATEGORY(lcSerial, "vorn.links.serial")

namespace {

const QByteArray LineEnd = QByteArrayLiteral("\r\n");

/// Compares names so that runs of digits count as numbers: "ttyS2" < "ttyS10".
int compareNaturally(const QString &a, const QString &b)
{
    int i = 0;
    int j = 0;
    while (i < a.size() && j < b.size()) {
        if (a.at(i).isDigit() && b.at(j).isDigit()) {
            int endA = i;
            while (endA < a.size() && a.at(endA).isDigit())
                ++endA;
            int endB = j;
            while (endB < b.size() && b.at(endB).isDigit())
                ++endB;
            // Compare digit runs by value without converting: strip leading zeros, then the
            // longer run is larger, then compare digit by digit.
            int startA = i;
            while (startA < endA - 1 && a.at(startA) == QLatin1Char('0'))
                ++startA;
            int startB = j;
            while (startB < endB - 1 && b.at(startB) == QLatin1Char('0'))
                ++startB;
            const int lengthA = endA - startA;
            const int lengthB = endB - startB;
            if (lengthA != lengthB)
                return lengthA < lengthB ? -1 : 1;
            const int digits
                = QStringView(a).mid(startA, lengthA).compare(QStringView(b).mid(startB, lengthB));
            if (digits != 0)
                return digits;
            i = endA;
            j = endB;
            continue;
        }
        if (a.at(i) != b.at(j))
            return a.at(i) < b.at(j) ? -1 : 1;
        ++i;
        ++j;
    }
    if (i < a.size())
        return 1;
    if (j < b.size())
        return -1;
    return 0;
}

} // namespace

SCPI_Serial::SCPI_Serial(QObject *parent)
    : SCPI_Parser(parent)
    , serialPort(std::make_unique<QSerialPort>())
{
    serialPort->setBaudRate(QSerialPort::Baud9600);
    serialPort->setFlowControl(QSerialPort::NoFlowControl);
    serialPort->setParity(QSerialPort::NoParity);
    serialPort->setDataBits(QSerialPort::Data8);
    serialPort->setStopBits(QSerialPort::OneStop);
    serialPort->setPortName(m_portName);
    connect(serialPort.get(), &QSerialPort::readyRead, this, &SCPI_Serial::onAnswerReady);
    connect(serialPort.get(), &QSerialPort::errorOccurred, this,
        [this](QSerialPort::SerialPortError error) { portFailed(error); });
}

SCPI_Serial::~SCPI_Serial()
{
    // The owner normally calls disconnectDevice() first; if not, release the device node so
    // the next link can open it.
    if (serialPort && serialPort->isOpen())
        serialPort->close();
}

void SCPI_Serial::setPortName(const QString &name)
{
    m_portName = name;
    if (serialPort)
        serialPort->setPortName(name);
}

void SCPI_Serial::setCharacterEcho(bool on)
{
    qCDebug(lcSerial) << "character echo" << (on ? "on" : "off");
    m_characterEcho = on;
}

bool SCPI_Serial::connectDevice()
{
    answerCount = 0;
    if (!serialPort)
        return false;
    // Closing a closed port only records "not open"; clear that so it cannot fail the open.
    if (serialPort->isOpen())
        serialPort->close();
    serialPort->clearError();
    // The port reads through its own buffer; readyRead() reports every arrival, which is what
    // the byte-wise echo check needs.
    serialPort->open(QIODevice::ReadWrite);
    if (serialPort->isOpen())
        return serialPort->error() == QSerialPort::NoError;
    qCDebug(lcSerial).noquote() << QStringLiteral("connection error: ") + serialPort->errorString();
    return false;
}

void SCPI_Serial::disconnectDevice()
{
    if (serialPort && serialPort->isOpen())
        serialPort->close();
    serialPort.reset();
}

void SCPI_Serial::portFailed(int error)
{
    // Errors while opening are reported by connectDevice(); only a port that was working counts.
    if ((error != QSerialPort::ResourceError && error != QSerialPort::ReadError) || !serialPort
        || !serialPort->isOpen())
        return;
    if (!failureTraced) {
        failureTraced = true;
        // The system's reason can be stale when the port simply ended; say what happened too.
        qCDebug(lcSerial).noquote()
            << QStringLiteral("connection error: port lost (%1)").arg(serialPort->errorString());
    }
    // The port reports readiness again at every pass of the event loop until it is closed. It is
    // closed after the current notification has returned; the module then counts as silent.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (serialPort && serialPort->isOpen())
                serialPort->close();
        },
        Qt::QueuedConnection);
}

bool SCPI_Serial::isConnected() const
{
    return serialPort && serialPort->isOpen();
}

QString SCPI_Serial::interfaceName() const
{
    return m_portName;
}

void SCPI_Serial::sendCommand(quint16 code, const QString &command)
{
    if (serialPort && !serialPort->isOpen())
        serialPort->open(QIODevice::ReadWrite);
    requestCode = code;
    lastCommand = command.toLatin1();
    if (!lastCommand.endsWith(LineEnd))
        lastCommand.append(LineEnd);
    qCDebug(lcSerial) << "send" << lastCommand;

    if (!m_characterEcho) {
        if (serialPort) {
            serialPort->write(lastCommand);
            serialPort->flush();
        }
        return;
    }
    m_echoPhase = EchoPhase::Echo;
    echoIndex = 0;
    writeNextCommandByte();
}

void SCPI_Serial::writeNextCommandByte()
{
    if (!serialPort)
        return;
    if (echoIndex >= lastCommand.size()) {
        m_echoPhase = EchoPhase::Answer;
        return;
    }
    echoByte = lastCommand.at(echoIndex);
    serialPort->write(&echoByte, 1);
}

bool SCPI_Serial::readAnswer(QByteArray &answer)
{
    if (!serialPort)
        return false;
    return m_characterEcho ? readEchoedAnswer(answer) : readLineAnswer(answer);
}

bool SCPI_Serial::readLineAnswer(QByteArray &answer)
{
    answer.append(serialPort->readAll());
    if (answer.startsWith(lastCommand))
        answer.remove(0, lastCommand.size());
    return answer.endsWith(LineEnd);
}

bool SCPI_Serial::readEchoedAnswer(QByteArray &answer)
{
    if (m_echoPhase == EchoPhase::Echo) {
        // Each read during the echo phase is expected to carry the echo of the one byte in
        // flight. A second byte in the same read is a late or stray byte, not an answer, and
        // is dropped with the buffer at the next read.
        answer = serialPort->readAll();
        if (!answer.isEmpty() && answer.at(0) == echoByte) {
            ++echoIndex;
            writeNextCommandByte();
        } else {
            qCDebug(lcSerial).noquote()
                << "Error: echo is not correct. Echo:" << QString::fromLatin1(answer);
        }
        if (!answer.isEmpty())
            answer.remove(0, 1);
    }
    if (m_echoPhase == EchoPhase::Answer) {
        answer.append(serialPort->readAll());
        // A lone LF after the full echo means the module lost the line: send it all again.
        if (answer == "\n") {
            m_echoPhase = EchoPhase::Echo;
            echoIndex = 0;
            writeNextCommandByte();
        }
        if (answer.endsWith(LineEnd)) {
            m_echoPhase = EchoPhase::Idle;
            return true;
        }
    }
    return false;
}

QStringList SCPI_Serial::listSerialPorts()
{
    QStringList names;
    const QList<QSerialPortInfo> ports = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo &port : ports)
        names.append(port.portName());
    return sortSerialPortNames(names);
}

int SCPI_Serial::serialPortNumber(const QString &name)
{
    // Without "COM", indexOf() gives -1 and the number is read from the third character on.
    const int at = name.indexOf(QLatin1String("COM"));
    bool ok = false;
    const int number = name.mid(at + 3).toInt(&ok, 10);
    return ok ? number : 0;
}

QStringList SCPI_Serial::sortSerialPortNames(QStringList names)
{
    std::stable_sort(names.begin(), names.end(), [](const QString &a, const QString &b) {
        const int numberA = serialPortNumber(a);
        const int numberB = serialPortNumber(b);
        if (numberA != numberB)
            return numberA < numberB;
        const int natural = compareNaturally(a, b);
        if (natural != 0)
            return natural < 0;
        return a < b;
    });
    return names;
}
