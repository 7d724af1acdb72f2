#include "linkreason.h"

#include <QCoreApplication>

namespace {
const QLatin1String timeoutCode("timeout:");

QString text(const char *source, bool translated)
{
    return translated ? QCoreApplication::translate("LinkReason", source)
                      : QString::fromLatin1(source);
}
} // namespace

namespace LinkReason {

QString closedByOperator()
{
    return QStringLiteral("disconnected");
}

QString timeout(quint16 request)
{
    return timeoutCode + QString::number(request);
}

QString describe(const QString &reason, bool translated)
{
    if (reason == closedByOperator())
        return text(QT_TRANSLATE_NOOP("LinkReason", "disconnected by the operator"), translated);
    if (reason.startsWith(timeoutCode)) {
        bool ok = false;
        const uint request = QStringView(reason).mid(timeoutCode.size()).toUInt(&ok);
        if (ok)
            return text(QT_TRANSLATE_NOOP("LinkReason", "timeout while requesting %1"), translated)
                .arg(request);
    }
    return reason;
}

} // namespace LinkReason
