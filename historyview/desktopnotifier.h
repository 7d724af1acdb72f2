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

    /// Uses the session bus, connected at the first notification.
    explicit DesktopNotifier(QObject *parent = nullptr);

    /// Shows \a summary with \a body; false when there is no bus to send to.
    bool notify(const QString &summary, const QString &body);

private:
    /// Not connected until the session bus is first asked for.
    QDBusConnection m_bus { QString() };
    bool m_busAsked = false;
};
