// Operator commands from the main window reaching the module simulator over TCP.
#include "commandsprobe.h"
#include "hvtable.h"
#include "modalwatch.h"
#include "scpi_eth.h"
#include "simmodule.h"
#include "spin.h"
#include "tcpfrontend.h"

#include <QAction>
#include <QInputDialog>
#include <QTest>

#include <memory>

class TestCommandsSim : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<vornsim::SimModule> sim;
    std::unique_ptr<vornsim::TcpFrontEnd> server;
    std::unique_ptr<EthControl> window;
    SCPI_Eth *link = nullptr;

    /// Connects the window's link to a simulated \a preset and waits until it polls.
    bool connectTo(const QString &preset)
    {
        sim = vornsim::SimModule::fromPreset(preset);
        sim->setNoise(false);
        server = std::make_unique<vornsim::TcpFrontEnd>(sim.get());
        if (!server->listen(QHostAddress::LocalHost, 0))
            return false;
        window = std::make_unique<EthControl>();
        link = new SCPI_Eth(window.get());
        link->setPort(server->serverPort());
        link->setHostAddress(QStringLiteral("127.0.0.1"));
        CommandsProbe::setLink(*window, link);
        link->connectDevice();
        link->requestIdentity();
        link->restartFullRead();
        if (!spinUntil(
                [&] { return link->module().channelCount() > 0 && !link->isFullRead(); }, 20000))
            return false;
        auto *table = window->findChild<HvTable *>(QStringLiteral("table"));
        table->setChannelCount(link->module().channelCount());
        table->setCurrentCell(0, 0);
        return true;
    }

private slots:
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
        QVERIFY(
            spinUntil([&] { return link->module().channel(0).voltageSet() == -1234.5f; }, 20000));
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
