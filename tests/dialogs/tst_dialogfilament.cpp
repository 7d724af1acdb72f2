// The supplies, input/output and emission dialogs: what they show and what they send.
#include "dialogemissionparameters.h"
#include "dialoginputoutput.h"
#include "dialogsuppliestemplimits.h"
#include "dialogtestsupport.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QLCDNumber>
#include <QLabel>
#include <QRadioButton>
#include <QtTest>

class tst_DialogFilament : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }
    void init() { QTest::failOnWarning(QRegularExpression(QStringLiteral("connectSlotsByName"))); }

    void suppliesRelabel_data()
    {
        QTest::addColumn<QString>("firmware");
        QTest::addColumn<QString>("p12");
        QTest::addColumn<QString>("n12");
        const auto row = [](const char *firmware, const char *p12, const char *n12) {
            QTest::newRow(firmware) << firmware << p12 << n12;
        };
        row("KA2F01", "Vcc +24 (V)", "Vcc -24 (V)");
        row("E08DRSB", "Vcc +24 (V)", "Vcc -12 (V)");
        row("E08KA2F", "Vcc +12 (V)", "Vcc -12 (V)"); // KA2F inside the name
        row("ka2f", "Vcc +12 (V)", "Vcc -12 (V)");
    }
    void suppliesRelabel()
    {
        QFETCH(QString, firmware);
        QFETCH(QString, p12);
        QFETCH(QString, n12);
        DialogSuppliesTempLimits dialog;
        dialog.updateSuppliesTempLimits(5.1, 24.2, 12.3, -12.4, 33.5, 100, 90, firmware);
        QCOMPARE(child<QLabel>(&dialog, "lblP12")->text(), p12);
        QCOMPARE(child<QLabel>(&dialog, "lblN12")->text(), n12);
        QCOMPARE(child<QLCDNumber>(&dialog, "lcdN12")->value(), -12.4);
        QCOMPARE(child<QLCDNumber>(&dialog, "lcdTemp")->value(), 33.5);
    }
    void outputFromModule()
    {
        DialogInputOutput dialog;
        QSignalSpy spy(&dialog, &DialogInputOutput::outputChanged);
        dialog.updateOutput(Module::VoltageOutput, 2);
        dialog.updateOutput(Module::VoltageOutput, 7);
        QVERIFY(child<QRadioButton>(&dialog, "radioVoltage0")->isChecked());
        dialog.updateOutput(Module::FilamentOutput, 3);
        QVERIFY(child<QRadioButton>(&dialog, "radioFilament3")->isChecked());
        dialog.updateOutput(Module::DigitalOutput, 5);
        QVERIFY(child<QCheckBox>(&dialog, "checkValve0")->isChecked());
        QVERIFY(!child<QCheckBox>(&dialog, "checkValve1")->isChecked());
        QVERIFY(child<QCheckBox>(&dialog, "checkChiller")->isChecked());
        dialog.updateInterlock(0x181); // bit 8 has no box
        for (int i = 0; i < 8; ++i)
            QCOMPARE(child<QCheckBox>(&dialog, QStringLiteral("checkIlk%1").arg(i))->isChecked(),
                i == 0 || i == 7);
        QCOMPARE(spy.size(), 0);
    }
    void outputFromOperator()
    {
        DialogInputOutput dialog;
        QSignalSpy spy(&dialog, &DialogInputOutput::outputChanged);
        dialog.updateOutput(Module::DigitalOutput, 4);
        child<QCheckBox>(&dialog, "checkValve1")->click();
        child<QRadioButton>(&dialog, "radioFilament2")->click();
        child<QRadioButton>(&dialog, "radioVoltage3")->click();
        QCOMPARE(spy.size(), 3);
        QCOMPARE(spy.at(0).at(0).value<Module::Output>(), Module::DigitalOutput);
        QCOMPARE(spy.at(0).at(1).toInt(), 6);
        QCOMPARE(spy.at(1).at(0).value<Module::Output>(), Module::FilamentOutput);
        QCOMPARE(spy.at(1).at(1).toInt(), 2);
        QCOMPARE(spy.at(2).at(0).value<Module::Output>(), Module::VoltageOutput);
        QCOMPARE(spy.at(2).at(1).toInt(), 3);
    }
    void emissionClampedAndSent()
    {
        DialogEmissionParameters dialog;
        QSignalSpy spy(&dialog, &DialogEmissionParameters::emissionParameterChanged);
        dialog.show();
        dialog.reject();
        QCOMPARE(spy.size(), 0); // Cancel sends nothing
        dialog.setEmissionParameterP(12345.0f);
        dialog.setEmissionParameterI(0.12345f);
        dialog.setEmissionParameterD(-1.0f);
        dialog.setFilamentMinimum(1.234f);
        dialog.setFilamentMaximum(4.5f);
        QCOMPARE(
            child<QDoubleSpinBox>(&dialog, "proportionalBox")->text(), QStringLiteral("9999.0000"));
        dialog.show();
        dialog.accept();
        QVERIFY(dialog.isHidden());
        QCOMPARE(spy.size(), 1);
        const QList<QVariant> args = spy.at(0);
        QCOMPARE(args.at(0).toFloat(), 9999.0f);
        QCOMPARE(args.at(1).toFloat(), 0.1235f);
        QCOMPARE(args.at(2).toFloat(), 0.0f);
        QCOMPARE(args.at(3).toFloat(), 1.23f);
        QCOMPARE(args.at(4).toFloat(), 4.5f);
    }
};

QTEST_MAIN(tst_DialogFilament)
#include "tst_dialogfilament.moc"
