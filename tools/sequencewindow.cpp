#include "sequencewindow.h"

#include "modulecontroller.h"
#include "ui_sequencewindow.h"

#include "czelkchannelstatusbits.h"
#include "modulesession.h"
#include "safetyrulestable.h"
#include "scpi_parser.h"
#include "sequencefile.h"
#include "sequencestepmodel.h"
#include "settingsstore.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QTime>

namespace {

const QString Title = QStringLiteral("Vorn SCPI Control");
const QLatin1String FolderKey(SettingsStore::Key::SequenceFolder);
const QString Example = QStringLiteral(":/sequences/condition-2kv.json");
enum LiveColumn { LiveChannel, LiveTarget, LiveVset, LiveVmeas, LiveImeas, LiveState, LiveColumns };

/// What a channel's status word says, the most serious first.
QString channelStateText(quint16 status)
{
    using Ch = CZelkChannelStatusBits;
    const std::pair<quint16, const char *> states[] = {
        { Ch::Trip, QT_TRANSLATE_NOOP("SequenceWindow", "trip") },
        { Ch::ArcError, QT_TRANSLATE_NOOP("SequenceWindow", "arc error") },
        { Ch::Inhibit, QT_TRANSLATE_NOOP("SequenceWindow", "inhibit") },
        { Ch::Emergency, QT_TRANSLATE_NOOP("SequenceWindow", "emergency off") },
    };
    for (const auto &[bit, text] : states)
        if (status & bit)
            return SequenceWindow::tr(text);
    if (!(status & Ch::On))
        return SequenceWindow::tr("off");
    if (status & Ch::Ramp)
        return SequenceWindow::tr("ramping");
    if (status & Ch::ConstantCurrent)
        return SequenceWindow::tr("constant current");
    return SequenceWindow::tr("on");
}

QString volts(double v)
{
    return QStringLiteral("%1 V").arg(QLocale().toString(v, 'f', 1));
}

} // namespace

