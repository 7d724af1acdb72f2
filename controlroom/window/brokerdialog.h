#pragma once

#include "brokersettings.h"

#include <QDialog>

class QSettings;

namespace Ui {
class BrokerDialog;
}

/// Where the control room finds its broker: host, port, topic prefix, user and password, and
/// the TLS files (a CA file, or a client certificate with its key, switches TLS on).
class BrokerDialog : public QDialog
{
    Q_OBJECT

public:
    BrokerDialog(const BrokerSettings &settings, const QString &prefix, QWidget *parent = nullptr);
    ~BrokerDialog() override;

    BrokerSettings settings() const;
    QString prefix() const;
    /// Keeps everything but the password in \a store; the password goes to the desktop's
    /// secret store (SecretStore). False, with the store's reason in \a error, when the secret
    /// store did not take it: the password then lives only as long as the program.
    bool save(QSettings *store, QString *error = nullptr) const;

    /// The settings kept in \a store (the password not: see SecretStore), with the client id
    /// of this program on this machine.
    static BrokerSettings load(QSettings *store, QString *prefix);

private:
    Ui::BrokerDialog *ui;
    BrokerSettings m_settings;
};
