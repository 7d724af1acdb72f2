// The menu actions, table edits and dialog requests, each run by the operator commands; and
// the About boxes.
#include "ethcontrol.h"

#include "operatorcommands.h"

#include <QMessageBox>

// One line each: the slots only hand the action on.
// clang-format off
void EthControl::clearChannelEvents(quint16 channel) { commands->clearChannelEvents(channel); }

void EthControl::setChannelControl(quint16 channel, quint16 control)
{
    commands->setChannelControl(channel, control);
}

void EthControl::setChannelEventMask(quint16 channel, quint16 eventmask)
{
    commands->setChannelEventMask(channel, eventmask);
}

void EthControl::clearModuleEvents() { commands->clearModuleEvents(); }
void EthControl::setModuleControl(quint16 control) { commands->setModuleControl(control); }
void EthControl::setModuleEventMask(quint16 eventmask) { commands->setModuleEventMask(eventmask); }

void EthControl::tableCellDataChanged(int row, int column, QString text)
{
    commands->tableCellDataChanged(row, column, text);
}

void EthControl::on_actionSetVset_triggered() { commands->setChannelVoltage(); }
void EthControl::on_actionSetIset_triggered() { commands->setChannelCurrent(); }
void EthControl::on_actionSetChannelOn_triggered() { commands->setChannelOn(); }
void EthControl::on_actionSetChannelOff_triggered() { commands->setChannelOff(); }
void EthControl::on_actionSelectChannel_triggered() { commands->selectChannel(); }
void EthControl::on_actionSetAllChannelsOn_triggered() { commands->setAllChannelsOn(); }
void EthControl::on_actionSetAllChannelsOff_triggered() { commands->setAllChannelsOff(); }
void EthControl::on_actionSetVoltageRamp_triggered() { commands->setVoltageRamp(); }
void EthControl::on_actionSetCurrentRamp_triggered() { commands->setCurrentRamp(); }
void EthControl::on_actionSetAllVoltages_triggered() { commands->setAllVoltages(); }
void EthControl::on_actionSetAllCurrents_triggered() { commands->setAllCurrents(); }
void EthControl::on_actionSetVoltageIncremental_triggered() { commands->setVoltageStaircase(); }

void EthControl::on_actionClearChannelEmergencyOff_triggered()
{
    commands->clearChannelEmergencyOff();
}

void EthControl::on_actionSetChannelEmergencyOff_triggered() { commands->setChannelEmergencyOff(); }
void EthControl::on_actionClearEvents_triggered() { commands->clearEvents(); }
void EthControl::on_actionDigitalFilter_triggered() { commands->setDigitalFilter(); }
void EthControl::on_actionClearAllEvents_triggered() { commands->clearAllEvents(); }

void EthControl::on_actionSetAllChannelsEmergencyOff_triggered()
{
    commands->setAllChannelsEmergencyOff();
}

void EthControl::on_actionClearAllChannelsEmergencyOff_triggered()
{
    commands->clearAllChannelsEmergencyOff();
}

void EthControl::outputChanged(Module::Output output, int value)
{
    commands->outputChanged(output, value);
}

void EthControl::on_actionIncrementVoltage_triggered() { commands->incrementVoltage(); }
void EthControl::on_actionDecrementVoltage_triggered() { commands->decrementVoltage(); }
void EthControl::on_actionSetIncrement_triggered() { commands->setIncrement(); }
void EthControl::on_actionSetIncrementTimes10_triggered() { commands->setIncrementTimes10(); }
void EthControl::on_actionSetIncrementBy10_triggered() { commands->setIncrementBy10(); }

void EthControl::on_actionSaveChangedConfigurationInDevice_triggered()
{
    commands->saveConfiguration();
}

void EthControl::on_actionConfigureListenOnlyMode_triggered()
{
    commands->configureListenOnlyMode();
}
// clang-format on

void EthControl::on_actionAbout_triggered()
{
    const QString text = tr(
        "<h2>Vorn SCPI Control Version %1</h2>"
        "<p>Copyright &copy; %2 Vornwerk GmbH</p>"
        "<p>This program is an example for the control and monitoring of Vornwerk high-voltage "
        "modules with the SCPI command set.</p>"
        "<p>It communicates with Vornwerk HV modules over RS-232, USB or Ethernet and uses the "
        "Vornwerk &quot;Zelk&quot; SCPI command set.</p>"
        "<p>Supported devices:</p>"
        "<ul>"
        "<li>DRSB firmware &ge; 3.00</li>"
        "<li>VXT, KA2F and GLW8 firmware &ge; 1.00</li>"
        "<li>TX01/TX02 1.5 kW, 3 kW and 10 kW firmware &ge; 1.60</li>"
        "<li>TX01/TX02 300 W and 800 W firmware &ge; 5.34</li>"
        "<li>TX compact and TQ88812 firmware &ge; 3.00</li>"
        "<li>Filament supplies firmware &ge; 2.00</li>"
        "</ul>"
        "<p>For more information see <a href=\"https://vornwerk.example\">vornwerk.example</a> "
        "or <a href=\"mailto:support@vornwerk.example?subject=Vorn SCPI Control %1\">contact</a> "
        "(support@vornwerk.example).</p>")
                             .arg(QStringLiteral(VORN_VERSION), QStringLiteral("2011-2020"));
    QMessageBox::about(this, tr("About Vorn SCPI Control"), text);
}

void EthControl::on_actionAboutQt_triggered() { QMessageBox::aboutQt(this); }
