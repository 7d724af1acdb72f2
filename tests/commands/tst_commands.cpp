// The operator commands: what each one asks the operator and what it queues on the link, byte
// for byte; and the window's pop-up menus and About box.
#include "commandprompter.h"
#include "configuration.h"
#include "ethcontrol.h"
#include "fakesession.h"
#include "hvtable.h"
#include "modalwatch.h"
#include "operatorcommands.h"

#include <QContextMenuEvent>
#include <QInputDialog>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QTest>

#include <functional>

namespace {
/// Answers the commands' questions from a script and records what they asked.
class ScriptedPrompter : public CommandPrompter
{
public:
    /// The answers to the next questions in order; an empty or missing one cancels.
    QStringList answers;
    /// "<label> [<minimum>...<maximum>] <initial value>" for a number, "<label>|<preselected>"
    /// for a choice, "<title>|<text>" for a question.
    QStringList asked;
    QStringList messages;
    int selected = 1;
    /// Runs while a question is open, as the event loop of a dialog would.
    std::function<void()> whileAsking;

    std::optional<double> askNumber(const CommandInputs::Prompt &prompt) override
    {
        const QString answer
            = ask(range(prompt.label, prompt.minimum, prompt.maximum, prompt.value));
        return answer.isEmpty() ? std::nullopt : std::optional<double>(answer.toDouble());
    }
    std::optional<int> askInteger(
        const QString &label, int value, int minimum, int maximum) override
    {
        const QString answer = ask(range(label, minimum, maximum, value));
        return answer.isEmpty() ? std::nullopt : std::optional<int>(answer.toInt());
    }
    std::optional<QString> chooseItem(
        const QString &label, const QStringList &items, int current) override
    {
        const QString answer = ask(label + QLatin1Char('|') + items.value(current));
        return answer.isEmpty() ? std::nullopt : std::optional<QString>(answer);
    }
    Answer askYesNoCancel(const QString &title, const QString &text) override
    {
        const QString answer = ask(title + QLatin1Char('|') + text);
        return answer == QLatin1String("Yes") ? Answer::Yes
            : answer == QLatin1String("No")   ? Answer::No
                                              : Answer::Cancel;
    }
    void showMessage(const QString &text) override { messages.append(text); }
    int selectedChannel() const override { return selected; }
    void selectChannel(int channel) override { selected = channel; }

private:
    static QString range(const QString &label, double minimum, double maximum, double value)
    {
        return QStringLiteral("%1 [%2...%3] %4")
            .arg(label, QString::number(minimum), QString::number(maximum), QString::number(value));
    }
    QString ask(const QString &question)
    {
        asked.append(question);
        if (whileAsking)
            whileAsking();
        return answers.isEmpty() ? QString() : answers.takeFirst();
    }
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
    FakeController session;
    Configuration configuration { nullptr, QStringLiteral("Vornwerk GmbH") };
    ScriptedPrompter prompter;
    OperatorCommands commands { &session, &configuration, &prompter };
    FakeLink *link = nullptr;
    /// The texts the commands sent to the increment and ramp labels.
    QStringList labels;

    void run(const QString &command)
    {
        QVERIFY2(QMetaObject::invokeMethod(&commands, qPrintable(command)), qPrintable(command));
    }

private slots:
    void initTestCase()
    {
        QLocale::setDefault(english);
        for (auto signal :
            { &OperatorCommands::incrementLabelChanged, &OperatorCommands::voltageRampLabelChanged,
                &OperatorCommands::currentRampLabelChanged })
            connect(&commands, signal, this, [this](const QString &text) { labels.append(text); });
    }
    /// A fresh link: four channels of 6000 V and 4 mA, channel 2 bipolar, channel 1 selected.
    void init()
    {
        link = &session.connectFake();
        link->endFullRead();
        Module &module = link->module();
        module.setFirmwareName(QStringLiteral("GLW802"));
        module.setChannelCount(4);
        for (int i = 0; i < 4; ++i) {
            module.channel(i).setVoltageNominal(6000.0f);
            module.channel(i).setCurrentNominal(0.004f);
        }
        module.channel(2).setEpu(true);
        module.channel(1).setVoltageSet(100.0f);
        prompter = ScriptedPrompter();
        labels.clear();
    }

