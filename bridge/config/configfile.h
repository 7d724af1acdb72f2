#pragma once

#include <QByteArray>
#include <QString>

/// What the bridge knows about a file it was given after opening it: checks are made on the
/// open file, so the file cannot be swapped between the check and the read.
struct CheckedFile
{
    QByteArray text;
    /// Permission bits of the open file.
    unsigned mode = 0;
};

/// Largest configuration file the bridge reads.
constexpr qint64 MaxConfigFileSize = 64 * 1024;

/// Opens the configuration file at \a path without following a symbolic link in its last
/// part, checks the open file and reads it into \a file. The file must be a regular file of at
/// most MaxConfigFileSize bytes, owned by root or the user the bridge runs as, and not writable
/// by group or others (another user could otherwise point the bridge at a broker of theirs).
/// False with the reason in \a error, which starts with the path.
bool readConfigFile(const QString &path, CheckedFile *file, QString *error);

/// Checks the folder at \a path as the files in it: not a symbolic link in its last part, a
/// folder, owned by root or the bridge's user, not writable by group or others (whoever may
/// add or replace a file there decides what it says). Returns the problem, naming the path, or
/// an empty text.
QString folderProblem(const QString &path);

/// Reads the file \a name (no "/") of \a folder: the folder as folderProblem() requires, the
/// file opened relative to it without following a link, checked as readConfigFile() checks
/// its file, and at most \a maxSize bytes. False with the reason in \a error, which names the
/// path.
bool readFileInFolder(
    const QString &folder, const QString &name, qint64 maxSize, CheckedFile *file, QString *error);

/// Checks the client key file at \a path like the configuration file (owner, regular file, not
/// writable by group or others) and that neither group nor others may read it. A link is
/// followed; the file it ends at is checked. Returns the problem or an empty text.
QString keyFileProblem(const QString &path);

/// Why a configuration file with permission bits \a mode must not hold a password: it is
/// readable by group or others. Empty when it may.
QString secretFileProblem(const QString &path, unsigned mode);
