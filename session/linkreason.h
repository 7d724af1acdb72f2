#pragma once

#include <QString>

/// Why a module's link ended, as ModuleSession reports it (offline(), connectionLost()) and the
/// event history keeps it: a short code that reads the same in every language, and its words,
/// in English or in the program's language, when it is shown.
namespace LinkReason {

/// The operator ended the connection: "disconnected".
QString closedByOperator();
/// No answer came for ModuleSession::WatchdogMs while \a request was awaited: "timeout:<code>".
QString timeout(quint16 request);
/// The words of \a reason ("timeout while requesting 132"); a text that is no code (a reason
/// stored by an older version) as it is.
QString describe(const QString &reason, bool translated);

} // namespace LinkReason
