// Connecting, disconnecting, losing the connection and leaving the program.
#include "ethcontrol.h"

#include "ui_ethcontrol.h"

#include <QCloseEvent>

void EthControl::updateInterfaces() { }

void EthControl::communicationTimeout() { }

void EthControl::udpDatagramReceived() { }

void EthControl::deviceNameReceived(QString /*name*/) { }

void EthControl::disconnect() { }

void EthControl::on_buttonConnect_clicked() { }

void EthControl::on_buttonDisconnect_clicked() { }

void EthControl::on_actionScanForIpAddress_triggered() { }

void EthControl::on_table_cellClicked(int, int) { }

void EthControl::on_table_itemSelectionChanged() { }

void EthControl::dataReceived(int /*num*/) { }

void EthControl::interfaceModeSupported(bool /*supported*/) { }

void EthControl::setStatusNotConnected() { }

void EthControl::closeEvent(QCloseEvent *event)
{
    QMainWindow::closeEvent(event);
}
