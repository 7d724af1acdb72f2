#pragma once

#include "brokersettings.h"

#include <QMainWindow>
#include <QPointer>
#include <QSet>
#include <QTimer>

#include <optional>

class AlarmListModel;
class DesktopNotifier;
class ModuleTables;
class OverviewFilter;
class OverviewModel;
class RoomTrend;
struct RoomAlarm;
class QLabel;
class QSettings;
class RoomClient;

namespace Ui {
class ControlRoomWindow;
}

/// The control room's window: the overview of every module on the broker (filter, sort,
/// search), the alarm list across all of them (with desktop notifications of new alarms while
/// the window is not active), the selected module's channel and status-bit tables, commands,
/// trend and sequences, and all off for the selected modules or everything shown. It talks
/// only to the broker, through its RoomClient; the connection state and the count of
/// unacknowledged alarms are always in the status bar.
///
/// An off, an emergency off and a sequence's abort are never held back by the window: their
/// buttons stay enabled whenever the module's bridge takes commands for it, also while the
/// module is stale, and the bridge says on "error" why it could not carry one out.
class ControlRoomWindow : public QMainWindow
{
    Q_OBJECT

public:
    ControlRoomWindow(const BrokerSettings &broker, const QByteArray &prefix, QSettings *store,
        QWidget *parent = nullptr);
    ~ControlRoomWindow() override;

protected:
    /// Keeps the window's size, the split and the overview's columns for the next start.
    void closeEvent(QCloseEvent *event) override;

private slots:
    void on_editFilter_textChanged(const QString &text);
    void on_comboShow_currentIndexChanged(int index);
    void on_buttonAcknowledge_clicked();
    void on_buttonSetVoltage_clicked();
    void on_buttonSetCurrent_clicked();
    void on_buttonClearEvents_clicked();
    void on_buttonOn_clicked();
    void on_buttonOff_clicked();
    void on_buttonEmergencyOff_clicked();
    void on_buttonRun_clicked();
    void on_buttonPause_clicked();
    void on_buttonResume_clicked();
    void on_buttonAbort_clicked();
    void on_actionBroker_triggered();
    void on_actionExportCsv_triggered();
    void on_actionQuit_triggered();
    void on_actionAllOff_triggered();
    void on_tableChannels_currentCellChanged(int row, int column, int previousRow, int previousColumn);
    void on_tableChannels_cellDataChanged(int row, int column, const QString &text);

private:
    void connectBroker();
    void updateSelection();
    void updateStatus();
    void updateAllOff();
    void setValue(const QByteArray &what);
    /// Sends to the chosen channel (all when -1) of the chosen module.
    void send(const QByteArray &what, const QByteArray &payload, int channel);
    void send(const QByteArray &what, const QByteArray &payload) { send(what, payload, m_channel); }
    /// Asks for the value with the panel's prompt for the channel (all channels when -1), or
    /// checks \a shownValue (display units, typed into the table) against the same range; sends
    /// it in volts or amperes.
    void sendValue(const QByteArray &what, int channel, std::optional<double> shownValue);
    /// Refreshes the module tab soon (a module's topics come one by one).
    void scheduleModuleRefresh();
    void showModule();
    void alarmRaised(const RoomAlarm &alarm);
    void sequence(const QByteArray &what, const QByteArray &payload = "1");
    /// Says when the module shows what the last command asked for.
    void checkAnswer();
    /// The modules of the selected rows, or every row shown when none is selected.
    QList<int> chosenModules() const;

    Ui::ControlRoomWindow *ui;
    QSettings *m_store;
    BrokerSettings m_broker;
    QByteArray m_prefix;
    RoomClient *m_room = nullptr;
    OverviewModel *m_overview = nullptr;
    OverviewFilter *m_filter = nullptr;
    AlarmListModel *m_alarmList = nullptr;
    QLabel *m_connection = nullptr;
    QLabel *m_alarmCount = nullptr;
    ModuleTables *m_tables = nullptr;
    RoomTrend *m_trend = nullptr;
    DesktopNotifier *m_notifier = nullptr;
    QTimer m_moduleRefresh;
    /// The module and channel (-1: all) the commands go to; 0: none.
    int m_serial = 0;
    int m_channel = -1;
    /// Why the chosen module takes no set values, on, clear or sequence run now; empty when it
    /// does.
    QString m_noSetValues;
    /// The last command sent, until the module shows it done: module, channel (-1: all),
    /// what and the value asked for.
    struct Pending
    {
        int serial = 0;
        int channel = -1;
        QByteArray what;
        double value = 0.0;
    } m_pending;
    /// All off: the modules asked, since when, and the timer that follows them.
    QList<int> m_allOff;
    qint64 m_allOffSince = 0;
    QTimer m_allOffTimer;
};
