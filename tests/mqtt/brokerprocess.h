#pragma once

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>

#include <pwd.h>
#include <unistd.h>

/// A mosquitto broker of the test's own: loopback only, anonymous, with a configuration in a
/// temporary folder; no persistence, unless asked for (then saved to that folder every second,
/// so that a broker that is killed keeps nearly everything). It never touches a system-wide
/// broker or service.
class BrokerProcess
{
public:
    /// How often a persistent broker saves.
    static constexpr int AutosaveMs = 1000;

    ~BrokerProcess() { stop(); }

    static QString program()
    {
        return QStandardPaths::findExecutable(QStringLiteral("mosquitto"),
            { QStringLiteral("/usr/sbin"), QStringLiteral("/usr/local/sbin"),
                QStringLiteral("/usr/bin") });
    }

    /// Before start(): keeps retained messages, sessions and queued messages in its folder,
    /// saved every second and when it ends, and read again by the next start.
    void setPersistent(bool persistent) { m_persistent = persistent; }

    /// Starts on \a port (0: a free one) with \a listenerOptions added to the listener (for
    /// TLS); true once the broker accepts connections.
    bool start(quint16 port = 0, const QByteArray &listenerOptions = QByteArray())
    {
        QTcpServer probe;
        if (port == 0 && probe.listen(QHostAddress::LocalHost, 0))
            port = probe.serverPort();
        probe.close();
        m_port = port;
        QFile file(m_dir.filePath(QStringLiteral("mosquitto.conf")));
        if (port == 0 || !file.open(QIODevice::WriteOnly))
            return false;
        // Started by root, the broker would drop to its own user, which cannot read the test's
        // files: it stays the user that runs the test.
        const passwd *user = getpwuid(geteuid());
        file.write(QByteArray("user ") + (user ? user->pw_name : "root") + '\n');
        file.write(QStringLiteral("listener %1 127.0.0.1\n").arg(port).toLatin1() + listenerOptions
            + "allow_anonymous true\nlog_dest stderr\nlog_type error\n");
        if (m_persistent)
            file.write("persistence true\nautosave_interval "
                + QByteArray::number(AutosaveMs / 1000) + "\npersistence_location "
                + m_dir.path().toLocal8Bit() + "/\n");
        else
            file.write("persistence false\n");
        file.close();
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start(program(), { QStringLiteral("-c"), file.fileName() });
        for (int i = 0; i < 100 && m_process.waitForStarted(5000); ++i) {
            QTcpSocket socket;
            socket.connectToHost(QHostAddress::LocalHost, port);
            if (socket.waitForConnected(100))
                return true;
            if (m_process.waitForFinished(50))
                return false;
        }
        return false;
    }

    void stop()
    {
        if (m_process.state() == QProcess::NotRunning)
            return;
        m_process.terminate();
        if (!m_process.waitForFinished(3000)) {
            m_process.kill();
            m_process.waitForFinished(3000);
        }
    }

    /// Ends the broker at once (SIGKILL): it saves nothing more and says goodbye to nobody.
    void kill()
    {
        m_process.kill();
        m_process.waitForFinished(3000);
    }

    quint16 port() const { return m_port; }
    qint64 processId() const { return m_process.processId(); }

private:
    QTemporaryDir m_dir;
    QProcess m_process;
    quint16 m_port = 0;
    bool m_persistent = false;
};
