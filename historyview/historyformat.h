#pragma once

#include "historyentry.h"

#include <QCoreApplication>
#include <QList>
#include <QString>

class QTextStream;

/// How the panel shows an entry's fields, in the program's language and locale.
class HistoryFormat
{
    Q_DECLARE_TR_FUNCTIONS(HistoryFormat)

public:
    HistoryFormat() = delete;

    /// Local date and time with milliseconds: "2024-05-17 14:03:12.345".
    static QString time(qint64 timeMs);
    /// "Module" or "Channel 3".
    static QString source(const HistoryEntry &entry);
    /// "Alarm", "Warning", "Info".
    static QString severity(Severity severity);
    /// "498.20 V"; empty for an entry without a channel.
    static QString voltage(const HistoryEntry &entry);
    /// In A, mA, µA or nA, whichever keeps the number between 1 and 1000: "498.2 µA"; empty for an
    /// entry without a channel.
    static QString current(const HistoryEntry &entry);

    /// Writes \a entries as comma-separated text: a header line in the program's language and
    /// one line per entry with the local time, serial number, source, severity, the sentence,
    /// voltage (V) and current (A) as plain numbers, and the bits that rose and fell. Fields with
    /// a comma or a quote are quoted.
    static void writeCsv(QTextStream &out, const QList<HistoryEntry> &entries);
};
