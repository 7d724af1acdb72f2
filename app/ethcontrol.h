#pragma once

#include "displaysignals.h"
#include "module.h"
#include "modulesession.h"

#include <QMainWindow>
#include <QPoint>
#include <QString>

#include <memory>

namespace Ui {
class EthControl;
}

class Configuration;
class ConnectionPanel;
class ConsoleWindow;
class DialogChannelControl;
class DialogConfiguration;
class DialogEmissionParameters;
class DialogInputOutput;
class DialogModuleControl;
class DialogPrompter;
class DialogStatistic;
class DialogSuppliesTempLimits;
class DisplayRefresh;
class ThrottledCount;
class HistoryPanel;
class ModuleController;
class NetworkDiscovery;
class OperatorCommands;
class QActionGroup;
class QCloseEvent;
class QLabel;
class QTimer;
class SCPI_Parser;
class SequenceWindow;
class TrendWindow;

/// The main window: it arranges the connection panel, the channel and status tables, the menus
/// and the dialogs, and forwards the operator's actions to the classes that do the work. The
/// module session owns the link of the present connection, its watchdog and the reconnection;
/// every answer the link processes runs one display refresh (refreshDisplay()). What is
/// enabled and what the status line says follows the session's state (showSessionState()).
/// The values each refresh sends for the open dialogs (DisplaySignals) go out as the window's
/// declared signals.
class EthControl : public QMainWindow, private DisplaySignals
{
    Q_OBJECT

public:
    explicit EthControl(QWidget *parent = nullptr);
    ~EthControl() override;

    /// The current link, null while not connected.
    SCPI_Parser *currentLink() const { return moduleSession->link(); }
    /// The connection to the module; tests give it a link factory of their own.
    ModuleSession *session() const { return moduleSession; }
    /// The Ethernet discovery the scan action uses (tests aim it at loopback).
    NetworkDiscovery *networkDiscovery() const { return discovery; }
    bool isConnectedToModule() const;
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
    void refreshDisplay();
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
    void on_actionEventHistory_triggered();
    void on_actionSequence_triggered();

protected:
    /// The first close request runs the Disconnect logic and keeps the window; the program
    /// ends when the delayed disconnect() has run. A second request closes at once.
    void closeEvent(QCloseEvent *event) override;
    /// A receiver more or less for one of the window's signals: the display refresh asks again
    /// which it emits.
    void connectNotify(const QMetaMethod &signal) override;
    void disconnectNotify(const QMetaMethod &signal) override;

private:
    /// DisplaySignals: whether the declared signal of \a signal has a receiver, and each value
    /// emitted as its declared signal.
    bool hasReceivers(Signal signal) const override;
    void allModulesStarted() override { emit updateAllModulesStarted(); }
    void allModulesCompleted() override { emit updateAllModulesCompleted(); }
    void moduleTemperature(int serialNumber, int index, float temperature) override
    {
        emit updateModuleTemperature(serialNumber, index, temperature);
    }
    void channelVoltageMeasure(int serialNumber, int channel, float siValue) override
    {
        emit updateChannelVoltageMeasure(serialNumber, channel, siValue);
    }
    void channelCurrentMeasure(int serialNumber, int channel, float siValue) override
    {
        emit updateChannelCurrentMeasure(serialNumber, channel, siValue);
    }
    void channelStatus(int serialNumber, int channel, quint32 status, quint32 eventStatus) override
    {
        emit updateChannelStatus(serialNumber, channel, status, eventStatus);
    }
    void suppliesTempLimits(double sp5, double sp24, double sp12, double sn12, double temp,
        double vmax, double imax, const QString &fname) override
    {
        emit updateSuppliesTempLimits(sp5, sp24, sp12, sn12, temp, vmax, imax, fname);
    }
    void channelControlStatus(int chn, quint16 control, quint16 status, quint16 eventstatus,
        quint16 eventmask, float vnom, float inom) override
    {
        emit updateChannelControlStatus(chn, control, status, eventstatus, eventmask, vnom, inom);
    }
    void moduleControlStatus(
        quint16 control, quint16 status, quint16 eventstatus, quint16 eventmask) override
    {
        emit updateModuleControlStatus(control, status, eventstatus, eventmask);
    }

    /// The module menu; only with a link, because every entry needs one.
    void contextMenuEvent(QContextMenuEvent *event) override;
    SCPI_Parser *link() const { return moduleSession->link(); }

    /// Sets what is enabled, shown and said in the status line from the session's state.
    void showSessionState();
    /// Enables what needs a link when \a linkOpen, and the connection panel when \a panelFree.
    void showControls(bool linkOpen, bool panelFree);
    /// A link could not be opened: says so for 5 s, unless attempts follow.
    void showOpenFailure();
    /// Wires a new link's identity signals and remembers its connection.
    void followLink(SCPI_Parser *link);
    /// Connects the "Reconnect Automatically" action with the session and the settings.
    void setUpReconnection();

    std::unique_ptr<Ui::EthControl> ui;
    /// The connection to the module: link, watchdog, reconnection; child of the window.
    /// The module's owner: session, history, sequence runner, command gate.
    ModuleController *controller = nullptr;
    ModuleSession *moduleSession = nullptr;
    /// Units, precisions and column headers of the channel table; child of the window.
    Configuration *configuration = nullptr;
    /// Writes the tables and labels after every answer; child of the window.
    DisplayRefresh *display = nullptr;
    /// The answer counter in the status bar, written at most as often as the window is painted.
    ThrottledCount *packetCount = nullptr;
    ConnectionPanel *connectionPanel = nullptr;
    /// What the command slots run; child of the window.
    OperatorCommands *commands = nullptr;
    /// How the commands ask the operator: the window's dialogs, status bar and channel table.
    std::unique_ptr<DialogPrompter> prompter;

    DialogSuppliesTempLimits *dialogSuppliesTempLimits = nullptr;
    DialogChannelControl *dialogChannelControl = nullptr;
    DialogModuleControl *dialogModuleControl = nullptr;
    DialogConfiguration *dialogConfiguration = nullptr;
    DialogStatistic *dialogStatistic = nullptr;
    DialogInputOutput *dialogInputOutput = nullptr;
    DialogEmissionParameters *dialogEmissionParameters = nullptr;
    ConsoleWindow *consoleWindow = nullptr;
    TrendWindow *trendWindow = nullptr;
    SequenceWindow *sequenceWindow = nullptr;

    QTimer *interfaceTimer = nullptr;
    /// Finds Ethernet modules; its socket is created by the first scan.
    NetworkDiscovery *discovery = nullptr;
    QActionGroup *connectionActions = nullptr;
    QLabel *statusLabel = nullptr;
    QLabel *incrementLabel = nullptr;
    bool exitRequested = false;
    /// The event history, the alarm indicator and the row marks; child of the window.
    HistoryPanel *historyPanel = nullptr;
};
