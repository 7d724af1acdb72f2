#include "desktopnotifier.h"

#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QDBusPendingCallWatcher>
#include <QVariantMap>

Q_LOGGING_CATEGORY(lcNotify, "vorn.notify")

namespace {
/// How long the notification stays, in ms.
constexpr int shownFor = 10000;
} // namespace

DesktopNotifier::DesktopNotifier(QObject *parent)
    : QObject(parent)
{
}

bool DesktopNotifier::notify(const QString &summary, const QString &body)
{
    // Asked for only when needed: a program that never raises an alarm never touches the bus.
    if (!m_busAsked) {
        m_bus = QDBusConnection::sessionBus();
        m_busAsked = true;
    }
    if (!m_bus.isConnected())
        return false;
    QDBusMessage call = QDBusMessage::createMethodCall(QLatin1String(Service), QLatin1String(Path),
        QLatin1String(Service), QStringLiteral("Notify"));
    QVariantMap hints;
    hints.insert(QStringLiteral("urgency"), QVariant::fromValue(uchar(2)));
    hints.insert(QStringLiteral("desktop-entry"), QStringLiteral("de.vornwerk.VornScpiControl"));
    call << QStringLiteral("Vorn SCPI Control") << uint(0)
         << QStringLiteral("de.vornwerk.VornScpiControl") << summary << body << QStringList()
         << hints << shownFor;
    auto *watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [](QDBusPendingCallWatcher *done) {
        if (done->isError())
            qCDebug(lcNotify) << "no notification:" << done->error().message();
        done->deleteLater();
    });
    return true;
}
