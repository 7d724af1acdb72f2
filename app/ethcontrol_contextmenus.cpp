// The two pop-up menus: one for the channel under the mouse in the table, one for the module
// elsewhere in the window. Each entry runs the slot of the matching menu-bar action.
#include "ethcontrol.h"

#include "ui_ethcontrol.h"

#include <QContextMenuEvent>
#include <QMenu>

namespace {
/// A disabled bold first entry naming what the menu acts on.
void addTitle(QMenu &menu, const QString &text)
{
    QAction *title = menu.addAction(text);
    QFont font;
    font.setBold(true);
    title->setFont(font);
    title->setEnabled(false);
    menu.addSeparator();
}

/// An entry that runs \a slot of \a window, the slot of the matching menu-bar action.
void addEntry(QMenu &menu, const QString &text, EthControl *window, void (EthControl::*slot)())
{
    QObject::connect(menu.addAction(text), &QAction::triggered, window, slot);
}
} // namespace

void EthControl::on_table_customContextMenuRequested(QPoint pos)
{
    QMenu menu(this);
    addTitle(menu, tr("Channel %1 menu").arg(ui->table->currentRow()));
    addEntry(menu, tr("Set Voltage..."), this, &EthControl::on_actionSetVset_triggered);
    addEntry(menu, tr("Set Current..."), this, &EthControl::on_actionSetIset_triggered);
    menu.addSeparator();
    addEntry(menu, tr("Set On"), this, &EthControl::on_actionSetChannelOn_triggered);
    addEntry(menu, tr("Set Off"), this, &EthControl::on_actionSetChannelOff_triggered);
    menu.addSeparator();
    addEntry(menu, tr("Set Emergency Off"), this,
        &EthControl::on_actionSetChannelEmergencyOff_triggered);
    addEntry(menu, tr("Clear Emergency Off"), this,
        &EthControl::on_actionClearChannelEmergencyOff_triggered);
    menu.addSeparator();
    addEntry(menu, tr("Clear Events"), this, &EthControl::on_actionClearEvents_triggered);
    menu.addSeparator();
    addEntry(menu, tr("Status / Control..."), this,
        &EthControl::on_actionChannelStatusControl_triggered);
    menu.exec(ui->table->viewport()->mapToGlobal(pos));
}

void EthControl::contextMenuEvent(QContextMenuEvent *event)
{
    event->accept();
    // Every entry needs a module to talk to.
    if (!link())
        return;
    QMenu menu(this);
    addTitle(menu, tr("Module menu"));
    addEntry(menu, tr("Set All Voltages..."), this, &EthControl::on_actionSetAllVoltages_triggered);
    addEntry(menu, tr("Set All Currents..."), this, &EthControl::on_actionSetAllCurrents_triggered);
    menu.addSeparator();
    addEntry(menu, tr("Set All On"), this, &EthControl::on_actionSetAllChannelsOn_triggered);
    addEntry(menu, tr("Set All Off"), this, &EthControl::on_actionSetAllChannelsOff_triggered);
    menu.addSeparator();
    addEntry(menu, tr("Set All Emergency Off"), this,
        &EthControl::on_actionSetAllChannelsEmergencyOff_triggered);
    addEntry(menu, tr("Clear All Emergency Off"), this,
        &EthControl::on_actionClearAllChannelsEmergencyOff_triggered);
    menu.addSeparator();
    addEntry(menu, tr("Set Voltage Ramp..."), this, &EthControl::on_actionSetVoltageRamp_triggered);
    addEntry(menu, tr("Set Current Ramp..."), this, &EthControl::on_actionSetCurrentRamp_triggered);
    menu.addSeparator();
    addEntry(menu, tr("Clear All Events"), this, &EthControl::on_actionClearAllEvents_triggered);
    menu.addSeparator();
    addEntry(
        menu, tr("Status / Control..."), this, &EthControl::on_actionModuleStatusControl_triggered);
    menu.exec(event->globalPos());
}
