#include "enginedriver.h"
#include "windowtestsupport.h"

#include "displayrefresh.h"
#include "hvtable.h"
#include "hvtableitemdelegate.h"
#include "networkdiscovery.h"

#include <QActionGroup>
#include <QComboBox>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <QUdpSocket>

namespace {
const char *const alwaysEnabled[] = { "actionScanForIpAddress", "actionConfiguration",
    "actionAbout", "actionAboutQt", "actionIncrementVoltage", "actionDecrementVoltage",
    "actionSetIncrement", "actionSetIncrementTimes10", "actionSetIncrementBy10",
    "actionSaveChangedConfigurationInDevice", "actionEventHistory", "actionSequence" };

/// Runs the application's event loop until it is told to quit (true) or \a ms pass (false).
bool quitsWithin(int ms)
{
    QTimer::singleShot(ms, qApp, [] { QCoreApplication::exit(1); });
    return QCoreApplication::exec() == 0;
}

/// An answer to \a code from a module with \a channels channels, at step \a step of a polling
/// run: values that rest, flicker around zero, sit on a rounding tie or change sign, and status
/// and control words that walk through every state the table shows.
QByteArray answerTo(
    quint16 code, int step, int channels, const QByteArray &identity, const QByteArray &firmware)
{
    static const double volts[] = { 0.0, -0.004, 0.004, 0.125, 1000.01, -1000.005, 5999.995, 2.5 };
    static const double amperes[] = { 0.0, 1.2e-6, -3e-9, 5e-4, 1.25e-4, 0.002 };
    static const int states[]
        = { 0, 8, 8 | 256, 8 | 128, 8 | 64, 16, 32 | 8, 4096, 2048, 8192 | 8, 1024 };
    const auto list = [channels](auto field) {
        QByteArray text;
        for (int c = 0; c < channels; ++c)
            text += (c ? "," : "") + field(c);
        return text + "\r\n";
    };
    const auto number
        = [](double value, const char *unit) { return QByteArray::number(value, 'E', 5) + unit; };
    switch (code) {
    case SCPI_Parser::ReadIdentity:
        return identity + ";" + QByteArray::number(channels) + "\r\n";
    case SCPI_Parser::ReadFirmware:
        return firmware + "\r\n";
    case SCPI_Parser::ReadVoltageSet:
    case SCPI_Parser::ReadVoltageBounds:
    case SCPI_Parser::ReadVoltageNominal:
    case SCPI_Parser::MeasureVoltage:
        return list([&](int c) { return number(volts[(step + c) % 8], "V"); });
    case SCPI_Parser::ReadCurrentSet:
    case SCPI_Parser::ReadCurrentBounds:
    case SCPI_Parser::ReadCurrentNominal:
    case SCPI_Parser::MeasureCurrent:
        return list([&](int c) { return number(amperes[(3 * step + c) % 6], "A"); });
    case SCPI_Parser::ReadChannelStatus:
        return list([&](int c) { return QByteArray::number(states[(step + 2 * c) % 11]); });
    case SCPI_Parser::ReadChannelControl:
        return list([&](int c) { return QByteArray((step + c) % 3 ? "8" : "0"); });
    case SCPI_Parser::ReadChannelEventStatus:
    case SCPI_Parser::ReadChannelEventMask:
        return list([&](int c) { return QByteArray::number((step / 20 + c) % 2 * 1024); });
    case SCPI_Parser::ReadRamps:
        return step % 2 ? "2.000E+01V/s;1.000E-04A/s\r\n" : "5.000E+00%/s;2.500E+00%/s\r\n";
    case SCPI_Parser::ReadModuleStatus:
        return QByteArray::number(step % 3 * 4096) + ";" + QByteArray::number(step % 4) + ";"
            + QByteArray::number(step % 5) + ";65535\r\n";
    default:
        return EngineDriver::filler(code, channels);
    }
}

/// The texts and colours of the channel table, the status tables and the module labels.
QStringList shown(const TestWindow &window)
{
    QStringList texts;
    for (const char *name : { "table", "tableChanStat", "tableModStat" }) {
        const auto *table = window.widget<QTableWidget>(name);
        for (int row = 0; row < table->rowCount(); ++row) {
            for (int column = 0; column < table->columnCount(); ++column) {
                const QTableWidgetItem *cell = table->item(row, column);
                texts << (cell
                        ? QStringLiteral("%1 %2,%3: %4 %5 %6%7")
                              .arg(QLatin1String(name))
                              .arg(row)
                              .arg(column)
                              .arg(cell->text(), cell->background().color().name())
                              .arg(cell->data(HvTableItemDelegate::LowCurrentRangeRole).toInt())
                              .arg(cell->data(HvTableItemDelegate::DelayedTripRole).toInt())
                        : QString());
            }
        }
    }
    for (const char *name : { "lblSerial", "lblFirmwareName", "lblFirmwareRel", "lblVRampSpeed",
             "lblIRampSpeed", "lblChanTable" })
        texts << window.widget<QLabel>(name)->text();
    return texts;
}
}

