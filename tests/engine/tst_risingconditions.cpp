#include "czelkchannelstatusbits.h"
#include "czelkmodulestatusbits.h"
#include "risingconditions.h"

#include <QTest>

class tst_RisingConditions : public QObject
{
    Q_OBJECT

private slots:
    void between_data()
    {
        QTest::addColumn<quint16>("statusBefore");
        QTest::addColumn<quint16>("eventsBefore");
        QTest::addColumn<quint16>("status");
        QTest::addColumn<quint16>("events");
        QTest::addColumn<quint16>("health");
        QTest::addColumn<quint16>("byStatus");
        QTest::addColumn<quint16>("byEvent");
        const quint16 trip = CZelkChannelStatusBits::Trip;
        const quint16 none = 0;
        QTest::newRow("status bit rises") << none << none << trip << none << none << trip << none;
        QTest::newRow("its event one answer later")
            << trip << none << trip << trip << none << none << none;
        QTest::newRow("its event one answer later, the status bit gone")
            << trip << none << none << trip << none << none << none;
        QTest::newRow("came and went between readings")
            << none << none << none << trip << none << none << trip;
        QTest::newRow("again, its event still latched")
            << none << trip << trip << trip << none << trip << none;
        QTest::newRow("stays") << trip << trip << trip << trip << none << none << none;

        const quint16 health = CZelkModuleStatusBits::HealthBits;
        const quint16 loop = CZelkModuleStatusBits::SafetyLoopGood;
        const quint16 good = health;
        const quint16 open = health & ~loop;
        QTest::newRow("health bit falls") << good << none << open << none << health << loop << none;
        QTest::newRow("health event, the bit good before and now")
            << good << none << good << loop << health << none << loop;
        QTest::newRow("health event one answer after its bit fell")
            << open << none << open << loop << health << none << none;
        QTest::newRow("health bit comes back")
            << open << loop << good << loop << health << none << none;
    }
    void between()
    {
        QFETCH(quint16, statusBefore);
        QFETCH(quint16, eventsBefore);
        QFETCH(quint16, status);
        QFETCH(quint16, events);
        QFETCH(quint16, health);
        const RisingConditions rising
            = RisingConditions::between({ statusBefore, eventsBefore }, { status, events }, health);
        QTEST(rising.byStatus, "byStatus");
        QTEST(rising.byEvent, "byEvent");
    }
};

QTEST_APPLESS_MAIN(tst_RisingConditions)
#include "tst_risingconditions.moc"
