// The operator's channel and module commands, the table edits, the context menu, the
// device-mode commands and the About boxes.
#include "ethcontrol.h"

#include "ui_ethcontrol.h"

void EthControl::clearChannelEvents(quint16 /*channel*/) { }

void EthControl::setChannelControl(quint16 /*channel*/, quint16 /*control*/) { }

void EthControl::setChannelEventMask(quint16 /*channel*/, quint16 /*eventmask*/) { }

void EthControl::clearModuleEvents() { }

void EthControl::setModuleControl(quint16 /*control*/) { }

void EthControl::setModuleEventMask(quint16 /*eventmask*/) { }

void EthControl::tableCellDataChanged(int /*row*/, int /*column*/, QString /*text*/) { }

void EthControl::on_actionSetVset_triggered() { }

void EthControl::on_actionSetIset_triggered() { }

void EthControl::on_actionSetChannelOn_triggered() { }

void EthControl::on_actionSetChannelOff_triggered() { }

void EthControl::on_actionSelectChannel_triggered() { }

void EthControl::on_actionSetAllChannelsOn_triggered() { }

void EthControl::on_actionSetAllChannelsOff_triggered() { }

void EthControl::on_actionSetVoltageRamp_triggered() { }

void EthControl::on_actionSetCurrentRamp_triggered() { }

void EthControl::on_actionSetAllVoltages_triggered() { }

void EthControl::on_actionSetAllCurrents_triggered() { }

void EthControl::on_actionSetVoltageIncremental_triggered() { }

void EthControl::on_actionClearChannelEmergencyOff_triggered() { }

void EthControl::on_actionSetChannelEmergencyOff_triggered() { }

void EthControl::on_actionClearEvents_triggered() { }

void EthControl::on_actionDigitalFilter_triggered() { }

void EthControl::on_actionClearAllEvents_triggered() { }

void EthControl::on_actionAbout_triggered() { }

void EthControl::on_actionAboutQt_triggered() { }

void EthControl::on_table_customContextMenuRequested(QPoint /*pos*/) { }

void EthControl::on_actionSetAllChannelsEmergencyOff_triggered() { }

void EthControl::on_actionClearAllChannelsEmergencyOff_triggered() { }

void EthControl::on_actionIncrementVoltage_triggered() { }

void EthControl::on_actionDecrementVoltage_triggered() { }

void EthControl::on_actionSetIncrement_triggered() { }

void EthControl::on_actionSetIncrementTimes10_triggered() { }

void EthControl::on_actionSetIncrementBy10_triggered() { }

void EthControl::on_actionSaveChangedConfigurationInDevice_triggered() { }

void EthControl::on_actionConfigureListenOnlyMode_triggered() { }
