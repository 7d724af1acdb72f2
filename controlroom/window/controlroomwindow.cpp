#include "controlroomwindow.h"
#include "ui_controlroomwindow.h"

#include "alarmlistmodel.h"
#include "brokerdialog.h"
#include "desktopnotifier.h"
#include "moduletables.h"
#include "overviewfilter.h"
#include "overviewmodel.h"
#include "roomclient.h"
#include "roomtrend.h"
#include "settingsstore.h"
#include "trendexport.h"

#include <QApplication>
#include <QFileDialog>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QSaveFile>
#include <QScreen>
#include <QSettings>

ControlRoomWindow::ControlRoomWindow(
    const BrokerSettings &broker, const QByteArray &prefix, QSettings *store, QWidget *parent)
    : QMainWindow(parent)
    , ui(new Ui::ControlRoomWindow)
    , m_store(store)
    , m_broker(broker)
    , m_prefix(prefix)
{
    ui->setupUi(this);
    for (StatTable *table : { static_cast<StatTable *>(ui->tableChannelStatus),
             static_cast<StatTable *>(ui->tableModuleStatus) }) {
        table->initTable();
        table->verticalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    }
    m_tables = new ModuleTables(
        { ui->tableChannels, ui->tableChannelStatus, ui->tableModuleStatus },
        SettingsStore::organization(), this);
    ui->splitter->setSizes({ 500, 900 });
    if (!restoreGeometry(
            m_store->value(QLatin1String(SettingsStore::Key::RoomWindowGeometry)).toByteArray())) {
        // The form's size, or the screen's where that is smaller.
        const QRect screen = this->screen()->availableGeometry();
        resize(qMin(width(), screen.width()), qMin(height(), screen.height()));
    }
    ui->splitter->restoreState(
        m_store->value(QLatin1String(SettingsStore::Key::RoomWindowSplitter)).toByteArray());
    m_notifier = new DesktopNotifier(
        this, QStringLiteral("Vorn Control Room"), QStringLiteral("de.vornwerk.VornControlRoom"));
    m_notifier->setSummary([this](int alarms) {
        return tr("%n new alarm(s) in the control room", nullptr, alarms);
    });
    m_moduleRefresh.setSingleShot(true);
    m_moduleRefresh.setInterval(50);
    connect(&m_moduleRefresh, &QTimer::timeout, this, &ControlRoomWindow::updateSelection);
    m_connection = new QLabel(this);
    m_alarmCount = new QLabel(this);
    statusBar()->addPermanentWidget(m_alarmCount);
    statusBar()->addPermanentWidget(m_connection);
    m_allOffTimer.setInterval(1000);
    connect(&m_allOffTimer, &QTimer::timeout, this, &ControlRoomWindow::updateAllOff);
    connectBroker();
}

ControlRoomWindow::~ControlRoomWindow()
{
    delete ui;
}

