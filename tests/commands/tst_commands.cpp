// The main window's operator commands: what each action, dialog answer, table edit and menu
// entry queues on the link, byte for byte.
#include "commandsprobe.h"
#include "configuration.h"
#include "hvtable.h"
#include "modalwatch.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QInputDialog>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include <memory>

namespace {
/// What an input dialog showed before the test answered it.
struct Shown
{
    QString title, label;
    double value = 0.0, minimum = 0.0, maximum = 0.0;
    int decimals = 0;
};

QStringList lines(const QString &line)
{
    return line.isEmpty() ? QStringList() : QStringList { line };
}

const QLocale english(QLocale::English, QLocale::UnitedStates);
} // namespace

class TestCommands : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<EthControl> window;
    QueueLink *link = nullptr;

    HvTable *table() { return window->findChild<HvTable *>(QStringLiteral("table")); }
    QString labelText(const char *name)
    {
        return window->findChild<QLabel *>(QLatin1String(name))->text();
    }
    void trigger(const QString &action) { window->findChild<QAction *>(action)->trigger(); }
    /// Triggers \a action and answers its input dialog with \a answer, or Cancel when empty.
    Shown answerInput(const QString &action, const QString &answer)
    {
        Shown shown;
        ModalWatch<QInputDialog> watch([&](QInputDialog *dialog) {
            shown = { dialog->windowTitle(), dialog->labelText(), dialog->doubleValue(),
                dialog->doubleMinimum(), dialog->doubleMaximum(), dialog->doubleDecimals() };
            if (dialog->inputMode() == QInputDialog::IntInput) {
                shown.value = dialog->intValue();
                shown.maximum = dialog->intMaximum();
                dialog->setIntValue(answer.toInt());
            } else if (dialog->inputMode() == QInputDialog::DoubleInput) {
                dialog->setDoubleValue(answer.toDouble());
            } else {
                shown.label += QLatin1Char('|') + dialog->textValue();
                dialog->setTextValue(answer);
            }
            answer.isEmpty() ? dialog->reject() : dialog->accept();
        });
        trigger(action);
        return shown;
    }
    /// Shows the context menu of the table or the window, and triggers its \a entry.
    QStringList contextMenu(bool module, const QString &entry, bool *boldDisabledTitle)
    {
        QStringList entries;
        ModalWatch<QMenu> watch([&](QMenu *menu) {
            const QList<QAction *> actions = menu->actions();
            *boldDisabledTitle = !actions.first()->isEnabled() && actions.first()->font().bold();
            for (QAction *action : actions)
                entries.append(action->isSeparator() ? QStringLiteral("-") : action->text());
            actions.at(entries.indexOf(entry))->trigger();
            menu->close();
        });
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), QPoint(5, 5));
        if (module)
            QApplication::sendEvent(window.get(), &event);
        else
            emit table()->customContextMenuRequested(QPoint(5, 5));
        return entries;
    }

