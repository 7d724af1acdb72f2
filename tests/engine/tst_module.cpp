#include "module.h"

#include <QSignalSpy>
#include <QTest>

class tst_Module : public QObject
{
    Q_OBJECT

private slots:
    void isPercentBased_data();
    void isPercentBased();
    void changeSignalsOnlyOnChange();
};

void tst_Module::isPercentBased_data()
{
    QTest::addColumn<QString>("firmware");
    QTest::addColumn<int>("channels");
    QTest::addColumn<bool>("expected");
    QTest::newRow("DRSB") << "DRSB" << 1 << true;
    QTest::newRow("KA2F") << "KA2F" << 4 << true;
    QTest::newRow("lower-case ka") << "ka2F" << 4 << false;
    QTest::newRow("TX02B0 two channels") << "TX02B0" << 2 << true;
    QTest::newRow("TX02B0 one channel") << "TX02B0" << 1 << false;
    QTest::newRow("TX01B0") << "TX01B0" << 2 << false;
}

void tst_Module::isPercentBased()
{
    QFETCH(QString, firmware);
    QFETCH(int, channels);
    Module module(64);
    module.setFirmwareName(firmware);
    module.setChannelCount(channels);
    QTEST(module.isPercentBased(), "expected");
}

void tst_Module::changeSignalsOnlyOnChange()
{
    // The filament dialogs rewrite their controls on these signals, so a value polled again
    // unchanged must not emit.
    Module module(1);
    QSignalSpy interlock(&module, &Module::interlockChanged);
    QSignalSpy output(&module, &Module::outputChanged);
    QSignalSpy maximum(&module, &Module::filamentMaximumChanged);
    QVERIFY(interlock.isValid() && output.isValid() && maximum.isValid());
    float seen = 0;
    connect(&module, &Module::filamentMaximumChanged, &module,
        [&] { seen = module.filamentMaximum(); });

    module.setInterlock(0); // the initial values
    module.setFilamentMaximum(0.0f);
    for (int i = 0; i < 2; ++i) {
        module.setInterlock(5);
        module.setOutput(Module::FilamentOutput, 2);
        module.setOutput(static_cast<Module::Output>(3), 7); // no such output: ignored
        module.setFilamentMaximum(2.5f);
    }
    QCOMPARE(interlock.count(), 1);
    QCOMPARE(interlock.at(0).at(0).toInt(), 5);
    QCOMPARE(output.count(), 1);
    QCOMPARE(module.output(Module::FilamentOutput), 2);
    QCOMPARE(module.output(static_cast<Module::Output>(3)), 0);
    QCOMPARE(maximum.count(), 1);
    QCOMPARE(seen, 2.5f); // a receiver already reads the new value
}

QTEST_GUILESS_MAIN(tst_Module)
#include "tst_module.moc"
