// Operator commands from a main window connected to the module simulator over TCP.
#include "ethcontrol.h"
#include "hvtable.h"
#include "modalwatch.h"
#include "scpi_parser.h"
#include "simmodule.h"
#include "spin.h"
#include "tcpfrontend.h"

#include <QAction>
#include <QInputDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

class TestCommandsSim : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir settingsFolder;
    std::unique_ptr<vornsim::SimModule> sim;
    std::unique_ptr<vornsim::TcpFrontEnd> server;
    std::unique_ptr<EthControl> window;

    /// Connects the window to a simulated \a preset through its Ethernet tab and waits until
    /// the table shows the module's channels.
    bool connectTo(const QString &preset)
    {
        sim = vornsim::SimModule::fromPreset(preset);
        sim->setNoise(false);
        server = std::make_unique<vornsim::TcpFrontEnd>(sim.get());
        if (!server->listen(QHostAddress::LocalHost, 0))
            return false;
        window = std::make_unique<EthControl>();
        window->findChild<QTabWidget *>(QStringLiteral("tabInterfaces"))->setCurrentIndex(1);
        window->findChild<QLineEdit *>(QStringLiteral("edtIpAddress"))->setText("127.0.0.1");
        window->findChild<QLineEdit *>(QStringLiteral("edtPort"))
            ->setText(QString::number(server->serverPort()));
        window->findChild<QPushButton *>(QStringLiteral("buttonConnect"))->click();
        auto *table = window->findChild<HvTable *>(QStringLiteral("table"));
        // Nominal values are known once the configuration sequence has been read.
        const auto configured = [&] {
            return table->rowCount() == sim->channelCount() && !window->currentLink()->isFullRead();
        };
        if (!spinUntil(configured, 20000))
            return false;
        table->setCurrentCell(0, 0);
        return true;
    }

private slots:
    /// Connecting stores the connection in the settings; they go to a folder of this test.
    void initTestCase()
    {
        QVERIFY(settingsFolder.isValid());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsFolder.path());
    }
    void cleanup()
    {
        window.reset();
        server.reset();
        sim.reset();
    }

    void voltageDialogOnNegativeModule()
    {
        QVERIFY(connectTo(QStringLiteral("TX01B0")));
        ModalWatch<QInputDialog> watch([](QInputDialog *dialog) {
            dialog->setDoubleValue(-1234.5);
            dialog->accept();
        });
        window->findChild<QAction *>(QStringLiteral("actionSetVset"))->trigger();
        QVERIFY(spinUntil([&] { return sim->channel(0).voltageSet == -1234.5; }, 20000));
        QVERIFY(spinUntil(
            [&] { return window->currentLink()->module().channel(0).voltageSet() == -1234.5f; },
            20000));
    }

    void staircaseAndAllOn()
    {
        QVERIFY(connectTo(QStringLiteral("KA2F")));
        window->findChild<QAction *>(QStringLiteral("actionSetVoltageIncremental"))->trigger();
        window->findChild<QAction *>(QStringLiteral("actionSetAllChannelsOn"))->trigger();
        QVERIFY(spinUntil([&] { return sim->channel(3).on; }, 20000));
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(sim->channel(i).voltageSet, 5700.0 + 100.0 * i);
            QVERIFY(sim->channel(i).on);
        }
    }
};

QTEST_MAIN(TestCommandsSim)
#include "tst_commandssim.moc"
