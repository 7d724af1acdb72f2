#pragma once

#include "module.h"

#include <QDialog>
#include <QPointer>

#include <memory>

class ModuleSession;
class SCPI_Parser;

namespace Ui {
class DialogInputOutput;
}

/// Selects the high-voltage and filament outputs of a filament supply, switches its two water
/// valves and its chiller, and shows its eight interlock inputs. Values set from the module
/// do not count as operator clicks and emit nothing.
class DialogInputOutput : public QDialog
{
    Q_OBJECT

public:
    explicit DialogInputOutput(QWidget *parent = nullptr);
    ~DialogInputOutput() override;

    /// Shows the module of \a session's present link and of every later one (not owned; it
    /// must outlive the dialog).
    void followSession(const ModuleSession *session);
    /// Shows the three outputs and the interlock inputs of \a module.
    void showModule(const Module &module);

signals:
    void outputChanged(Module::Output output, int value);

public slots:
    void updateOutput(Module::Output output, int value);
    void updateInterlock(int value);

protected:
    void changeEvent(QEvent *event) override;

private slots:
    void on_radioVoltage0_clicked();
    void on_radioVoltage1_clicked();
    void on_radioVoltage2_clicked();
    void on_radioVoltage3_clicked();
    void on_radioFilament0_clicked();
    void on_radioFilament1_clicked();
    void on_radioFilament2_clicked();
    void on_radioFilament3_clicked();
    void on_checkValve0_clicked();
    void on_checkValve1_clicked();
    void on_checkChiller_clicked();

private:
    void emitDigitalOutput();
    void followLink(SCPI_Parser *link);

    std::unique_ptr<Ui::DialogInputOutput> ui;
    QPointer<SCPI_Parser> m_link;
};
