#pragma once

#include <QDialog>
#include <QElapsedTimer>
#include <QList>
#include <QString>

#include <array>
#include <memory>

class QFile;
class QTextStream;

namespace Ui {
class DialogStatistic;
}

/// Records measured values into a text file, one line per module and display refresh, either
/// continuously (Start / Stop) or for a single refresh (Once), with a minimum delay between
/// lines. Fed by the main window's refresh signals; it sends nothing to the module.
///
/// A failed write stops logging at once: the file is closed (every line written so far is
/// already flushed) and a warning names the file and the reason.
class DialogStatistic : public QDialog
{
    Q_OBJECT

public:
    /// The file name starts as "<working folder>/<serialNumber>.csv".
    DialogStatistic(int serialNumber, QWidget *parent = nullptr);
    ~DialogStatistic() override;

    /// Called on every opening with the module's channel count.
    void setChannelCount(int count);

    /// Lines written since the last Start.
    int linesWritten() const { return m_linesWritten; }
    /// True while a log file is open.
    bool isLogging() const;

public slots:
    void updateChannelVoltageMeasure(int serialNumber, int channel, float siValue);
    void updateChannelCurrentMeasure(int serialNumber, int channel, float siValue);
    void updateChannelStatus(int serialNumber, int channel, quint32 status, quint32 eventStatus);
    void updateAllModulesStarted();
    void updateAllModulesCompleted();
    void updateModuleTemperature(int serialNumber, int index, float temperature);

    /// Closing the dialog closes an open log file.
    void done(int result) override;

protected:
    void changeEvent(QEvent *event) override;

private slots:
    void on_btnSelectFile_clicked();
    void on_btnStart_clicked();
    void on_btnStop_clicked();
    void on_chkAllChannels_clicked();
    void on_chkSingleChannel_clicked();
    void on_txtFilename_textChanged(const QString &text);
    void on_pushButtonOnce_clicked();

private:
    static constexpr int ModuleSlots = 64;

    int moduleSlot(int serialNumber);
    /// The slot of an update that passes the channel filter, or -1.
    int acceptedSlot(int serialNumber, int channel);
    bool singleChannel() const;
    bool openFile();
    void writeLine(int serialNumber, int slot);
    /// Writes \a text and a line feed and flushes; on failure stops logging and warns.
    bool writeText(const QString &text);
    void closeFile();
    void stop();
    void setControlsLogging(bool logging);
    void warn(const QString &text);

    std::unique_ptr<Ui::DialogStatistic> ui;
    std::unique_ptr<QFile> file;
    std::unique_ptr<QTextStream> stream;
    int m_linesWritten = 0;
    bool onceRequested = false;
    QElapsedTimer writeTimer;
    int channelCount = 0;
    std::array<QString, ModuleSlots> lineBuffers;
    std::array<float, ModuleSlots> temperatures {};
    QList<int> serialNumbers;
};
