#include "controlroomwindow.h"
#include "ui_controlroomwindow.h"

#include "alarmlistmodel.h"
#include "brokerdialog.h"
#include "commandinputs.h"
#include "configuration.h"
#include "czelkchannelstatusbits.h"
#include "desktopnotifier.h"
#include "hvtable.h"
#include "moduletables.h"
#include "overviewfilter.h"
#include "overviewmodel.h"
#include "roomclient.h"
#include "roomtrend.h"
#include "settingsstore.h"
#include "trendexport.h"

#include <QApplication>
#include <QScreen>
#include <QDateTime>
#include <QFileDialog>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QSaveFile>
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

void ControlRoomWindow::scheduleModuleRefresh()
{
    if (!m_moduleRefresh.isActive())
        m_moduleRefresh.start();
}

void ControlRoomWindow::send(const QByteArray &what, const QByteArray &payload, int channel)
{
    if (!m_room->channelCommand(m_serial, channel, what, payload)) {
        ui->labelAnswer->setText(tr("Not sent: the broker is not connected."));
        return;
    }
    const double value = payload.toDouble();
    const QString command = what == "voltage" ? tr("set voltage %1 V").arg(value)
        : what == "current"                   ? tr("set current %1 A").arg(value)
        : what == "on"                        ? (value != 0.0 ? tr("on") : tr("off"))
        : what == "emergency-off" ? (value != 0.0 ? tr("emergency off") : tr("clear emergency off"))
                                  : tr("clear events");
    ui->labelAnswer->setText(tr("Sent %1 to module %2, %3")
                                 .arg(command)
                                 .arg(m_serial)
                                 .arg(channel >= 0 ? tr("channel %1").arg(channel)
                                                   : tr("all channels")));
    m_pending = { m_serial, channel, what, value };
}

void ControlRoomWindow::checkAnswer()
{
    const RoomModule *module = m_room->roster()->module(m_pending.serial);
    if (!module || m_pending.what.isEmpty())
        return;
    const int first = m_pending.channel >= 0 ? m_pending.channel : 0;
    const int last = m_pending.channel >= 0 ? m_pending.channel : module->state.channelsInUse() - 1;
    for (int c = first; c <= last && c < module->state.channelsInUse(); ++c) {
        const ChannelState &channel = module->state.channels[size_t(c)];
        const bool on = channel.status() & CZelkChannelStatusBits::On;
        const bool emergency = channel.status() & CZelkChannelStatusBits::Emergency;
        const bool asked = m_pending.value != 0.0;
        const bool done = m_pending.what == "voltage"
            ? qFuzzyCompare(1.0 + channel.voltageSet(), 1.0 + m_pending.value)
            : m_pending.what == "current"
            ? qFuzzyCompare(1.0 + channel.currentSet(), 1.0 + m_pending.value)
            : m_pending.what == "on"            ? on == asked
            : m_pending.what == "emergency-off" ? emergency == asked && !(asked && on)
                                                : true;
        if (!done)
            return;
    }
    if (m_pending.serial == m_serial)
        ui->labelAnswer->setText(
            ui->labelAnswer->text() + QLatin1Char(' ') + tr("- the module shows it done."));
    m_pending = {};
}

void ControlRoomWindow::setValue(const QByteArray &what)
{
    sendValue(what, m_channel, std::nullopt);
}

void ControlRoomWindow::sendValue(
    const QByteArray &what, int channel, std::optional<double> shownValue)
{
    const RoomModule *module = m_room->roster()->module(m_serial);
    const int channels = module ? module->state.channelsInUse() : 0;
    if (channels < 1 || channel >= channels)
        return;
    // The panel's prompts: the channel's allowed range (the largest of all channels for all),
    // in the display units the panel uses for this module.
    const Configuration &config = m_tables->configuration();
    const bool voltage = what == "voltage";
    const CommandInputs::Prompt prompt = channel >= 0
        ? (voltage ? CommandInputs::channelVoltage(module->state, config, channel)
                   : CommandInputs::channelCurrent(module->state, config, channel))
        : (voltage ? CommandInputs::allVoltages(module->state, config, 0)
                   : CommandInputs::allCurrents(module->state, config, 0));
    if (!prompt.refusal.isEmpty()) {
        ui->labelAnswer->setText(prompt.refusal);
        return;
    }
    if (!shownValue) {
        bool ok = false;
        const double value = QInputDialog::getDouble(this,
            voltage ? tr("Set voltage") : tr("Set current"), prompt.label, prompt.value,
            prompt.minimum, prompt.maximum, 3, &ok);
        if (!ok)
            return;
        shownValue = value;
    } else if (*shownValue < prompt.minimum || *shownValue > prompt.maximum) {
        ui->labelAnswer->setText(tr("Not sent: %1 is outside %2 ... %3 %4.")
                                     .arg(*shownValue)
                                     .arg(prompt.minimum)
                                     .arg(prompt.maximum)
                                     .arg(voltage ? config.voltageUnit() : config.currentUnit()));
        return;
    }
    const float si = voltage ? config.voltageToSI(float(*shownValue))
                             : config.currentToSI(float(*shownValue));
    send(what, QByteArray::number(double(si), 'g', 7), channel);
}

