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
        const char *name = master >= 0 && grantpt(master) == 0 && unlockpt(master) == 0
            ? ptsname(master)
            : nullptr;
        if (!name)
            return;
        slavePath = QString::fromLocal8Bit(name);
        termios raw = settings();
        cfmakeraw(&raw);
        tcsetattr(master, TCSANOW, &raw);
        // Holding the slave open keeps the master readable without hang-ups between links.
        slaveHold = ::open(name, O_RDWR | O_NOCTTY);
        notifier = std::make_unique<QSocketNotifier>(master, QSocketNotifier::Read);
        connect(notifier.get(), &QSocketNotifier::activated, this, [this] {
            char buffer[512];
            const ssize_t n = ::read(master, buffer, sizeof buffer);
            if (n <= 0)
                return;
            const QByteArray chunk(buffer, int(n));
            received.append(chunk);
            chunkSizes.append(int(n));
            if (onBytes)
                onBytes(chunk);
        });
    }
    ~PtyPeer() override
    {
        notifier.reset();
        for (int fd : { slaveHold, master })
            if (fd >= 0)
                ::close(fd);
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
        for (qint64 done = 0, n = 0; done < bytes.size(); done += n)
            if ((n = ::write(master, bytes.constData() + done, size_t(bytes.size() - done))) <= 0)
                return;
    }

    /// Every byte the link wrote, in order.
    QByteArray received;
    /// Size of each chunk as it arrived.
    QList<int> chunkSizes;
    /// Called with each chunk after it is recorded.
    std::function<void(const QByteArray &chunk)> onBytes;

private:
    int master = -1;
    int slaveHold = -1;
    QString slavePath;
    std::unique_ptr<QSocketNotifier> notifier;
};