SequenceWindow::SequenceWindow(ModuleController *controller, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , ui(std::make_unique<Ui::SequenceWindow>())
    , m_controller(controller)
    , m_session(controller->session())
    , m_runner(controller->runner())
    , m_steps(new SequenceStepModel(this))
{
    Q_INIT_RESOURCE(sequences);
    ui->setupUi(this);
    ui->tableSteps->setModel(m_steps);
    ui->tableSteps->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_rules = new SafetyRulesTable(ui->tableRules, this);
    addSafetyActions(ui->cmbBoxAbortAction);
    ui->tableLive->setColumnCount(LiveColumns);
    ui->tableLive->setHorizontalHeaderLabels(
        { tr("Channel"), tr("Target"), tr("Vset"), tr("Vmeas"), tr("Imeas"), tr("State") });
    ui->tableLive->verticalHeader()->hide();
    ui->tableLive->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    // Long entries wrap instead of running out of sight.
    ui->listJournal->setWordWrap(true);
    ui->listJournal->setResizeMode(QListView::Adjust);
    ui->listJournal->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    controller->setJournal(this);
    // Queued: the refusal comes while the cell's editor commits, not a moment for a dialog.
    connect(m_steps, &SequenceStepModel::entryRefused, this, &SequenceWindow::warn,
        Qt::QueuedConnection);
    connect(m_runner, &SequenceRunner::stateChanged, this, &SequenceWindow::showState);
    connect(m_runner, &SequenceRunner::progressChanged, this, &SequenceWindow::showProgress);
    connect(m_session, &ModuleSession::stateChanged, this, &SequenceWindow::showState);
    connect(m_session, &ModuleSession::online, this, &SequenceWindow::showState);
    connect(m_session, &ModuleSession::offline, this, &SequenceWindow::showState);
    m_liveTimer.setInterval(250);
    connect(&m_liveTimer, &QTimer::timeout, this, &SequenceWindow::showLiveValues);
    m_liveTimer.start();
    if (parent)
        parent->installEventFilter(this);

    Sequence example;
    SequenceFile::load(Example, &example);
    showSequence(example);
    showState();
    showProgress();
}

SequenceWindow::~SequenceWindow()
{
    if (m_controller)
        m_controller->setJournal(nullptr);
}

bool SequenceWindow::sequence(Sequence *sequence, QString *error) const
{
    Sequence s;
    s.name = ui->edtName->text().trimmed();
    s.description = ui->edtName->toolTip();
    if (!parseChannelList(ui->edtChannels->text(), &s.channels, error)) {
        *error = tr("Channels: %1").arg(*error);
        return false;
    }
    s.steps = m_steps->steps();
    if (s.steps.isEmpty()) {
        *error = tr("The sequence has no steps.");
        return false;
    }
    m_rules->apply(&s);
    s.rampDownSpeed = ui->spbRampDownSpeed->value();
    s.abortAction = SafetyAction(ui->cmbBoxAbortAction->currentIndex());
    *sequence = s;
    return true;
}

void SequenceWindow::showSequence(const Sequence &s)
{
    ui->edtName->setText(s.name);
    ui->edtName->setToolTip(s.description);
    ui->edtChannels->setText(channelListText(s.channels));
    m_steps->setSteps(s.steps);
    m_rules->show(s);
    ui->spbRampDownSpeed->setValue(s.rampDownSpeed);
    ui->cmbBoxAbortAction->setCurrentIndex(int(s.abortAction));
}

bool SequenceWindow::loadFile(const QString &path)
{
    Sequence s;
    const QString error = SequenceFile::load(path, &s);
    if (!error.isEmpty()) {
        warn(tr("The sequence file %1 can not be used:\n%2")
                 .arg(QDir::toNativeSeparators(path), error));
        return false;
    }
    showSequence(s);
    rememberFolder(path);
    addEntry(tr("Loaded %1").arg(QFileInfo(path).fileName()), false);
    return true;
}

QString SequenceWindow::folder() const
{
    return SettingsStore::panel().value(FolderKey, QDir::homePath()).toString();
}

void SequenceWindow::rememberFolder(const QString &path)
{
    SettingsStore::panel().setValue(FolderKey, QFileInfo(path).absolutePath());
}

void SequenceWindow::on_btnLoad_clicked()
{
    const QString path = QFileDialog::getOpenFileName(
        this, tr("Load Sequence"), folder(), tr("Sequences (*.json);;All files (*)"));
    if (!path.isEmpty())
        loadFile(path);
}

void SequenceWindow::on_btnSave_clicked()
{
    Sequence s;
    QString error;
    if (!sequence(&s, &error))
        return warn(error);
    QString path = QFileDialog::getSaveFileName(
        this, tr("Save Sequence"), folder(), tr("Sequences (*.json)"));
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".json");
    error = SequenceFile::save(path, s);
    if (!error.isEmpty())
        return warn(error);
    rememberFolder(path);
    addEntry(tr("Saved %1").arg(QFileInfo(path).fileName()), false);
}

void SequenceWindow::on_btnAddStep_clicked()
{
    const QModelIndex current = ui->tableSteps->currentIndex();
    m_steps->insertStep(current.isValid() ? current.row() : m_steps->rowCount() - 1);
}

void SequenceWindow::on_btnRemoveStep_clicked()
{
    const QModelIndex current = ui->tableSteps->currentIndex();
    m_steps->removeStep(current.isValid() ? current.row() : m_steps->rowCount() - 1);
}

void SequenceWindow::on_btnStart_clicked()
{
    Sequence s;
    QString error;
    if (!sequence(&s, &error))
        return warn(error);
    error = m_controller->startSequence(s, CommandSource::Operator);
    if (!error.isEmpty())
        warn(tr("The sequence can not start: %1.").arg(error));
}

void SequenceWindow::on_btnPause_clicked()
{
    m_controller->pauseSequence(CommandSource::Operator);
}

void SequenceWindow::on_btnResume_clicked()
{
    const QString error = m_controller->resumeSequence(CommandSource::Operator);
    if (!error.isEmpty())
        warn(tr("The sequence can not resume: %1.").arg(error));
}

void SequenceWindow::on_btnSkip_clicked()
{
    m_runner->skipStep();
}

