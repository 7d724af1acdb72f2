#include "configtestsupport.h"
#include "configuration.h"
#include "dialogconfiguration.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QtTest>

class tst_DialogConfiguration : public QObject
{
    Q_OBJECT

    std::unique_ptr<TemporaryStore> store;
    std::unique_ptr<Configuration> config;
    std::unique_ptr<DialogConfiguration> dialog;

    template <typename T> T *child(const char *name)
    {
        return dialog->findChild<T *>(QString::fromLatin1(name));
    }
    QStringList items(const char *comboBox)
    {
        QStringList texts;
        for (int i = 0; i < child<QComboBox>(comboBox)->count(); ++i)
            texts << child<QComboBox>(comboBox)->itemText(i);
        return texts;
    }

private slots:
    void init()
    {
        // A slot whose name matches no signal of the form is reported by setupUi as a warning.
        QTest::failOnWarning(QRegularExpression(QStringLiteral("connectSlotsByName")));
        store = std::make_unique<TemporaryStore>();
        QVERIFY(store->isValid());
        config = std::make_unique<Configuration>(nullptr, QStringLiteral("Vornwerk GmbH"));
        dialog = std::make_unique<DialogConfiguration>(nullptr, config.get());
    }

    void cleanup()
    {
        dialog.reset();
        config.reset();
        store.reset();
    }

    void choices()
    {
        QCOMPARE(items("cmbBoxDeviceSelect"),
            QStringList({ "All Devices", "Firmware Name", "Serial Number" }));
        QCOMPARE(items("cmbBoxVUnitSelect"), QStringList({ "V", "kV" }));
        QCOMPARE(items("cmbBoxIUnitSelect"), QStringList({ QStringLiteral("\u00B5A"), "mA", "A" }));
        QCOMPARE(child<QLabel>("lblValue")->text(), QStringLiteral("n.A."));
        QCOMPARE(dialog->selectedLevel(), 0);
        // Unknown choices leave the selection alone; the label follows a level change only.
        dialog->selectCurrentUnit(QStringLiteral("mA"));
        dialog->selectCurrentUnit(QStringLiteral("MA"));
        dialog->selectCurrentUnit(QStringLiteral("nA"));
        QCOMPARE(child<QComboBox>("cmbBoxIUnitSelect")->currentText(), QStringLiteral("mA"));
        dialog->selectLevel(7);
        QCOMPARE(dialog->selectedLevel(), 0);
        dialog->selectLevel(2);
        config->setSerialNumber(4711);
        dialog->selectLevel(2);
        QCOMPARE(child<QLabel>("lblValue")->text(), QStringLiteral("n.A."));
    }

    void levelLabelAndSaving_data()
    {
        QTest::addColumn<QString>("firmware");
        QTest::addColumn<int>("serial");
        QTest::addColumn<int>("level");
        QTest::addColumn<QString>("label");
        QTest::addColumn<bool>("canSave");
        // Without an identified module there is no group to save to.
        QTest::newRow("no firmware") << "" << 4711 << 1 << "n.A." << false;
        QTest::newRow("no serial number") << "E08C2" << 0 << 2 << "n.A." << false;
        QTest::newRow("firmware") << "E08C2" << 0 << 1 << "E08C2" << true;
        QTest::newRow("serial number") << "" << 4711 << 2 << "4711" << true;
    }

    void levelLabelAndSaving()
    {
        QFETCH(QString, firmware);
        QFETCH(int, serial);
        QFETCH(int, level);
        QFETCH(QString, label);
        QFETCH(bool, canSave);
        config->setFirmwareName(firmware);
        config->setSerialNumber(serial);
        dialog->selectLevel(level);
        QCOMPARE(dialog->selectedLevel(), level);
        QCOMPARE(child<QLabel>("lblValue")->text(), label);
        QVERIFY(child<QLabel>("lblValue")->isEnabled());
        QVERIFY(child<QLabel>("lblValTxt")->isEnabled());
        QCOMPARE(child<QDialogButtonBox>("buttonBox")->isEnabled(), canSave);
        // Back to all devices: saving is possible again.
        dialog->selectLevel(0);
        QCOMPARE(dialog->selectedLevel(), 0);
        QCOMPARE(child<QLabel>("lblValue")->text(), QString());
        QVERIFY(!child<QLabel>("lblValue")->isEnabled());
        QVERIFY(!child<QLabel>("lblValTxt")->isEnabled());
        QVERIFY(child<QDialogButtonBox>("buttonBox")->isEnabled());
    }

    void takeFromConfiguration()
    {
        TemporaryStore::write("E08C2", "currentUnit", "uA");
        TemporaryStore::write("E08C2", "voltageUnit", "kV");
        TemporaryStore::write("E08C2", "voltagePrecision", 3);
        TemporaryStore::write("E08C2", "colPower", 0);
        config->setFirmwareName(QStringLiteral("E08C2"));
        config->load();
        dialog->takeFromConfiguration();
        QCOMPARE(child<QComboBox>("cmbBoxDeviceSelect")->currentIndex(), 1);
        QCOMPARE(child<QComboBox>("cmbBoxIUnitSelect")->currentText(), QStringLiteral("\u00B5A"));
        QCOMPARE(child<QComboBox>("cmbBoxVUnitSelect")->currentText(), QStringLiteral("kV"));
        QCOMPARE(child<QSpinBox>("spnBoxVPrec")->value(), 3);
        QCOMPARE(child<QSpinBox>("spnBoxIPrec")->value(), 2);
        QVERIFY(!child<QCheckBox>("chkBoxPower")->isChecked());
        QVERIFY(child<QCheckBox>("chkBoxVbnd")->isChecked());
        QVERIFY(child<QCheckBox>("chkBoxIbnd")->isChecked());
    }

    void cancelOnlyHidesOkSaves()
    {
        auto *buttons = child<QDialogButtonBox>("buttonBox");
        QSignalSpy saved(config.get(), &Configuration::saved);
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
        dialog->selectVoltageUnit(QStringLiteral("kV"));
        buttons->button(QDialogButtonBox::Cancel)->click();
        QVERIFY(!dialog->isVisible());
        QCOMPARE(config->voltageUnit(), QStringLiteral("V"));
        QVERIFY(TemporaryStore::groups().isEmpty());
        QCOMPARE(saved.count(), 0);

        config->setSerialNumber(4711);
        config->load();
        dialog->takeFromConfiguration();
        dialog->show();
        dialog->selectLevel(2);
        dialog->selectVoltageUnit(QStringLiteral("kV"));
        dialog->selectCurrentUnit(QStringLiteral("\u00B5A"));
        dialog->setCurrentPrecision(4);
        dialog->setShowVoltageBounds(false);
        buttons->button(QDialogButtonBox::Ok)->click();
        QVERIFY(!dialog->isVisible());
        QCOMPARE(config->voltageUnit(), QStringLiteral("kV"));
        QCOMPARE(config->currentUnit(), QStringLiteral("\u00B5A"));
        QCOMPARE(config->currentPrecision(), 4);
        QVERIFY(!config->showVoltageBounds());
        QCOMPARE(TemporaryStore::groups(), QStringList({ "4711" }));
        QCOMPARE(saved.count(), 1);
    }
};

QTEST_MAIN(tst_DialogConfiguration)
#include "tst_dialogconfiguration.moc"
