#pragma once

#include "brokersettings.h"

#include <QMainWindow>
#include <QPointer>
#include <QSet>
#include <QTimer>

class AlarmListModel;
class OverviewModel;
class QLabel;
class QSettings;
class QSortFilterProxyModel;
class RoomClient;

namespace Ui {
class ControlRoomWindow;
}

/// The control room's window: the overview of every module on the broker (filter, sort,
/// search), the alarm list across all of them, the selected module's commands and sequences,
/// and all off for the selected modules or everything shown. It talks only to the broker,
/// through its RoomClient; the connection state and the count of unacknowledged alarms are
/// always in the status bar.
class ControlRoomWindow : public QMainWindow
{
    Q_OBJECT

public:
    ControlRoomWindow(const BrokerSettings &broker, const QByteArray &prefix, QSettings *store,
        QWidget *parent = nullptr);
    ~ControlRoomWindow() override;

private slots:
    void on_editFilter_textChanged(const QString &text);
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

private:
    void connectBroker();
    void updateSelection();
    void updateStatus();
    void updateAllOff();
    void setValue(const QByteArray &what);
    void send(const QByteArray &what, const QByteArray &payload);
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
    QSortFilterProxyModel *m_filter = nullptr;
    AlarmListModel *m_alarmList = nullptr;
    QLabel *m_connection = nullptr;
    QLabel *m_alarmCount = nullptr;
    /// The module and channel (-1: all) the commands go to; 0: none.
    int m_serial = 0;
    int m_channel = -1;
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
