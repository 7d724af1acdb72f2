#pragma once

#include <QByteArray>
#include <QList>

namespace vornsim {

/// One command of a request line after the header path has been resolved.
struct ScpiCommand
{
    QByteArray header; ///< upper case, short forms, no leading ':', e.g. "READ:VOLT:BOU" or "*IDN"
    bool query = false; ///< the header ended with '?'
    bool valid = true; ///< false for an empty node (":READ::VOLT") or a stray character
    QByteArray parameters; ///< the text after the header, trimmed
    QByteArray text; ///< the command as received, for traces
};

/// Splits one request line (without its CR LF) into commands at ';' and resolves each header.
///
/// A header starting with ':' starts at the root. A header without it continues the path of the
/// previous command: its last node is replaced, so ":READ:MOD:CONT?;STAT?;EV:STAT?;MASK?" reads
/// READ:MOD:CONT, READ:MOD:STAT, READ:MOD:EV:STAT and READ:MOD:EV:MASK. Common commands ("*CLS",
/// "*IDN?") leave the path alone. Keywords are case-insensitive and their long forms
/// ("VOLTAGE", "CONFIGURE", "STATUS" ...) are folded onto the short ones. Empty commands
/// (";;") are skipped.
QList<ScpiCommand> splitScpiLine(const QByteArray &line);

} // namespace vornsim
