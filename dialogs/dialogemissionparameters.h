#pragma once

#include <QDialog>
#include <QPointer>

#include <memory>

class ModuleSession;
class SCPI_Parser;

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

    /// Shows the module of \a session's present link and of every later one, and hands the
    /// edited values to that link's engine (not owned; it must outlive the dialog).
    void followSession(const ModuleSession *session);

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
    void followLink(SCPI_Parser *link);

    std::unique_ptr<Ui::DialogEmissionParameters> ui;
    QPointer<SCPI_Parser> m_link;
};
