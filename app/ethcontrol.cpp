// Construction of the main window, and what it shows of the session's state.
#include "ethcontrol.h"

#include "modulecontroller.h"

#include "configuration.h"
#include "connectionpanel.h"
#include "dialogprompter.h"
#include "displayrefresh.h"
#include "historypanel.h"
#include "networkdiscovery.h"
#include "operatorcommands.h"
#include "repaintlimiter.h"
#include "scpi_parser.h"
#include "settingsstore.h"
#include "throttledcount.h"
#include "ui_ethcontrol.h"

#include <QActionGroup>
#include <QHeaderView>
#include <QLabel>
#include <QMetaMethod>
#include <QStatusBar>
#include <QTimer>

namespace {
constexpr int interfaceListInterval = 6000;
constexpr int paintInterval = 40;
constexpr int failureShownFor = 5000;
} // namespace

EthControl::EthControl(QWidget *parent)
    : QMainWindow(parent)
    , ui(std::make_unique<Ui::EthControl>())
{
    ui->setupUi(this);
    setWindowTitle(
        tr("%1 %2").arg(QStringLiteral("Vorn SCPI Control"), QStringLiteral(VORN_VERSION)));
    connect(ui->table, &HvTable::cellDataChanged, this, &EthControl::tableCellDataChanged);

    controller = new ModuleController(this);
    moduleSession = controller->session();
    statusLabel = new QLabel(this);
    statusLabel->setObjectName(QStringLiteral("lblStatus"));
    configuration = new Configuration(this, SettingsStore::organization());
    configuration->load();
    display = new DisplayRefresh({ ui->table, ui->tableChanStat, ui->tableModStat, statusLabel,
                                     ui->lblSerial, ui->lblFirmwareName, ui->lblFirmwareRel,
                                     ui->lblVRampSpeed, ui->lblIRampSpeed, ui->lblChanTable },
        configuration, moduleSession, this, this);
    display->applyConfiguration();
    connect(configuration, &Configuration::saved, display, &DisplayRefresh::applyConfiguration);

    interfaceTimer = new QTimer(this);
    connect(interfaceTimer, &QTimer::timeout, this, &EthControl::updateInterfaces);
    interfaceTimer->start(interfaceListInterval);

    connect(moduleSession, &ModuleSession::answerProcessed, this, &EthControl::refreshDisplay);
    connect(moduleSession, &ModuleSession::stateChanged, this, &EthControl::showSessionState);
    connect(moduleSession, &ModuleSession::reconnectScheduled, this, &EthControl::showSessionState);
    connect(moduleSession, &ModuleSession::linkChanged, this, &EthControl::followLink);
    connect(moduleSession, &ModuleSession::openFailed, this, &EthControl::showOpenFailure);
    connect(moduleSession, &ModuleSession::connectionLost, this, [this] {
        if (exitRequested)
            QCoreApplication::quit();
    });
    connect(this, &EthControl::stopRefresh, moduleSession, &ModuleSession::stopRefresh);
    setUpReconnection();

    discovery = new NetworkDiscovery(this);
    connect(discovery, &NetworkDiscovery::answerReady, this, &EthControl::udpDatagramReceived);
    ui->table->setContextMenuPolicy(Qt::CustomContextMenu);

    connectionPanel = new ConnectionPanel(
        { ui->tabInterfaces, ui->serialPortList, ui->edtIpAddress, ui->edtPort, ui->gpibList },
        this);
    connectionPanel->load();

    incrementLabel = new QLabel(this);
    incrementLabel->setObjectName(QStringLiteral("lblIncrement"));
    statusBar()->insertWidget(0, statusLabel);
    statusBar()->insertWidget(1, incrementLabel);
    historyPanel
        = new HistoryPanel(controller->history(), { this, statusBar(), ui->table }, QString(), this);

    prompter = std::make_unique<DialogPrompter>(this, ui->table, statusBar());
    commands = new OperatorCommands(controller, configuration, prompter.get(), this);
    connect(commands, &OperatorCommands::incrementLabelChanged, incrementLabel, &QLabel::setText);
    connect(
        commands, &OperatorCommands::voltageRampLabelChanged, ui->lblVRampSpeed, &QLabel::setText);
    connect(
        commands, &OperatorCommands::currentRampLabelChanged, ui->lblIRampSpeed, &QLabel::setText);
    // A ramp label in the command's form is written in the refresh's form at the next refresh.
    connect(commands, &OperatorCommands::voltageRampLabelChanged, display,
        &DisplayRefresh::forgetLabels);
    connect(commands, &OperatorCommands::currentRampLabelChanged, display,
        &DisplayRefresh::forgetLabels);

    for (StatTable *table : { static_cast<StatTable *>(ui->tableChanStat),
             static_cast<StatTable *>(ui->tableModStat) }) {
        table->initTable();
        table->verticalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    }
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
             ui->actionScpiConsole, ui->actionStatistic, ui->actionInputOutput,
             ui->actionEmissionParameters })
        connectionActions->addAction(action);
    showControls(false, true);

    // The answer counter changes with every answer; a fixed size keeps that from laying out
    // the whole window each time.
    ui->packets->setFixedSize(
        ui->packets->fontMetrics().horizontalAdvance(QStringLiteral("0000000000")),
        ui->packets->sizeHint().height());
    packetCount = new ThrottledCount(ui->packets, paintInterval, this);
    new RepaintLimiter(this, paintInterval);
}