private slots:
    void initTestCase()
    {
        QLocale::setDefault(english);
        window = std::make_unique<EthControl>();
    }
    /// A fresh link: four channels of 6000 V and 4 mA, channel 2 bipolar, channel 1 selected.
    void init()
    {
        delete link;
        link = new QueueLink(window.get());
        CommandsProbe::setLink(*window, link);
        Module &module = link->module();
        module.setFirmwareName(QStringLiteral("GLW802"));
        module.setChannelCount(4);
        for (int i = 0; i < 4; ++i) {
            module.channel(i).setVoltageNominal(6000.0f);
            module.channel(i).setCurrentNominal(0.004f);
        }
        module.channel(2).setEpu(true);
        module.channel(1).setVoltageSet(100.0f);
        table()->setChannelCount(4);
        table()->setCurrentCell(1, 0);
    }
    void cleanup() { CommandsProbe::configuration(*window).setVoltageUnit(QStringLiteral("V")); }

    void directCommands_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("line");
        const auto row = [](const char *action, int selected, const char *line) {
            QTest::addRow("%s %d", action, selected) << action << selected << line;
        };
        row("actionSetChannelOn", 2, ":VOLT ON,(@2);:READ:CHAN:CONT? (@0-3)\r\n");
        row("actionSetChannelOff", 1, ":VOLT OFF,(@1);:READ:CHAN:CONT? (@0-3)\r\n");
        row("actionSetChannelEmergencyOff", 0, ":VOLT EMCY OFF,(@0);:READ:CHAN:CONT? (@0-3)\r\n");
        row("actionClearChannelEmergencyOff", 3, ":VOLT EMCY CLR,(@3);:READ:CHAN:CONT? (@0-3)\r\n");
        row("actionClearEvents", 2, ":EVENT CLEAR,(@2);:READ:CHAN:EV:STAT? (@0-3)\r\n");
        row("actionSetAllChannelsOn", 2, ":VOLT ON,(@0-3);:READ:CHAN:CONT? (@0-3)\r\n");
        row("actionSetAllChannelsOff", -1, ":VOLT OFF,(@0-3);:READ:CHAN:CONT? (@0-3)\r\n");
        row("actionSetAllChannelsEmergencyOff", 2,
            ":VOLT EMCY OFF,(@0-3);:READ:CHAN:CONT? (@0-3)\r\n");
        row("actionClearAllChannelsEmergencyOff", 2,
            ":VOLT EMCY CLR,(@0-3);:READ:CHAN:CONT? (@0-3)\r\n");
        row("actionClearAllEvents", 2, "*CLS;:READ:MOD:EV:STAT?\r\n");
        row("actionSaveChangedConfigurationInDevice", 2, ":SYS:USER:CONFIG SAVE;*OPC?\r\n");
        row("actionIncrementVoltage", 1, ":VOLT 101,(@1);:READ:VOLT? (@0-3)\r\n");
        row("actionDecrementVoltage", 1, ":VOLT 99,(@1);:READ:VOLT? (@0-3)\r\n");
        // Without a channel address the module would apply these to every channel.
        row("actionSetChannelOn", -1, "");
        row("actionIncrementVoltage", -1, "");
    }
    void directCommands()
    {
        QFETCH(QString, action);
        QFETCH(int, row);
        table()->setCurrentCell(row, 0);
        trigger(action);
        QFETCH(QString, line);
        QCOMPARE(link->queued(), lines(line));
        QCOMPARE(link->isFullRead(), action == QLatin1String("actionClearEvents"));
    }

    void inputDialogs_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<int>("row");
        QTest::addColumn<float>("nominal"); // of channels 0 and 3
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("label");
        QTest::addColumn<double>("minimum");
        QTest::addColumn<double>("maximum");
        QTest::addColumn<QString>("line");
        const auto row = [](const char *name, const char *action, int selected, float nominal,
                             const char *answer, const QString &label, double min, double max,
                             const char *line) {
            QTest::newRow(name) << action << selected << nominal << answer << label << min << max
                                << line;
        };
        row("bipolar channel", "actionSetVset", 2, 6000, "1500.5",
            "Input a voltage (Vset: -6,000...6,000 V) for channel 2:", -6000, 6000,
            ":VOLT 1500.5,(@2);:READ:VOLT? (@0-3)\r\n");
        row("negative channel", "actionSetVset", 3, -6000, "-1234.5",
            "Input a voltage (Vset: -6,000...6,000 V) for channel 3:", -6000, 6000,
            ":VOLT -1234.5,(@3);:READ:VOLT? (@0-3)\r\n");
        row("current", "actionSetIset", 2, 6000, "2.5",
            "Input a current (Iset: 0...4 mA) for channel 2:", 0, 4,
            ":CURR 0.0025,(@2);:READ:CURR? (@0-3)\r\n");
        row("all, smaller channels", "actionSetAllVoltages", 2, -3000, "100",
            "Input a voltage (Vset: 0.00...6,000.00 V) for all channels:\n\nNote: some "
            "channels will only allow 3,000.00 V.",
            0, 6000, ":VOLT 100,(@0-3);:READ:VOLT? (@0-3)\r\n");
        row("all equal", "actionSetAllCurrents", 2, 6000, "1",
            "Input a current (Iset: 0...4.00 mA) for all channels:", 0, 4,
            ":CURR 0.001,(@0-3);:READ:CURR? (@0-3)\r\n");
        row("ramp, 6 kV", "actionSetVoltageRamp", 2, 6000, "250",
            "Input a Voltage Ramp Speed (0 ..3,000.00 V/s)", 0, 3000,
            ":CONF:RAMP:VOLT 250;:READ:RAMP:VOLT?;CURR?\r\n");
        row("ramp, 20 kV", "actionSetVoltageRamp", 2, 20000, "4000",
            "Input a Voltage Ramp Speed (0 ..4,000.00 V/s)", 0, 4000,
            ":CONF:RAMP:VOLT 4000;:READ:RAMP:VOLT?;CURR?\r\n");
        row("current ramp", "actionSetCurrentRamp", 2, 6000, "0.5",
            "Input a Current Ramp Speed (0 ..4.00 mA/s)", 0, 4,
            ":CONF:RAMP:CURR 0.0005;:READ:RAMP:VOLT?;CURR?\r\n");
    }
    void inputDialogs()
    {
        QFETCH(QString, action);
        QFETCH(int, row);
        QFETCH(float, nominal);
        QFETCH(QString, answer);
        table()->setCurrentCell(row, 0);
        link->module().channel(0).setVoltageNominal(nominal);
        link->module().channel(3).setVoltageNominal(nominal);
        const Shown shown = answerInput(action, answer);
        QCOMPARE(shown.title, QStringLiteral("Vorn SCPI Control"));
        QTEST(shown.label, "label");
        QTEST(shown.minimum, "minimum");
        QTEST(shown.maximum, "maximum");
        QCOMPARE(shown.decimals, 3);
        QFETCH(QString, line);
        QCOMPARE(link->queued(), lines(line));
    }

    void rampInPercentAndLabels()
    {
        answerInput(QStringLiteral("actionSetVoltageRamp"), QStringLiteral("250"));
        QCOMPARE(labelText("lblVRampSpeed"), QStringLiteral("250.00 V/s"));
        link->module().setFirmwareName(QStringLiteral("KA2F"));
        const Shown shown = answerInput(QStringLiteral("actionSetCurrentRamp"), "7.5");
        QCOMPARE(shown.label, QStringLiteral("Input a Current Ramp Speed (0...100%/s): "));
        QCOMPARE(shown.maximum, 100.0);
        QCOMPARE(labelText("lblIRampSpeed"), QStringLiteral("7.5 %/s"));
        QCOMPARE(link->queued().last(),
            QStringLiteral(":CONF:RAMP:CURR 7.5;:READ:RAMP:VOLT?;CURR?\r\n"));
    }

    void displayUnits_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("unit");
        QTest::addColumn<QString>("label");
        QTest::addColumn<double>("value");
        QTest::newRow("kV") << QLocale(QLocale::English) << "kV"
                            << "Input a voltage (Vset: 0...6 kV) for channel 1:" << 2.5;
        QTest::newRow("German") << QLocale(QLocale::German) << "V"
                                << "Input a voltage (Vset: 0...6.000 V) for channel 1:" << 2500.0;
    }
    void displayUnits()
    {
        QFETCH(QLocale, locale);
        QFETCH(QString, unit);
        QLocale::setDefault(locale);
        CommandsProbe::configuration(*window).setVoltageUnit(unit);
        link->module().channel(1).setVoltageSet(2500.0f);
        const Shown shown = answerInput(QStringLiteral("actionSetVset"), QStringLiteral("1.2"));
        QLocale::setDefault(english);
        QTEST(shown.label, "label");
        QTEST(shown.value, "value");
        QCOMPARE(link->queued(),
            lines(QStringLiteral(":VOLT %1,(@1);:READ:VOLT? (@0-3)\r\n")
                      .arg(unit == QLatin1String("kV") ? "1200" : "1.2")));
    }

    void cancelSendsNothing_data()
    {
        QTest::addColumn<QString>("action");
        for (const char *action : { "actionSetVset", "actionSetIset", "actionSetAllVoltages",
                 "actionSetAllCurrents", "actionSetVoltageRamp", "actionSetCurrentRamp",
                 "actionSetIncrement", "actionSelectChannel", "actionDigitalFilter" })
            QTest::newRow(action) << action;
    }
    void cancelSendsNothing()
    {
        QFETCH(QString, action);
        const QString ramp = labelText("lblVRampSpeed");
        answerInput(action, QString());
        QCOMPARE(link->queued(), QStringList());
        QCOMPARE(link->module().voltageIncrement(), 1.0f);
        QCOMPARE(table()->currentRow(), 1);
        QCOMPARE(labelText("lblVRampSpeed"), ramp);
    }

    void staircaseAlternates()
    {
        QStringList expected;
        for (int volt : { 5700, 5800, 5900, 6000, 6000, 5900, 5800, 5700, 75, 150, 225, 300 })
            expected.append(QStringLiteral(":VOLT %1,(@%2);:READ:VOLT? (@0-3)\r\n")
                                .arg(volt)
                                .arg(expected.size() % 4));
        link->module().channel(0).setVoltageNominal(-6000.0f);
        trigger(QStringLiteral("actionSetVoltageIncremental"));
        trigger(QStringLiteral("actionSetVoltageIncremental"));
        link->module().channel(0).setVoltageNominal(300.0f);
        trigger(QStringLiteral("actionSetVoltageIncremental"));
        QCOMPARE(link->queued(), expected);
    }

    void increments_data()
    {
        QTest::addColumn<float>("increment");
        QTest::addColumn<QString>("action");
        QTest::addColumn<float>("expected");
        QTest::addColumn<QString>("label");
        const QString times10 = QStringLiteral("actionSetIncrementTimes10");
        const QString by10 = QStringLiteral("actionSetIncrementBy10");
        QTest::newRow("x10") << 1.0f << times10 << 10.0f << "10";
        QTest::newRow("x10 below Vnom") << 599.0f << times10 << 5990.0f << "5990";
        QTest::newRow("x10 refused at Vnom") << 600.0f << times10 << 600.0f << "600";
        QTest::newRow("/10") << 1.0f << by10 << 0.1f << "0.1";
        QTest::newRow("/10 to 0.001") << 0.01f << by10 << 0.001f << "0.001";
        QTest::newRow("/10 stops at 0.001") << 0.001f << by10 << 0.001f << "0.001";
        QTest::newRow("dialog") << 1.0f << "actionSetIncrement" << 0.5f << "0.5";
    }
    void increments()
    {
        QFETCH(float, increment);
        QFETCH(QString, action);
        QFETCH(QString, label);
        link->module().setVoltageIncrement(increment);
        const Shown shown = answerInput(action, QStringLiteral("0.5"));
        QTEST(link->module().voltageIncrement(), "expected");
        QCOMPARE(CommandsProbe::incrementLabel(*window)->text(),
            QStringLiteral("Voltage Increment: %1 Volt").arg(label));
        if (!shown.label.isEmpty())
            QCOMPARE(shown.label,
                QStringLiteral("Input a voltage increment value (V) that is applied when "
                               "pressing the Plus or Minus keys:"));
        QCOMPARE(link->queued(), QStringList());
    }

    void selectChannel()
    {
        const Shown shown = answerInput(QStringLiteral("actionSelectChannel"), "3");
        QCOMPARE(shown.label, QStringLiteral("Select Channel (0...3):"));
        QCOMPARE(shown.value, 1.0);
        QCOMPARE(shown.maximum, 3.0);
        QCOMPARE(table()->currentRow(), 3);
    }

    void cellEdits_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("line");
        QTest::newRow("Vset") << 0 << "1500"
                              << ":VOLT 1500,(@1);:READ:VOLT? (@0-3)\r\n";
        QTest::newRow("Vbounds, no number") << 2 << "abc"
                                            << ":VOLT:BOU 0,(@1);:READ:VOLT:BOU? (@0-3)\r\n";
        QTest::newRow("Iset in mA") << 4 << "2"
                                    << ":CURR 0.002,(@1);:READ:CURR? (@0-3)\r\n";
        QTest::newRow("Ibounds") << 6 << "1.5"
                                 << ":CURR:BOU 0.0015,(@1);:READ:CURR:BOU? (@0-3)\r\n";
        QTest::newRow("Vmeas") << 1 << "100"
                               << "";
        QTest::newRow("Status") << 9 << "100"
                                << "";
    }
    void cellEdits()
    {
        QFETCH(int, column);
        QFETCH(QString, text);
        QFETCH(QString, line);
        window->tableCellDataChanged(1, column, text);
        QCOMPARE(link->queued(), lines(line));
    }

    /// The slots the control dialogs call.
    void controlDialogSlots()
    {
        window->clearChannelEvents(2);
        window->setChannelControl(1, 0x0028);
        window->setChannelEventMask(3, 0x0F00);
        window->clearModuleEvents();
        window->setModuleControl(0x5040);
        window->setModuleEventMask(0x8001);
        QCOMPARE(link->queued(),
            QStringList({ ":EVENT CLEAR,(@2);:READ:CHAN:EV:STAT? (@0-3)\r\n",
                ":VOLT ON,(@1);:VOLT EMCY OFF,(@1);:READ:CHAN:CONT? (@0-3)\r\n",
                ":CONF:CHAN:EV:MASK 3840,(@3);:READ:CHAN:EV:MASK? (@0-3)\r\n",
                ":CONF:EV CLEAR;:READ:MOD:EV:STAT?\r\n",
                ":CONF:ADJ ENABLE;KILL ENABLE;*CLS;:READ:MOD:CONT?\r\n",
                ":CONF:EV:MASK 32769;:READ:MOD:EV:MASK?\r\n" }));
        QVERIFY(link->isFullRead());
    }

    void digitalFilter_data()
    {
        QTest::addColumn<int>("average");
        QTest::addColumn<QString>("preselected");
        QTest::addColumn<QString>("choice");
        QTest::newRow("64") << 64 << "64"
                            << "1024";
        QTest::newRow("unknown value") << 7 << "64"
                                       << "16";
        QTest::newRow("256") << 256 << "256"
                             << "1";
    }
    void digitalFilter()
    {
        QFETCH(int, average);
        QFETCH(QString, preselected);
        QFETCH(QString, choice);
        link->module().setAverage(average);
        const Shown shown = answerInput(QStringLiteral("actionDigitalFilter"), choice);
        QCOMPARE(shown.label, "Choose Digital Filter steps:|" + preselected);
        QCOMPARE(link->queued(), lines(":CONF:AVER " + choice + ";:CONF:AVER?\r\n"));
    }

    void listenOnly_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("button");
        QTest::addColumn<QString>("word");
        QTest::addColumn<QString>("line");
        const QString yes = QStringLiteral(":CONF:INTER:MODE 1;MODE?\r\n");
        const QString no = QStringLiteral(":CONF:INTER:MODE 0;MODE?\r\n");
        QTest::newRow("yes") << 0 << int(QMessageBox::Yes) << "normal" << yes;
        QTest::newRow("no") << 1 << int(QMessageBox::No) << "listen-only" << no;
        QTest::newRow("no while normal") << 0 << int(QMessageBox::No) << "normal" << no;
        QTest::newRow("cancel") << 1 << int(QMessageBox::Cancel) << "listen-only" << QString();
    }
    void listenOnly()
    {
        QFETCH(int, mode);
        QFETCH(int, button);
        QFETCH(QString, word);
        QFETCH(QString, line);
        link->module().setInterfaceMode(quint32(mode));
        QString title, text;
        ModalWatch<QMessageBox> watch([&](QMessageBox *box) {
            title = box->windowTitle();
            text = box->text();
            box->button(QMessageBox::StandardButton(button))->click();
        });
        trigger(QStringLiteral("actionConfigureListenOnlyMode"));
        QCOMPARE(title, QStringLiteral("Set 'Listen Only' mode"));
        QVERIFY2(
            text.endsWith("The interface is currently set to " + word + "."), qPrintable(text));
        QCOMPARE(link->queued(), lines(line));
    }

    void contextMenus()
    {
        bool boldTitle = false;
        QCOMPARE(contextMenu(false, QStringLiteral("Set On"), &boldTitle),
            QStringList({ "Channel 1 menu", "-", "Set Voltage...", "Set Current...", "-", "Set On",
                "Set Off", "-", "Set Emergency Off", "Clear Emergency Off", "-", "Clear Events",
                "-", "Status / Control..." }));
        QVERIFY(boldTitle);
        const QStringList moduleMenu { "Module menu", "-", "Set All Voltages...",
            "Set All Currents...", "-", "Set All On", "Set All Off", "-", "Set All Emergency Off",
            "Clear All Emergency Off", "-", "Set Voltage Ramp...", "Set Current Ramp...", "-",
            "Clear All Events", "-", "Status / Control..." };
        boldTitle = false;
        QCOMPARE(contextMenu(true, QStringLiteral("Set All Off"), &boldTitle), moduleMenu);
        QVERIFY(boldTitle);
        QCOMPARE(contextMenu(true, QStringLiteral("Clear All Events"), &boldTitle), moduleMenu);
        QCOMPARE(link->queued(),
            QStringList({ ":VOLT ON,(@1);:READ:CHAN:CONT? (@0-3)\r\n",
                ":VOLT OFF,(@0-3);:READ:CHAN:CONT? (@0-3)\r\n", "*CLS;:READ:MOD:EV:STAT?\r\n" }));
    }

    void withoutLinkNothingHappens()
    {
        delete link;
        link = nullptr;
        CommandsProbe::setLink(*window, nullptr);
        ModalWatch<QWidget> watch([](QWidget *widget) { widget->close(); });
        for (const char *action : { "actionIncrementVoltage", "actionDecrementVoltage",
                 "actionSetIncrement", "actionSetIncrementTimes10", "actionSetIncrementBy10",
                 "actionSaveChangedConfigurationInDevice" })
            trigger(QLatin1String(action));
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), QPoint(5, 5));
        QApplication::sendEvent(window.get(), &event);
        window->tableCellDataChanged(0, 0, QStringLiteral("100"));
        QVERIFY(!watch.seen);
    }

    void about()
    {
        QString title, text;
        ModalWatch<QMessageBox> watch([&](QMessageBox *box) {
            title = box->windowTitle();
            text = box->text();
            box->accept();
        });
        trigger(QStringLiteral("actionAbout"));
        QCOMPARE(title, QStringLiteral("About Vorn SCPI Control"));
        QVERIFY(text.startsWith(QStringLiteral("<h2>Vorn SCPI Control Version 1.0.16</h2>")));
        QVERIFY(text.contains(
            QStringLiteral("mailto:support@vornwerk.example?subject=Vorn SCPI Control 1.0.16")));
    }
};

QTEST_MAIN(TestCommands)
#include "tst_commands.moc"
