#pragma once

#include "cellcache.h"
#include "module.h"

#include <QMainWindow>
#include <QPoint>
#include <QString>

#include <memory>

namespace Ui {
class EthControl;
}

class Configuration;
class ConsoleWindow;
class DialogChannelControl;
class DialogConfiguration;
class DialogEmissionParameters;
class DialogInputOutput;
class DialogModuleControl;
class DialogStatistic;
class DialogSuppliesTempLimits;
class NetworkDiscovery;
class QActionGroup;
class QCloseEvent;
class QLabel;
class QTimer;
class SCPI_Parser;
class TrendWindow;

/// The main window: the connection panel, the channel and status tables, the menus and the
/// dialogs. It owns at most one link (the engine of the current connection), created by Connect
/// and deleted on disconnect and before every new attempt. Every answer the link processes runs
/// one display refresh (updateDisplayTimer()), which also restarts the connection watchdog.
class EthControl : public QMainWindow
{
    Q_OBJECT

public:
    explicit EthControl(QWidget *parent = nullptr);
    ~EthControl() override;

    /// The current link, null while not connected.
    SCPI_Parser *currentLink() const { return link; }
    /// The Ethernet discovery the scan action uses (tests aim it at loopback).
    NetworkDiscovery *networkDiscovery() const { return discovery; }
    bool isConnectedToModule() const { return connected; }

signals:
    void updateAllModulesStarted();
    void updateAllModulesCompleted();
    void updateModuleTemperature(int serialNumber, int index, float temperature);
    void updateChannelVoltageMeasure(int serialNumber, int channel, float siValue);
    void updateChannelCurrentMeasure(int serialNumber, int channel, float siValue);
    void updateChannelStatus(int serialNumber, int channel, quint32 status, quint32 eventStatus);
    void updateSuppliesTempLimits(double sp5, double sp24, double sp12, double sn12, double temp,
        double vmax, double imax, QString fname);
    void updateChannelControlStatus(int chn, quint16 control, quint16 status, quint16 eventstatus,
        quint16 eventmask, float vnom, float inom);
    void updateModuleControlStatus(
        quint16 control, quint16 status, quint16 eventstatus, quint16 eventmask);
    void stopRefresh();

public slots:
    void updateDisplayTimer();
    void updateInterfaces();
    void communicationTimeout();
    void clearChannelEvents(quint16 channel);
    void setChannelControl(quint16 channel, quint16 control);
    void setChannelEventMask(quint16 channel, quint16 eventmask);
    void clearModuleEvents();
    void setModuleControl(quint16 control);
    void setModuleEventMask(quint16 eventmask);
    void udpDatagramReceived();
    void tableCellDataChanged(int row, int column, QString text);
    void deviceNameReceived(QString name);

private slots:
    void disconnect();
    void on_buttonConnect_clicked();
    void on_buttonDisconnect_clicked();
    void on_actionSetVset_triggered();
    void on_actionSetIset_triggered();
    void on_actionSetChannelOn_triggered();
    void on_actionSetChannelOff_triggered();
    void on_actionSelectChannel_triggered();
    void on_actionSetAllChannelsOn_triggered();
    void on_actionSetAllChannelsOff_triggered();
    void on_actionSetVoltageRamp_triggered();
    void on_actionSetCurrentRamp_triggered();
    void on_actionSetAllVoltages_triggered();
    void on_actionSetAllCurrents_triggered();
    void on_actionSetVoltageIncremental_triggered();
    void on_actionSuppliesAndTemperature_triggered();
    void on_actionClearChannelEmergencyOff_triggered();
    void on_actionSetChannelEmergencyOff_triggered();
    void on_actionChannelStatusControl_triggered();
    void on_actionModuleStatusControl_triggered();
    void on_actionClearEvents_triggered();
    void on_actionDigitalFilter_triggered();
    void on_actionScanForIpAddress_triggered();
    void on_actionClearAllEvents_triggered();
    void on_actionAbout_triggered();
    void on_actionAboutQt_triggered();
    void on_table_cellClicked(int, int);
    void on_table_itemSelectionChanged();
    void on_table_customContextMenuRequested(QPoint pos);
    void on_actionSetAllChannelsEmergencyOff_triggered();
    void on_actionClearAllChannelsEmergencyOff_triggered();
    void on_actionConfiguration_triggered();
    void on_buttonFlipCh_clicked();
    void on_buttonFlipMod_clicked();
    void dataReceived(int num);
    void interfaceModeSupported(bool supported);
    void on_actionStatistic_triggered();
    void on_actionInputOutput_triggered();
    void outputChanged(Module::Output output, int value);
    void on_actionIncrementVoltage_triggered();
    void on_actionDecrementVoltage_triggered();
    void on_actionSetIncrement_triggered();
    void on_actionSetIncrementTimes10_triggered();
    void on_actionSetIncrementBy10_triggered();
    void setStatusNotConnected();
    void on_actionEmissionParameters_triggered();
    void on_actionSaveChangedConfigurationInDevice_triggered();
    void on_actionConfigureListenOnlyMode_triggered();

