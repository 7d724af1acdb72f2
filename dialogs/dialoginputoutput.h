#pragma once

#include "module.h"

#include <QDialog>

#include <memory>

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

    std::unique_ptr<Ui::DialogInputOutput> ui;
};
