#include "secretstore.h"

#include <QEventLoop>
#include <QTimer>

#include <qt6keychain/keychain.h>

namespace {

const QString Service = QStringLiteral("Vorn Control Room");

QString key(const QString &host, int port, const QString &user)
{
    return QStringLiteral("%1@%2:%3").arg(user, host).arg(port);
}

/// Runs \a job to its end or for a second; false with \a error when it failed.
bool run(QKeychain::Job *job, QString *error)
{
    QEventLoop loop;
    bool finished = false;
    QObject::connect(job, &QKeychain::Job::finished, &loop, [&]() {
        finished = true;
        loop.quit();
    });
    QTimer::singleShot(1000, &loop, &QEventLoop::quit);
    job->setAutoDelete(false);
    job->start();
    loop.exec();
    const bool ok = finished && job->error() == QKeychain::NoError;
    if (!ok && error)
        *error = finished ? job->errorString() : QStringLiteral("no answer");
    return ok;
}

} // namespace

namespace SecretStore {

QString readPassword(const QString &host, int port, const QString &user, QString *error)
{
    if (user.isEmpty())
        return {};
    QKeychain::ReadPasswordJob job(Service);
    job.setKey(key(host, port, user));
    return run(&job, error) ? job.textData() : QString();
}

bool writePassword(
    const QString &host, int port, const QString &user, const QString &password, QString *error)
{
    if (user.isEmpty())
        return true;
    if (password.isEmpty()) {
        QKeychain::DeletePasswordJob job(Service);
        job.setKey(key(host, port, user));
        return run(&job, error);
    }
    QKeychain::WritePasswordJob job(Service);
    job.setKey(key(host, port, user));
    job.setTextData(password);
    return run(&job, error);
}

} // namespace SecretStore
