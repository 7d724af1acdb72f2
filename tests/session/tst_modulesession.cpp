// The module session: opening, the watchdog, reconnection by policy, online and offline.
#include "enginedriver.h"
#include "linkreason.h"
#include "modulesession.h"
#include "pacedlink.h"

#include <QElapsedTimer>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>

namespace {
/// A link whose medium cannot be opened; counts the calls that close it.
class RefusingLink : public FakeLink
{
public:
    RefusingLink(QObject *parent, int *closed)
        : FakeLink(parent)
        , m_closed(closed)
    {
    }
    bool connectDevice() override { return false; }
    void disconnectDevice() override { ++*m_closed; }

private:
    int *m_closed;
};

using State = ModuleSession::State;
} // namespace

class tst_ModuleSession : public QObject
{
    Q_OBJECT

    ModuleSession session;
    bool refuse = false;
    int made = 0;
    int closed = 0;

    FakeLink *link() const { return static_cast<FakeLink *>(session.link()); }

private slots:
    void init()
    {
        refuse = false;
        made = 0;
        closed = 0;
        session.setLinkFactory([this](const LinkSettings &, QObject *parent) -> SCPI_Parser * {
            ++made;
            return refuse ? new RefusingLink(parent, &closed) : new FakeLink(parent);
        });
        session.setReconnectPolicy({ false, 50, 200 });
    }
    void cleanup() { session.disconnectFromModule(); }

    void openFailure_data()
    {
        QTest::addColumn<bool>("retry");
        QTest::addColumn<int>("state");
        QTest::newRow("no reconnection") << false << int(State::Idle);
        QTest::newRow("reconnection") << true << int(State::Reconnecting);
    }
    void openFailure()
    {
        QFETCH(bool, retry);
        QFETCH(int, state);
        refuse = true;
        session.setReconnectPolicy({ retry, 50, 200 });
        QSignalSpy failed(&session, &ModuleSession::openFailed);
        QSignalSpy links(&session, &ModuleSession::linkChanged);
        QVERIFY(!session.connectTo(LinkSettings { LinkSettings::Kind::Gpib, {}, {}, 0, 7 }));
        QCOMPARE(failed.count(), 1);
        QCOMPARE(failed.at(0).at(0).toString(), QStringLiteral("can not open gpib 7"));
        QCOMPARE(closed, 1); // regression: the link went without its medium being closed
        QCOMPARE(int(session.state()), state);
        QVERIFY(!session.link());
        QCOMPARE(links.count(), 0); // a link that never opened is never announced
        if (!retry)
            return;
        // Each attempt fails again; the pause doubles up to the policy's longest.
        QList<int> pauses;
        while (pauses.size() < 3) {
            QVERIFY(failed.wait(1000));
            pauses.append(session.nextPauseMs());
        }
        QCOMPARE(pauses, QList<int>({ 100, 200, 200 }));
        QCOMPARE(session.attempts(), 3);
        // The module comes back: the attempt's link answers, and the attempts end; once it is
        // online, the pause starts again at the first.
        refuse = false;
        QTRY_VERIFY_WITH_TIMEOUT(link(), 1000);
        QCOMPARE(session.state(), State::Reconnecting);
        EngineDriver::start(*link(), "KA2F0", "KA2F", "2.10", 4);
        QCOMPARE(session.state(), State::Connected);
        QCOMPARE(session.attempts(), 0);
        for (int i = 0; i < 12; ++i)
            EngineDriver::answer(*link());
        QVERIFY(session.isOnline());
        QCOMPARE(session.nextPauseMs(), 50);
        session.stopReconnecting();
        QVERIFY(link());
    }

    void onlineAfterOneCycleOfflineOnLoss()
    {
        session.setReconnectPolicy({ true, 50, 200 });
        QSignalSpy online(&session, &ModuleSession::online);
        QSignalSpy offline(&session, &ModuleSession::offline);
        QSignalSpy answers(&session, &ModuleSession::answerProcessed);
        const quint64 before = session.answerCount();
        QVERIFY(session.connectTo(LinkSettings()));
        QCOMPARE(session.state(), State::Connecting);
        EngineDriver::start(*link(), "KA2F0", "KA2F", "2.10", 4);
        QCOMPARE(session.state(), State::Connected);
        QVERIFY(!session.isOnline());
        for (int i = 0; i < 12; ++i)
            EngineDriver::answer(*link());
        QVERIFY(session.isOnline());
        QCOMPARE(online.count(), 1);
        QCOMPARE(quint64(answers.count()), session.answerCount() - before);

        const quint16 pending = link()->pendingRequest();
        QTest::ignoreMessage(QtDebugMsg,
            qPrintable(
                QStringLiteral("Connection lost due to timeout while requesting %1").arg(pending)));
        QSignalSpy lost(&session, &ModuleSession::connectionLost);
        session.expireWatchdog();
        QCOMPARE(lost.count(), 1);
        QCOMPARE(offline.count(), 1);
        QCOMPARE(offline.at(0).at(0).toString(), LinkReason::timeout(pending));
        QCOMPARE(lost.at(0).at(0).toString(), LinkReason::timeout(pending));
        QCOMPARE(session.state(), State::Reconnecting);
        QTRY_COMPARE_WITH_TIMEOUT(made, 2, 1000);
    }

