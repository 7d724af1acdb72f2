#pragma once

#include "commandinputs.h"

#include <QString>
#include <QStringList>

#include <optional>

/// How the operator commands talk to the operator: the questions they ask, the message they
/// show and the channel the operator has selected. The window answers with dialogs
/// (DialogPrompter); tests answer from a script.
///
/// A question may run an event loop of its own until it is answered; meanwhile the link keeps
/// polling and the connection may end, so the caller looks at its link again afterwards.
class CommandPrompter
{
public:
    enum class Answer { Yes, No, Cancel };

    virtual ~CommandPrompter() = default;

    /// Asks for a number within the prompt's range, with three decimals; empty on Cancel.
    virtual std::optional<double> askNumber(const CommandInputs::Prompt &prompt) = 0;
    /// Asks for a whole number from \a minimum to \a maximum, starting at \a value; empty on
    /// Cancel.
    virtual std::optional<int> askInteger(const QString &label, int value, int minimum, int maximum)
        = 0;
    /// Lets the operator choose one of \a items, \a current preselected; empty on Cancel.
    virtual std::optional<QString> chooseItem(
        const QString &label, const QStringList &items, int current)
        = 0;
    /// A question with the answers Yes, No and Cancel and none of them preselected.
    virtual Answer askYesNoCancel(const QString &title, const QString &text) = 0;
    /// Shows \a text for a few seconds without asking anything.
    virtual void showMessage(const QString &text) = 0;

    /// The channel the operator has selected, or -1 for none.
    virtual int selectedChannel() const = 0;
    virtual void selectChannel(int channel) = 0;
};
