#pragma once

#include <QString>

/// The broker's password in the desktop's secret store (through QtKeychain), one entry per
/// user at a broker; never in the settings file. Reading waits for the store (a second at
/// most) and gives an empty password when there is none or no store answers.
namespace SecretStore {

QString readPassword(const QString &host, int port, const QString &user, QString *error = nullptr);
/// Writes (or, for an empty \a password, deletes) the entry; false with \a error when the
/// store refused.
bool writePassword(const QString &host, int port, const QString &user, const QString &password,
    QString *error = nullptr);

} // namespace SecretStore