    void watchdogWaitsForTheLastAnswer()
    {
        QSignalSpy lost(&session, &ModuleSession::connectionLost);
        QVERIFY(session.connectTo(LinkSettings()));
        QTest::qWait(3000);
        link()->feed(EngineDriver::identity("KA2F0", "2.10", 4));
        // 4 s after the connection the answer 1 s ago keeps it.
        QTest::qWait(2000);
        QCOMPARE(lost.count(), 0);
        QTest::ignoreMessage(QtDebugMsg,
            QRegularExpression(QStringLiteral("^Connection lost due to timeout while requesting")));
        QVERIFY(lost.wait(3000));
        QCOMPARE(session.state(), State::Idle);
        QVERIFY(!session.link());
    }

    // A paced link: after a whole cycle the request that starts the next one waits for the
    // period, through a pause longer than the watchdog too; a command ends the pause. The module
    // is online once its first cycle has been answered.
    void cyclePeriod_data()
    {
        QTest::addColumn<int>("periodMs");
        QTest::addColumn<bool>("command");
        QTest::newRow("as fast as answered") << 0 << false;
        QTest::newRow("paused") << 300 << false;
        QTest::newRow("paused longer than the watchdog")
            << ModuleSession::WatchdogMs + 500 << false;
        QTest::newRow("a command ends the pause") << 60000 << true;
    }
    void cyclePeriod()
    {
        QFETCH(int, periodMs);
        QFETCH(bool, command);
        session.setLinkFactory([this](const LinkSettings &, QObject *parent) -> SCPI_Parser * {
            return new PacedLink<FakeLink>(&session, parent);
        });
        session.setCyclePeriod(periodMs);
        QSignalSpy online(&session, &ModuleSession::online);
        QSignalSpy lost(&session, &ModuleSession::connectionLost);
        QElapsedTimer clock;
        clock.start();
        QVERIFY(session.connectTo(LinkSettings()));
        EngineDriver::start(*link(), "KA2F0", "KA2F", "2.10", 4);
        const quint64 cycles = session.cycleCount();
        qsizetype sent = 0;
        do { // the first cycle, up to the start of the second
            sent = link()->sent.size();
            EngineDriver::answer(*link());
        } while (link()->sent.size() > sent && link()->lastCode() != SCPI_Parser::ReadVoltageSet);
        QCOMPARE(session.cycleCount(), cycles + 1);
        QCOMPARE(online.count(), 1);
        QCOMPARE(session.isPausing(), periodMs > 0);
        QCOMPARE(link()->lastCode() == SCPI_Parser::ReadVoltageSet, periodMs == 0);
        if (command) {
            link()->setVoltage(10.0f, 0);
            session.releaseCycle();
            QCOMPARE(link()->lastSent(), QStringLiteral(":READ:VOLT? (@0-3)\r\n"));
            EngineDriver::answer(*link());
            QVERIFY(link()->lastSent().startsWith(QLatin1String(":VOLT 10")));
            return;
        }
        QTRY_COMPARE_WITH_TIMEOUT(
            link()->lastCode(), quint16(SCPI_Parser::ReadVoltageSet), periodMs + 5000);
        QVERIFY(clock.elapsed() >= periodMs);
        QCOMPARE(lost.count(), 0);
        QVERIFY(!session.isPausing());
    }

    void disconnectFromInsideAnAnswer()
    {
        QVERIFY(session.connectTo(LinkSettings()));
        QPointer<SCPI_Parser> first = session.link();
        QSignalSpy links(&session, &ModuleSession::linkChanged);
        connect(
            &session, &ModuleSession::answerProcessed, this,
            [this] { session.disconnectFromModule(); }, Qt::SingleShotConnection);
        link()->feed(EngineDriver::identity("KA2F0", "2.10", 4));
        QCOMPARE(session.state(), State::Idle);
        QCOMPARE(links.count(), 1);
        QVERIFY(first); // deleted once the link's own signal has returned
        QTRY_VERIFY(!first);
    }
};

QTEST_GUILESS_MAIN(tst_ModuleSession)
#include "tst_modulesession.moc"
