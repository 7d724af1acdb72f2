// Automatic reconnection (File menu, "Reconnect Automatically", off by default). When the
// watchdog ends a link, or a link cannot be opened, the window tries the same connection again
// every 2 s: the connection panel stays as it was when the operator pressed Connect, and each
// attempt runs the Connect logic on it. The status line counts the attempts; the first answer
// of a new link ends them, and so do the Disconnect button and closing the window.
#include "ethcontrol.h"

#include "applogging.h"
#include "scpi_parser.h"
#include "ui_ethcontrol.h"

#include <QAction>
#include <QLabel>
#include <QSettings>
#include <QTimer>

namespace {
constexpr int attemptInterval = 2000;
const char autoReconnectKey[] = "AutoReconnect";
} // namespace

void EthControl::setUpReconnection()
{
    reconnectTimer = new QTimer(this);
    reconnectTimer->setInterval(attemptInterval);
    connect(reconnectTimer, &QTimer::timeout, this, &EthControl::tryReconnect);

    QSettings settings(
        QSettings::IniFormat, QSettings::UserScope, settingsOrganization, settingsApplication);
    ui->actionReconnectAutomatically->setChecked(
        settings.value(QLatin1String(autoReconnectKey), false).toBool());
    connect(ui->actionReconnectAutomatically, &QAction::toggled, this, [this](bool on) {
        QSettings store(
            QSettings::IniFormat, QSettings::UserScope, settingsOrganization, settingsApplication);
        store.setValue(QLatin1String(autoReconnectKey), on);
        // Switched off while attempts run: they end, and the panel is free again.
        if (!on && isReconnecting()) {
            stopReconnecting();
            disconnect();
        }
    });
}

bool EthControl::isReconnecting() const
{
    return reconnectTimer && reconnectTimer->isActive();
}

void EthControl::reconnectAfterLoss()
{
    if (!ui->actionReconnectAutomatically->isChecked() || reconnectEndedByOperator || exitRequested)
        return;
    if (!isReconnecting()) {
        reconnectAttempts = 0;
        qCDebug(lcApp) << "reconnecting every" << attemptInterval << "ms";
    }
    reconnectTimer->start();
    showReconnectWaiting();
}

void EthControl::reconnectAfterFailure()
{
    // The Connect button is enabled only when no Disconnect is pending, so the operator's
    // own attempt starts afresh.
    if (!reconnectAttemptRunning)
        reconnectEndedByOperator = false;
    reconnectAfterLoss();
}

void EthControl::reconnectLinkAttached()
{
    if (!reconnectAttemptRunning) {
        reconnectEndedByOperator = false;
        return;
    }
    rewireDialogsToLink();
    statusLabel->setStyleSheet(QStringLiteral("color: green"));
    statusLabel->setText(tr("Reconnecting to device... (attempt %1)").arg(reconnectAttempts));
    // The first answer of the new link ends the attempts.
    connect(
        link, &SCPI_Parser::updateDisplay, this,
        [this] {
            if (!isReconnecting())
                return;
            qCDebug(lcApp) << "reconnected after" << reconnectAttempts << "attempts";
            stopReconnecting();
        },
        Qt::SingleShotConnection);
}

void EthControl::endReconnection()
{
    stopReconnecting();
    reconnectEndedByOperator = true;
}

void EthControl::stopReconnecting()
{
    reconnectTimer->stop();
    reconnectAttempts = 0;
}

void EthControl::tryReconnect()
{
    // A link that is open waits for its answers; the watchdog ends it if none come.
    if (link && link->isConnected())
        return;
    ++reconnectAttempts;
    reconnectAttemptRunning = true;
    on_buttonConnect_clicked();
    reconnectAttemptRunning = false;
}

void EthControl::showReconnectWaiting()
{
    // The panel keeps the connection being retried: it stays hidden, and only Disconnect acts.
    interfaceTimer->stop();
    ui->tabInterfaces->hide();
    ui->tabInterfaces->setEnabled(false);
    ui->buttonConnect->setEnabled(false);
    ui->buttonDisconnect->setEnabled(true);
    ui->edtIpAddress->setEnabled(false);
    ui->edtPort->setEnabled(false);
    statusLabel->setStyleSheet(QStringLiteral("color: red"));
    statusLabel->setText(
        tr("Not connected. Reconnecting in 2 s (attempt %1)...").arg(reconnectAttempts + 1));
}
