#include "dialogstatistic.h"
#include "ui_dialogstatistic.h"

#include "measurementlog.h"

#include <QDateTime>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QTextStream>

namespace {
// Channel numbers from here on cannot belong to a module.
constexpr int FirstInvalidChannel = 96;
}

DialogStatistic::DialogStatistic(int serialNumber, QWidget *parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::DialogStatistic>())
{
    ui->setupUi(this);
    writeTimer.start();
    ui->txtFilename->setText(QDir::toNativeSeparators(
        QDir::currentPath() + QLatin1Char('/') + QString::number(serialNumber) + ".csv"));
}

DialogStatistic::~DialogStatistic() = default;

void DialogStatistic::setChannelCount(int count)
{
    channelCount = count;
    ui->spbChannelNumber->setMaximum(count - 1);
}

bool DialogStatistic::isLogging() const
{
    return file != nullptr;
}

bool DialogStatistic::singleChannel() const
{
    return ui->chkSingleChannel->isChecked();
}

int DialogStatistic::moduleSlot(int serialNumber)
{
    int slot = serialNumbers.indexOf(serialNumber);
    if (slot < 0 && serialNumbers.size() < ModuleSlots) {
        serialNumbers.append(serialNumber);
        slot = serialNumbers.size() - 1;
    }
    return slot;
}

int DialogStatistic::acceptedSlot(int serialNumber, int channel)
{
    if (singleChannel() && channel != ui->spbChannelNumber->value())
        return -1;
    if (channel < 0 || channel >= FirstInvalidChannel)
        return -1;
    return moduleSlot(serialNumber);
}

void DialogStatistic::updateChannelVoltageMeasure(int serialNumber, int channel, float siValue)
{
    const int slot = acceptedSlot(serialNumber, channel);
    if (slot < 0)
        return;
    QString &buffer = lineBuffers[static_cast<size_t>(slot)];
    if (singleChannel() || channel == 0)
        buffer.clear();
    if (ui->writeVoltage->isChecked())
        buffer += MeasurementLog::valueField(siValue);
}

void DialogStatistic::updateChannelCurrentMeasure(int serialNumber, int channel, float siValue)
{
    const int slot = acceptedSlot(serialNumber, channel);
    if (slot < 0)
        return;
    if (ui->writeCurrent->isChecked())
        lineBuffers[static_cast<size_t>(slot)] += MeasurementLog::valueField(siValue);
}

void DialogStatistic::updateChannelStatus(
    int serialNumber, int channel, quint32 status, quint32 eventStatus)
{
    const int slot = acceptedSlot(serialNumber, channel);
    if (slot < 0)
        return;
    if (ui->writeStatus->isChecked())
        lineBuffers[static_cast<size_t>(slot)] += MeasurementLog::statusFields(status, eventStatus);
    if (singleChannel() || channel == channelCount - 1)
        writeLine(serialNumber, slot);
}

void DialogStatistic::updateModuleTemperature(int serialNumber, int index, float temperature)
{
    if (index != 0)
        return;
    const int slot = moduleSlot(serialNumber);
    if (slot >= 0)
        temperatures[static_cast<size_t>(slot)] = temperature;
}

void DialogStatistic::updateAllModulesStarted()
{
    if (onceRequested && !file && !openFile())
        onceRequested = false; // one warning per Once, not one per refresh
}

void DialogStatistic::updateAllModulesCompleted()
{
    if (onceRequested)
        stop();
}

void DialogStatistic::writeLine(int serialNumber, int slot)
{
    if (!file)
        return;
    if (writeTimer.elapsed() < ui->delaySpinBox->value())
        return;
    writeTimer.restart();
    const QString line = MeasurementLog::dataLine(QDateTime::currentDateTime(), serialNumber,
        lineBuffers[static_cast<size_t>(slot)], temperatures[static_cast<size_t>(slot)]);
    if (!writeText(line))
        return;
    ++m_linesWritten;
    ui->txtLinesWritten->setText(QString::number(m_linesWritten));
}

