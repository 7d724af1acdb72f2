// The tool windows in the main window: their menu entries, and both tools following a reconnection
// without touching the deleted link.
#include "consolewindow.h"
#include "enginedriver.h"
#include "trendwindow.h"
#include "windowtestsupport.h"

#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

class tst_ToolsWindow : public QObject
{
    Q_OBJECT

private slots:
    void toolsFollowAReconnection()
    {
        TestWindow window;
        const QList<QAction *> entries = window.widget<QMenu>("menuModule")->actions();
        QCOMPARE(entries.last()->text(), QStringLiteral("&Sequence..."));
        QCOMPARE(entries.at(entries.size() - 2)->objectName(), QStringLiteral("actionScpiConsole"));
        QCOMPARE(entries.at(entries.size() - 2)->text(), QStringLiteral("SCPI &Console..."));
        QCOMPARE(entries.at(entries.size() - 3)->text(), QStringLiteral("&Trend..."));
        // The trend and the sequences open without a connection, the console only with one.
        QVERIFY(entries.last()->isEnabled());
        QVERIFY(!window.widget<QAction>("actionScpiConsole")->isEnabled());
        QVERIFY(window.widget<QAction>("actionTrend")->isEnabled());
        connectFake(window);
        window.widget<QAction>("actionScpiConsole")->trigger();
        window.widget<QAction>("actionTrend")->trigger();
        auto *console = window.findChild<ConsoleWindow *>();
        auto *trend = window.findChild<TrendWindow *>();
        QVERIFY(console && console->isVisible() && trend && trend->isVisible());
        const qint64 t0 = 1'700'000'000'000;
        trend->sample(t0);

        console->submitLine(QStringLiteral("*IDN?"));
        answerUntilConsoleLine(window);
        QCOMPARE(window.fakeLink()->lastCode(), quint16(SCPI_Parser::ConsoleLine));
        console->submitLine(QStringLiteral("*IDN?"));
        disconnect(window);
        QVERIFY(!window.widget<QAction>("actionScpiConsole")->isEnabled());
        QVERIFY(console->transcript().contains(QLatin1String("Connection lost")));
        QVERIFY(console->transcript().contains(QLatin1String("Not sent: *IDN?")));
        // The trend's own timer samples too while the question box waits: count from here.
        const int kept = trend->buffer().size();
        trend->sample(t0 + 100);
        QCOMPARE(trend->buffer().size(), kept);

        connectFake(window);
        trend->sample(t0 + 200);
        QVERIFY(trend->buffer().size() > kept);
        console->submitLine(QStringLiteral(":VOLT 1,(@0)"));
        answerUntilConsoleLine(window);
        QCOMPARE(window.fakeLink()->lastSent(), QStringLiteral(":VOLT 1,(@0);*OPC?\r\n"));
        window.fakeLink()->feed("1\r\n");
        QVERIFY(console->transcript().endsWith(QLatin1String("< 1")));
    }

private:
    void connectFake(TestWindow &window)
    {
        window.widget<QTabWidget>("tabInterfaces")->setCurrentIndex(1);
        window.widget<QPushButton>("buttonConnect")->click();
        QVERIFY(window.fakeLink());
        window.fakeLink()->module().setChannelCount(2);
        for (int i = 0; i < 16 && !window.isConnectedToModule(); ++i)
            window.refreshDisplay();
        QVERIFY(window.isConnectedToModule());
    }
    void disconnect(TestWindow &window)
    {
        QuestionAnswerer answerer(QMessageBox::No);
        window.widget<QPushButton>("buttonDisconnect")->click();
        QTRY_VERIFY(!window.currentLink());
    }
    /// Answers the fake link's requests until it writes a console line.
    void answerUntilConsoleLine(TestWindow &window)
    {
        FakeLink *link = window.fakeLink();
        link->feed(EngineDriver::identity("KA2F0", "2.10", 2));
        for (int i = 0; i < 40 && link->lastCode() != SCPI_Parser::ConsoleLine; ++i)
            EngineDriver::answer(*link);
    }

    TemporarySettings settings;
};

QTEST_MAIN(tst_ToolsWindow)
#include "tst_toolswindow.moc"
