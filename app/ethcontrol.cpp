// Construction of the main window, the interface lists and the link each tab creates.
#include "ethcontrol.h"

#include "configuration.h"
#include "networkdiscovery.h"
#include "repaintlimiter.h"
#include "scpi_eth.h"
#include "scpi_gpib.h"
#include "scpi_serial.h"
#include "ui_ethcontrol.h"

#include <QActionGroup>
#include <QHeaderView>
#include <QLabel>
#include <QSettings>
#include <QStatusBar>
#include <QTimer>

namespace {
constexpr int interfaceListInterval = 6000;
constexpr int watchdogInterval = 4000;
const char defaultIpAddress[] = "192.168.1.100";
constexpr int defaultTcpPort = 10001;
constexpr int defaultGpibAddress = 17;
constexpr int paintInterval = 40;
}

EthControl::EthControl(QWidget *parent)
    : QMainWindow(parent)
    , ui(std::make_unique<Ui::EthControl>())
{
    ui->setupUi(this);
    setWindowTitle(
        tr("%1 %2").arg(QStringLiteral("Vorn SCPI Control"), QStringLiteral(VORN_VERSION)));
    connect(ui->table, &HvTable::cellDataChanged, this, &EthControl::tableCellDataChanged);

    settingsOrganization = QStringLiteral("Vornwerk GmbH");
    settingsApplication = QStringLiteral("VornScpiControl");

    configuration = new Configuration(this, settingsOrganization, ui->table);
    configuration->load();
    configuration->applyToTable();

    interfaceTimer = new QTimer(this);
    connect(interfaceTimer, &QTimer::timeout, this, &EthControl::updateInterfaces);
    interfaceTimer->start();
    interfaceTimer->setInterval(interfaceListInterval);

    watchdog = new QTimer(this);
    connect(watchdog, &QTimer::timeout, this, &EthControl::communicationTimeout);
    watchdog->setInterval(watchdogInterval);
    setUpReconnection();

    discovery = new NetworkDiscovery(this);
    connect(discovery, &NetworkDiscovery::answerReady, this, &EthControl::udpDatagramReceived);
    ui->table->setContextMenuPolicy(Qt::CustomContextMenu);

    QSettings settings(
        QSettings::IniFormat, QSettings::UserScope, settingsOrganization, settingsApplication);
    ui->tabInterfaces->setCurrentIndex(settings.value(QStringLiteral("SelectedTab"), 0).toInt());
    ui->tabInterfaces->setStyleSheet(QString());
    ui->edtIpAddress->setText(
        settings.value(QStringLiteral("IpAddress"), QLatin1String(defaultIpAddress)).toString());
    ui->edtPort->setText(settings.value(QStringLiteral("TcpPort"), defaultTcpPort).toString());
    serialPortName = settings.value(QStringLiteral("SerialPort"), QString()).toString();
    fillSerialPortList();
    gpibAddress = settings.value(QStringLiteral("GpibAddress"), defaultGpibAddress).toInt();
    fillGpibList(true);
    deviceName.clear();

    statusLabel = new QLabel(this);
    incrementLabel = new QLabel(this);
    statusLabel->setObjectName(QStringLiteral("lblStatus"));
    incrementLabel->setObjectName(QStringLiteral("lblIncrement"));
    statusBar()->insertWidget(0, statusLabel);
    statusBar()->insertWidget(1, incrementLabel);

    for (StatTable *table : { static_cast<StatTable *>(ui->tableChanStat),
             static_cast<StatTable *>(ui->tableModStat) }) {
        table->initTable();
        table->setEnabled(false);
        table->verticalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    }

    ui->actionStatistic->setEnabled(false);
    ui->actionInputOutput->setEnabled(false);
    ui->actionEmissionParameters->setEnabled(false);
    ui->actionConfigureListenOnlyMode->setEnabled(false);

    connectionActions = new QActionGroup(this);
    connectionActions->setExclusive(false);
    for (QAction *action : { ui->actionChannelStatusControl, ui->actionClearAllChannelsEmergencyOff,
             ui->actionClearAllEvents, ui->actionClearChannelEmergencyOff, ui->actionClearEvents,
             ui->actionDigitalFilter, ui->actionModuleStatusControl, ui->actionSelectChannel,
             ui->actionSetAllChannelsEmergencyOff, ui->actionSetAllChannelsOff,
             ui->actionSetAllChannelsOn, ui->actionSetAllCurrents, ui->actionSetAllVoltages,
             ui->actionSetChannelEmergencyOff, ui->actionSetChannelOff, ui->actionSetChannelOn,
             ui->actionSetCurrentRamp, ui->actionSetIset, ui->actionSetVoltageIncremental,
             ui->actionSetVoltageRamp, ui->actionSetVset, ui->actionSuppliesAndTemperature,
             ui->actionScpiConsole })
        connectionActions->addAction(action);
    connectionActions->setEnabled(false);

    // The answer counter changes with every answer; a fixed size keeps that from laying out
    // the whole window each time.
    ui->packets->setFixedSize(
        ui->packets->fontMetrics().horizontalAdvance(QStringLiteral("0000000000")),
        ui->packets->sizeHint().height());
    new RepaintLimiter(this, paintInterval);
}

EthControl::~EthControl() = default;

void EthControl::fillSerialPortList()
{
    ui->serialPortList->clear();
    ui->serialPortList->addItems(SCPI_Serial::listSerialPorts());
    const int index
        = ui->serialPortList->findText(serialPortName, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index >= 0)
        ui->serialPortList->setCurrentIndex(index);
}

void EthControl::fillGpibList(bool reselect)
{
    ui->gpibList->clear();
    ui->gpibList->addItems(SCPI_Gpib::scanGpibBus());
    if (!reselect || gpibAddress <= 0 || gpibAddress >= 32)
        return;
    const QString prefix = QString::number(gpibAddress) + QLatin1Char(' ');
    for (int i = 0; i < ui->gpibList->count(); ++i) {
        if (ui->gpibList->itemText(i).startsWith(prefix)) {
            ui->gpibList->setCurrentIndex(i);
            return;
        }
    }
}

void EthControl::updateInterfaces()
{
    // The lists are refilled only while the operator can choose an interface.
    if (!ui->buttonConnect->isEnabled())
        return;
    fillGpibList(false);
    fillSerialPortList();
}

SCPI_Parser *EthControl::createLink(int tab)
{
    switch (tab) {
    case 0: {
        auto *serial = new SCPI_Serial(this);
        serial->setPortName(ui->serialPortList->currentText());
        return serial;
    }
    case 1: {
        auto *eth = new SCPI_Eth(this);
        eth->setPort(ui->edtPort->text().toUShort(nullptr, 10));
        eth->setHostAddress(ui->edtIpAddress->text());
        return eth;
    }
    case 2: {
        auto *gpib = new SCPI_Gpib(this);
        gpib->setPrimaryAddress(gpibAddress);
        return gpib;
    }
    default:
        return nullptr;
    }
}
