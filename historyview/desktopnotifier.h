#pragma once

#include <QDBusConnection>
#include <QLoggingCategory>
#include <QObject>

Q_DECLARE_LOGGING_CATEGORY(lcNotify)

/// Desktop notifications through the freedesktop notification service on the session bus
/// ("org.freedesktop.Notifications"). Calls are asynchronous and their answers ignored: where
/// there is no bus or no service, nothing happens and nothing waits.
class DesktopNotifier : public QObject
{
    Q_OBJECT

public:
    static constexpr char Service[] = "org.freedesktop.Notifications";
    static constexpr char Path[] = "/org/freedesktop/Notifications";

    /// Uses the session bus, or \a bus when given (tests bring a bus of their own).
    explicit DesktopNotifier(QObject *parent = nullptr);
    DesktopNotifier(const QDBusConnection &bus, QObject *parent = nullptr);

    /// Whether a bus is there to send to (a service may still be missing).
    bool isAvailable() const { return m_bus.isConnected(); }
    /// Shows \a summary with \a body; false when there is no bus.
    bool notify(const QString &summary, const QString &body);

private:
    QDBusConnection m_bus;
};