void ControlRoomWindow::on_tableChannels_currentCellChanged(
    int row, int, int previousRow, int)
{
    if (row < 0 || row == previousRow || row == m_channel)
        return;
    const QModelIndex source = m_overview->indexOf(m_serial, row);
    const QModelIndex shown = m_filter->mapFromSource(source);
    if (!shown.isValid())
        return;
    ui->treeOverview->expand(shown.parent());
    ui->treeOverview->setCurrentIndex(shown);
}

void ControlRoomWindow::on_tableChannels_cellDataChanged(int row, int column, const QString &text)
{
    enum { VoltageSetColumn = HvTable::VoltageSet, CurrentSetColumn = HvTable::CurrentSet };
    if (!m_noSetValues.isEmpty()) {
        ui->labelAnswer->setText(tr("Not sent: %1").arg(m_noSetValues));
        scheduleModuleRefresh();
        return;
    }
    if (column != VoltageSetColumn && column != CurrentSetColumn) {
        ui->labelAnswer->setText(
            tr("Not sent: the bridge takes set voltages and currents; bounds are set in the panel."));
        scheduleModuleRefresh();
        return;
    }
    // As typed, in the locale's format with or without its group separators.
    QString number = text.trimmed();
    number.remove(QLocale().groupSeparator());
    bool ok = false;
    double value = QLocale().toDouble(number, &ok);
    if (!ok)
        value = QLocale::c().toDouble(number, &ok);
    if (!ok) {
        ui->labelAnswer->setText(tr("Not sent: \"%1\" is not a number.").arg(text));
        scheduleModuleRefresh();
        return;
    }
    sendValue(column == VoltageSetColumn ? "voltage" : "current", row, value);
    scheduleModuleRefresh();
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

void ControlRoomWindow::on_buttonSetVoltage_clicked()
{
    setValue("voltage");
}

void ControlRoomWindow::on_buttonSetCurrent_clicked()
{
    setValue("current");
}

void ControlRoomWindow::on_buttonClearEvents_clicked()
{
    send("clear-events", "1");
}

void ControlRoomWindow::on_buttonOn_clicked()
{
    send("on", "1");
}

void ControlRoomWindow::on_buttonOff_clicked()
{
    send("on", "0");
}

void ControlRoomWindow::on_buttonEmergencyOff_clicked()
{
    send("emergency-off", "1");
}

void ControlRoomWindow::sequence(const QByteArray &what, const QByteArray &payload)
{
    if (!m_room->sequenceCommand(m_serial, what, payload))
        ui->labelProgress->setText(tr("Not sent: the broker is not connected."));
}

void ControlRoomWindow::on_buttonRun_clicked()
{
    sequence("run", ui->comboSequenceFiles->currentText().toUtf8());
}

void ControlRoomWindow::on_buttonPause_clicked()
{
    sequence("pause");
}

void ControlRoomWindow::on_buttonResume_clicked()
{
    sequence("resume");
}

void ControlRoomWindow::on_buttonAbort_clicked()
{
    sequence("abort");
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

QList<int> ControlRoomWindow::chosenModules() const
{
    QList<int> serials;
    const QModelIndexList rows = ui->treeOverview->selectionModel()->selectedRows();
    for (const QModelIndex &row : rows) {
        const int serial = m_overview->serialAt(m_filter->mapToSource(row));
        if (serial && !serials.contains(serial))
            serials << serial;
    }
    if (serials.isEmpty()) {
        for (int row = 0; row < m_filter->rowCount(); ++row)
            serials << m_overview->serialAt(m_filter->mapToSource(m_filter->index(row, 0)));
    }
    return serials;
}

void ControlRoomWindow::on_actionAllOff_triggered()
{
    const QList<int> serials = chosenModules();
    int channels = 0;
    for (const int serial : serials) {
        if (const RoomModule *module = m_room->roster()->module(serial))
            channels += module->state.channelsInUse();
    }
    if (serials.isEmpty()
        || QMessageBox::question(this, tr("All off"),
               tr("Switch off all %1 channels of %2 modules?").arg(channels).arg(serials.size()))
            != QMessageBox::Yes)
        return;
    for (const int serial : serials)
        m_room->channelCommand(serial, -1, "on", "0");
    m_allOff = serials;
    m_allOffSince = QDateTime::currentMSecsSinceEpoch();
    m_allOffTimer.start();
    updateAllOff();
}

void ControlRoomWindow::updateAllOff()
{
    QStringList waiting;
    for (const int serial : std::as_const(m_allOff)) {
        const RoomModule *module = m_room->roster()->module(serial);
        if (!module || module->channelsOn() > 0)
            waiting << QString::number(serial);
    }
    const int done = int(m_allOff.size() - waiting.size());
    statusBar()->showMessage(waiting.isEmpty()
            ? tr("All off: all %1 modules report their channels off.").arg(m_allOff.size())
            : tr("All off: %1 of %2 modules report their channels off; not yet: %3")
                  .arg(done)
                  .arg(m_allOff.size())
                  .arg(waiting.join(QStringLiteral(", "))));
    if (waiting.isEmpty() || QDateTime::currentMSecsSinceEpoch() - m_allOffSince > 120000)
        m_allOffTimer.stop();
}
