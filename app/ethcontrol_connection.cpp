// Connecting, disconnecting, losing the connection, leaving the program and the network scan.
#include "ethcontrol.h"

#include "applogging.h"
#include "configuration.h"
#include "networkdiscovery.h"
#include "scpi_parser.h"
#include "ui_ethcontrol.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMessageBox>
#include <QMetaMethod>
#include <QSettings>
#include <QTimer>

namespace {
constexpr int disconnectDelay = 500;
constexpr int failureShownFor = 5000;
}

void EthControl::on_buttonConnect_clicked()
{
    watchdog->start();
    interfaceTimer->stop();
    delete link;
    link = nullptr;

    QSettings settings(
        QSettings::IniFormat, QSettings::UserScope, settingsOrganization, settingsApplication);
    const int tab = ui->tabInterfaces->currentIndex();
    if (tab == 2)
        gpibAddress = ui->gpibList->currentText().left(2).trimmed().toInt();
    link = createLink(tab);
    if (!link || !openOrFail())
        return;
    switch (tab) {
    case 0:
        settings.setValue(QStringLiteral("SerialPort"), ui->serialPortList->currentText());
        break;
    case 1:
        settings.setValue(QStringLiteral("IpAddress"), ui->edtIpAddress->text());
        settings.setValue(QStringLiteral("TcpPort"), ui->edtPort->text());
        break;
    case 2:
        settings.setValue(QStringLiteral("GpibAddress"), gpibAddress);
        break;
    }
    settings.setValue(QStringLiteral("SelectedTab"), tab);
    attachLink();
}

bool EthControl::openOrFail()
{
    if (link->connectDevice())
        return true;
    disconnect();
    statusLabel->setText(tr("Can not connect to device!"));
    statusLabel->setStyleSheet(QStringLiteral("color: red"));
    // A new connection made in the meantime keeps its own status line.
    QTimer::singleShot(failureShownFor, this, [this] {
        if (!link)
            setStatusNotConnected();
    });
    return false;
}

void EthControl::attachLink()
{
    cellCache.reset(ui->table->rowCount());
    statusLabel->setStyleSheet(QStringLiteral("color: green"));
    statusLabel->setText(tr("Connecting to device..."));

    connect(link, &SCPI_Parser::updateDisplay, this, &EthControl::updateDisplayTimer);
    // The engine keeps its stop slot protected; the meta-object reaches it by name.
    const QMetaObject *engine = link->metaObject();
    QObject::connect(this, QMetaMethod::fromSignal(&EthControl::stopRefresh), link,
        engine->method(engine->indexOfSlot("onStopRefresh()")));
    connect(link, &SCPI_Parser::updateFirmwareName, configuration, &Configuration::setFirmwareName);
    connect(link, &SCPI_Parser::updateSerialNumber, configuration, &Configuration::setSerialNumber);
    connect(link, &SCPI_Parser::updateDeviceName, this, &EthControl::deviceNameReceived);
    connect(link, &SCPI_Parser::dataReceived, this, &EthControl::dataReceived);
    connect(link, &SCPI_Parser::interfaceModeSupported, this, &EthControl::interfaceModeSupported);

    link->requestIdentity();
    link->restartFullRead();

    ui->tabInterfaces->hide();
    ui->tabInterfaces->setEnabled(false);
    ui->table->setEnabled(true);
    ui->buttonConnect->setEnabled(false);
    ui->buttonDisconnect->setEnabled(true);
    ui->edtIpAddress->setEnabled(false);
    ui->edtPort->setEnabled(false);
    ui->actionStatistic->setEnabled(true);
    ui->actionInputOutput->setEnabled(true);
    ui->actionEmissionParameters->setEnabled(true);
    connectionActions->setEnabled(true);
    ui->tableChanStat->setEnabled(true);
    ui->tableModStat->setEnabled(true);
    ui->table->setFocus();
}

void EthControl::on_buttonDisconnect_clicked()
{
    interfaceTimer->start();
    QSettings settings(
        QSettings::IniFormat, QSettings::UserScope, settingsOrganization, settingsApplication);
    const int behaviour = settings.value(QStringLiteral("OnExitBehaviour"), 0).toInt();
    bool rampDown = behaviour == 1;
    if (behaviour == 0 && connected) {
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
    if (rampDown && link)
        link->setChannelOn(false, link->module().channelCount());
    QTimer::singleShot(disconnectDelay, this, &EthControl::disconnect);
    emit stopRefresh();
}

void EthControl::disconnect()
{
    watchdog->stop();
    if (link) {
        link->disconnectDevice();
        delete link;
        link = nullptr;
    }
    setStatusNotConnected();
    ui->table->setEnabled(false);
    ui->tabInterfaces->setEnabled(true);
    ui->tabInterfaces->show();
    ui->buttonConnect->setEnabled(true);
    ui->buttonDisconnect->setEnabled(false);
    ui->edtIpAddress->setEnabled(true);
    ui->edtPort->setEnabled(true);
    connectionActions->setEnabled(false);
    ui->tableChanStat->setEnabled(false);
    ui->tableModStat->setEnabled(false);
    ui->actionStatistic->setEnabled(false);
    ui->actionInputOutput->setEnabled(false);
    ui->actionEmissionParameters->setEnabled(false);
    // The interface lists follow plugged and unplugged devices whenever no link is open.
    interfaceTimer->start();
    if (exitRequested)
        QCoreApplication::quit();
}

void EthControl::closeEvent(QCloseEvent *event)
{
    if (!exitRequested) {
        exitRequested = true;
        on_buttonDisconnect_clicked();
        event->ignore();
        return;
    }
    emit stopRefresh();
    event->accept();
}

void EthControl::communicationTimeout()
{
    qCDebug(lcApp) << "Connection lost due to timeout while requesting"
                   << (link ? link->pendingRequest() : 0);
    disconnect();
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
    ui->edtIpAddress->setText(sender.toString());
}

void EthControl::setStatusNotConnected()
{
    statusLabel->setText(tr("Not connected."));
    statusLabel->setStyleSheet(QStringLiteral("color: red"));
    connected = false;
}

void EthControl::deviceNameReceived(QString name)
{
    deviceName = name;
}

void EthControl::dataReceived(int num)
{
    ui->packets->setText(QString::number(num));
}

void EthControl::interfaceModeSupported(bool supported)
{
    ui->actionConfigureListenOnlyMode->setEnabled(supported);
}

void EthControl::on_table_cellClicked(int, int) { }

void EthControl::on_table_itemSelectionChanged() { }
