#include "trendwindow.h"
#include "ui_trendwindow.h"

#include "configuration.h"
#include "modulesession.h"
#include "scpi_parser.h"
#include "trendexport.h"
#include "trendplot.h"

#include <QDateTime>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QPixmap>
#include <QSaveFile>
#include <QTextStream>
#include <QVBoxLayout>

#include <algorithm>
#include <array>

namespace {

constexpr qint64 Windows[] = { 60 * 1000, 10 * 60 * 1000, 60 * 60 * 1000 };

} // namespace

TrendWindow::TrendWindow(
    const ModuleSession *session, const Configuration *configuration, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , ui(std::make_unique<Ui::TrendWindow>())
    , m_session(session)
    , m_configuration(configuration)
    , m_buffer(SCPI_Parser::ChannelRecords, TrendBuffer::DefaultCapacity)
{
    ui->setupUi(this);
    m_plot = new TrendPlot(&m_buffer, ui->plotArea);
    auto *layout = new QVBoxLayout(ui->plotArea);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_plot);
    connect(ui->listChannels, &QListWidget::itemChanged, this, &TrendWindow::channelItemChanged);
    if (m_configuration)
        m_plot->setUnits(trendUnits(*m_configuration));

    m_sampleTimer.setInterval(SampleIntervalMs);
    m_sampleTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_sampleTimer, &QTimer::timeout, this, &TrendWindow::tick);
    m_sampleTimer.start();
    m_plot->setView(QDateTime::currentMSecsSinceEpoch(), m_windowMs);
}

TrendWindow::~TrendWindow() = default;

void TrendWindow::tick()
{
    sample(QDateTime::currentMSecsSinceEpoch());
}

void TrendWindow::sample(qint64 nowMs)
{
    // The session is asked every time: after a reconnection it names the new link, and a
    // link that has been deleted is never looked at again.
    const SCPI_Parser *link = m_session ? m_session->link() : nullptr;
    if (link && link->isConnected() && !link->isStopped()) {
        const Module &module = link->module();
        const int count = std::clamp(module.channelCount(), 0, SCPI_Parser::ChannelRecords);
        if (count > 0) {
            if (count != m_channelCount)
                setChannelCount(count);
            std::array<float, SCPI_Parser::ChannelRecords> volts {};
            std::array<float, SCPI_Parser::ChannelRecords> amperes {};
            for (int ch = 0; ch < count; ++ch) {
                volts[static_cast<size_t>(ch)] = module.channel(ch).voltageMeasure();
                amperes[static_cast<size_t>(ch)] = module.channel(ch).currentMeasure();
            }
            // A clock set back must not break the time order the buffer relies on.
            if (m_buffer.size() > 0)
                nowMs = std::max(nowMs, m_buffer.time(m_buffer.size() - 1));
            m_buffer.append(nowMs, volts.data(), amperes.data(), count);
        }
    }
    if (m_configuration)
        m_plot->setUnits(trendUnits(*m_configuration));
    // Redraw once the view has moved by a pixel column, but at most four times a second: for
    // the one-minute window every 250 ms, for the hour every few seconds, so a long window costs no
    // more than a short one.
    const qint64 columnMs = m_windowMs / m_plot->columnCount();
    const qint64 moved = nowMs - m_plot->viewEnd();
    if (!m_paused && (moved < 0 || moved >= std::max<qint64>(columnMs, MinimumRedrawMs)))
        m_plot->setView(nowMs, m_windowMs);
}

void TrendWindow::setChannelCount(int count)
{
    m_channelCount = count;
    const QSignalBlocker blocker(ui->listChannels);
    ui->listChannels->clear();
    for (int ch = 0; ch < count; ++ch) {
        QPixmap swatch(16, 16);
        swatch.fill(TrendPlot::channelColour(ch));
        auto *item = new QListWidgetItem(QIcon(swatch), tr("Ch %1").arg(ch), ui->listChannels);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Checked);
    }
    updateMask();
}

void TrendWindow::channelItemChanged(QListWidgetItem *)
{
    updateMask();
}

void TrendWindow::updateMask()
{
    quint64 mask = 0;
    for (int row = 0; row < ui->listChannels->count() && row < 64; ++row) {
        if (ui->listChannels->item(row)->checkState() == Qt::Checked)
            mask |= quint64(1) << row;
    }
    m_plot->setChannelMask(mask);
}

void TrendWindow::setAllTicks(bool checked)
{
    const QSignalBlocker blocker(ui->listChannels);
    for (int row = 0; row < ui->listChannels->count(); ++row)
        ui->listChannels->item(row)->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
    updateMask();
}

void TrendWindow::on_btnAll_clicked()
{
    setAllTicks(true);
}

void TrendWindow::on_btnNone_clicked()
{
    setAllTicks(false);
}

void TrendWindow::on_cmbBoxWindow_currentIndexChanged(int index)
{
    m_windowMs = Windows[std::clamp(index, 0, 2)];
    m_plot->setView(m_plot->viewEnd(), m_windowMs);
}

void TrendWindow::on_btnPause_toggled(bool checked)
{
    // Pausing freezes the view; samples keep being taken, so resuming loses nothing.
    m_paused = checked;
    ui->btnPause->setText(checked ? tr("&Resume") : tr("&Pause"));
    if (!checked)
        m_plot->setView(QDateTime::currentMSecsSinceEpoch(), m_windowMs);
}

bool TrendWindow::exportCsv(const QString &path, QString *error) const
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text)) {
        *error = file.errorString();
        return false;
    }
    // While running, the view may lag the newest sample by up to one pixel column.
    qint64 end = m_plot->viewEnd();
    if (!m_paused && m_buffer.size() > 0)
        end = std::max(end, m_buffer.time(m_buffer.size() - 1));
    QTextStream out(&file);
    writeTrendCsv(out, m_buffer, m_plot->channelMask(), m_channelCount, end - m_plot->viewWindow(),
        end, m_plot->units());
    out.flush();
    if (out.status() != QTextStream::Ok || !file.commit()) {
        *error = file.errorString();
        return false;
    }
    return true;
}

bool TrendWindow::exportPng(const QString &path) const
{
    return m_plot->grab().save(path, "PNG");
}

void TrendWindow::on_btnExportCsv_clicked()
{
    const QString path = QFileDialog::getSaveFileName(
        this, tr("Export Trend Data"), QString(), tr("CSV files (*.csv)"));
    if (path.isEmpty())
        return;
    QString error;
    if (!exportCsv(path, &error))
        QMessageBox::warning(this, tr("Vorn SCPI Control"),
            tr("The trend data could not be written to %1: %2").arg(path, error));
}

void TrendWindow::on_btnExportPng_clicked()
{
    const QString path = QFileDialog::getSaveFileName(
        this, tr("Export Trend Plot"), QString(), tr("PNG images (*.png)"));
    if (path.isEmpty())
        return;
    if (!exportPng(path))
        QMessageBox::warning(
            this, tr("Vorn SCPI Control"), tr("The plot could not be saved as %1.").arg(path));
}
