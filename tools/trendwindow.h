#pragma once

#include "trendbuffer.h"

#include <QTimer>
#include <QWidget>

#include <memory>

class Configuration;
class ModuleSession;
class QListWidgetItem;
class SCPI_Parser;
class TrendPlot;

namespace Ui {
class TrendWindow;
}

/// The live trend: samples the measured voltage and current of every channel of the current
/// link's module ten times a second into a bounded TrendBuffer (one hour), and plots the
/// ticked channels over the chosen time window in the display units of the configuration.
/// Sampling runs from the window's creation on, also while it is hidden or paused, and reads
/// the module only; it never sends anything.
class TrendWindow : public QWidget
{
    Q_OBJECT

public:
    static constexpr int SampleIntervalMs = 100;
    /// The plot moves on at most four times a second; sampling stays at ten.
    static constexpr int MinimumRedrawMs = 250;

    /// \a session and \a configuration are not owned and must outlive the window.
    TrendWindow(const ModuleSession *session, const Configuration *configuration,
        QWidget *parent = nullptr);
    ~TrendWindow() override;

    /// Takes one sample of the current module at \a nowMs (the timer passes the clock time).
    void sample(qint64 nowMs);
    const TrendBuffer &buffer() const { return m_buffer; }
    TrendPlot *plot() const { return m_plot; }
    /// Writes the shown samples of the ticked channels; false with \a error set on failure.
    bool exportCsv(const QString &path, QString *error) const;
    bool exportPng(const QString &path) const;

private slots:
    void on_cmbBoxWindow_currentIndexChanged(int index);
    void on_btnPause_toggled(bool checked);
    void on_btnExportCsv_clicked();
    void on_btnExportPng_clicked();
    void on_btnAll_clicked();
    void on_btnNone_clicked();

private:
    void tick();
    void setChannelCount(int count);
    void setAllTicks(bool checked);
    void channelItemChanged(QListWidgetItem *item);
    void updateMask();

    std::unique_ptr<Ui::TrendWindow> ui;
    const ModuleSession *m_session;
    const Configuration *m_configuration;
    TrendBuffer m_buffer;
    TrendPlot *m_plot = nullptr;
    QTimer m_sampleTimer;
    int m_channelCount = 0;
    qint64 m_windowMs = 60 * 1000;
    bool m_paused = false;
};
