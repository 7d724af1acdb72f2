#include "historywindow.h"
#include "ui_historywindow.h"

#include "eventhistory.h"
#include "historyformat.h"
#include "historymodel.h"

#include <QFileDialog>
#include <QHeaderView>
#include <QMessageBox>
#include <QSaveFile>
#include <QTextStream>

HistoryWindow::HistoryWindow(EventHistory *history, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , ui(std::make_unique<Ui::HistoryWindow>())
    , m_history(history)
{
    ui->setupUi(this);
    m_model = new HistoryModel(history, this);
    ui->tableEntries->setModel(m_model);
    QHeaderView *header = ui->tableEntries->horizontalHeader();
    header->setSectionResizeMode(QHeaderView::ResizeToContents);
    header->setSectionResizeMode(HistoryModel::EventColumn, QHeaderView::Stretch);
    ui->tableEntries->verticalHeader()->setDefaultSectionSize(
        ui->tableEntries->fontMetrics().height() + 6);

    offerSources();
    connect(history, &EventHistory::entriesReset, this, &HistoryWindow::offerSources);
    connect(history, &EventHistory::entryAdded, this,
        [this](const HistoryEntry &entry) { offerChannel(entry.channel); });
    connect(history, &EventHistory::alarmsChanged, this, &HistoryWindow::showAlarms);
    connect(history, &EventHistory::writeFailed, this, &HistoryWindow::showWriteError);
    connect(history, &EventHistory::writeRecovered, this, [this] { showWriteError(QString()); });
    showAlarms();
    showWriteError(history->writeError());
}

HistoryWindow::~HistoryWindow() = default;

void HistoryWindow::offerSources()
{
    const QSignalBlocker blocker(ui->cmbBoxSource);
    const QVariant chosen = ui->cmbBoxSource->currentData();
    ui->cmbBoxSource->clear();
    ui->cmbBoxSource->addItem(tr("All"), HistoryModel::AllSources);
    ui->cmbBoxSource->addItem(tr("Module"), HistoryEntry::ModuleSource);
    m_channels = 0;
    for (const HistoryEntry &entry : m_history->entries())
        offerChannel(entry.channel);
    const int index = chosen.isValid() ? ui->cmbBoxSource->findData(chosen) : 0;
    ui->cmbBoxSource->setCurrentIndex(qMax(index, 0));
    applyFilter();
}

void HistoryWindow::offerChannel(int channel)
{
    while (m_channels <= channel) {
        ui->cmbBoxSource->addItem(tr("Channel %1").arg(m_channels), m_channels);
        ++m_channels;
    }
}

void HistoryWindow::applyFilter()
{
    // The severity list reads All, Alarms, Warnings, Info.
    static const int severities[] = { HistoryModel::AllSeverities, int(Severity::Alarm),
        int(Severity::Warning), int(Severity::Info) };
    const int severity = severities[qBound(0, ui->cmbBoxSeverity->currentIndex(), 3)];
    const QVariant source = ui->cmbBoxSource->currentData();
    m_model->setFilter(severity, source.isValid() ? source.toInt() : HistoryModel::AllSources);
}

void HistoryWindow::on_cmbBoxSeverity_currentIndexChanged(int)
{
    applyFilter();
}

void HistoryWindow::on_cmbBoxSource_currentIndexChanged(int)
{
    applyFilter();
}

void HistoryWindow::on_btnAcknowledgeAll_clicked()
{
    m_history->acknowledgeAll();
}

void HistoryWindow::on_btnClearView_clicked()
{
    m_model->clearView();
}

void HistoryWindow::showAlarms()
{
    const int count = m_history->unacknowledgedAlarms();
    ui->lblAlarms->setText(count > 0 ? tr("Unacknowledged alarms: %1").arg(count) : QString());
    ui->btnAcknowledgeAll->setEnabled(count > 0);
}

void HistoryWindow::showWriteError(const QString &message)
{
    ui->lblWriteError->setText(message.isEmpty()
            ? QString()
            : tr("The event history cannot be saved (%1). New entries are kept here and "
                 "written as soon as that works again.")
                  .arg(message));
    ui->lblWriteError->setVisible(!message.isEmpty());
}

bool HistoryWindow::exportCsv(const QString &path, QString *error) const
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text)) {
        *error = file.errorString();
        return false;
    }
    QTextStream out(&file);
    HistoryFormat::writeCsv(out, m_model->shownEntries());
    out.flush();
    if (out.status() != QTextStream::Ok || !file.commit()) {
        *error = file.errorString();
        return false;
    }
    return true;
}

void HistoryWindow::on_btnExportCsv_clicked()
{
    const QString path = QFileDialog::getSaveFileName(
        this, tr("Export Event History"), QString(), tr("CSV files (*.csv)"));
    if (path.isEmpty())
        return;
    QString error;
    if (!exportCsv(path, &error))
        QMessageBox::warning(this, tr("Vorn SCPI Control"),
            tr("The event history could not be written to %1: %2").arg(path, error));
}
