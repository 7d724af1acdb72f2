#include "desktopnotifier.h"

#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QDBusPendingCallWatcher>
#include <QVariantMap>

#include <utility>

Q_LOGGING_CATEGORY(lcNotify, "vorn.notify")

namespace {
/// How long the notification stays, in ms.
constexpr int shownFor = 10000;
} // namespace

DesktopNotifier::DesktopNotifier(
    QObject *parent, const QString &application, const QString &desktopEntry)
    : QObject(parent)
    , m_application(application)
    , m_desktopEntry(desktopEntry)
{
    m_gatherTimer.setSingleShot(true);
    m_gatherTimer.setInterval(GatherMs);
    connect(&m_gatherTimer, &QTimer::timeout, this, &DesktopNotifier::sendGathered);
}

void DesktopNotifier::gather(const QString &line)
{
    m_gathered.append(line);
    if (!m_gatherTimer.isActive())
        m_gatherTimer.start();
}

void DesktopNotifier::sendGathered()
{
    if (m_gathered.isEmpty())
        return;
    const QStringList lines = std::exchange(m_gathered, {});
    notify(m_summary ? m_summary(int(lines.size())) : lines.first(),
        lines.join(QLatin1Char('\n')));
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
    hints.insert(QStringLiteral("desktop-entry"), m_desktopEntry);
    call << m_application << uint(0) << m_desktopEntry << summary << body << QStringList()
         << hints << shownFor;
    auto *watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [](QDBusPendingCallWatcher *done) {
        if (done->isError())
            qCDebug(lcNotify) << "no notification:" << done->error().message();
        done->deleteLater();
    });
    return true;
}
