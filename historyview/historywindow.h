#pragma once

#include <QWidget>

#include <memory>

class EventHistory;
class HistoryModel;
struct HistoryEntry;

namespace Ui {
class HistoryWindow;
}

/// "Event History": the entries of the module's history, newest first, filtered by severity
/// and source; Export CSV, Clear View (hides what is there so far), Acknowledge All. Says so
/// when the history cannot be saved.
class HistoryWindow : public QWidget
{
    Q_OBJECT

public:
    /// \a history is not owned and must outlive the window.
    explicit HistoryWindow(EventHistory *history, QWidget *parent = nullptr);
    ~HistoryWindow() override;

    HistoryModel *model() const { return m_model; }
    /// Writes the shown entries; false with \a error set on failure.
    bool exportCsv(const QString &path, QString *error) const;

private slots:
    void on_cmbBoxSeverity_currentIndexChanged(int index);
    void on_cmbBoxSource_currentIndexChanged(int index);
    void on_btnAcknowledgeAll_clicked();
    void on_btnClearView_clicked();
    void on_btnExportCsv_clicked();

private:
    void applyFilter();
    /// Offers every channel up to \a channel in the source list.
    void offerChannel(int channel);
    void offerSources();
    void showAlarms();
    void showWriteError(const QString &message);

    std::unique_ptr<Ui::HistoryWindow> ui;
    EventHistory *m_history;
    HistoryModel *m_model = nullptr;
    int m_channels = 0;
};
