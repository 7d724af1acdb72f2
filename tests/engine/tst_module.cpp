#include "module.h"

#include <QSignalSpy>
#include <QTest>

class tst_Module : public QObject
{
    Q_OBJECT

private slots:
    void construction();
    void isPercentBased_data();
    void isPercentBased();
    void interlockEmitsOnChangeOnly();
    void outputIgnoresBadIndex();
    void emissionSettersEmitOnChangeOnly();
};

void tst_Module::construction()
{
    Module module(64);
    QCOMPARE(module.recordCount(), 64);
    QCOMPARE(module.channel(63).index(), 63);
    QCOMPARE(module.temperature(), 0.0f);
    QCOMPARE(module.voltageIncrement(), 1.0f);
    QVERIFY(module.firmwareName().isEmpty());
    QVERIFY(!module.channel(5).epu());

    // Records beyond the reported channel count keep their construction state.
    module.setChannelCount(4);
    QCOMPARE(module.channel(10).voltageSet(), 0.0f);

    QCOMPARE(Module(0).recordCount(), 0);
    QCOMPARE(Module(-3).recordCount(), 0);
}

void tst_Module::isPercentBased_data()
{
    QTest::addColumn<QString>("firmware");
    QTest::addColumn<int>("channels");
    QTest::addColumn<bool>("expected");
    QTest::newRow("empty") << "" << 4 << false;
    QTest::newRow("DRSB") << "DRSB" << 1 << true;
    QTest::newRow("KA2F") << "KA2F" << 4 << true;
    QTest::newRow("lower-case ka") << "ka2F" << 4 << false;
    QTest::newRow("TX02B0 two channels") << "TX02B0" << 2 << true;
    QTest::newRow("TX02B0 one channel") << "TX02B0" << 1 << false;
    QTest::newRow("TX01B0") << "TX01B0" << 2 << false;
    QTest::newRow("GLW802") << "GLW802" << 8 << false;
}

void tst_Module::isPercentBased()
{
    QFETCH(QString, firmware);
    QFETCH(int, channels);
    QFETCH(bool, expected);
    Module module(64);
    module.setFirmwareName(firmware);
    module.setChannelCount(channels);
    QCOMPARE(module.isPercentBased(), expected);
}

void tst_Module::interlockEmitsOnChangeOnly()
{
    Module module(1);
    QSignalSpy spy(&module, &Module::interlockChanged);
    QVERIFY(spy.isValid());
    module.setInterlock(0);
    QCOMPARE(spy.count(), 0);
    module.setInterlock(5);
    module.setInterlock(5);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toInt(), 5);
    QCOMPARE(module.interlock(), 5);
}

void tst_Module::outputIgnoresBadIndex()
{
    Module module(1);
    QSignalSpy spy(&module, &Module::outputChanged);
    QVERIFY(spy.isValid());
    module.setOutput(static_cast<Module::Output>(3), 7);
    QCOMPARE(spy.count(), 0);
    QCOMPARE(module.output(static_cast<Module::Output>(3)), 0);
    module.setOutput(Module::FilamentOutput, 2);
    module.setOutput(Module::FilamentOutput, 2);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(module.output(Module::FilamentOutput), 2);
}

void tst_Module::emissionSettersEmitOnChangeOnly()
{
    Module module(1);
    QSignalSpy p(&module, &Module::emissionParameterPChanged);
    QSignalSpy max(&module, &Module::filamentMaximumChanged);
    QVERIFY(p.isValid() && max.isValid());
    module.setEmissionParameterP(0.5f);
    module.setEmissionParameterP(0.5f);
    QCOMPARE(p.count(), 1);
    QCOMPARE(p.at(0).at(0).toFloat(), 0.5f);
    module.setFilamentMaximum(0.0f);
    QCOMPARE(max.count(), 0);
    module.setFilamentMaximum(2.5f);
    QCOMPARE(max.count(), 1);
    QCOMPARE(module.filamentMaximum(), 2.5f);
}

QTEST_GUILESS_MAIN(tst_Module)
#include "tst_module.moc"
