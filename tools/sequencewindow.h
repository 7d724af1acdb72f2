#pragma once

#include "sequence.h"
#include "sequencejournal.h"
#include "sequencerunner.h"

#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <memory>

class ModuleController;
class ModuleSession;
class SafetyRulesTable;
class SequenceStepModel;

namespace Ui {
class SequenceWindow;
}

/// The Sequence window: the steps of a ramp sequence in an editable table, its safety rules,
/// loading and saving its file, and running it with Start, Pause, Resume, Skip Step and Abort;
/// the progress (step, phase, elapsed and estimated time left), the live values of the
/// sequence's channels and the runner's journal. The runner is the module controller's, so a
/// sequence keeps running while the window is hidden. Closing the window while a sequence runs
/// asks the operator, and so does closing the main window (the window's parent).
class SequenceWindow : public QWidget, public SequenceJournal
{
    Q_OBJECT

public:
    /// \a controller is not owned and must outlive the window. Opens with the shipped example.
    explicit SequenceWindow(ModuleController *controller, QWidget *parent = nullptr);
    ~SequenceWindow() override;

    SequenceRunner *runner() const { return m_runner; }
    /// The sequence as the window shows it; \a error names what keeps it from being used.
    bool sequence(Sequence *sequence, QString *error) const;
    void showSequence(const Sequence &sequence);
    /// Loads a sequence file; the operator is told when it is refused.
    bool loadFile(const QString &path);

    // SequenceJournal: the entries are listed in the window.
    void info(const QString &text) override;
    void alarm(const QString &text) override;

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private slots:
    void on_btnLoad_clicked();
    void on_btnSave_clicked();
    void on_btnAddStep_clicked();
    void on_btnRemoveStep_clicked();
    void on_btnStart_clicked();
    void on_btnPause_clicked();
    void on_btnResume_clicked();
    void on_btnSkip_clicked();
    void on_btnAbort_clicked();

private:
    void showState();
    void showProgress();
    void showLiveValues();
    void addEntry(const QString &text, bool alarm);
    void warn(const QString &text);
    QString folder() const;
    void rememberFolder(const QString &path);

    std::unique_ptr<Ui::SequenceWindow> ui;
    /// The main window ends the controller before this window.
    QPointer<ModuleController> m_controller;
    ModuleSession *m_session;
    SequenceRunner *m_runner = nullptr;
    SequenceStepModel *m_steps = nullptr;
    SafetyRulesTable *m_rules = nullptr;
    QTimer m_liveTimer;
};
