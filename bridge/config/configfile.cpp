#include "configfile.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString userName(uid_t uid)
{
    const passwd *entry = getpwuid(uid);
    return entry ? QString::fromLocal8Bit(entry->pw_name) : QString::number(uid);
}

/// The checks every file and folder the bridge trusts must pass, on the open descriptor \a fd:
/// a regular file (a folder where \a folder), owned by root or the bridge's user, writable by
/// nobody else.
QString ownershipProblem(const QString &path, int fd, struct stat *info, bool folder = false)
{
    if (::fstat(fd, info) != 0)
        return QStringLiteral("%1: %2").arg(path, QString::fromLocal8Bit(strerror(errno)));
    if (folder && !S_ISDIR(info->st_mode))
        return QStringLiteral("%1 is not a folder").arg(path);
    if (!folder && !S_ISREG(info->st_mode))
        return QStringLiteral("%1 is not a regular file").arg(path);
    if (info->st_uid != 0 && info->st_uid != geteuid()) {
        return QStringLiteral("%1 belongs to %2; it must belong to root or to %3, the user the "
                              "bridge runs as")
            .arg(path, userName(info->st_uid), userName(geteuid()));
    }
    if (info->st_mode & (S_IWGRP | S_IWOTH)) {
        return QStringLiteral("%1 can be changed by other users; restrict it (chmod go-w %1)")
            .arg(path);
    }
    return QString();
}

/// The message for an open() of \a path that failed with errno.
QString openProblem(const QString &path)
{
    return errno == ELOOP
        ? QStringLiteral("%1 is a symbolic link; give the file it points to").arg(path)
        : QStringLiteral("%1: %2").arg(path, QString::fromLocal8Bit(strerror(errno)));
}

/// Opens \a path read-only; \a follow says whether a symbolic link in the last part is
/// followed. -1 with \a error set on failure. Non-blocking, so that a FIFO in its place does
/// not stall the bridge before the check refuses it.
int openFile(const QString &path, bool follow, QString *error)
{
    const int fd = ::open(QFile::encodeName(path).constData(),
        O_RDONLY | O_CLOEXEC | O_NONBLOCK | (follow ? 0 : O_NOFOLLOW));
    if (fd < 0)
        *error = openProblem(path);
    return fd;
}

/// Checks the open file \a fd (at \a path) and reads at most \a maxSize bytes of it; closes
/// \a fd.
bool readOpenFile(const QString &path, int fd, qint64 maxSize, CheckedFile *file, QString *error)
{
    struct stat info = {};
    *error = ownershipProblem(path, fd, &info);
    const QString tooLarge
        = QStringLiteral("%1 is larger than %2 KiB").arg(path).arg(maxSize / 1024);
    if (error->isEmpty() && info.st_size > maxSize)
        *error = tooLarge;
    QFile reader;
    if (error->isEmpty() && !reader.open(fd, QIODevice::ReadOnly))
        *error = QStringLiteral("%1: %2").arg(path, reader.errorString());
    if (error->isEmpty()) {
        // The size can grow after the check: read no more than the cap.
        file->text = reader.read(maxSize + 1);
        file->mode = info.st_mode & 07777;
        if (file->text.size() > maxSize)
            *error = tooLarge;
    }
    reader.close();
    ::close(fd);
    return error->isEmpty();
}

/// Opens the folder \a path without following a link in its last part and checks it; -1 with
/// \a error set when it is not to be trusted.
int openFolder(const QString &path, QString *error)
{
    const int fd = ::open(
        QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_DIRECTORY | O_NOFOLLOW);
    if (fd < 0) {
        // With O_DIRECTORY a link says ENOTDIR, as anything else that is no folder does.
        const int code = errno;
        struct stat link = {};
        const bool isLink = (code == ELOOP || code == ENOTDIR)
            && ::lstat(QFile::encodeName(path).constData(), &link) == 0 && S_ISLNK(link.st_mode);
        errno = code;
        *error = isLink
            ? QStringLiteral("%1 is a symbolic link; give the folder it points to").arg(path)
            : code == ENOTDIR ? QStringLiteral("%1 is not a folder").arg(path)
                              : openProblem(path);
        return -1;
    }
    struct stat info = {};
    *error = ownershipProblem(path, fd, &info, true);
    if (error->isEmpty())
        return fd;
    ::close(fd);
    return -1;
}

} // namespace

bool readConfigFile(const QString &path, CheckedFile *file, QString *error)
{
    const int fd = openFile(path, false, error);
    return fd >= 0 && readOpenFile(path, fd, MaxConfigFileSize, file, error);
}

QString folderProblem(const QString &path)
{
    QString problem;
    const int fd = openFolder(path, &problem);
    if (fd >= 0)
        ::close(fd);
    return problem;
}

bool readFileInFolder(
    const QString &folder, const QString &name, qint64 maxSize, CheckedFile *file, QString *error)
{
    const int dir = openFolder(folder, error);
    if (dir < 0)
        return false;
    const QString path = folder + QLatin1Char('/') + name;
    // Relative to the folder just checked, so that neither can be swapped in between.
    const int fd = ::openat(
        dir, QFile::encodeName(name).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOFOLLOW);
    if (fd < 0)
        *error = openProblem(path);
    ::close(dir);
    return fd >= 0 && readOpenFile(path, fd, maxSize, file, error);
}

QString keyFileProblem(const QString &path)
{
    QString problem;
    const int fd = openFile(path, true, &problem);
    if (fd < 0)
        return problem;
    struct stat info = {};
    problem = ownershipProblem(path, fd, &info);
    ::close(fd);
    if (problem.isEmpty() && (info.st_mode & (S_IRGRP | S_IROTH))) {
        return QStringLiteral("the key file %1 is readable by other users; restrict it "
                              "(chmod go-r %1)")
            .arg(path);
    }
    return problem;
}

QString secretFileProblem(const QString &path, unsigned mode)
{
    if (mode & (S_IRGRP | S_IROTH)) {
        return QStringLiteral("%1 holds the broker password and is readable by other users; "
                              "restrict it (chmod go-r %1)")
            .arg(path);
    }
    return QString();
}
