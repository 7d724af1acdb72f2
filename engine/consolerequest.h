#pragma once

#include <QString>

/// A line the operator typed in the SCPI console, checked and made ready for the wire.
///
/// The module answers only queries, so a line without "?" gets ";*OPC?" appended: the request
/// cycle then always gets an answer to wait for.
struct ConsoleRequest
{
    enum Verdict {
        Accepted,
        Empty, ///< nothing but blanks; ignored without a message
        TooLong, ///< more than MaxLength characters
        ControlCharacter, ///< a character below 0x20 or DEL
        NotLatin1, ///< a character the 8-bit link cannot carry
    };

    /// Longest line the console accepts, in characters after trimming.
    static constexpr int MaxLength = 1024;

    Verdict verdict = Empty;
    /// The text to send without CR LF; set only when Accepted.
    QString command;
    /// Whether ";*OPC?" was appended.
    bool completionQueryAdded = false;

    /// Checks \a line and builds the command to send.
    static ConsoleRequest prepare(const QString &line);
};
