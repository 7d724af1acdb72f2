#include "configtestsupport.h"
#include "configuration.h"
#include "dialogconfiguration.h"
#include "hvtable.h"

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

private slots:
    void init();
    void cleanup();

    void formAsBuilt();
    void levelLabelAndSaving_data();
    void levelLabelAndSaving();
    void unchangedLevelKeepsLabel();
    void takeFromConfiguration();
    void unknownUnitLeavesSelection();
    void okSavesAtSelectedLevelAndHides();
    void cancelOnlyHides();

private:
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

    std::unique_ptr<TemporaryStore> store;
    std::unique_ptr<HvTable> table;
    std::unique_ptr<Configuration> config;
    std::unique_ptr<DialogConfiguration> dialog;
};

void tst_DialogConfiguration::init()
{
    // A slot whose name matches no signal of the form is reported by setupUi as a warning.
    QTest::failOnWarning(QRegularExpression(QStringLiteral("connectSlotsByName")));
    store = std::make_unique<TemporaryStore>();
    QVERIFY(store->isValid());
    table = std::make_unique<HvTable>();
    table->setColumnCount(12);
    config = std::make_unique<Configuration>(nullptr, QStringLiteral("Vornwerk GmbH"), table.get());
    dialog = std::make_unique<DialogConfiguration>(nullptr, config.get());
}

void tst_DialogConfiguration::cleanup()
{
    dialog.reset();
    config.reset();
    table.reset();
    store.reset();
}

void tst_DialogConfiguration::formAsBuilt()
{
    QCOMPARE(dialog->windowTitle(), QStringLiteral("Configuration"));
    QCOMPARE(dialog->size(), QSize(255, 445));
    QCOMPARE(dialog->maximumSize(), QSize(300, 500));
    QCOMPARE(items("cmbBoxDeviceSelect"),
        QStringList({ "All Devices", "Firmware Name", "Serial Number" }));
    QCOMPARE(items("cmbBoxVUnitSelect"), QStringList({ "V", "kV" }));
    QCOMPARE(items("cmbBoxIUnitSelect"), QStringList({ QStringLiteral("\u00B5A"), "mA", "A" }));
    QCOMPARE(child<QLabel>("label")->text(), QStringLiteral("n.A."));
    QCOMPARE(dialog->selectedLevel(), 0);
}

void tst_DialogConfiguration::levelLabelAndSaving_data()
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

void tst_DialogConfiguration::levelLabelAndSaving()
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
    QCOMPARE(child<QLabel>("label")->text(), label);
    QVERIFY(child<QLabel>("label")->isEnabled());
    QVERIFY(child<QLabel>("lblValTxt")->isEnabled());
    QCOMPARE(child<QDialogButtonBox>("buttonBox")->isEnabled(), canSave);

    // Back to all devices: saving is possible again.
    dialog->selectLevel(0);
    QCOMPARE(dialog->selectedLevel(), 0);
    QCOMPARE(child<QLabel>("label")->text(), QString());
    QVERIFY(!child<QLabel>("label")->isEnabled());
    QVERIFY(!child<QLabel>("lblValTxt")->isEnabled());
    QVERIFY(child<QDialogButtonBox>("buttonBox")->isEnabled());
}

void tst_DialogConfiguration::unchangedLevelKeepsLabel()
{
    dialog->selectLevel(2);
    QCOMPARE(child<QLabel>("label")->text(), QStringLiteral("n.A."));
    config->setSerialNumber(4711);
    dialog->selectLevel(2);
    QCOMPARE(child<QLabel>("label")->text(), QStringLiteral("n.A."));
}

void tst_DialogConfiguration::takeFromConfiguration()
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

void tst_DialogConfiguration::unknownUnitLeavesSelection()
{
    dialog->selectCurrentUnit(QStringLiteral("mA"));
    dialog->selectCurrentUnit(QStringLiteral("MA"));
    dialog->selectCurrentUnit(QStringLiteral("nA"));
    QCOMPARE(child<QComboBox>("cmbBoxIUnitSelect")->currentText(), QStringLiteral("mA"));
    dialog->selectLevel(7);
    QCOMPARE(dialog->selectedLevel(), 0);
}

void tst_DialogConfiguration::okSavesAtSelectedLevelAndHides()
{
    config->setSerialNumber(4711);
    config->load();
    dialog->takeFromConfiguration();
    dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));

    dialog->selectLevel(2);
    dialog->selectVoltageUnit(QStringLiteral("kV"));
    dialog->selectCurrentUnit(QStringLiteral("\u00B5A"));
    dialog->setCurrentPrecision(4);
    dialog->setShowVoltageBounds(false);
    child<QDialogButtonBox>("buttonBox")->button(QDialogButtonBox::Ok)->click();

    QVERIFY(!dialog->isVisible());
    QCOMPARE(config->voltageUnit(), QStringLiteral("kV"));
    QCOMPARE(config->currentUnit(), QStringLiteral("\u00B5A"));
    QCOMPARE(config->currentPrecision(), 4);
    QVERIFY(!config->showVoltageBounds());
    QCOMPARE(TemporaryStore::groups(), QStringList({ "4711" }));
    QCOMPARE(table->horizontalHeaderItem(0)->text(), QStringLiteral("Vset (kV)"));
}

void tst_DialogConfiguration::cancelOnlyHides()
{
    dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
    dialog->selectVoltageUnit(QStringLiteral("kV"));
    child<QDialogButtonBox>("buttonBox")->button(QDialogButtonBox::Cancel)->click();
    QVERIFY(!dialog->isVisible());
    QCOMPARE(config->voltageUnit(), QStringLiteral("V"));
    QVERIFY(TemporaryStore::groups().isEmpty());
    QVERIFY(!table->horizontalHeaderItem(0));
}

QTEST_MAIN(tst_DialogConfiguration)
#include "tst_dialogconfiguration.moc"
