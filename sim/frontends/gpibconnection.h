#pragma once

#include <QByteArray>
#include <QObject>
#include <QTimer>

class QLocalSocket;

namespace vornsim {

class GpibFrontEnd;

/// One client of the GPIB front end (one process using the stand-in library). Parses request
/// frames, acts on the bus and replies; a read without output waits for it up to the time-out.
class GpibConnection : public QObject
{
    Q_OBJECT

public:
    /// Takes ownership of `socket`; deletes itself when the client goes.
    GpibConnection(QLocalSocket *socket, GpibFrontEnd *bus);

    /// Called by the bus when the device at `pad` has new output.
    void outputArrived(int pad);

private:
    struct Request
    {
        QByteArray verb;
        int pad = 0;
        qint64 arg1 = 0;
        qint64 arg2 = 0;
        QByteArray payload;
    };

    void onReadyRead();
    void process();
    void handle(const Request &request);
    void reply(int sta, int err, qint64 cnt, const QByteArray &payload = QByteArray());
    bool finishRead();
    void writeToDevice(int pad, const QByteArray &data, bool eoi);

    QLocalSocket *m_socket = nullptr;
    GpibFrontEnd *m_bus = nullptr;
    QByteArray m_input;
    bool m_reading = false; ///< a read waits for output
    int m_readPad = 0;
    qint64 m_readCount = 0;
    QTimer m_readTimeout;
};

} // namespace vornsim
