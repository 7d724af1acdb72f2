#pragma once

#include "channelcommand.h"

#include "commandinputs.h"
#include "module.h"

#include <QObject>
#include <QString>

#include <functional>

class CommandPrompter;
class Configuration;
class ModuleController;
class ModuleSession;
class SCPI_Parser;

/// The operator's commands to the connected module: one method per menu action, table edit and
/// control-dialog request. Each works on the session's present link, converts between the
/// display units of the configuration and SI, and asks the operator through the prompter.
/// Without a link a command does nothing. A command for one channel acts on the prompter's
/// selected channel and, when none of the module's channels is selected, tells the operator
/// instead of sending: without a channel address the module would apply it to every channel.
///
/// A question runs its own event loop while the link keeps polling, and the connection may
/// end (or a new link take over) before it is answered, so the link is looked up again after
/// every answer.
///
/// None of the pointers passes ownership; the session, the configuration and the prompter
/// must outlive the commands.
class OperatorCommands : public QObject
{
    Q_OBJECT

public:
    OperatorCommands(ModuleController *controller, Configuration *configuration,
        CommandPrompter *prompter, QObject *parent = nullptr);

public slots:
    // The selected channel.
    void setChannelVoltage();
    void setChannelCurrent();
    void setChannelOn();
    void setChannelOff();
    void setChannelEmergencyOff();
    void clearChannelEmergencyOff();
    /// Clears the selected channel's events, as clearChannelEvents() does.
    void clearEvents();
    /// The selected channel's set voltage plus or minus the module's voltage increment, with no
    /// range check: the module limits what it cannot take.
    void incrementVoltage();
    void decrementVoltage();
    /// Asks for the voltage increment, 0 to |Vnom| of the selected channel.
    void setIncrement();
    /// The increment times ten while that stays below |Vnom| of the selected channel.
    void setIncrementTimes10();
    /// The increment divided by ten while that stays above 0.001 V; needs no selected channel.
    void setIncrementBy10();
    /// Asks for a channel number and selects it.
    void selectChannel();

    // All channels and the module.
    void setAllVoltages();
    void setAllCurrents();
    void setAllChannelsOn();
    void setAllChannelsOff();
    void setAllChannelsEmergencyOff();
    void clearAllChannelsEmergencyOff();
    void clearAllEvents();
    void setVoltageRamp();
    void setCurrentRamp();
    /// Sets a voltage staircase over all channels up to |Vnom| of channel 0; successive uses
    /// alternate between rising to it at the last channel and falling from it at channel 0.
    void setVoltageStaircase();

    // Device mode.
    void setDigitalFilter();
    void configureListenOnlyMode();
    void saveConfiguration();

    /// A text the operator typed into cell (\a row, \a column) of the channel table: columns 0
    /// (Vset), 2 (Vbounds), 4 (Iset) and 6 (Ibounds) are sent for channel \a row; a text that
    /// is no number is sent as 0.
    void tableCellDataChanged(int row, int column, const QString &text);

    // Requests of the channel and module control dialogs and of the Input/Output dialog.
    /// Clears the channel's events and reads the whole configuration again.
    void clearChannelEvents(quint16 channel);
    void setChannelControl(quint16 channel, quint16 control);
    void setChannelEventMask(quint16 channel, quint16 eventmask);
    void clearModuleEvents();
    void setModuleControl(quint16 control);
    void setModuleEventMask(quint16 eventmask);
    void outputChanged(Module::Output output, int value);

signals:
    /// The voltage increment changed; \a text is what the increment label shows.
    void incrementLabelChanged(const QString &text);
    /// A ramp speed was sent; \a text shows it at once in the command's form ("12.5 %/s",
    /// "250.00 V/s"). The display writes the label in its own form at its next refresh even
    /// when the module's speed is unchanged, so it forgets what it has shown on this signal.
    void voltageRampLabelChanged(const QString &text);
    void currentRampLabelChanged(const QString &text);

private:
    SCPI_Parser *link() const;
    /// Through the controller's gate; a refusal is shown to the operator.
    void send(ChannelCommand::Kind kind, int channel, float value, bool flag = false);
    /// The selected channel for a one-channel command, or -1 when there is no link or no
    /// channel of the module is selected; the operator is told about the missing selection.
    int commandChannel();
    /// The selected channel, or 0; the initial value of the all-channels dialogs.
    int initialChannel() const;
    /// Asks for \a prompt's number; unless cancelled, hands it to \a send with the link that
    /// exists once the answer is in, if any. A prompt with a refusal is not asked: the operator
    /// is told the refusal.
    void askThenSend(const CommandInputs::Prompt &prompt,
        const std::function<void(SCPI_Parser &, double)> &send);

    ModuleController *controller = nullptr;
    ModuleSession *session = nullptr;
    Configuration *configuration = nullptr;
    CommandPrompter *prompter = nullptr;
    /// Direction of the next voltage staircase: false rises, true falls.
    bool staircaseFalling = false;
};
