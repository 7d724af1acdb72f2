#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class DialogEmissionParameters;
}

/// Edits the three factors of a filament supply's emission current regulation and its
/// filament current limits. OK hands the five values on; Cancel sends nothing, and the boxes
/// keep the edited values until the module reports a change.
class DialogEmissionParameters : public QDialog
{
    Q_OBJECT

public:
    explicit DialogEmissionParameters(QWidget *parent = nullptr);
    ~DialogEmissionParameters() override;

signals:
    void emissionParameterChanged(
        float factorP, float factorI, float factorD, float filamentMinimum, float filamentMaximum);

public slots:
    /// Each setter shows the value in its box, clamped to the box's range (0 to 9999).
    void setEmissionParameterP(float value);
    void setEmissionParameterI(float value);
    void setEmissionParameterD(float value);
    void setFilamentMinimum(float value);
    void setFilamentMaximum(float value);
    /// Emits emissionParameterChanged() with the five box values, then closes.
    void accept() override;

protected:
    void changeEvent(QEvent *event) override;

private:
    std::unique_ptr<Ui::DialogEmissionParameters> ui;
};
