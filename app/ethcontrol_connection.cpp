// Connecting, disconnecting, losing the connection, leaving the program and the network scan:
// forwards to the module session and the connection panel.
#include "ethcontrol.h"

#include "applogging.h"
#include "connectionpanel.h"
#include "displayrefresh.h"
#include "networkdiscovery.h"
#include "scpi_parser.h"
#include "settingsstore.h"
#include "throttledcount.h"
#include "ui_ethcontrol.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMessageBox>
#include <QTimer>

namespace {
constexpr int disconnectDelay = 500;
constexpr int reconnectPauseMs = 2000;
} // namespace

void EthControl::on_buttonConnect_clicked()
{
    moduleSession->connectTo(connectionPanel->chosen());
}

void EthControl::on_buttonDisconnect_clicked()
{
    const int behaviour = SettingsStore::panel()
                              .value(QLatin1String(SettingsStore::Key::OnExitBehaviour), 0)
                              .toInt();
    bool rampDown = behaviour == 1;
    if (behaviour == 0 && display->hasShownConnection()) {
        const QMessageBox::StandardButton answer = QMessageBox::question(this,
            tr("Vorn SCPI Control"), tr("Ramp down all high voltages?"),
            QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        if (answer == QMessageBox::Cancel) {
            // The connection stays and keeps polling; a close request that asked is dropped.
            exitRequested = false;
            return;
        }
        rampDown = answer == QMessageBox::Yes;
    }
    if (rampDown && link())
        link()->setChannelOn(false, link()->module().channelCount());
    moduleSession->stopReconnecting();
    QTimer::singleShot(disconnectDelay, this, &EthControl::disconnect);
    emit stopRefresh();
}

void EthControl::disconnect()
{
    moduleSession->disconnectFromModule();
    showSessionState();
    if (exitRequested)
        QCoreApplication::quit();
}

void EthControl::closeEvent(QCloseEvent *event)
{
    // The refresh stops in every case, also when the first request's question was cancelled.
    const bool first = !exitRequested;
    if (first) {
        exitRequested = true;
        on_buttonDisconnect_clicked();
    }
    emit stopRefresh();
    if (first)
        event->ignore();
    else
        event->accept();
}

void EthControl::communicationTimeout()
{
    moduleSession->expireWatchdog();
}

void EthControl::setUpReconnection()
{
    QAction *automatic = ui->actionReconnectAutomatically;
    const QLatin1String key(SettingsStore::Key::AutoReconnect);
    automatic->setChecked(SettingsStore::panel().value(key, false).toBool());
    const auto usePolicy = [this](bool on) {
        moduleSession->setReconnectPolicy({ on, reconnectPauseMs, reconnectPauseMs });
    };
    usePolicy(automatic->isChecked());
    connect(automatic, &QAction::toggled, this, [this, key, usePolicy](bool on) {
        SettingsStore::panel().setValue(key, on);
        usePolicy(on);
        // Switched off while attempts run: they end, and the panel is free again.
        if (!on && moduleSession->state() == ModuleSession::State::Reconnecting) {
            moduleSession->stopReconnecting();
            disconnect();
        }
    });
}

void EthControl::updateInterfaces()
{
    // The lists are refilled only while the operator can choose an interface.
    if (ui->buttonConnect->isEnabled())
        connectionPanel->refreshLists();
}

void EthControl::on_actionScanForIpAddress_triggered()
{
    discovery->scan();
}

void EthControl::udpDatagramReceived()
{
    const QHostAddress sender = discovery->readAnswer();
    if (sender.isNull())
        return;
    qCDebug(lcApp) << sender.toString();
    connectionPanel->setHost(sender.toString());
}

void EthControl::setStatusNotConnected()
{
    statusLabel->setText(tr("Not connected."));
    statusLabel->setStyleSheet(QStringLiteral("color: red"));
    display->forgetConnection();
}

void EthControl::deviceNameReceived(QString name)
{
    display->setDeviceName(name);
}

void EthControl::dataReceived(int num)
{
    packetCount->show(num);
}

void EthControl::interfaceModeSupported(bool supported)
{
    ui->actionConfigureListenOnlyMode->setEnabled(supported);
}

void EthControl::on_table_cellClicked(int, int) { }

void EthControl::on_table_itemSelectionChanged() { }