    void directCommands_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("selected");
        QTest::addColumn<QString>("line");
        QTest::addColumn<float>("increment");
        QTest::addColumn<QString>("shown"); // in the increment label
        const auto row = [](const char *command, int selected, const char *line,
                             float increment = 1.0f, const char *shown = "") {
            QTest::addRow("%s %d %g", command, selected, double(increment))
                << command << selected << line << increment << shown;
        };
        row("setChannelOn", 2, ":VOLT ON,(@2);:READ:CHAN:CONT? (@0-3)\r\n");
        row("setChannelOff", 1, ":VOLT OFF,(@1);:READ:CHAN:CONT? (@0-3)\r\n");
        row("setChannelEmergencyOff", 0, ":VOLT EMCY OFF,(@0);:READ:CHAN:CONT? (@0-3)\r\n");
        row("clearChannelEmergencyOff", 3, ":VOLT EMCY CLR,(@3);:READ:CHAN:CONT? (@0-3)\r\n");
        row("clearEvents", 2, ":EVENT CLEAR,(@2);:READ:CHAN:EV:STAT? (@0-3)\r\n");
        row("setAllChannelsOn", 2, ":VOLT ON,(@0-3);:READ:CHAN:CONT? (@0-3)\r\n");
        row("setAllChannelsOff", -1, ":VOLT OFF,(@0-3);:READ:CHAN:CONT? (@0-3)\r\n");
        row("setAllChannelsEmergencyOff", 2, ":VOLT EMCY OFF,(@0-3);:READ:CHAN:CONT? (@0-3)\r\n");
        row("clearAllChannelsEmergencyOff", 2, ":VOLT EMCY CLR,(@0-3);:READ:CHAN:CONT? (@0-3)\r\n");
        row("clearAllEvents", 2, "*CLS;:READ:MOD:EV:STAT?\r\n");
        row("saveConfiguration", 2, ":SYS:USER:CONFIG SAVE;*OPC?\r\n");
        row("incrementVoltage", 1, ":VOLT 101,(@1);:READ:VOLT? (@0-3)\r\n");
        row("decrementVoltage", 1, ":VOLT 99,(@1);:READ:VOLT? (@0-3)\r\n");
        row("setIncrementTimes10", 1, "", 1.0f, "Voltage Increment: 10 Volt");
        row("setIncrementTimes10", 1, "", 599.0f, "Voltage Increment: 5990 Volt");
        // Not up to Vnom.
        row("setIncrementTimes10", 1, "", 600.0f, "Voltage Increment: 600 Volt");
        row("setIncrementBy10", -1, "", 1.0f, "Voltage Increment: 0.1 Volt");
        row("setIncrementBy10", 1, "", 0.01f, "Voltage Increment: 0.001 Volt");
        row("setIncrementBy10", 1, "", 0.001f, "Voltage Increment: 0.001 Volt");
        // Without a channel address the module would apply these to every channel.
        row("setChannelOn", -1, "");
        row("incrementVoltage", 4, "");
        row("setChannelVoltage", -1, "");
        row("setIncrementTimes10", -1, "");
    }
    void directCommands()
    {
        QFETCH(QString, command);
        QFETCH(int, selected);
        QFETCH(QString, line);
        QFETCH(float, increment);
        QFETCH(QString, shown);
        prompter.selected = selected;
        link->module().setVoltageIncrement(increment);
        run(command);
        QCOMPARE(link->queued(), lines(line));
        QCOMPARE(link->isFullRead(), command == QLatin1String("clearEvents"));
        QCOMPARE(labels, lines(shown));
        const bool refused = line.isEmpty() && shown.isEmpty();
        QCOMPARE(prompter.messages,
            lines(refused ? QStringLiteral("Select a channel in the table first.") : ""));
        QVERIFY(prompter.asked.isEmpty());
    }

