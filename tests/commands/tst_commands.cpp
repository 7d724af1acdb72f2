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

const QString readBack4 = QStringLiteral(" (@0-3)\r\n");

/// What an input dialog showed before the test answered it.
struct Shown
{
    QString title;
    QString label;
    double value = 0.0;
    double minimum = 0.0;
    double maximum = 0.0;
    int decimals = 0;
};

} // namespace

class TestCommands : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<EthControl> window;
    QueueLink *link = nullptr;

    /// A module with \a channels channels of 6000 V and 4 mA; the table selects \a row.
    void setModule(const QString &firmware, int channels, int row)
    {
        Module &module = link->module();
        module.setFirmwareName(firmware);
        module.setChannelCount(channels);
        for (int i = 0; i < channels; ++i) {
            module.channel(i).setVoltageNominal(6000.0f);
            module.channel(i).setCurrentNominal(0.004f);
        }
        auto *table = window->findChild<HvTable *>(QStringLiteral("table"));
        table->setChannelCount(channels);
        table->setCurrentCell(row, 0);
    }
    void trigger(const char *action)
    {
        auto *found = window->findChild<QAction *>(QLatin1String(action));
        QVERIFY2(found, action);
        found->trigger();
    }
    /// Triggers \a action and answers its input dialog with \a answer, or Cancel when empty.
    Shown answerInput(const char *action, const QString &answer)
    {
        Shown shown;
        ModalWatch<QInputDialog> watch([&](QInputDialog *dialog) {
            shown = { dialog->windowTitle(), dialog->labelText(), dialog->doubleValue(),
                dialog->doubleMinimum(), dialog->doubleMaximum(), dialog->doubleDecimals() };
            if (dialog->inputMode() == QInputDialog::IntInput) {
                shown.value = dialog->intValue();
                shown.minimum = dialog->intMinimum();
                shown.maximum = dialog->intMaximum();
                dialog->setIntValue(answer.toInt());
            } else if (dialog->inputMode() == QInputDialog::DoubleInput) {
                dialog->setDoubleValue(answer.toDouble());
            } else {
                shown.label += QLatin1Char('|') + dialog->textValue();
                dialog->setTextValue(answer);
            }
            if (answer.isEmpty())
                dialog->reject();
            else
                dialog->accept();
        });
        trigger(action);
        if (!watch.seen)
            qWarning("no input dialog for %s", action);
        return shown;
    }

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void init()
    {
        window = std::make_unique<EthControl>();
        link = new QueueLink(window.get());
        CommandsProbe::setLink(*window, link);
        setModule(QStringLiteral("GLW802"), 4, 2);
    }
    void cleanup() { window.reset(); }

    void directCommands_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("line");
        const auto row = [](const char *name, const char *action, int selected, const char *l) {
            QTest::newRow(name) << QString::fromLatin1(action) << selected
                                << QString::fromLatin1(l);
        };
        row("on", "actionSetChannelOn", 2, ":VOLT ON,(@2);:READ:CHAN:CONT? (@0-3)\r\n");
        row("off", "actionSetChannelOff", 1, ":VOLT OFF,(@1);:READ:CHAN:CONT? (@0-3)\r\n");
        row("emergency", "actionSetChannelEmergencyOff", 0,
            ":VOLT EMCY OFF,(@0);:READ:CHAN:CONT? (@0-3)\r\n");
        row("clear emergency", "actionClearChannelEmergencyOff", 3,
            ":VOLT EMCY CLR,(@3);:READ:CHAN:CONT? (@0-3)\r\n");
        row("clear events", "actionClearEvents", 2,
            ":EVENT CLEAR,(@2);:READ:CHAN:EV:STAT? (@0-3)\r\n");
        row("all on", "actionSetAllChannelsOn", 2, ":VOLT ON,(@0-3);:READ:CHAN:CONT? (@0-3)\r\n");
        row("all off", "actionSetAllChannelsOff", -1,
            ":VOLT OFF,(@0-3);:READ:CHAN:CONT? (@0-3)\r\n");
        row("all emergency", "actionSetAllChannelsEmergencyOff", 2,
            ":VOLT EMCY OFF,(@0-3);:READ:CHAN:CONT? (@0-3)\r\n");
        row("clear all emergency", "actionClearAllChannelsEmergencyOff", 2,
            ":VOLT EMCY CLR,(@0-3);:READ:CHAN:CONT? (@0-3)\r\n");
        row("clear all events", "actionClearAllEvents", 2, "*CLS;:READ:MOD:EV:STAT?\r\n");
        row("save", "actionSaveChangedConfigurationInDevice", 2, ":SYS:USER:CONFIG SAVE");
        row("plus", "actionIncrementVoltage", 1, ":VOLT 101,(@1);:READ:VOLT? (@0-3)\r\n");
        row("minus", "actionDecrementVoltage", 1, ":VOLT 99,(@1);:READ:VOLT? (@0-3)\r\n");
        // Without a channel address the module would switch every channel.
        row("no channel selected", "actionSetChannelOn", -1, "");
        row("plus without channel", "actionIncrementVoltage", -1, "");
    }
    void directCommands()
    {
        QFETCH(QString, action);
        QFETCH(int, row);
        QFETCH(QString, line);
        window->findChild<HvTable *>(QStringLiteral("table"))->setCurrentCell(row, 0);
        link->module().channel(1).setVoltageSet(100.0f);
        trigger(action.toLatin1().constData());
        QCOMPARE(link->queued(), line.isEmpty() ? QStringList() : QStringList { line });
        QCOMPARE(link->isFullRead(), action == QLatin1String("actionClearEvents"));
    }

    void inputDialogs_data()
    {
        QTest::addColumn<QString>("firmware");
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("label");
        QTest::addColumn<double>("minimum");
        QTest::addColumn<double>("maximum");
        QTest::addColumn<QString>("line");
        QTest::newRow("voltage, bipolar channel")
            << "GLW802"
            << "actionSetVset"
            << "1500.5"
            << "Input a voltage (Vset: -6,000...6,000 V) for channel 2:" << -6000.0 << 6000.0
            << ":VOLT 1500.5,(@2);:READ:VOLT? (@0-3)\r\n";
        QTest::newRow("current") << "GLW802"
                                 << "actionSetIset"
                                 << "2.5"
                                 << "Input a current (Iset: 0...4 mA) for channel 2:" << 0.0 << 4.0
                                 << ":CURR 0.0025,(@2);:READ:CURR? (@0-3)\r\n";
        QTest::newRow("all voltages, one smaller channel")
            << "GLW802"
            << "actionSetAllVoltages"
            << "100"
            << "Input a voltage (Vset: 0.00...6,000.00 V) for all channels:\n\nNote: some "
               "channels will only allow 3,000.00 V."
            << 0.0 << 6000.0 << ":VOLT 100,(@0-3);:READ:VOLT? (@0-3)\r\n";
        QTest::newRow("all currents")
            << "GLW802"
            << "actionSetAllCurrents"
            << "1"
            << "Input a current (Iset: 0...4.00 mA) for all channels:" << 0.0 << 4.0
            << ":CURR 0.001,(@0-3);:READ:CURR? (@0-3)\r\n";
        QTest::newRow("voltage ramp, 6 kV")
            << "GLW802"
            << "actionSetVoltageRamp"
            << "250"
            << "Input a Voltage Ramp Speed (0 ..3,000.00 V/s)" << 0.0 << 3000.0
            << ":CONF:RAMP:VOLT 250;:READ:RAMP:VOLT?;CURR?\r\n";
        QTest::newRow("voltage ramp, percent")
            << "KA2F"
            << "actionSetVoltageRamp"
            << "5.5"
            << "Input a Voltage Ramp Speed (0...100%/s): " << 0.0 << 100.0
            << ":CONF:RAMP:VOLT 5.5;:READ:RAMP:VOLT?;CURR?\r\n";
        QTest::newRow("current ramp") << "GLW802"
                                      << "actionSetCurrentRamp"
                                      << "0.5"
                                      << "Input a Current Ramp Speed (0 ..4.00 mA/s)" << 0.0 << 4.0
                                      << ":CONF:RAMP:CURR 0.0005;:READ:RAMP:VOLT?;CURR?\r\n";
    }
    void inputDialogs()
    {
        QFETCH(QString, firmware);
        QFETCH(QString, action);
        QFETCH(QString, answer);
        QFETCH(QString, label);
        QFETCH(double, minimum);
        QFETCH(double, maximum);
        QFETCH(QString, line);
        link->module().setFirmwareName(firmware);
        link->module().channel(2).setEpu(true);
        link->module().channel(1).setVoltageNominal(3000.0f);
        const Shown shown = answerInput(action.toLatin1().constData(), answer);
        QCOMPARE(shown.title, QStringLiteral("Vorn SCPI Control"));
        QCOMPARE(shown.label, label);
        QCOMPARE(shown.minimum, minimum);
        QCOMPARE(shown.maximum, maximum);
        QCOMPARE(shown.decimals, 3);
        QCOMPARE(link->queued(), QStringList { line });
    }

    void rampLabels()
    {
        answerInput("actionSetVoltageRamp", QStringLiteral("250"));
        QCOMPARE(window->findChild<QLabel *>(QStringLiteral("lblVRampSpeed"))->text(),
            QStringLiteral("250.00 V/s"));
        link->module().setFirmwareName(QStringLiteral("KA2F"));
        answerInput("actionSetCurrentRamp", QStringLiteral("7.5"));
        QCOMPARE(window->findChild<QLabel *>(QStringLiteral("lblIRampSpeed"))->text(),
            QStringLiteral("7.5 %/s"));
    }

    void displayUnits()
    {
        CommandsProbe::configuration(*window).setVoltageUnit(QStringLiteral("kV"));
        link->module().channel(2).setVoltageSet(2500.0f);
        const Shown shown = answerInput("actionSetVset", QStringLiteral("1.2"));
        QCOMPARE(shown.label, QStringLiteral("Input a voltage (Vset: 0...6 kV) for channel 2:"));
        QCOMPARE(shown.value, 2.5);
        QCOMPARE(link->queued(), QStringList { ":VOLT 1200,(@2);:READ:VOLT?" + readBack4 });
    }

    void cancelSendsNothing_data()
    {
        QTest::addColumn<QString>("action");
        for (const char *action : { "actionSetVset", "actionSetIset", "actionSetAllVoltages",
                 "actionSetAllCurrents", "actionSetVoltageRamp", "actionSetCurrentRamp",
                 "actionSetIncrement", "actionSelectChannel", "actionDigitalFilter" })
            QTest::newRow(action) << QString::fromLatin1(action);
    }
    void cancelSendsNothing()
    {
        QFETCH(QString, action);
        const QString ramp = window->findChild<QLabel *>(QStringLiteral("lblVRampSpeed"))->text();
        answerInput(action.toLatin1().constData(), QString());
        QCOMPARE(link->queued(), QStringList());
        QCOMPARE(link->module().voltageIncrement(), 1.0f);
        QCOMPARE(window->findChild<HvTable *>(QStringLiteral("table"))->currentRow(), 2);
        QCOMPARE(window->findChild<QLabel *>(QStringLiteral("lblVRampSpeed"))->text(), ramp);
    }

    void staircaseAlternates()
    {
        const auto lines = [](std::initializer_list<int> volts) {
            QStringList expected;
            int channel = 0;
            for (int volt : volts)
                expected.append(QStringLiteral(":VOLT %1,(@%2);:READ:VOLT? (@0-3)\r\n")
                                    .arg(volt)
                                    .arg(channel++));
            return expected;
        };
        link->module().channel(0).setVoltageNominal(-6000.0f);
        trigger("actionSetVoltageIncremental");
        QCOMPARE(link->queued(), lines({ 5700, 5800, 5900, 6000 }));
        trigger("actionSetVoltageIncremental");
        QCOMPARE(link->queued().mid(4), lines({ 6000, 5900, 5800, 5700 }));
        link->module().channel(0).setVoltageNominal(300.0f);
        trigger("actionSetVoltageIncremental");
        QCOMPARE(link->queued().mid(8), lines({ 75, 150, 225, 300 }));
    }

    void increments_data()
    {
        QTest::addColumn<float>("increment");
        QTest::addColumn<QString>("action");
        QTest::addColumn<float>("expected");
        QTest::addColumn<QString>("label");
        QTest::newRow("times 10") << 1.0f << "actionSetIncrementTimes10" << 10.0f << "10";
        QTest::newRow("times 10 up to below Vnom")
            << 599.0f << "actionSetIncrementTimes10" << 5990.0f << "5990";
        QTest::newRow("times 10 refused at Vnom")
            << 600.0f << "actionSetIncrementTimes10" << 600.0f << "600";
        QTest::newRow("by 10") << 1.0f << "actionSetIncrementBy10" << 0.1f << "0.1";
        QTest::newRow("by 10 down to 0.001")
            << 0.01f << "actionSetIncrementBy10" << 0.001f << "0.001";
        QTest::newRow("by 10 stops at 0.001")
            << 0.001f << "actionSetIncrementBy10" << 0.001f << "0.001";
    }
    void increments()
    {
        QFETCH(float, increment);
        QFETCH(QString, action);
        QFETCH(float, expected);
        QFETCH(QString, label);
        link->module().setVoltageIncrement(increment);
        trigger(action.toLatin1().constData());
        QCOMPARE(link->module().voltageIncrement(), expected);
        QCOMPARE(CommandsProbe::incrementLabel(*window)->text(),
            QStringLiteral("Voltage Increment: %1 Volt").arg(label));
        QCOMPARE(link->queued(), QStringList());
    }

    void setIncrementAndSelectChannel()
    {
        Shown shown = answerInput("actionSetIncrement", QStringLiteral("0.5"));
        QCOMPARE(shown.label,
            QStringLiteral("Input a voltage increment value (V) that is applied when pressing "
                           "the Plus or Minus keys:"));
        QCOMPARE(shown.maximum, 6000.0);
        QCOMPARE(link->module().voltageIncrement(), 0.5f);
        QCOMPARE(CommandsProbe::incrementLabel(*window)->text(),
            QStringLiteral("Voltage Increment: 0.5 Volt"));

        shown = answerInput("actionSelectChannel", QStringLiteral("3"));
        QCOMPARE(shown.label, QStringLiteral("Select Channel (0...3):"));
        QCOMPARE(shown.value, 2.0);
        QCOMPARE(shown.maximum, 3.0);
        QCOMPARE(window->findChild<HvTable *>(QStringLiteral("table"))->currentRow(), 3);
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
        QCOMPARE(link->queued(), line.isEmpty() ? QStringList() : QStringList { line });
    }

    void controlDialogSlots()
    {
        window->clearChannelEvents(2);
        window->setChannelControl(1, 0x0028);
        window->setChannelEventMask(3, 0x0F00);
        window->clearModuleEvents();
        window->setModuleControl(0x5040);
        window->setModuleEventMask(0x8001);
        QCOMPARE(link->queued(),
            QStringList({ ":EVENT CLEAR,(@2);:READ:CHAN:EV:STAT?" + readBack4,
                ":VOLT ON,(@1);:VOLT EMCY OFF,(@1);:READ:CHAN:CONT?" + readBack4,
                ":CONF:CHAN:EV:MASK 3840,(@3);:READ:CHAN:EV:MASK?" + readBack4,
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
        const Shown shown = answerInput("actionDigitalFilter", choice);
        QCOMPARE(shown.label, "Choose Digital Filter steps:|" + preselected);
        QCOMPARE(link->queued(),
            QStringList { QStringLiteral(":CONF:AVER %1;:CONF:AVER?\r\n").arg(choice) });
    }

    void listenOnly_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("button");
        QTest::addColumn<QString>("word");
        QTest::addColumn<QString>("line");
        QTest::newRow("yes") << 0 << int(QMessageBox::Yes) << "normal"
                             << ":CONF:INTER:MODE 1;MODE?\r\n";
        QTest::newRow("no from listen-only") << 1 << int(QMessageBox::No) << "listen-only"
                                             << ":CONF:INTER:MODE 0;MODE?\r\n";
        QTest::newRow("no while normal") << 0 << int(QMessageBox::No) << "normal"
                                         << ":CONF:INTER:MODE 0;MODE?\r\n";
        QTest::newRow("cancel") << 1 << int(QMessageBox::Cancel) << "listen-only"
                                << "";
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
        window->findChild<QAction *>(QStringLiteral("actionConfigureListenOnlyMode"))->trigger();
        QCOMPARE(title, QStringLiteral("Set 'Listen Only' mode"));
        QVERIFY2(
            text.endsWith("The interface is currently set to " + word + "."), qPrintable(text));
        QCOMPARE(link->queued(), line.isEmpty() ? QStringList() : QStringList { line });
    }

    void contextMenus_data()
    {
        QTest::addColumn<bool>("module");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("line");
        QTest::newRow("channel on") << false << "Set On"
                                    << ":VOLT ON,(@2);:READ:CHAN:CONT? (@0-3)\r\n";
        QTest::newRow("channel events") << false << "Clear Events"
                                        << ":EVENT CLEAR,(@2);:READ:CHAN:EV:STAT? (@0-3)\r\n";
        QTest::newRow("module off") << true << "Set All Off"
                                    << ":VOLT OFF,(@0-3);:READ:CHAN:CONT? (@0-3)\r\n";
        QTest::newRow("module events") << true << "Clear All Events"
                                       << "*CLS;:READ:MOD:EV:STAT?\r\n";
    }
    void contextMenus()
    {
        QFETCH(bool, module);
        QFETCH(QString, entry);
        QFETCH(QString, line);
        QStringList entries;
        bool boldDisabledTitle = false;
        ModalWatch<QMenu> watch([&](QMenu *menu) {
            const QList<QAction *> actions = menu->actions();
            boldDisabledTitle = !actions.first()->isEnabled() && actions.first()->font().bold();
            for (QAction *action : actions)
                entries.append(action->isSeparator() ? QStringLiteral("-") : action->text());
            for (QAction *action : actions) {
                if (action->text() == entry)
                    action->trigger();
            }
            menu->close();
        });
        if (module) {
            QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), QPoint(5, 5));
            QApplication::sendEvent(window.get(), &event);
        } else {
            QMetaObject::invokeMethod(
                window.get(), "on_table_customContextMenuRequested", Q_ARG(QPoint, QPoint(5, 5)));
        }
        QVERIFY(watch.seen);
        QVERIFY(boldDisabledTitle);
        const QStringList expected = module
            ? QStringList { "Module menu", "-", "Set All Voltages...", "Set All Currents...", "-",
                  "Set All On", "Set All Off", "-", "Set All Emergency Off",
                  "Clear All Emergency Off", "-", "Set Voltage Ramp...", "Set Current Ramp...", "-",
                  "Clear All Events", "-", "Status / Control..." }
            : QStringList { "Channel 2 menu", "-", "Set Voltage...", "Set Current...", "-",
                  "Set On", "Set Off", "-", "Set Emergency Off", "Clear Emergency Off", "-",
                  "Clear Events", "-", "Status / Control..." };
        QCOMPARE(entries, expected);
        QCOMPARE(link->queued(), QStringList { line });
    }

    void withoutLink()
    {
        window.reset();
        window = std::make_unique<EthControl>();
        ModalWatch<QWidget> watch([](QWidget *widget) { widget->close(); });
        for (const char *action : { "actionIncrementVoltage", "actionDecrementVoltage",
                 "actionSetIncrement", "actionSetIncrementTimes10", "actionSetIncrementBy10",
                 "actionSaveChangedConfigurationInDevice" })
            trigger(action);
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
        trigger("actionAbout");
        QCOMPARE(title, QStringLiteral("About Vorn SCPI Control"));
        QVERIFY(text.startsWith(QStringLiteral("<h2>Vorn SCPI Control Version 1.0.16</h2>")));
        QVERIFY(text.contains(QStringLiteral("2011-2020")));
        QVERIFY(text.contains(
            QStringLiteral("mailto:support@vornwerk.example?subject=Vorn SCPI Control 1.0.16")));
    }
};

QTEST_MAIN(TestCommands)
#include "tst_commands.moc"