void ControlRoomWindow::connectBroker()
{
    delete m_room;
    m_serial = 0;
    m_room = new RoomClient(m_broker, m_prefix, m_store, qEnvironmentVariable("USER"), this);
    m_overview = new OverviewModel(m_room->roster(), m_room);
    m_filter = new OverviewFilter(m_room->roster(), m_room);
    m_filter->setSourceModel(m_overview);
    m_filter->setFilterFixedString(ui->editFilter->text());
    m_filter->setShow(OverviewFilter::Show(ui->comboShow->currentIndex()));
    ui->treeOverview->setModel(m_filter);
    ui->treeOverview->sortByColumn(OverviewModel::Serial, Qt::AscendingOrder);
    // As the operator left them, or else every header whole and the columns wide enough for
    // what they usually show.
    if (!ui->treeOverview->header()->restoreState(
            m_store->value(QLatin1String(SettingsStore::Key::RoomOverviewHeader)).toByteArray())) {
        const QFontMetrics metrics = ui->treeOverview->header()->fontMetrics();
        // Module texts and, below them, the channels' set and measured values and state word.
        const QString samples[OverviewModel::Columns] = { QStringLiteral("crate 12 slot 3"),
            QStringLiteral("100000"), QStringLiteral("-10000.0 V"), QStringLiteral("-10000.0 V"),
            tr("stale since %1").arg(QStringLiteral("00:00:00")), QStringLiteral("-0.0000 mA"),
            QStringLiteral("Constant Voltage"), QStringLiteral("999") };
        for (int column = 0; column < OverviewModel::Columns; ++column) {
            const QString header
                = m_overview->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
            // The first column also holds the channel rows, indented.
            const int indent = column == 0 ? 2 * ui->treeOverview->indentation() : 0;
            ui->treeOverview->setColumnWidth(column,
                qMax(metrics.horizontalAdvance(header) + 28,
                    metrics.horizontalAdvance(samples[column]) + 16 + indent));
        }
    }
    connect(ui->treeOverview->selectionModel(), &QItemSelectionModel::currentChanged, this,
        &ControlRoomWindow::updateSelection);
    m_alarmList = new AlarmListModel(m_room->alarms(), m_room);
    ui->tableAlarms->setModel(m_alarmList);
    ui->tableAlarms->horizontalHeader()->setSectionResizeMode(
        AlarmListModel::Text, QHeaderView::Stretch);
    ui->tableAlarms->verticalHeader()->hide();
    ui->tableAlarms->setWordWrap(false);
    ui->tableAlarms->setColumnWidth(AlarmListModel::Time,
        ui->tableAlarms->fontMetrics().horizontalAdvance(QStringLiteral("2026-12-31 23:59:59")) + 16);
    connect(m_room->alarms(), &AlarmBook::changed, this, &ControlRoomWindow::updateStatus);
    connect(m_room->alarms(), &AlarmBook::raised, this, &ControlRoomWindow::alarmRaised);
    m_trend = new RoomTrend(m_room->roster(), ui->tabTrend, m_room);
    connect(m_room, &RoomClient::connectionChanged, this, &ControlRoomWindow::updateStatus);
    connect(m_room, &RoomClient::connectionFailed, this, [this](const QString &reason) {
        m_connection->setText(tr("Broker %1:%2 not connected: %3")
                                  .arg(m_broker.host)
                                  .arg(m_broker.port)
                                  .arg(reason));
    });
    connect(m_room->roster(), &ModuleRoster::commandRefused, this,
        [this](int serial, const QString &why) {
            if (serial != m_serial)
                return;
            const QString text = tr("The bridge refused: %1").arg(why);
            // "sequence/run ... refused: ..." belongs beside the sequence's progress.
            (why.startsWith(QLatin1String("sequence/")) ? ui->labelProgress : ui->labelAnswer)
                ->setText(text);
        });
    connect(m_room->roster(), &ModuleRoster::moduleChanged, this, [this](int serial) {
        if (serial == m_pending.serial)
            checkAnswer();
        if (serial == m_serial)
            scheduleModuleRefresh();
    });
    connect(m_room->roster(), &ModuleRoster::sequenceChanged, this, [this](int serial) {
        if (serial == m_serial)
            scheduleModuleRefresh();
    });
    if (!m_room->start())
        m_connection->setText(tr("The broker settings can not be used."));
    updateStatus();
    updateSelection();
}

void ControlRoomWindow::closeEvent(QCloseEvent *event)
{
    namespace K = SettingsStore::Key;
    m_store->setValue(QLatin1String(K::RoomWindowGeometry), saveGeometry());
    m_store->setValue(QLatin1String(K::RoomWindowSplitter), ui->splitter->saveState());
    m_store->setValue(QLatin1String(K::RoomOverviewHeader), ui->treeOverview->header()->saveState());
    QMainWindow::closeEvent(event);
}

void ControlRoomWindow::updateStatus()
{
    if (m_room->isConnected())
        m_connection->setText(tr("Connected to %1:%2, prefix %3")
                                  .arg(m_broker.host)
                                  .arg(m_broker.port)
                                  .arg(QString::fromUtf8(m_prefix)));
    else
        m_connection->setText(tr("Connecting to %1:%2 ...").arg(m_broker.host).arg(m_broker.port));
    const int open = m_room->alarms()->unacknowledgedCount();
    m_alarmCount->setText(open > 0 ? tr("%n alarm(s)", nullptr, open) : QString());
    m_alarmCount->setStyleSheet(open > 0 ? QStringLiteral("color: white; background: red") : QString());
}

