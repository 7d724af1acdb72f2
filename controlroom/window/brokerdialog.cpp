#include "brokerdialog.h"
#include "ui_brokerdialog.h"

#include "secretstore.h"
#include "settingsstore.h"

#include <QHostInfo>
#include <QSettings>

namespace K = SettingsStore::Key;

BrokerDialog::BrokerDialog(const BrokerSettings &settings, const QString &prefix, QWidget *parent)
    : QDialog(parent)
    , ui(new Ui::BrokerDialog)
    , m_settings(settings)
{
    ui->setupUi(this);
    ui->editHost->setText(settings.host);
    ui->spinPort->setValue(settings.port);
    ui->editPrefix->setText(prefix);
    ui->editUser->setText(settings.user);
    ui->editPassword->setText(settings.password);
    ui->editCaFile->setText(settings.caFile);
    ui->editCertFile->setText(settings.certFile);
    ui->editKeyFile->setText(settings.keyFile);
    ui->checkTls->setChecked(settings.tls);
    // A CA file or a client certificate means TLS.
    const auto files = [this] {
        const bool given = !ui->editCaFile->text().trimmed().isEmpty()
            || !ui->editCertFile->text().trimmed().isEmpty();
        if (given)
            ui->checkTls->setChecked(true);
        ui->checkTls->setEnabled(!given);
    };
    connect(ui->editCaFile, &QLineEdit::textChanged, this, files);
    connect(ui->editCertFile, &QLineEdit::textChanged, this, files);
    files();
}

BrokerDialog::~BrokerDialog()
{
    delete ui;
}

BrokerSettings BrokerDialog::settings() const
{
    BrokerSettings s = m_settings;
    s.host = ui->editHost->text().trimmed();
    s.port = ui->spinPort->value();
    s.user = ui->editUser->text();
    s.password = ui->editPassword->text();
    s.caFile = ui->editCaFile->text().trimmed();
    s.certFile = ui->editCertFile->text().trimmed();
    s.keyFile = ui->editKeyFile->text().trimmed();
    s.tls = ui->checkTls->isChecked() || !s.caFile.isEmpty() || !s.certFile.isEmpty();
    return s;
}

QString BrokerDialog::prefix() const
{
    const QString prefix = ui->editPrefix->text().trimmed();
    return prefix.isEmpty() ? QStringLiteral("vorn") : prefix;
}

bool BrokerDialog::save(QSettings *store, QString *error) const
{
    const BrokerSettings s = settings();
    store->setValue(QLatin1String(K::RoomBrokerHost), s.host);
    store->setValue(QLatin1String(K::RoomBrokerPort), s.port);
    store->setValue(QLatin1String(K::RoomPrefix), prefix());
    store->setValue(QLatin1String(K::RoomBrokerUser), s.user);
    store->setValue(QLatin1String(K::RoomBrokerTls), s.tls);
    store->setValue(QLatin1String(K::RoomBrokerCaFile), s.caFile);
    store->setValue(QLatin1String(K::RoomBrokerCertFile), s.certFile);
    store->setValue(QLatin1String(K::RoomBrokerKeyFile), s.keyFile);
    store->sync();
    return SecretStore::writePassword(s.host, s.port, s.user, s.password, error);
}

BrokerSettings BrokerDialog::load(QSettings *store, QString *prefix)
{
    BrokerSettings s;
    s.host = store->value(QLatin1String(K::RoomBrokerHost), s.host).toString();
    s.port = store->value(QLatin1String(K::RoomBrokerPort), s.port).toInt();
    s.user = store->value(QLatin1String(K::RoomBrokerUser)).toString();
    s.caFile = store->value(QLatin1String(K::RoomBrokerCaFile)).toString();
    s.certFile = store->value(QLatin1String(K::RoomBrokerCertFile)).toString();
    s.keyFile = store->value(QLatin1String(K::RoomBrokerKeyFile)).toString();
    s.tls = store->value(QLatin1String(K::RoomBrokerTls), false).toBool() || !s.caFile.isEmpty()
        || !s.certFile.isEmpty();
    s.clientId = QStringLiteral("vorn-control-room-%1-%2")
                     .arg(QHostInfo::localHostName())
                     .arg(QCoreApplication::applicationPid());
    *prefix = store->value(QLatin1String(K::RoomPrefix), QStringLiteral("vorn")).toString();
    return s;
}
