#pragma once

#include <QByteArray>

namespace vornsim::scpierrors {

/// The answer that takes the place of a query the module cannot answer.
inline const QByteArray errorAnswer = QByteArrayLiteral("ERROR");

// Entries of the module's error queue (:SYS:ERR?).
inline const char *const undefinedHeader = "-113,\"Undefined header\"";
inline const char *const parameterNotAllowed = "-108,\"Parameter not allowed\"";
inline const char *const missingParameter = "-109,\"Missing parameter\"";
inline const char *const illegalValue = "-224,\"Illegal parameter value\"";
inline const char *const outOfRange = "-222,\"Data out of range\"";
inline const char *const badChannelList = "-171,\"Invalid channel list\"";

} // namespace vornsim::scpierrors
