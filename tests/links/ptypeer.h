#pragma once

#include <QByteArray>
#include <QObject>
#include <QSocketNotifier>
#include <QString>
#include <fcntl.h>
#include <functional>
#include <memory>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

/// The device end of a pseudo-terminal pair, for tests that need exact control over every byte
/// a serial link sees. The link opens path(); whatever it writes arrives at onBytes in chunks
/// as the terminal delivers them, and send() answers.
class PtyPeer : public QObject
{
public:
    PtyPeer()
    {
        master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0)
            return;
        const char *name = ptsname(master);
        if (!name)
            return;
        slavePath = QString::fromLocal8Bit(name);
        termios raw {};
        tcgetattr(master, &raw);
        cfmakeraw(&raw);
        tcsetattr(master, TCSANOW, &raw);
        // Holding the slave open keeps the master readable without hang-ups between links.
        slaveHold = ::open(name, O_RDWR | O_NOCTTY);
        notifier = std::make_unique<QSocketNotifier>(master, QSocketNotifier::Read);
        connect(notifier.get(), &QSocketNotifier::activated, this, &PtyPeer::readMaster);
    }
    ~PtyPeer() override
    {
        notifier.reset();
        if (slaveHold >= 0)
            ::close(slaveHold);
        if (master >= 0)
            ::close(master);
    }

    bool isOpen() const { return slaveHold >= 0 && !slavePath.isEmpty(); }
    QString path() const { return slavePath; }
    /// The line settings the link's side of the terminal currently has.
    termios settings() const
    {
        termios current {};
        tcgetattr(master, &current);
        return current;
    }

    void send(const QByteArray &bytes)
    {
        qint64 done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::write(master, bytes.constData() + done, bytes.size() - done);
            if (n <= 0)
                return;
            done += n;
        }
    }

    /// Every byte the link wrote, in order.
    QByteArray received;
    /// Size of each chunk as it arrived.
    QList<int> chunkSizes;
    /// Called with each chunk after it is recorded.
    std::function<void(const QByteArray &chunk)> onBytes;

private:
    void readMaster()
    {
        char buffer[512];
        const ssize_t n = ::read(master, buffer, sizeof buffer);
        if (n <= 0)
            return;
        const QByteArray chunk(buffer, int(n));
        received.append(chunk);
        chunkSizes.append(int(n));
        if (onBytes)
            onBytes(chunk);
    }

    int master = -1;
    int slaveHold = -1;
    QString slavePath;
    std::unique_ptr<QSocketNotifier> notifier;
};
