// The events a module holds while the broker is away: bounded, alarms kept before the rest.
#include "heldevents.h"

#include <QTest>

Q_DECLARE_METATYPE(HeldEvents::Counts)

class TestHeldEvents : public QObject
{
    Q_OBJECT

private slots:
    void dropsTheLeastFirst_data()
    {
        // Entries "i1", "w2", "a3": severity (info, warning, alarm) and a number; three are held.
        QTest::addColumn<QByteArray>("appended");
        QTest::addColumn<QByteArray>("held");
        QTest::addColumn<HeldEvents::Counts>("dropped");
        QTest::newRow("room for all")
            << QByteArray("i1 a2") << QByteArray("i1 a2") << HeldEvents::Counts {};
        // Before, the oldest went whatever it was, and a flood of info entries pushed alarms out.
        QTest::newRow("alarms stay in a flood of info")
            << QByteArray("a1 i2 a3 i4 i5 i6") << QByteArray("a1 a3 i6")
            << HeldEvents::Counts { 3, 0, 0 };
        QTest::newRow("warnings go before alarms")
            << QByteArray("w1 a2 w3 a4 a5") << QByteArray("a2 a4 a5")
            << HeldEvents::Counts { 0, 2, 0 };
        QTest::newRow("an info entry among alarms is not kept") << QByteArray(
            "a1 a2 a3 i4") << QByteArray("a1 a2 a3") << HeldEvents::Counts { 1, 0, 0 };
        QTest::newRow("only alarms: the oldest goes") << QByteArray(
            "a1 a2 a3 a4") << QByteArray("a2 a3 a4") << HeldEvents::Counts { 0, 0, 1 };
    }
    void dropsTheLeastFirst()
    {
        QFETCH(QByteArray, appended);
        QFETCH(QByteArray, held);
        HeldEvents events(3);
        for (const QByteArray &entry : appended.split(' ')) {
            const Severity severity = entry.startsWith('a') ? Severity::Alarm
                : entry.startsWith('w')                     ? Severity::Warning
                                                            : Severity::Info;
            events.append(severity, entry);
        }
        QByteArrayList kept;
        while (!events.isEmpty()) {
            kept << events.first();
            events.removeFirst();
        }
        QCOMPARE(kept.join(' '), held);
        QTEST(events.takeDropped(), "dropped");
        QCOMPARE(events.dropped(), HeldEvents::Counts {});
    }
};

QTEST_GUILESS_MAIN(TestHeldEvents)
#include "tst_heldevents.moc"
