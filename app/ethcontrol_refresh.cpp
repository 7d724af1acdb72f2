// The display refresh: one run per answer the link has processed.
#include "ethcontrol.h"

#include "ui_ethcontrol.h"

void EthControl::updateDisplayTimer() { }

void EthControl::on_buttonFlipCh_clicked() { }

void EthControl::on_buttonFlipMod_clicked() { }