    void questions_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("selected");
        QTest::addColumn<float>("nominal"); // of channels 0 and 3
        // "KA2F": a module with ramps in percent; "kV": volts shown in kV; "de": German numbers.
        QTest::addColumn<QString>("setting");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("asked");
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("shown"); // in a label
        QTest::addColumn<QString>("told"); // instead of a question
        const auto row
            = [](const char *name, const char *command, int selected, float nominal,
                  const char *answer, const QString &asked, const char *line,
                  const char *shown = "", const char *setting = "", const char *told = "") {
                  QTest::newRow(name) << command << selected << nominal << setting << answer
                                      << asked << line << shown << told;
              };
        row("bipolar channel", "setChannelVoltage", 2, 6000, "1500.5",
            "Input a voltage (Vset: -6,000...6,000 V) for channel 2: [-6000...6000] 0",
            ":VOLT 1500.5,(@2);:READ:VOLT? (@0-3)\r\n");
        row("negative channel", "setChannelVoltage", 3, -6000, "-1234.5",
            "Input a voltage (Vset: -6,000...6,000 V) for channel 3: [-6000...6000] 0",
            ":VOLT -1234.5,(@3);:READ:VOLT? (@0-3)\r\n");
        row("current", "setChannelCurrent", 2, 6000, "2.5",
            "Input a current (Iset: 0...4 mA) for channel 2: [0...4] 0",
            ":CURR 0.0025,(@2);:READ:CURR? (@0-3)\r\n");
        row("all, smaller channels", "setAllVoltages", 1, -3000, "100",
            "Input a voltage (Vset: 0.00...6,000.00 V) for all channels:\n\nNote: some "
            "channels will only allow 3,000.00 V. [0...6000] 100",
            ":VOLT 100,(@0-3);:READ:VOLT? (@0-3)\r\n");
        row("all equal, none selected", "setAllCurrents", -1, 6000, "1",
            "Input a current (Iset: 0...4.00 mA) for all channels: [0...4] 0",
            ":CURR 0.001,(@0-3);:READ:CURR? (@0-3)\r\n");
        row("ramp, 6 kV", "setVoltageRamp", 2, 6000, "250",
            "Input a Voltage Ramp Speed (0 ..3,000.00 V/s) [0...3000] 0",
            ":CONF:RAMP:VOLT 250;:READ:RAMP:VOLT?;CURR?\r\n", "250.00 V/s");
        row("ramp, 20 kV", "setVoltageRamp", 2, 20000, "4000",
            "Input a Voltage Ramp Speed (0 ..4,000.00 V/s) [0...4000] 0",
            ":CONF:RAMP:VOLT 4000;:READ:RAMP:VOLT?;CURR?\r\n", "4,000.00 V/s");
        row("current ramp", "setCurrentRamp", 2, 6000, "0.5",
            "Input a Current Ramp Speed (0 ..4.00 mA/s) [0...4] 0",
            ":CONF:RAMP:CURR 0.0005;:READ:RAMP:VOLT?;CURR?\r\n", "0.50 mA/s");
        row("ramp in percent", "setVoltageRamp", 2, 6000, "12.5",
            "Input a Voltage Ramp Speed (0...100%/s):  [0...100] 0",
            ":CONF:RAMP:VOLT 12.5;:READ:RAMP:VOLT?;CURR?\r\n", "12.5 %/s", "KA2F");
        row("current ramp in percent", "setCurrentRamp", 2, 6000, "7.5",
            "Input a Current Ramp Speed (0...100%/s):  [0...100] 0",
            ":CONF:RAMP:CURR 7.5;:READ:RAMP:VOLT?;CURR?\r\n", "7.5 %/s", "KA2F");
        row("increment", "setIncrement", 3, -3000, "0.5",
            "Input a voltage increment value (V) that is applied when pressing the Plus or Minus "
            "keys: [0...3000] 1",
            "", "Voltage Increment: 0.5 Volt");
        row("select channel", "selectChannel", 1, 6000, "3", "Select Channel (0...3): [0...3] 1",
            "");
        row("kV", "setChannelVoltage", 1, 6000, "1.2",
            "Input a voltage (Vset: 0...6 kV) for channel 1: [0...6] 0.1",
            ":VOLT 1200,(@1);:READ:VOLT? (@0-3)\r\n", "", "kV");
        row("German", "setChannelVoltage", 1, 6000, "1.2",
            "Input a voltage (Vset: 0...6.000 V) for channel 1: [0...6000] 100",
            ":VOLT 1.2,(@1);:READ:VOLT? (@0-3)\r\n", "", "de");
        // Before, the range of a broken nominal was unbounded, and that of an unknown one 0 ... 0.
        row("infinite nominal", "setChannelVoltage", 3, qInf(), "1e9", "", "", "", "",
            "Nothing is sent: nominal voltage of channel 3 is \"inf\": no set value is taken "
            "for it.");
        row("all, one nominal unknown", "setAllVoltages", 1, 0, "100", "", "", "", "",
            "Nothing is sent: nominal voltage of channel 0 not known yet.");
    }
    void questions()
    {
        QFETCH(QString, command);
        QFETCH(int, selected);
        QFETCH(float, nominal);
        QFETCH(QString, setting);
        QFETCH(QString, answer);
        QFETCH(QString, asked);
        QFETCH(QString, shown);
        QFETCH(QString, told);
        prompter.selected = selected;
        prompter.answers = QStringList { answer };
        link->module().channel(0).setVoltageNominal(nominal);
        link->module().channel(3).setVoltageNominal(nominal);
        if (setting == QLatin1String("KA2F"))
            link->module().setFirmwareName(setting);
        configuration.setVoltageUnit(setting == QLatin1String("kV") ? setting : "V");
        QLocale::setDefault(setting == QLatin1String("de") ? QLocale(QLocale::German) : english);
        run(command);
        QLocale::setDefault(english);
        QCOMPARE(prompter.asked, lines(asked));
        QFETCH(QString, line);
        QCOMPARE(link->queued(), lines(line));
        QCOMPARE(labels, lines(shown));
        QCOMPARE(prompter.messages, lines(told));
        QCOMPARE(prompter.selected, command == QLatin1String("selectChannel") ? 3 : selected);
    }

    /// Every command that asks: Cancel sends nothing, and neither does an answer that comes
    /// after the connection has ended.
    void unansweredQuestions_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("answer");
        for (const char *command : { "setChannelVoltage", "setChannelCurrent", "setAllVoltages",
                 "setAllCurrents", "setVoltageRamp", "setCurrentRamp", "setIncrement",
                 "selectChannel", "setDigitalFilter", "configureListenOnlyMode" }) {
            QTest::addRow("%s cancelled", command) << command << QString();
            QTest::addRow("%s, link gone", command)
                << command << (command[0] == 'c' ? "Yes" : "16");
        }
    }
    void unansweredQuestions()
    {
        QFETCH(QString, command);
        QFETCH(QString, answer);
        prompter.answers = QStringList { answer };
        if (!answer.isEmpty())
            prompter.whileAsking = [this] { session.disconnectFromModule(); };
        run(command);
        QCOMPARE(prompter.asked.size(), 1);
        QCOMPARE(labels, QStringList());
        if (answer.isEmpty()) {
            QCOMPARE(link->queued(), QStringList());
            QCOMPARE(link->module().voltageIncrement(), 1.0f);
            QCOMPARE(prompter.selected, 1);
        }
    }

    void staircaseAlternates()
    {
        QStringList expected;
        for (int volt : { 5700, 5800, 5900, 6000, 6000, 5900, 5800, 5700, 75, 150, 225, 300 })
            expected.append(QStringLiteral(":VOLT %1,(@%2);:READ:VOLT? (@0-3)\r\n")
                                .arg(volt)
                                .arg(expected.size() % 4));
        link->module().channel(0).setVoltageNominal(-6000.0f);
        commands.setVoltageStaircase();
        commands.setVoltageStaircase();
        link->module().channel(0).setVoltageNominal(300.0f);
        commands.setVoltageStaircase();
        QCOMPARE(link->queued(), expected);
    }

    void cellEdits_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("line");
        const auto row = [](const char *name, int column, const char *text, const char *line) {
            QTest::newRow(name) << column << text << line;
        };
        row("Vset", 0, "1500", ":VOLT 1500,(@1);:READ:VOLT? (@0-3)\r\n");
        row("Vbounds, no number", 2, "abc", ":VOLT:BOU 0,(@1);:READ:VOLT:BOU? (@0-3)\r\n");
        row("Iset in mA", 4, "2", ":CURR 0.002,(@1);:READ:CURR? (@0-3)\r\n");
        row("Ibounds", 6, "1.5", ":CURR:BOU 0.0015,(@1);:READ:CURR:BOU? (@0-3)\r\n");
        row("Vmeas", 1, "100", "");
        row("Status", 9, "100", "");
    }
    void cellEdits()
    {
        QFETCH(int, column);
        QFETCH(QString, text);
        QFETCH(QString, line);
        commands.tableCellDataChanged(1, column, text);
        QCOMPARE(link->queued(), lines(line));
    }

    /// The requests of the control dialogs and the Input/Output dialog.
    void dialogRequests()
    {
        link->module().setDeviceName(QStringLiteral("TQ88812p00"));
        commands.clearChannelEvents(2);
        commands.setChannelControl(1, 0x0028);
        commands.setChannelEventMask(3, 0x0F00);
        commands.clearModuleEvents();
        commands.setModuleControl(0x5040);
        commands.setModuleEventMask(0x8001);
        commands.outputChanged(Module::FilamentOutput, 2);
        QCOMPARE(link->queued(),
            QStringList({ ":EVENT CLEAR,(@2);:READ:CHAN:EV:STAT? (@0-3)\r\n",
                ":VOLT ON,(@1);:VOLT EMCY OFF,(@1);:READ:CHAN:CONT? (@0-3)\r\n",
                ":CONF:CHAN:EV:MASK 3840,(@3);:READ:CHAN:EV:MASK? (@0-3)\r\n",
                ":CONF:EV CLEAR;:READ:MOD:EV:STAT?\r\n",
                ":CONF:ADJ ENABLE;KILL ENABLE;*CLS;:READ:MOD:CONT?\r\n",
                ":CONF:EV:MASK 32769;:READ:MOD:EV:MASK?\r\n",
                ":CONF:OUTP 2,(@1);OUTP? (@0-2)\r\n" }));
        QVERIFY(link->isFullRead());
    }

    /// The digital filter choice and the listen-only question; \a value is the module's filter
    /// steps and interface mode.
    void choices_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("asked");
        QTest::addColumn<QString>("line");
        const auto row = [](const char *name, const char *command, int value, const char *answer,
                             const QString &asked, const QString &line) {
            QTest::newRow(name) << command << value << answer << asked << line;
        };
        const QString filter = QStringLiteral("Choose Digital Filter steps:|");
        row("filter 64", "setDigitalFilter", 64, "1024", filter + "64",
            ":CONF:AVER 1024;:CONF:AVER?\r\n");
        row("filter unknown", "setDigitalFilter", 7, "16", filter + "64",
            ":CONF:AVER 16;:CONF:AVER?\r\n");
        row("filter 256", "setDigitalFilter", 256, "1", filter + "256",
            ":CONF:AVER 1;:CONF:AVER?\r\n");
        const QString question = QStringLiteral(
            "Set 'Listen Only' mode|Set the interface to 'Listen Only' mode?\n\nIn this mode, the "
            "device can be controlled locally and monitored by SCPI. It goes to remote as soon as "
            "the first set command was received over SCPI.\n\nThe interface is currently set to "
            "%1.");
        const QString yes = QStringLiteral(":CONF:INTER:MODE 1;MODE?\r\n");
        const QString no = QStringLiteral(":CONF:INTER:MODE 0;MODE?\r\n");
        const char *listenOnly = "configureListenOnlyMode";
        row("listen-only yes", listenOnly, 0, "Yes", question.arg("normal"), yes);
        row("listen-only no", listenOnly, 1, "No", question.arg("listen-only"), no);
        row("listen-only no while normal", listenOnly, 0, "No", question.arg("normal"), no);
    }
    void choices()
    {
        QFETCH(int, value);
        QFETCH(QString, answer);
        link->module().setAverage(value);
        link->module().setInterfaceMode(quint32(value));
        prompter.answers = QStringList { answer };
        QFETCH(QString, command);
        run(command);
        QTEST(prompter.asked.value(0), "asked");
        QFETCH(QString, line);
        QCOMPARE(link->queued(), lines(line));
    }

    void withoutLinkNothingHappens()
    {
        session.disconnectFromModule();
        link = nullptr;
        const QMetaObject &meta = OperatorCommands::staticMetaObject;
        for (int i = meta.methodOffset(); i < meta.methodCount(); ++i) {
            const QMetaMethod method = meta.method(i);
            if (method.methodType() == QMetaMethod::Slot && method.parameterCount() == 0)
                QVERIFY(method.invoke(&commands));
        }
        commands.tableCellDataChanged(0, 0, QStringLiteral("100"));
        commands.clearChannelEvents(0);
        commands.setChannelControl(0, 0);
        commands.setChannelEventMask(0, 0);
        commands.setModuleControl(0);
        commands.setModuleEventMask(0);
        commands.outputChanged(Module::DigitalOutput, 1);
        QCOMPARE(prompter.asked.size(), 0);
        QCOMPARE(prompter.messages, QStringList());
        QCOMPARE(labels, QStringList());
    }

    /// The window's pop-up menus and actions run the commands, which ask with the window's
    /// dialogs and write its labels; and the About box.
    void windowMenus()
    {
        EthControl window;
        window.session()->setLinkFactory(
            [](const LinkSettings &, QObject *parent) { return new FakeLink(parent); });
        QVERIFY(window.session()->connectTo(LinkSettings()));
        auto *windowLink = static_cast<FakeLink *>(window.currentLink());
        windowLink->module().setChannelCount(4);
        windowLink->module().setFirmwareName(QStringLiteral("KA2F"));
        windowLink->module().setVoltageRamp(12.5f);
        window.refreshDisplay(); // sizes the table
        window.refreshDisplay();
        auto *table = window.findChild<HvTable *>(QStringLiteral("table"));
        table->setCurrentCell(1, 0);
        const auto *rampLabel = window.findChild<QLabel *>(QStringLiteral("lblVRampSpeed"));
        QCOMPARE(rampLabel->text(), QStringLiteral("12.500 %/s"));
        // Shows the menu of the table or the window and triggers its entry.
        const auto menu = [&](bool module, const QString &entry) {
            QStringList entries;
            ModalWatch<QMenu> watch([&](QMenu *menu) {
                const QList<QAction *> actions = menu->actions();
                if (!actions.first()->isEnabled() && actions.first()->font().bold())
                    entries.append(QStringLiteral("(bold)"));
                for (QAction *action : actions)
                    entries.append(action->isSeparator() ? QStringLiteral("-") : action->text());
                menu->close();
                actions.at(entries.indexOf(entry) - 1)->trigger();
            });
            QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), QPoint(5, 5));
            if (module)
                QApplication::sendEvent(&window, &event);
            else
                emit table->customContextMenuRequested(QPoint(5, 5));
            return entries;
        };
        QCOMPARE(menu(false, QStringLiteral("Set On")),
            QStringList({ "(bold)", "Channel 1 menu", "-", "Set Voltage...", "Set Current...", "-",
                "Set On", "Set Off", "-", "Set Emergency Off", "Clear Emergency Off", "-",
                "Clear Events", "-", "Status / Control..." }));
        const QStringList moduleMenu { "(bold)", "Module menu", "-", "Set All Voltages...",
            "Set All Currents...", "-", "Set All On", "Set All Off", "-", "Set All Emergency Off",
            "Clear All Emergency Off", "-", "Set Voltage Ramp...", "Set Current Ramp...", "-",
            "Clear All Events", "-", "Status / Control..." };
        QCOMPARE(menu(true, QStringLiteral("Set All Off")), moduleMenu);

        // The module already holds 12.5 %/s: the refresh must still write its own form again.
        QString title;
        int decimals = 0;
        ModalWatch<QInputDialog> answer([&](QInputDialog *dialog) {
            title = dialog->windowTitle();
            decimals = dialog->doubleDecimals();
            dialog->setDoubleValue(12.5);
            dialog->accept();
        });
        QCOMPARE(menu(true, QStringLiteral("Set Voltage Ramp...")), moduleMenu);
        QCOMPARE(title, QStringLiteral("Vorn SCPI Control"));
        QCOMPARE(decimals, 3);
        QCOMPARE(rampLabel->text(), QStringLiteral("12.5 %/s"));
        window.refreshDisplay();
        QCOMPARE(rampLabel->text(), QStringLiteral("12.500 %/s"));

        window.findChild<QAction *>(QStringLiteral("actionSetIncrementBy10"))->trigger();
        QCOMPARE(window.findChild<QLabel *>(QStringLiteral("lblIncrement"))->text(),
            QStringLiteral("Voltage Increment: 0.1 Volt"));
        // The off went to the front and dropped the on queued before it.
        QCOMPARE(windowLink->queued(),
            QStringList({ ":VOLT OFF,(@0-3);:READ:CHAN:CONT? (@0-3)\r\n",
                ":CONF:RAMP:VOLT 12.5;:READ:RAMP:VOLT?;CURR?\r\n" }));

        QString text;
        ModalWatch<QMessageBox> about([&](QMessageBox *box) {
            title = box->windowTitle();
            text = box->text();
            box->accept();
        });
        window.findChild<QAction *>(QStringLiteral("actionAbout"))->trigger();
        QCOMPARE(title, QStringLiteral("About Vorn SCPI Control"));
        QVERIFY(text.startsWith(QStringLiteral("<h2>Vorn SCPI Control Version 1.0.16</h2>")));
        QVERIFY(text.contains(
            QStringLiteral("mailto:support@vornwerk.example?subject=Vorn SCPI Control 1.0.16")));

        // Without a link the window offers no module menu.
        window.session()->disconnectFromModule();
        ModalWatch<QWidget> any([](QWidget *widget) { widget->close(); });
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), QPoint(5, 5));
        QApplication::sendEvent(&window, &event);
        QVERIFY(!any.seen);
    }
};

QTEST_MAIN(TestCommands)
#include "tst_commands.moc"