    // Tool windows
private slots:
    void on_actionScpiConsole_triggered();
    void on_actionTrend_triggered();

protected:
    /// Creates the unopened link for connection tab \a tab (0 serial, 1 Ethernet, 2 GPIB),
    /// configured from the connection panel, with the window as parent.
    virtual SCPI_Parser *createLink(int tab);

    /// The first close request runs the Disconnect logic and keeps the window; the program
    /// ends when the delayed disconnect() has run. A second request closes at once.
    void closeEvent(QCloseEvent *event) override;

private:
    // Command helpers (declarations for the operator commands go here)
    friend struct CommandsProbe;
    /// The selected channel for a one-channel command, or -1 when there is no link or no
    /// channel of the module is selected; the operator is told about the missing selection.
    int commandChannel();
    /// The selected channel, or 0; the initial value of the all-channels dialogs.
    int initialChannel() const;
    /// The module menu; only with a link, because every entry needs one.
    void contextMenuEvent(QContextMenuEvent *event) override;

    // Dialog helpers (declarations for the dialog openers go here)
    /// Rewires the Input/Output and Emission Parameters dialogs to the current link's module
    /// (and engine) when the link has changed since they were wired; runs at every opening and
    /// at every display refresh once one of them exists. Safe without a link.
    void rewireDialogsToLink();
    void followLinkOnRefresh();
    void watchLinkDeletion();
    void forgetDeletedLink(QObject *gone);
    /// Gives the Input/Output dialog the module's three outputs and its interlock inputs.
    void showModuleInInputOutput();
    /// The links the two module-listening dialogs are wired to (not owned; cleared on deletion).
    SCPI_Parser *inputOutputLink = nullptr;
    SCPI_Parser *emissionLink = nullptr;

    std::unique_ptr<Ui::EthControl> ui;
    /// Units, precisions and column headers of the channel table; child of the window.
    Configuration *configuration = nullptr;

    DialogSuppliesTempLimits *dialogSuppliesTempLimits = nullptr;
    DialogChannelControl *dialogChannelControl = nullptr;
    DialogModuleControl *dialogModuleControl = nullptr;
    DialogConfiguration *dialogConfiguration = nullptr;
    DialogStatistic *dialogStatistic = nullptr;
    DialogInputOutput *dialogInputOutput = nullptr;
    DialogEmissionParameters *dialogEmissionParameters = nullptr;

    // Tool windows: created on first use, children of the window; they ask for the current
    // link whenever they need it and never keep a link of their own.
    ConsoleWindow *consoleWindow = nullptr;
    TrendWindow *trendWindow = nullptr;

    /// The current link and engine; a child of the window, deleted on disconnect.
    SCPI_Parser *link = nullptr;
    QTimer *watchdog = nullptr;
    QTimer *interfaceTimer = nullptr;
    /// Finds Ethernet modules; its socket is created by the first scan.
    NetworkDiscovery *discovery = nullptr;
    QActionGroup *connectionActions = nullptr;
    QLabel *statusLabel = nullptr;
    QLabel *incrementLabel = nullptr;

    int gpibAddress = 0;
    QString deviceName;
    QString serialPortName;
    QString settingsOrganization;
    QString settingsApplication;
    bool connected = false;
    bool exitRequested = false;

    /// Runs connectDevice(); on failure ends the attempt and shows the failure for 5 s.
    bool openOrFail();
    /// Wires a freshly opened link to the window and starts identification.
    void attachLink();
    /// Refills the serial port list and reselects the stored port.
    void fillSerialPortList();
    /// Refills the GPIB list; with \a reselect selects the entry of the stored address.
    void fillGpibList(bool reselect);
    /// Fills row \a row of the channel table from channel \a row of the module.
    void refreshRow(const Module &module, int row, int serialNumber);
    /// Fills the status tables for the selected row and emits their signals.
    void refreshSelectedRow(const Module &module, int row);
    void refreshLabels(const Module &module);
    /// Forgets the cached cells when the display units changed or a cell was edited.
    void checkCellCache(int rows);

    CellCache cellCache;
    /// Units and precisions the cached cells were formatted with.
    QString cellCacheFormat;
    int lastEditingRow = -1;
};
