// What the command input dialogs ask and allow, and the staircase and filter choices, without
// a window.
#include "configuration.h"
#include "ethcontrol_commands.h"
#include "module.h"

#include <QTest>

class TestCommandInputs : public QObject
{
    Q_OBJECT

private:
    Configuration config { nullptr, QStringLiteral("Vornwerk GmbH"), nullptr };

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void channelVoltageRange_data()
    {
        QTest::addColumn<float>("nominal");
        QTest::addColumn<bool>("epu");
        QTest::addColumn<double>("minimum");
        QTest::addColumn<double>("maximum");
        QTest::newRow("positive") << 6000.0f << false << 0.0 << 6000.0;
        QTest::newRow("bipolar") << 6000.0f << true << -6000.0 << 6000.0;
        QTest::newRow("negative module") << -3000.0f << false << -3000.0 << 3000.0;
    }
    void channelVoltageRange()
    {
        QFETCH(float, nominal);
        QFETCH(bool, epu);
        QFETCH(double, minimum);
        QFETCH(double, maximum);
        Module module(64);
        module.setChannelCount(1);
        module.channel(0).setVoltageNominal(nominal);
        module.channel(0).setEpu(epu);
        const auto prompt = CommandInputs::channelVoltage(module, config, 0);
        QCOMPARE(prompt.minimum, minimum);
        QCOMPARE(prompt.maximum, maximum);
    }

    void allVoltagesNote_data()
    {
        QTest::addColumn<QList<float>>("nominals");
        QTest::addColumn<QString>("label");
        QTest::addColumn<double>("minimum");
        const QString head = QStringLiteral("Input a voltage (Vset: %1 V) for all channels:");
        QTest::newRow("equal") << QList<float> { 500, 500 } << head.arg("0.00...500.00") << 0.0;
        QTest::newRow("one smaller")
            << QList<float> { 500, 2000, 500 }
            << head.arg("0.00...2,000.00") + "\n\nNote: some channels will only allow 500.00 V."
            << 0.0;
        QTest::newRow("all negative")
            << QList<float> { -500, -500 } << head.arg("-500.00...500.00") << -500.0;
    }
    void allVoltagesNote()
    {
        QFETCH(QList<float>, nominals);
        QFETCH(QString, label);
        QFETCH(double, minimum);
        Module module(64);
        module.setChannelCount(int(nominals.size()));
        for (int i = 0; i < nominals.size(); ++i)
            module.channel(i).setVoltageNominal(nominals.at(i));
        const auto prompt = CommandInputs::allVoltages(module, config, 0);
        QCOMPARE(prompt.label, label);
        QCOMPARE(prompt.minimum, minimum);
    }

    void voltageRampMaximum_data()
    {
        QTest::addColumn<float>("nominal");
        QTest::addColumn<double>("maximum");
        QTest::newRow("6 kV") << 6000.0f << 3000.0;
        QTest::newRow("20 kV") << 20000.0f << 4000.0;
    }
    void voltageRampMaximum()
    {
        QFETCH(float, nominal);
        QFETCH(double, maximum);
        Module module(64);
        module.setFirmwareName(QStringLiteral("GLW802"));
        module.setChannelCount(1);
        module.channel(0).setVoltageNominal(nominal);
        QCOMPARE(CommandInputs::voltageRamp(module, config).maximum, maximum);
    }

    void staircase_data()
    {
        QTest::addColumn<float>("top");
        QTest::addColumn<bool>("falling");
        QTest::addColumn<QVector<float>>("voltages");
        QTest::newRow("6000 V rising")
            << 6000.0f << false << QVector<float> { 5700, 5800, 5900, 6000 };
        QTest::newRow("6000 V falling")
            << 6000.0f << true << QVector<float> { 6000, 5900, 5800, 5700 };
        QTest::newRow("300 V rising") << 300.0f << false << QVector<float> { 75, 150, 225, 300 };
        QTest::newRow("300 V falling") << 300.0f << true << QVector<float> { 300, 225, 150, 75 };
    }
    void staircase()
    {
        QFETCH(float, top);
        QFETCH(bool, falling);
        QFETCH(QVector<float>, voltages);
        QCOMPARE(CommandInputs::staircase(4, top, falling), voltages);
    }

    void filterPreselection_data()
    {
        QTest::addColumn<int>("average");
        QTest::addColumn<QString>("step");
        QTest::newRow("1") << 1 << "1";
        QTest::newRow("64") << 64 << "64";
        QTest::newRow("1024") << 1024 << "1024";
        QTest::newRow("unknown") << 100 << "64";
        QTest::newRow("none yet") << 0 << "64";
    }
    void filterPreselection()
    {
        QFETCH(int, average);
        QFETCH(QString, step);
        QCOMPARE(CommandInputs::filterSteps().at(CommandInputs::filterPreselection(average)), step);
    }

    void displayNumberInGermanLocale()
    {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        const double value = CommandInputs::displayNumber(config.voltageText(12345.5f));
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        QCOMPARE(value, 12345.5);
        QCOMPARE(CommandInputs::displayNumber(QStringLiteral("n.a.")), 0.0);
    }
};

QTEST_GUILESS_MAIN(TestCommandInputs)
#include "tst_commandinputs.moc"
