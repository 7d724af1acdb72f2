#pragma once

#include <QByteArray>
#include <QMetaType>
#include <QString>
#include <QStringList>

/// How much an event asks of the operator.
enum class Severity { Info = 0, Warning = 1, Alarm = 2 };

/// "info", "warning", "alarm".
QString severityName(Severity severity);
/// The severity of a name of severityName(); false for any other text.
bool severityFromName(const QString &name, Severity *severity);

/// One event of a module: a change of a channel's or the module's status and event-status
/// words, or the link going down or coming back.
///
/// Stored one JSON object a line (toJson()) and published the same way, with the fields
/// "time" (ms since 1970, UTC), "at" (the same as ISO 8601 text), "serial", "source"
/// ("module" or "channel"), "channel" (channel sources only), "severity", "rose" and "fell"
/// (the dictionary names of the bits that changed), "text" (one English sentence per change,
/// separated by "; "), "link" and "reason" (link entries only: "up", "back", "lost" or
/// "closed", and why it ended as a LinkReason code such as "timeout:132"; files of older
/// versions hold an English text there), and "voltage" and "current" in V and A (channel
/// sources only).
struct HistoryEntry
{
    /// The source of an entry about the module itself.
    static constexpr int ModuleSource = -1;

    qint64 timeMs = 0;
    int serialNumber = 0;
    /// Channel number, or ModuleSource.
    int channel = ModuleSource;
    Severity severity = Severity::Info;
    QStringList rose;
    QStringList fell;
    QString text;
    /// "up" (first answer), "back" (after a loss), "lost" or "closed" (by the operator); empty
    /// for an entry about status words.
    QString link;
    /// Why the link ended, a LinkReason code (or an older version's text); empty for other
    /// entries.
    QString reason;
    /// Measured values of the channel (channel sources only).
    double voltage = 0.0;
    double current = 0.0;

    bool isChannel() const { return channel >= 0; }
    bool isLink() const { return !link.isEmpty(); }

    /// One line of JSON without a line end.
    QByteArray toJson() const;
    /// Reads a line of toJson(); false for a line that is no such object (the entry is then
    /// left unchanged).
    static bool fromJson(const QByteArray &line, HistoryEntry *entry);
};

Q_DECLARE_METATYPE(HistoryEntry)