void SequenceWindow::on_btnAbort_clicked()
{
    m_controller->abortSequence(CommandSource::Operator);
}

void SequenceWindow::showState()
{
    using State = SequenceRunner::State;
    const State state = m_runner->state();
    const bool active = m_runner->isActive();
    const bool online = m_session->isOnline();
    ui->btnStart->setEnabled(!active && online);
    ui->btnPause->setEnabled(state == State::Running);
    ui->btnResume->setEnabled(state == State::Paused && online);
    ui->btnSkip->setEnabled((state == State::Running || state == State::Paused) && online);
    ui->btnAbort->setEnabled(active);
    for (QWidget *w :
        { static_cast<QWidget *>(ui->edtName), static_cast<QWidget *>(ui->edtChannels),
            static_cast<QWidget *>(ui->btnLoad), static_cast<QWidget *>(ui->btnAddStep),
            static_cast<QWidget *>(ui->btnRemoveStep), static_cast<QWidget *>(ui->spbRampDownSpeed),
            static_cast<QWidget *>(ui->cmbBoxAbortAction) })
        w->setEnabled(!active);
    m_rules->setEditable(!active);
    m_steps->setRunning(active, m_runner->stepIndex());
    const QString reason = m_runner->reason();
    QString text;
    switch (state) {
    case State::Idle:
        text = online ? tr("Ready.") : tr("No module is connected.");
        break;
    case State::Running:
        text = tr("Running.");
        break;
    case State::Paused:
        text = reason.isEmpty() ? tr("Paused.") : tr("Paused: %1.").arg(reason);
        break;
    case State::Stopping:
        text = tr("Stopping: %1.").arg(reason);
        break;
    case State::Finished:
        text = tr("Finished.");
        break;
    case State::Aborted:
        text = tr("Aborted: %1.").arg(reason);
        break;
    }
    if (m_runner->waitingForModule())
        text += QLatin1Char(' ') + tr("Waiting for the module to answer again.");
    ui->lblState->setText(text);
    ui->lblState->setStyleSheet(state == State::Aborted || state == State::Stopping
            ? QStringLiteral("color: #b00000; font-weight: bold")
            : QString());
}

void SequenceWindow::showProgress()
{
    using Phase = SequenceRunner::Phase;
    const bool started = m_runner->state() != SequenceRunner::State::Idle;
    const qint64 elapsed = m_runner->elapsedMs();
    const qint64 left = m_runner->remainingMs();
    const QString step = started
        ? tr("Step %1 of %2").arg(m_runner->stepIndex() + 1).arg(m_runner->stepCount())
        : QString();
    QString phase;
    switch (m_runner->phase()) {
    case Phase::Ramping:
        phase = tr("ramping");
        break;
    case Phase::Holding:
        phase = tr("holding");
        break;
    case Phase::RampingDown:
        phase = tr("ramping down");
        break;
    case Phase::SwitchingOff:
        phase = tr("switching off");
        break;
    case Phase::None:
        break;
    }
    ui->lblStep->setText(step);
    ui->lblPhase->setText(phase);
    ui->lblElapsed->setText(started ? tr("Elapsed: %1").arg(durationText(elapsed)) : QString());
    ui->lblTimeLeft->setText(left >= 0 ? tr("%1 left").arg(durationText(left)) : QString());
    if (m_runner->state() == SequenceRunner::State::Finished)
        ui->progressBar->setValue(ui->progressBar->maximum());
    else if (left >= 0 && elapsed + left > 0)
        ui->progressBar->setValue(int(elapsed * ui->progressBar->maximum() / (elapsed + left)));
    else if (!started)
        ui->progressBar->setValue(0);
    m_steps->setRunning(m_runner->isActive(), m_runner->stepIndex());
    showLiveValues();
}