EthControl::~EthControl() = default;

void EthControl::connectNotify(const QMetaMethod &)
{
    if (display)
        display->forgetReceivers();
}

void EthControl::disconnectNotify(const QMetaMethod &)
{
    if (display)
        display->forgetReceivers();
}

bool EthControl::hasReceivers(Signal signal) const
{
    switch (signal) {
    case AllStarted:
        return isSignalConnected(QMetaMethod::fromSignal(&EthControl::updateAllModulesStarted));
    case AllCompleted:
        return isSignalConnected(QMetaMethod::fromSignal(&EthControl::updateAllModulesCompleted));
    case Temperature:
        return isSignalConnected(QMetaMethod::fromSignal(&EthControl::updateModuleTemperature));
    case VoltageMeasure:
        return isSignalConnected(QMetaMethod::fromSignal(&EthControl::updateChannelVoltageMeasure));
    case CurrentMeasure:
        return isSignalConnected(QMetaMethod::fromSignal(&EthControl::updateChannelCurrentMeasure));
    case ChannelStatus:
        return isSignalConnected(QMetaMethod::fromSignal(&EthControl::updateChannelStatus));
    case SuppliesTempLimits:
        return isSignalConnected(QMetaMethod::fromSignal(&EthControl::updateSuppliesTempLimits));
    case ChannelControl:
        return isSignalConnected(QMetaMethod::fromSignal(&EthControl::updateChannelControlStatus));
    case ModuleControl:
        return isSignalConnected(QMetaMethod::fromSignal(&EthControl::updateModuleControlStatus));
    case PerChannel:
        break;
    }
    return false;
}

bool EthControl::isConnectedToModule() const
{
    return display->hasShownConnection();
}

void EthControl::showControls(bool linkOpen, bool panelFree)
{
    connectionPanel->setEditable(panelFree);
    ui->buttonConnect->setEnabled(panelFree);
    ui->buttonDisconnect->setEnabled(!panelFree);
    ui->table->setEnabled(linkOpen);
    ui->tableChanStat->setEnabled(linkOpen);
    ui->tableModStat->setEnabled(linkOpen);
    connectionActions->setEnabled(linkOpen);
    // The interface lists follow plugged and unplugged devices whenever no link is open.
    if (panelFree)
        interfaceTimer->start();
    else
        interfaceTimer->stop();
}

void EthControl::showSessionState()
{
    using State = ModuleSession::State;
    const State state = moduleSession->state();
    const bool linkOpen = link() != nullptr;
    showControls(linkOpen, state == State::Idle);
    // Once the module answers, the refresh writes the status line.
    if (state == State::Connected)
        return;
    if (state == State::Idle) {
        setStatusNotConnected();
        return;
    }
    const int attempts = moduleSession->attempts();
    if (state == State::Reconnecting && !linkOpen) {
        statusLabel->setStyleSheet(QStringLiteral("color: red"));
        statusLabel->setText(
            tr("Not connected. Reconnecting in 2 s (attempt %1)...").arg(attempts + 1));
        return;
    }
    statusLabel->setStyleSheet(QStringLiteral("color: green"));
    statusLabel->setText(state == State::Reconnecting
            ? tr("Reconnecting to device... (attempt %1)").arg(attempts)
            : tr("Connecting to device..."));
}

void EthControl::showOpenFailure()
{
    // With attempts following, the status line says so instead.
    if (moduleSession->state() != ModuleSession::State::Idle)
        return;
    statusLabel->setText(tr("Can not connect to device!"));
    statusLabel->setStyleSheet(QStringLiteral("color: red"));
    // A new connection made in the meantime keeps its own status line.
    QTimer::singleShot(failureShownFor, this, [this] {
        if (moduleSession->state() == ModuleSession::State::Idle)
            setStatusNotConnected();
    });
}

void EthControl::followLink(SCPI_Parser *link)
{
    if (link) {
        display->reset();
        connect(
            link, &SCPI_Parser::updateFirmwareName, configuration, &Configuration::setFirmwareName);
        connect(
            link, &SCPI_Parser::updateSerialNumber, configuration, &Configuration::setSerialNumber);
        connect(link, &SCPI_Parser::updateDeviceName, this, &EthControl::deviceNameReceived);
        connect(link, &SCPI_Parser::dataReceived, this, &EthControl::dataReceived);
        connect(
            link, &SCPI_Parser::interfaceModeSupported, this, &EthControl::interfaceModeSupported);
        connectionPanel->remember(moduleSession->settings());
    }
    showSessionState();
    if (link)
        ui->table->setFocus();
}

void EthControl::refreshDisplay()
{
    display->refresh();
}

void EthControl::on_buttonFlipCh_clicked()
{
    const bool show = ui->tableChanStat->isHidden();
    ui->tableChanStat->setVisible(show);
    ui->buttonFlipCh->setText(show ? QStringLiteral("-") : QStringLiteral("+"));
}

void EthControl::on_buttonFlipMod_clicked()
{
    const bool show = ui->tableModStat->isHidden();
    ui->tableModStat->setVisible(show);
    ui->buttonFlipMod->setText(show ? QStringLiteral("-") : QStringLiteral("+"));
}
