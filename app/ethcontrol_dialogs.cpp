// Opening the dialogs: each is created on first use with the window as parent and kept.
#include "ethcontrol.h"

#include "ui_ethcontrol.h"

void EthControl::on_actionSuppliesAndTemperature_triggered() { }

void EthControl::on_actionChannelStatusControl_triggered() { }

void EthControl::on_actionModuleStatusControl_triggered() { }

void EthControl::on_actionConfiguration_triggered() { }

void EthControl::on_actionStatistic_triggered() { }

void EthControl::on_actionInputOutput_triggered() { }

void EthControl::outputChanged(Module::Output /*output*/, int /*value*/) { }

void EthControl::on_actionEmissionParameters_triggered() { }
