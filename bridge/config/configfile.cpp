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

/// The checks every file the bridge trusts must pass, on the open descriptor \a fd.
QString ownershipProblem(const QString &path, int fd, struct stat *info)
{
    if (::fstat(fd, info) != 0)
        return QStringLiteral("%1: %2").arg(path, QString::fromLocal8Bit(strerror(errno)));
    if (!S_ISREG(info->st_mode))
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

/// Opens \a path read-only; \a follow says whether a symbolic link in the last part is
/// followed. -1 with \a error set on failure.
int openFile(const QString &path, bool follow, QString *error)
{
    const int fd = ::open(
        QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | (follow ? 0 : O_NOFOLLOW));
    if (fd >= 0)
        return fd;
    *error = errno == ELOOP
        ? QStringLiteral("%1 is a symbolic link; give the file it points to").arg(path)
        : QStringLiteral("%1: %2").arg(path, QString::fromLocal8Bit(strerror(errno)));
    return -1;
}

} // namespace

bool readConfigFile(const QString &path, CheckedFile *file, QString *error)
{
    const int fd = openFile(path, false, error);
    if (fd < 0)
        return false;
    struct stat info = {};
    *error = ownershipProblem(path, fd, &info);
    if (error->isEmpty() && info.st_size > MaxConfigFileSize)
        *error = QStringLiteral("%1 is larger than %2 KiB").arg(path).arg(MaxConfigFileSize / 1024);
    QFile reader;
    if (error->isEmpty() && !reader.open(fd, QIODevice::ReadOnly))
        *error = QStringLiteral("%1: %2").arg(path, reader.errorString());
    if (error->isEmpty()) {
        // The size can grow after the check: read no more than the cap.
        file->text = reader.read(MaxConfigFileSize + 1);
        file->mode = info.st_mode & 07777;
        if (file->text.size() > MaxConfigFileSize)
            *error = QStringLiteral("%1 is larger than %2 KiB")
                         .arg(path)
                         .arg(MaxConfigFileSize / 1024);
    }
    reader.close();
    ::close(fd);
    return error->isEmpty();
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
