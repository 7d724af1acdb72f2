#pragma once

#include "historyentry.h"

#include <QByteArray>
#include <QList>
#include <QString>

/// The event history of one module on disk: "<folder>/<serial number>.jsonl", one JSON object a
/// line (HistoryEntry::toJson()), readable with any text viewer. A file that would grow beyond
/// the size cap is moved aside to ".jsonl.1" (the one before to ".jsonl.2", and so on); the
/// oldest beyond the file count is removed.
///
/// A line that cannot be written stays pending and goes out before the next one, so a full disk
/// that frees up loses nothing; the caller learns of the failure from append()'s result.
class HistoryFile
{
public:
    static constexpr qint64 DefaultMaxBytes = 10 * 1024 * 1024;
    static constexpr int DefaultFiles = 3;

    /// The user's data folder for histories: "<data>/Vornwerk GmbH/VornScpiControl/history".
    static QString defaultFolder();

    explicit HistoryFile(
        const QString &folder, qint64 maxBytes = DefaultMaxBytes, int files = DefaultFiles);

    /// Chooses the module's file; pending lines of the previous module are written first, or
    /// dropped when that fails again (the caller was told when they failed).
    void setSerialNumber(int serialNumber);
    /// The current file; empty before setSerialNumber().
    QString path() const;

    /// Writes the pending lines and then \a entry; false when anything could not be written,
    /// with errorString() saying why (in the program's language).
    bool append(const HistoryEntry &entry);
    /// Lines waiting for a write that works.
    int pendingCount() const { return int(m_pending.size()); }
    QString errorString() const { return m_error; }

    /// Up to \a count of the newest entries of the current module, oldest first, from the file
    /// and the ones moved aside. Lines that are no entry are skipped and counted in
    /// \a skipped when given.
    QList<HistoryEntry> readRecent(int count, int *skipped = nullptr) const;

private:
    bool flushPending();
    void rotate();
    QString rotatedPath(int index) const;

    QString m_folder;
    qint64 m_maxBytes;
    int m_files;
    int m_serialNumber = 0;
    QList<QByteArray> m_pending;
    qint64 m_pendingBytes = 0;
    QString m_error;
};
