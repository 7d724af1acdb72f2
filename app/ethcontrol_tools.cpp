// Openers of the tool windows: the SCPI console and the live trend. Both are modeless, created
// on first use and kept; they reach the module only through the link the window holds at the
// moment, so they follow a reconnection and never see a deleted link.
#include "ethcontrol.h"

#include "consolewindow.h"
#include "trendwindow.h"

namespace {

void showAndActivate(QWidget *window)
{
    window->show();
    window->raise();
    window->activateWindow();
}

} // namespace

void EthControl::on_actionScpiConsole_triggered()
{
    if (!consoleWindow)
        consoleWindow = new ConsoleWindow([this] { return link; }, this);
    showAndActivate(consoleWindow);
}

void EthControl::on_actionTrend_triggered()
{
    if (!trendWindow)
        trendWindow = new TrendWindow([this] { return link; }, configuration, this);
    showAndActivate(trendWindow);
}
