// The commands that change how the module works: listen-only interface mode, digital filter,
// saving its configuration; and the About boxes.
#include "ethcontrol.h"
#include "commandinputs.h"

#include "scpi_parser.h"

#include <QInputDialog>
#include <QMessageBox>

void EthControl::on_actionConfigureListenOnlyMode_triggered()
{
    if (!link())
        return;
    const QString mode = link()->module().interfaceMode() != 0 ? tr("listen-only") : tr("normal");
    const QMessageBox::StandardButton answer = QMessageBox::question(this,
        tr("Set 'Listen Only' mode"),
        tr("Set the interface to 'Listen Only' mode?\n\nIn this mode, the device can be "
           "controlled locally and monitored by SCPI. It goes to remote as soon as the first set "
           "command was received over SCPI.\n\nThe interface is currently set to %1.")
            .arg(mode),
        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::NoButton);
    if (!link())
        return;
    if (answer == QMessageBox::Yes)
        link()->setInterfaceMode(1);
    else if (answer == QMessageBox::No)
        link()->setInterfaceMode(0);
}

void EthControl::on_actionDigitalFilter_triggered()
{
    if (!link())
        return;
    bool ok = false;
    const QString choice = QInputDialog::getItem(this, tr("Vorn SCPI Control"),
        tr("Choose Digital Filter steps:"), CommandInputs::filterSteps(),
        CommandInputs::filterPreselection(link()->module().average()), false, &ok);
    if (!ok || choice.isEmpty() || !link())
        return;
    bool number = false;
    const int steps = choice.toInt(&number, 10);
    if (number)
        link()->setAverage(steps);
}

void EthControl::on_actionSaveChangedConfigurationInDevice_triggered()
{
    if (link())
        link()->saveConfiguration();
}

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

void EthControl::on_actionAboutQt_triggered()
{
    QMessageBox::aboutQt(this);
}