void SequenceWindow::showLiveValues()
{
    if (!isVisible())
        return;
    SCPI_Parser *link = m_session->link();
    QList<int> channels = m_runner->isActive() ? m_runner->channels() : QList<int>();
    if (!m_runner->isActive()) {
        QString ignored;
        parseChannelList(ui->edtChannels->text(), &channels, &ignored);
        if (channels.isEmpty() && link)
            for (int c = 0; c < link->module().channelCount(); ++c)
                channels.append(c);
    }
    if (!link || !m_session->isOnline()) {
        ui->tableLive->setRowCount(0);
        return;
    }
    const Module &module = link->module();
    ui->tableLive->setRowCount(int(channels.size()));
    for (int row = 0; row < channels.size(); ++row) {
        const int c = channels.at(row);
        const bool present = c < module.channelCount();
        const Channel &channel = module.channel(qMin(c, SCPI_Parser::ChannelRecords - 1));
        const QString texts[LiveColumns] = {
            QString::number(c),
            m_runner->isActive() ? volts(m_runner->target(c)) : QString(),
            present ? volts(channel.voltageSet()) : QString(),
            present ? volts(channel.voltageMeasure()) : QString(),
            present ? QStringLiteral("%1 \u00b5A")
                          .arg(QLocale().toString(channel.currentMeasure() * 1e6, 'f', 3))
                    : QString(),
            present ? channelStateText(channel.status()) : tr("not there"),
        };
        for (int column = 0; column < LiveColumns; ++column) {
            QTableWidgetItem *item = ui->tableLive->item(row, column);
            if (!item) {
                item = new QTableWidgetItem;
                item->setTextAlignment(
                    column == LiveState ? Qt::AlignCenter : Qt::AlignRight | Qt::AlignVCenter);
                ui->tableLive->setItem(row, column, item);
            }
            if (item->text() != texts[column])
                item->setText(texts[column]);
        }
    }
}

void SequenceWindow::info(const QString &text)
{
    addEntry(text, false);
}

void SequenceWindow::alarm(const QString &text)
{
    addEntry(text, true);
}

void SequenceWindow::addEntry(const QString &text, bool alarm)
{
    auto *item = new QListWidgetItem(QStringLiteral("%1  %2").arg(
        QTime::currentTime().toString(QStringLiteral("HH:mm:ss")), text));
    if (alarm)
        item->setForeground(QColor(0xb0, 0, 0));
    ui->listJournal->addItem(item);
    // A window left open for days keeps its list short.
    while (ui->listJournal->count() > 2000)
        delete ui->listJournal->takeItem(0);
    ui->listJournal->scrollToBottom();
}

void SequenceWindow::warn(const QString &text)
{
    QMessageBox::warning(this, Title, text);
}

void SequenceWindow::closeEvent(QCloseEvent *event)
{
    if (!m_runner->isActive())
        return QWidget::closeEvent(event);
    QMessageBox box(QMessageBox::Question, Title,
        tr("A sequence is running (step %1 of %2). It keeps running when this window closes; "
           "Module \u2192 Sequence... shows it again.")
            .arg(m_runner->stepIndex() + 1)
            .arg(m_runner->stepCount()),
        QMessageBox::NoButton, this);
    QPushButton *keep = box.addButton(tr("&Keep Running"), QMessageBox::AcceptRole);
    QPushButton *abort = box.addButton(tr("&Abort Sequence"), QMessageBox::DestructiveRole);
    // Says what it does: beside "Abort Sequence" a "Cancel" reads as aborting too.
    QPushButton *stay = box.addButton(tr("Keep the Window &Open"), QMessageBox::RejectRole);
    box.setEscapeButton(stay);
    box.setDefaultButton(keep);
    box.exec();
    if (box.clickedButton() == abort)
        m_runner->abort();
    if (box.clickedButton() == keep || box.clickedButton() == abort)
        return QWidget::closeEvent(event);
    event->ignore();
}

bool SequenceWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != parent() || event->type() != QEvent::Close || !m_runner->isActive())
        return QWidget::eventFilter(watched, event);
    const auto answer = QMessageBox::question(parentWidget(), Title,
        tr("A sequence is running (step %1 of %2). Closing the program ends it where it is; "
           "the module keeps its present set values. Close anyway?")
            .arg(m_runner->stepIndex() + 1)
            .arg(m_runner->stepCount()));
    if (answer == QMessageBox::Yes) {
        m_runner->abandon(tr("the program was closed"));
        return false;
    }
    event->ignore();
    return true;
}