bool DialogStatistic::openFile()
{
    const QString typed = ui->txtFilename->text();
    auto candidate = std::make_unique<QFile>(QDir::fromNativeSeparators(typed));
    if (!candidate->open(QIODevice::WriteOnly | QIODevice::Append)) {
        warn(tr("Can not open file '%1' for writing!").arg(typed));
        return false;
    }
    file = std::move(candidate);
    stream = std::make_unique<QTextStream>(file.get());
    setControlsLogging(true);

    QList<int> channels;
    if (singleChannel()) {
        channels.append(ui->spbChannelNumber->value());
    } else {
        for (int n = 0; n < channelCount; ++n)
            channels.append(n);
    }
    MeasurementLog::Columns columns;
    columns.voltage = ui->writeVoltage->isChecked();
    columns.current = ui->writeCurrent->isChecked();
    columns.status = ui->writeStatus->isChecked();
    return writeText(MeasurementLog::headerLine(channels, columns));
}

bool DialogStatistic::writeText(const QString &text)
{
    *stream << text << '\n';
    stream->flush();
    if (stream->status() == QTextStream::Ok && file->error() == QFileDevice::NoError)
        return true;
    const QString reason = file->errorString();
    stop();
    ui->pushButtonOnce->setEnabled(!ui->txtFilename->text().isEmpty());
    warn(tr("Writing to file '%1' failed: %2\nMeasurement logging has been stopped; the lines "
            "written before are kept.")
             .arg(ui->txtFilename->text(), reason));
    return false;
}

void DialogStatistic::closeFile()
{
    stream.reset();
    if (file)
        file->close();
    file.reset();
}

void DialogStatistic::stop()
{
    onceRequested = false;
    closeFile();
    setControlsLogging(false);
}

void DialogStatistic::setControlsLogging(bool logging)
{
    ui->btnStop->setEnabled(logging);
    ui->btnStart->setEnabled(!logging);
    ui->btnSelectFile->setEnabled(!logging);
    ui->txtFilename->setEnabled(!logging);
    ui->grpChannelSelection->setEnabled(!logging);
    ui->writeGroup->setEnabled(!logging);
    ui->delayGroup->setEnabled(!logging);
}

void DialogStatistic::warn(const QString &text)
{
    // Not exec(): a failure found during a display refresh must not spin a nested event loop
    // inside the engine's answer processing.
    auto *box = new QMessageBox(
        QMessageBox::Warning, tr("Vorn SCPI Control"), text, QMessageBox::Ok, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

void DialogStatistic::on_btnSelectFile_clicked()
{
    const QString name = QFileDialog::getSaveFileName(this, tr("Save measurement data"),
        ui->txtFilename->text(), tr("Measurement files (*%1)").arg(QStringLiteral(".csv")));
    if (name.isEmpty())
        return;
    ui->txtFilename->setText(QDir::toNativeSeparators(MeasurementLog::withCsvSuffix(name)));
}

void DialogStatistic::on_btnStart_clicked()
{
    onceRequested = false; // Start supersedes a pending Once
    m_linesWritten = 0;
    ui->pushButtonOnce->setEnabled(false);
    openFile();
}

void DialogStatistic::on_btnStop_clicked()
{
    stop();
    ui->pushButtonOnce->setEnabled(true);
}

void DialogStatistic::on_chkAllChannels_clicked()
{
    ui->spbChannelNumber->setEnabled(false);
}

void DialogStatistic::on_chkSingleChannel_clicked()
{
    ui->spbChannelNumber->setEnabled(true);
}

void DialogStatistic::on_txtFilename_textChanged(const QString &text)
{
    ui->btnStart->setEnabled(!text.isEmpty());
    ui->pushButtonOnce->setEnabled(!text.isEmpty());
}

void DialogStatistic::on_pushButtonOnce_clicked()
{
    onceRequested = true;
}

void DialogStatistic::done(int result)
{
    closeFile();
    QDialog::done(result);
}

void DialogStatistic::changeEvent(QEvent *event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::LanguageChange)
        ui->retranslateUi(this);
}
