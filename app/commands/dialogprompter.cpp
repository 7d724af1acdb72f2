#include "dialogprompter.h"

#include "hvtable.h"

#include <QInputDialog>
#include <QMessageBox>
#include <QStatusBar>

#include <algorithm>

namespace {
constexpr int messageTime = 5000;
constexpr int decimals = 3;
} // namespace

DialogPrompter::DialogPrompter(QWidget *window, HvTable *table, QStatusBar *statusBar)
    : window(window)
    , table(table)
    , statusBar(statusBar)
{
}

std::optional<double> DialogPrompter::askNumber(const CommandInputs::Prompt &prompt)
{
    bool ok = false;
    const double value = QInputDialog::getDouble(window, tr("Vorn SCPI Control"), prompt.label,
        prompt.value, prompt.minimum, prompt.maximum, decimals, &ok);
    return ok ? std::optional<double>(value) : std::nullopt;
}

std::optional<int> DialogPrompter::askInteger(
    const QString &label, int value, int minimum, int maximum)
{
    bool ok = false;
    const int answer = QInputDialog::getInt(
        window, tr("Vorn SCPI Control"), label, value, minimum, maximum, 1, &ok);
    return ok ? std::optional<int>(answer) : std::nullopt;
}

std::optional<QString> DialogPrompter::chooseItem(
    const QString &label, const QStringList &items, int current)
{
    bool ok = false;
    const QString choice
        = QInputDialog::getItem(window, tr("Vorn SCPI Control"), label, items, current, false, &ok);
    return ok ? std::optional<QString>(choice) : std::nullopt;
}

CommandPrompter::Answer DialogPrompter::askYesNoCancel(const QString &title, const QString &text)
{
    switch (QMessageBox::question(window, title, text,
        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::NoButton)) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return Answer::Cancel;
    }
}

void DialogPrompter::showMessage(const QString &text)
{
    statusBar->showMessage(text, messageTime);
}

int DialogPrompter::selectedChannel() const
{
    return table->currentRow();
}

void DialogPrompter::selectChannel(int channel)
{
    table->setCurrentCell(channel, std::max(table->currentColumn(), 0));
}