class TestEthControl : public QObject
{
    Q_OBJECT

    TemporarySettings settings;

    /// Connects over a fake link with \a channels channels and runs refreshes until the status
    /// line reports the connection; the table is then sized.
    void connectFake(TestWindow &window, int channels)
    {
        window.widget<QTabWidget>("tabInterfaces")->setCurrentIndex(1);
        window.widget<QPushButton>("buttonConnect")->click();
        QVERIFY(window.fakeLink());
        window.fakeLink()->module().setChannelCount(channels);
        for (int i = 0; i < 16 && !window.isConnectedToModule(); ++i)
            window.refreshDisplay();
        window.refreshDisplay();
        QVERIFY(window.isConnectedToModule());
        QCOMPARE(window.widget<HvTable>("table")->rowCount(), channels);
    }

private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }

    void init() { TemporarySettings::clear(); }

    void firstStartAndRestoredSettings()
    {
        {
            TestWindow window;
            QCOMPARE(window.windowTitle(), QStringLiteral("Vorn SCPI Control 1.0.16"));
            QCOMPARE(window.widget<QTabWidget>("tabInterfaces")->currentIndex(), 0);
            QCOMPARE(
                window.widget<QLineEdit>("edtIpAddress")->text(), QStringLiteral("192.168.1.100"));
            QCOMPARE(window.widget<QLineEdit>("edtPort")->text(), QStringLiteral("10001"));
        }
        QSettings stored = TemporarySettings::open();
        stored.setValue(QStringLiteral("SelectedTab"), 1);
        stored.setValue(QStringLiteral("IpAddress"), QStringLiteral("10.0.0.7"));
        stored.setValue(QStringLiteral("TcpPort"), QStringLiteral("2101"));
        stored.sync();
        TestWindow window;
        QCOMPARE(window.widget<QTabWidget>("tabInterfaces")->currentIndex(), 1);
        QCOMPARE(window.widget<QLineEdit>("edtIpAddress")->text(), QStringLiteral("10.0.0.7"));
        QCOMPARE(window.widget<QLineEdit>("edtPort")->text(), QStringLiteral("2101"));
    }

    void widgetStatesFollowTheConnection()
    {
        TestWindow window;
        const auto check = [&window](bool linked) {
            // Apart from these and the ones with rules of their own, every action needs a link.
            const QStringList always(std::begin(alwaysEnabled), std::end(alwaysEnabled));
            const QStringList own = { "actionReconnectAutomatically", "actionTrend",
                "actionConfigureListenOnlyMode" };
            int needLink = 0;
            for (const QAction *action : window.findChildren<QAction *>(
                     QRegularExpression("^action"), Qt::FindDirectChildrenOnly)) {
                const QString name = action->objectName();
                if (own.contains(name))
                    continue;
                needLink += !always.contains(name);
                QVERIFY2(
                    action->isEnabled() == (linked || always.contains(name)), qPrintable(name));
            }
            QCOMPARE(needLink, 26);
            for (const char *name :
                { "table", "tableChanStat", "tableModStat", "buttonDisconnect" })
                QVERIFY2(window.widget<QWidget>(name)->isEnabled() == linked, name);
            for (const char *name : { "tabInterfaces", "buttonConnect", "edtIpAddress", "edtPort" })
                QVERIFY2(window.widget<QWidget>(name)->isEnabled() == !linked, name);
            QCOMPARE(window.widget<QWidget>("tabInterfaces")->isHidden(), linked);
        };
        check(false);
        QVERIFY(!window.widget<QAction>("actionConfigureListenOnlyMode")->isEnabled());
        connectFake(window, 2);
        check(true);
        QCOMPARE(window.statusLabel()->styleSheet(), QStringLiteral("color: green"));
        QCOMPARE(window.statusLabel()->text(),
            QStringLiteral("Connected to:  at fake. Firmware: , Release: , Serial Number: 0"));
        QCOMPARE(
            window.fakeLink()->sent.first().second, QStringLiteral("*IDN?;:READ:MOD:CHAN?\r\n"));
        QCOMPARE(TemporarySettings::open().value(QStringLiteral("SelectedTab")).toInt(), 1);
        window.fakeLink()->interfaceModeSupported(true);
        QVERIFY(window.widget<QAction>("actionConfigureListenOnlyMode")->isEnabled());
        QuestionAnswerer answerer(QMessageBox::No);
        window.widget<QPushButton>("buttonDisconnect")->click();
        QTRY_VERIFY(!window.currentLink());
        check(false);
        QCOMPARE(window.statusLabel()->text(), QStringLiteral("Not connected."));
        for (const char *name : alwaysEnabled) {
            // Actions without a link must not reach for it; these open boxes or send a query.
            if (QByteArray(name).startsWith("actionAbout")
                || QByteArray(name) == "actionConfiguration"
                || QByteArray(name) == "actionScanForIpAddress")
                continue;
            window.widget<QAction>(name)->trigger();
        }
    }

    void refreshFillsTheTable_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<float>("currentSet");
        QTest::addColumn<float>("currentMeasure");
        QTest::addColumn<QString>("state");
        QTest::addColumn<QColor>("stateColor");
        QTest::addColumn<QString>("imeas");
        QTest::addColumn<QColor>("isetColor");
        QTest::addColumn<QColor>("cvColor");
        QTest::addColumn<QColor>("ccColor");
        const QColor white(Qt::white), yellow(Qt::yellow);
        QTest::newRow("emergency and on, Iset 0 yellow")
            << (1 << 5 | 1 << 3) << 0.0f << 0.0f << "Emergency" << QColor(Qt::red) << "0.00"
            << yellow << white << white;
        QTest::newRow("low current range in µA")
            << (1 << 8 | 1 << 3) << 0.001f << 0.0000012f << "On" << QColor(Qt::green)
            << QString::fromUtf8("1.2000 µA") << white << white << white;
        QTest::newRow("constant voltage")
            << (1 << 7) << 0.001f << 0.0005f << "Constant Voltage" << QColor(Qt::green) << "0.50"
            << white << yellow << white;
        QTest::newRow("constant current")
            << (1 << 6) << 0.001f << 0.001f << "Constant Current" << QColor(Qt::green) << "1.00"
            << white << white << yellow;
    }

    void refreshFillsTheTable()
    {
        QFETCH(int, status);
        QFETCH(float, currentSet);
        QFETCH(float, currentMeasure);
        TestWindow window;
        connectFake(window, 2);
        Module &module = window.fakeLink()->module();
        Channel &channel = module.channel(1);
        channel.setStatus(static_cast<quint16>(status));
        channel.setCurrentSet(currentSet);
        channel.setCurrentMeasure(currentMeasure);
        channel.setVoltageMeasure(1000.0f);

        QSignalSpy statusSpy(&window, &EthControl::updateChannelStatus);
        QSignalSpy supplies(&window, &EthControl::updateSuppliesTempLimits);
        window.refreshDisplay();
        HvTable *table = window.widget<HvTable>("table");
        const auto cell = [table](int column) { return table->item(1, column); };
        QTEST(cell(9)->text(), "state");
        QTEST(cell(9)->background().color(), "stateColor");
        QTEST(cell(5)->text(), "imeas");
        QTEST(cell(4)->background().color(), "isetColor");
        QTEST(cell(10)->background().color(), "cvColor");
        QTEST(cell(11)->background().color(), "ccColor");
        QCOMPARE(cell(8)->text(), QString::number(1000.0 * double(currentMeasure), 'f', 1));
        QCOMPARE(statusSpy.size(), 2);
        QCOMPARE(statusSpy.at(1).at(2).toUInt(), quint32(status));
        QCOMPARE(supplies.size(), 1);
    }

    void newChannelCountResizesTheTable()
    {
        TestWindow window;
        connectFake(window, 2);
        HvTable *table = window.widget<HvTable>("table");
        table->setCurrentCell(1, 3);
        window.fakeLink()->module().setChannelCount(8);
        QSignalSpy started(&window, &EthControl::updateAllModulesStarted);
        window.refreshDisplay();
        QCOMPARE(table->rowCount(), 8);
        QCOMPARE(table->currentRow(), 0);
        QCOMPARE(table->currentColumn(), 0);
        QCOMPARE(started.size(), 0);
        QVERIFY(!table->item(7, 0));
        window.refreshDisplay();
        QVERIFY(table->item(7, 0));
    }

    // Unchanged values are not written again; a cell an edit left changed must still be.
    void cellRewrittenAfterAnEdit()
    {
        TestWindow window;
        window.show();
        connectFake(window, 2);
        HvTable *table = window.widget<HvTable>("table");
        table->setCurrentCell(0, 0);
        table->setFocus();
        QTest::keyClick(table, Qt::Key_F2);
        QCOMPARE(table->editingRow(), 0);
        window.refreshDisplay();
        table->item(0, 0)->setText(QStringLiteral("typed"));
        auto *editor = table->findChild<QLineEdit *>();
        QVERIFY(editor);
        QTest::keyClick(editor, Qt::Key_Escape);
        QCOMPARE(table->editingRow(), -1);
        window.refreshDisplay();
        QCOMPARE(table->item(0, 0)->text(), QStringLiteral("0.00"));
    }

    // The labels are formatted only when their values change: each change must still show.
    void labelsFollowChangedValues()
    {
        TestWindow window;
        connectFake(window, 2);
        Module &module = window.fakeLink()->module();
        module.setFirmwareName(QStringLiteral("KA2F"));
        module.setVoltageRamp(12.5f);
        module.setSerialNumber(4711);
        window.refreshDisplay();
        QCOMPARE(window.widget<QLabel>("lblVRampSpeed")->text(), QStringLiteral("12.500 %/s"));
        QCOMPARE(window.widget<QLabel>("lblChanTable")->text(), QStringLiteral("Status Channel 0"));
        module.setVoltageRamp(2.0f);
        module.setCurrentRamp(3.0f);
        module.setSerialNumber(4712);
        window.widget<HvTable>("table")->setCurrentCell(1, 0);
        window.refreshDisplay();
        QCOMPARE(window.widget<QLabel>("lblVRampSpeed")->text(), QStringLiteral("2.000 %/s"));
        QCOMPARE(window.widget<QLabel>("lblIRampSpeed")->text(), QStringLiteral("3.000 %/s"));
        QCOMPARE(window.widget<QLabel>("lblSerial")->text(), QStringLiteral("4712"));
        QCOMPARE(window.widget<QLabel>("lblChanTable")->text(), QStringLiteral("Status Channel 1"));
        module.setFirmwareName(QStringLiteral("GLW802"));
        window.refreshDisplay();
        QCOMPARE(window.widget<QLabel>("lblVRampSpeed")->text(), QStringLiteral("2.00 V/s"));
    }

    void partialRefreshShowsWhatAFullOneShows_data()
    {
        QTest::addColumn<QByteArray>("identity");
        QTest::addColumn<QByteArray>("firmware");
        QTest::addColumn<int>("channels");
        QTest::newRow("KA2F") << QByteArray("Vornwerk GmbH,KA2F840p,7100001,2.07")
                              << QByteArray("KA2F8;2.07") << 4;
        QTest::newRow("TX01B0") << QByteArray("Vornwerk GmbH,TX01B0315n,2,5.14")
                                << QByteArray("TX01B0;5.14") << 1;
        QTest::newRow("TX01B1") << QByteArray("Vornwerk GmbH,TX01B1315p,3,2.26")
                                << QByteArray("TX01B1;2.26") << 1;
        QTest::newRow("TX02B0") << QByteArray("Vornwerk GmbH,TX02B0620p,4,3.10")
                                << QByteArray("TX02B0;3.10") << 2;
        QTest::newRow("DRSB") << QByteArray("Vornwerk GmbH,DRSB140r,5,4.08")
                              << QByteArray("DRSB;4.08") << 1;
        QTest::newRow("GLW802") << QByteArray("Vornwerk GmbH,GLW802305p,6,2.10")
                                << QByteArray("GLW802;2.10") << 8;
        QTest::newRow("WD7A0") << QByteArray("Vornwerk GmbH,WD7A0120p,7,1.12")
                               << QByteArray("WD7A0;1.12") << 1;
        QTest::newRow("TQ88812p0000")
            << QByteArray("Vornwerk GmbH,TQ88812p0000,4711,3.02") << QByteArray("TQ888;3.02") << 1;
    }

    // Each answer's refresh looks only at what the answer can have changed, and writes only
    // cells whose texts change. A second window fed the same answers forgets what it shows
    // and refreshes everything after each one: both must show the same.
    void partialRefreshShowsWhatAFullOneShows()
    {
        QFETCH(QByteArray, identity);
        QFETCH(QByteArray, firmware);
        QFETCH(int, channels);
        TestWindow partial, full;
        for (TestWindow *window : { &partial, &full }) {
            window->widget<QTabWidget>("tabInterfaces")->setCurrentIndex(1);
            window->widget<QPushButton>("buttonConnect")->click();
            QVERIFY(window->fakeLink());
        }
        QObject::disconnect(
            full.session(), &ModuleSession::answerProcessed, &full, &EthControl::refreshDisplay);
        for (int step = 0; step < 150; ++step) {
            for (TestWindow *window : { &partial, &full }) {
                FakeLink *link = window->fakeLink();
                if (step == 60) // writes the control word at once, before its read-back
                    link->setChannelOn(true, channels - 1);
                if (step == 90)
                    window->widget<HvTable>("table")->setCurrentCell(channels - 1, 0);
                link->feed(answerTo(link->lastCode(), step, channels, identity, firmware));
            }
            full.findChild<DisplayRefresh *>()->reset();
            full.refreshDisplay();
            QCOMPARE(shown(partial), shown(full));
        }
        QCOMPARE(partial.widget<HvTable>("table")->rowCount(), channels);
        QCOMPARE(partial.widget<QLabel>("lblFirmwareName")->text(),
            QString::fromLatin1(firmware.left(firmware.indexOf(';'))));
    }

    void disconnectAndExitBehaviour_data()
    {
        QTest::addColumn<int>("behaviour");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("asked");
        QTest::addColumn<bool>("rampedDown");
        QTest::addColumn<bool>("disconnected");
        QTest::newRow("ask, yes") << 0 << int(QMessageBox::Yes) << true << true << true;
        QTest::newRow("ask, no") << 0 << int(QMessageBox::No) << true << false << true;
        QTest::newRow("ask, cancel") << 0 << int(QMessageBox::Cancel) << true << false << false;
        QTest::newRow("always ramp down") << 1 << 0 << false << true << true;
        QTest::newRow("never ramp down") << 7 << 0 << false << false << true;
    }

    void disconnectAndExitBehaviour()
    {
        QFETCH(int, behaviour);
        QFETCH(int, answer);
        QFETCH(bool, rampedDown);
        QFETCH(bool, disconnected);
        TemporarySettings::open().setValue(QStringLiteral("OnExitBehaviour"), behaviour);
        TestWindow window;
        connectFake(window, 4);
        QPointer<FakeLink> link = window.fakeLink();
        const int sentBefore = link->sent.size();
        QuestionAnswerer answerer(static_cast<QMessageBox::StandardButton>(answer));
        window.widget<QPushButton>("buttonDisconnect")->click();
        QTEST(!answerer.question.isEmpty(), "asked");
        if (!answerer.question.isEmpty()) {
            QCOMPARE(answerer.question, QStringLiteral("Ramp down all high voltages?"));
            QCOMPARE(answerer.title, QStringLiteral("Vorn SCPI Control"));
        }
        QCOMPARE(link->isStopped(), disconnected);
        QCOMPARE(link->sent.size() > sentBefore && link->lastSent().startsWith(":VOLT OFF,(@0-3)"),
            rampedDown);
        if (disconnected)
            QTRY_VERIFY(link.isNull());
        else
            QVERIFY(!QTest::qWaitFor([&link] { return link.isNull(); }, 700));
    }

    void closeRequest()
    {
        TemporarySettings::open().setValue(QStringLiteral("OnExitBehaviour"), 1);
        {
            // Not connected: no link to ramp down, the program ends 500 ms later.
            TestWindow window;
            window.show();
            QVERIFY(!window.close());
            QVERIFY(window.isVisible());
            QVERIFY(quitsWithin(3000));
        }
        TestWindow window;
        window.show();
        connectFake(window, 4);
        QPointer<FakeLink> link = window.fakeLink();
        QSignalSpy stops(&window, &EthControl::stopRefresh);
        QVERIFY(!window.close());
        // The Disconnect handler's and the close request's own: the request stops it in every case.
        QCOMPARE(stops.size(), 2);
        QVERIFY(link->lastSent().startsWith(":VOLT OFF"));
        // A second request closes at once.
        QVERIFY(window.close());
        QVERIFY(!window.isVisible());
    }

    void refusedOpen()
    {
        TestWindow window;
        window.fake = false;
        auto *ports = window.findChild<QComboBox *>(QStringLiteral("serialPortList"));
        ports->addItem(QStringLiteral("/nonexistent/ttyVORN"));
        ports->setCurrentIndex(ports->count() - 1);
        window.widget<QTabWidget>("tabInterfaces")->setCurrentIndex(0);
        window.widget<QPushButton>("buttonConnect")->click();
        QCOMPARE(window.statusLabel()->text(), QStringLiteral("Can not connect to device!"));
        QCOMPARE(window.statusLabel()->styleSheet(), QStringLiteral("color: red"));
        QVERIFY(!window.currentLink());
        QVERIFY(window.widget<QPushButton>("buttonConnect")->isEnabled());
        QVERIFY(!TemporarySettings::open().contains(QStringLiteral("SelectedTab")));
        QTRY_COMPARE_WITH_TIMEOUT(
            window.statusLabel()->text(), QStringLiteral("Not connected."), 8000);
    }

    void discoveryWritesTheSender()
    {
        TestWindow window; // its scans go to the discard port on loopback
        window.widget<QAction>("actionScanForIpAddress")->trigger();
        QCOMPARE(window.networkDiscovery()->boundPort(), quint16(8000));
        QUdpSocket module;
        QVERIFY(module.bind(QHostAddress(QStringLiteral("127.0.0.4")), 0));
        module.writeDatagram(QByteArray("x"), QHostAddress::LocalHost, 8000);
        QTRY_COMPARE(window.widget<QLineEdit>("edtIpAddress")->text(), QStringLiteral("127.0.0.4"));
    }
};

QTEST_MAIN(TestEthControl)
#include "tst_ethcontrol.moc"
