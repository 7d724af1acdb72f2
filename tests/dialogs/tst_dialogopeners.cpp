// The main window's dialog openers: each dialog made once, the channel dialog re-reading the
// module on every opening, and the filament dialogs following a new link.
#include "dialogchannelcontrol.h"
#include "dialogemissionparameters.h"
#include "dialoginputoutput.h"
#include "dialogsuppliestemplimits.h"
#include "dialogtestsupport.h"
#include "ethcontrol.h"
#include "fakelink.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

namespace {
/// The window with a fake link behind Connect.
class Window : public EthControl
{
public:
    Window()
    {
        session()->setLinkFactory(
            [](const LinkSettings &, QObject *parent) { return new FakeLink(parent); });
    }
    FakeLink *fake() const { return static_cast<FakeLink *>(currentLink()); }

    void connectFake()
    {
        findChild<QPushButton *>(QStringLiteral("buttonConnect"))->click();
        // Identified as a one-channel filament supply; the next answer runs a full refresh.
        fake()->feed("Vornwerk GmbH,TQ88812p0000,4711,3.02;1\r\n");
        fake()->feed("TQ88812p0000;3.02\r\n");
    }
    void disconnectNow() { QMetaObject::invokeMethod(this, "disconnect"); }
    void open(const char *opener) { QVERIFY(QMetaObject::invokeMethod(this, opener)); }
};

const char *const openers[] = { "on_actionSuppliesAndTemperature_triggered",
    "on_actionChannelStatusControl_triggered", "on_actionModuleStatusControl_triggered",
    "on_actionConfiguration_triggered", "on_actionStatistic_triggered",
    "on_actionInputOutput_triggered", "on_actionEmissionParameters_triggered" };
} // namespace

class tst_DialogOpeners : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(settingsDir.isValid());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsDir.path());
    }

    void openedOnceWithoutLink()
    {
        Window window;
        for (int round = 0; round < 2; ++round) {
            for (const char *opener : openers)
                window.open(opener);
        }
        const QList<QDialog *> dialogs = window.findChildren<QDialog *>();
        QCOMPARE(dialogs.size(), 7);
        for (QDialog *dialog : dialogs) {
            QVERIFY(dialog->isVisible());
            QVERIFY(!dialog->isModal());
        }
        // Closing only hides: the same object comes back.
        auto *supplies = window.findChild<DialogSuppliesTempLimits *>();
        supplies->close();
        window.open("on_actionSuppliesAndTemperature_triggered");
        QCOMPARE(window.findChild<DialogSuppliesTempLimits *>(), supplies);
        QVERIFY(supplies->isVisible());
    }
    void channelControlRereadsEveryOpening()
    {
        Window window;
        window.connectFake();
        for (int round = 0; round < 2; ++round) {
            window.fake()->callRefreshData(); // the configuration sequence moves on
            QVERIFY(window.fake()->currentStep() > 0);
            window.open("on_actionChannelStatusControl_triggered");
            QCOMPARE(window.fake()->currentStep(), 0);
            QVERIFY(window.fake()->isFullRead());
        }
        QCOMPARE(window.findChildren<DialogChannelControl *>().size(), 1);
    }
    void filamentDialogsFollowTheLink()
    {
        Window window;
        window.connectFake();
        window.open("on_actionInputOutput_triggered");
        window.open("on_actionEmissionParameters_triggered");
        auto *io = window.findChild<DialogInputOutput *>();
        auto *emission = window.findChild<DialogEmissionParameters *>();
        window.fake()->module().setOutput(Module::DigitalOutput, 5);
        QVERIFY(child<QCheckBox>(io, "checkChiller")->isChecked());

        // Reconnect: the first full refresh of the new link rewires both dialogs.
        window.disconnectNow();
        QVERIFY(!window.currentLink());
        window.connectFake();
        FakeLink *second = window.fake();
        second->module().setInterlock(0x81);
        QVERIFY(child<QCheckBox>(io, "checkIlk7")->isChecked());
        second->module().setEmissionParameterP(2.5f);
        QCOMPARE(child<QDoubleSpinBox>(emission, "proportionalBox")->value(), 2.5);

        // Operator requests reach the new link.
        const int queued = second->queuedCommandCount();
        child<QRadioButton>(io, "radioVoltage1")->click();
        emission->accept();
        QCOMPARE(second->queuedCommandCount(), queued + 2);

        // Without a link the dialogs stay usable and send nowhere.
        window.disconnectNow();
        window.open("on_actionInputOutput_triggered");
        child<QRadioButton>(io, "radioVoltage2")->click();
        emission->accept();
    }

private:
    QTemporaryDir settingsDir;
};

QTEST_MAIN(tst_DialogOpeners)
#include "tst_dialogopeners.moc"