void ControlRoomWindow::updateSelection()
{
    const QModelIndex current = m_filter->mapToSource(ui->treeOverview->currentIndex());
    m_serial = m_overview->serialAt(current);
    m_channel = current.isValid() && current.parent().isValid() ? current.row() : -1;
    const RoomModule *module = m_room->roster()->module(m_serial);
    QString why;
    if (!module)
        why = tr("Select a module or a channel in the overview.");
    else if (!m_room->isConnected())
        why = tr("Not connected to the broker.");
    else if (module->isStale())
        why = tr("The module is stale: its bridge or its values are gone.");
    else if (!module->commands)
        why = tr("Its bridge takes no commands for this module (commands = off in its file).");
    else if (module->moduleState == "clash")
        why = tr("Two modules share this serial number: the bridge takes only offs.");
    m_noSetValues = why;
    for (QWidget *w : { ui->buttonSetVoltage, ui->buttonSetCurrent, ui->buttonOn,
             ui->buttonClearEvents, ui->buttonRun, ui->buttonPause, ui->buttonResume }) {
        w->setEnabled(why.isEmpty());
        w->setToolTip(why);
    }
    // An off is never held back here: the bridge decides and says why it could not.
    for (QWidget *w : { ui->buttonOff, ui->buttonEmergencyOff, ui->buttonAbort }) {
        w->setEnabled(module && module->commands);
        w->setToolTip(module && !module->commands ? why : QString());
    }
    if (!module) {
        ui->labelModule->setText(why);
        ui->labelTrend->setText(why);
        m_tables->clear();
        m_trend->show(0, -1, trendUnits(m_tables->configuration()));
        return;
    }
    m_tables->show(*module, m_channel);
    m_trend->show(m_serial, m_channel, trendUnits(m_tables->configuration()));
    ui->labelTrend->setText(
        tr("Measured values of module %1 (%2), %3, from its topics since it was first chosen "
           "(%n sample(s)).",
            nullptr, m_trend->samples(m_serial))
            .arg(module->serial)
            .arg(module->name)
            .arg(m_channel >= 0 ? tr("channel %1").arg(m_channel) : tr("all channels")));
    if (m_channel >= 0 && ui->tableChannels->currentRow() != m_channel)
        ui->tableChannels->setCurrentCell(m_channel, qMax(0, ui->tableChannels->currentColumn()));
    ui->labelModule->setText(
        tr("Module %1 (%2, serial %3), %4")
            .arg(module->name, module->state.deviceName)
            .arg(module->serial)
            .arg(m_channel >= 0 ? tr("channel %1").arg(m_channel) : tr("all channels")));
    const QString file = ui->comboSequenceFiles->currentText();
    QStringList shown;
    for (int i = 0; i < ui->comboSequenceFiles->count(); ++i)
        shown << ui->comboSequenceFiles->itemText(i);
    if (shown != module->sequenceFiles) {
        ui->comboSequenceFiles->clear();
        ui->comboSequenceFiles->addItems(module->sequenceFiles);
        ui->comboSequenceFiles->setCurrentText(file);
    }
    const SequenceProgress &p = module->sequence;
    ui->labelProgress->setText(p.file.isEmpty()
            ? tr("No sequence has run on this module.")
            : tr("%1: %2, step %3 of %4, %5 s%6")
                  .arg(p.file, sequenceStateName(p.state))
                  .arg(p.step + 1)
                  .arg(p.steps)
                  .arg(p.elapsedMs / 1000.0, 0, 'f', 1)
                  .arg(p.reason.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(p.reason)));
}

void ControlRoomWindow::alarmRaised(const RoomAlarm &alarm)
{
    if (QApplication::activeWindow())
        return;
    m_notifier->gather(tr("Module %1: %2").arg(alarm.serial).arg(alarm.text));
}

void ControlRoomWindow::on_editFilter_textChanged(const QString &text)
{
    m_filter->setFilterFixedString(text);
}

void ControlRoomWindow::on_comboShow_currentIndexChanged(int index)
{
    if (m_filter)
        m_filter->setShow(OverviewFilter::Show(index));
}

void ControlRoomWindow::on_buttonAcknowledge_clicked()
{
    const int row = ui->tableAlarms->currentIndex().row();
    if (row < 0)
        return;
    bool ok = false;
    const QString note = QInputDialog::getText(
        this, tr("Acknowledge"), tr("Note (optional):"), QLineEdit::Normal, QString(), &ok);
    if (ok)
        m_room->alarms()->acknowledge(row, note);
}

void ControlRoomWindow::on_actionBroker_triggered()
{
    BrokerDialog dialog(m_broker, QString::fromUtf8(m_prefix), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_broker = dialog.settings();
    m_prefix = dialog.prefix().toUtf8();
    QString error;
    if (!dialog.save(m_store, &error))
        QMessageBox::warning(this, tr("Broker"),
            tr("The password could not be kept in the desktop's secret store (%1): it is used "
               "until the program ends.")
                .arg(error));
    connectBroker();
}

void ControlRoomWindow::on_actionExportCsv_triggered()
{
    const QString path = QFileDialog::getSaveFileName(
        this, tr("Export overview"), QString(), tr("CSV files (*.csv)"));
    if (path.isEmpty())
        return;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(m_overview->toCsv()) < 0 || !file.commit())
        QMessageBox::warning(this, tr("Export overview"),
            tr("%1 could not be written: %2").arg(path, file.errorString()));
}

void ControlRoomWindow::on_actionQuit_triggered()
{
    close();
}
