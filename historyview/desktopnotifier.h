#pragma once

#include <QDBusConnection>
#include <QLoggingCategory>
#include <QObject>
#include <QStringList>
#include <QTimer>

#include <functional>

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

    /// Lines gathered within this time go out as one notification.
    static constexpr int GatherMs = 300;

    /// Uses the session bus, connected at the first notification; the notifications name the
    /// program \a application and its desktop entry \a desktopEntry.
    explicit DesktopNotifier(QObject *parent = nullptr,
        const QString &application = QStringLiteral("Vorn SCPI Control"),
        const QString &desktopEntry = QStringLiteral("de.vornwerk.VornScpiControl"));

    /// Shows \a summary with \a body; false when there is no bus to send to.
    bool notify(const QString &summary, const QString &body);

    /// Says \a line in a notification GatherMs from the first line gathered, together with the
    /// lines that come until then, under the summary setSummary() gives for their number.
    void gather(const QString &line);
    void setSummary(std::function<QString(int lines)> summary) { m_summary = std::move(summary); }

private:
    void sendGathered();

    QString m_application;
    QString m_desktopEntry;
    QStringList m_gathered;
    QTimer m_gatherTimer;
    std::function<QString(int)> m_summary;
    /// Not connected until the session bus is first asked for.
    QDBusConnection m_bus { QString() };
    bool m_busAsked = false;
};
