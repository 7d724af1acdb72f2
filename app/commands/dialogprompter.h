#pragma once

#include "commandprompter.h"

#include <QCoreApplication>

class HvTable;
class QStatusBar;
class QWidget;

/// Asks the operator with the standard input dialogs and message boxes, titled with the
/// program's name and modal over the window; shows messages in the status bar; the selected
/// channel is the channel table's current row. None of the widgets is owned; all must outlive
/// the prompter.
class DialogPrompter : public CommandPrompter
{
    Q_DECLARE_TR_FUNCTIONS(DialogPrompter)

public:
    DialogPrompter(QWidget *window, HvTable *table, QStatusBar *statusBar);

    std::optional<double> askNumber(const CommandInputs::Prompt &prompt) override;
    std::optional<int> askInteger(
        const QString &label, int value, int minimum, int maximum) override;
    std::optional<QString> chooseItem(
        const QString &label, const QStringList &items, int current) override;
    Answer askYesNoCancel(const QString &title, const QString &text) override;
    void showMessage(const QString &text) override;
    int selectedChannel() const override;
    /// Selects the channel's row and keeps the current column.
    void selectChannel(int channel) override;

private:
    QWidget *window = nullptr;
    HvTable *table = nullptr;
    QStatusBar *statusBar = nullptr;
};
