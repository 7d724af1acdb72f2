#include "historyfile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace {
/// The newest part of a file that readRecent() looks at.
constexpr qint64 tailBytes = 4 * 1024 * 1024;
} // namespace

QString HistoryFile::defaultFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
        + QStringLiteral("/Vornwerk GmbH/VornScpiControl/history");
}

HistoryFile::HistoryFile(const QString &folder, qint64 maxBytes, int files)
    : m_folder(folder)
    , m_maxBytes(qMax<qint64>(maxBytes, 1024))
    , m_files(qMax(files, 1))
{
}

void HistoryFile::setSerialNumber(int serialNumber)
{
    if (serialNumber == m_serialNumber)
        return;
    if (!m_pending.isEmpty() && !flushPending()) {
        m_pending.clear();
        m_pendingBytes = 0;
    }
    m_serialNumber = serialNumber;
}

QString HistoryFile::path() const
{
    return m_folder.isEmpty()
        ? QString()
        : QDir(m_folder).filePath(QStringLiteral("%1.jsonl").arg(m_serialNumber));
}

QString HistoryFile::rotatedPath(int index) const
{
    return path() + QLatin1Char('.') + QString::number(index);
}

bool HistoryFile::append(const HistoryEntry &entry)
{
    QByteArray line = entry.toJson();
    line.append('\n');
    // While the disk stays full the pending lines are held up to one file's worth; beyond that
    // the oldest go, and the error says so.
    while (!m_pending.isEmpty() && m_pendingBytes + line.size() > m_maxBytes) {
        m_pendingBytes -= m_pending.takeFirst().size();
    }
    m_pendingBytes += line.size();
    m_pending.append(line);
    return flushPending();
}

bool HistoryFile::flushPending()
{
    if (!QDir().mkpath(m_folder)) {
        m_error = QCoreApplication::translate("HistoryFile", "can not create the folder %1")
                      .arg(QDir::toNativeSeparators(m_folder));
        return false;
    }
    QFile file(path());
    if (file.exists() && file.size() > 0 && file.size() + m_pendingBytes > m_maxBytes) {
        rotate();
        file.setFileName(path());
    }
    // A device in the file's place (a full disk in a test) cannot seek to its end.
    const bool plain = !file.exists() || QFileInfo(file).isFile();
    if (!file.open(plain ? QIODevice::WriteOnly | QIODevice::Append : QIODevice::WriteOnly)) {
        m_error = QStringLiteral("%1: %2").arg(file.fileName(), file.errorString());
        return false;
    }
    // After a failed write the file may end in part of a line: a line end first keeps that
    // part apart from the next line (the reader skips it and empty lines).
    if (!m_error.isEmpty() && file.write("\n") != 1) {
        m_error = QStringLiteral("%1: %2").arg(file.fileName(), file.errorString());
        return false;
    }
    while (!m_pending.isEmpty()) {
        const QByteArray &line = m_pending.first();
        // A write that lands in the buffer but not on the disk fails at the flush; the line
        // stays pending.
        if (file.write(line) != line.size() || !file.flush()) {
            m_error = QStringLiteral("%1: %2").arg(file.fileName(), file.errorString());
            return false;
        }
        m_pendingBytes -= line.size();
        m_pending.removeFirst();
    }
    m_error.clear();
    return true;
}

void HistoryFile::rotate()
{
    QFile::remove(rotatedPath(m_files - 1));
    for (int index = m_files - 2; index >= 1; --index)
        QFile::rename(rotatedPath(index), rotatedPath(index + 1));
    if (m_files > 1)
        QFile::rename(path(), rotatedPath(1));
    else
        QFile::remove(path());
}

QList<HistoryEntry> HistoryFile::readRecent(int count, int *skipped) const
{
    QList<HistoryEntry> entries;
    int bad = 0;
    for (int index = 0; index < m_files && entries.size() < count; ++index) {
        QFile file(index == 0 ? path() : rotatedPath(index));
        // Only a plain file: a device in its place (a full disk) would read without end.
        if (!QFileInfo(file).isFile() || !file.open(QIODevice::ReadOnly))
            continue;
        const bool partial = file.size() > tailBytes;
        if (partial)
            file.seek(file.size() - tailBytes);
        QList<QByteArray> lines = file.read(tailBytes).split('\n');
        if (partial && !lines.isEmpty())
            lines.removeFirst();
        QList<HistoryEntry> older;
        for (const QByteArray &line : std::as_const(lines)) {
            if (line.trimmed().isEmpty())
                continue;
            HistoryEntry entry;
            if (HistoryEntry::fromJson(line, &entry))
                older.append(entry);
            else
                ++bad;
        }
        const int take = qMin(int(older.size()), count - int(entries.size()));
        entries = older.mid(older.size() - take) + entries;
    }
    if (skipped)
        *skipped = bad;
    return entries;
}
