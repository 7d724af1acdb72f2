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
    void levelWithoutIdentityIsNotAvailable_data();
    void levelWithoutIdentityIsNotAvailable();
    void levelShowsIdentity();
    void allDevicesClearsLabel();
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
    auto *levels = child<QComboBox>("cmbBoxDeviceSelect");
    QVERIFY(levels);
    QCOMPARE(levels->count(), 3);
    QCOMPARE(levels->itemText(0), QStringLiteral("All Devices"));
    QCOMPARE(levels->itemText(1), QStringLiteral("Firmware Name"));
    QCOMPARE(levels->itemText(2), QStringLiteral("Serial Number"));
    auto *currentUnits = child<QComboBox>("cmbBoxIUnitSelect");
    QVERIFY(currentUnits);
    QCOMPARE(currentUnits->itemText(0), QStringLiteral("\u00B5A"));
    QCOMPARE(currentUnits->itemText(1), QStringLiteral("mA"));
    QCOMPARE(currentUnits->itemText(2), QStringLiteral("A"));
    QCOMPARE(child<QLabel>("label")->text(), QStringLiteral("n.A."));
    QCOMPARE(dialog->selectedLevel(), 0);
}

void tst_DialogConfiguration::levelWithoutIdentityIsNotAvailable_data()
{
    QTest::addColumn<int>("level");
    QTest::newRow("firmware") << 1;
    QTest::newRow("serial number") << 2;
}

void tst_DialogConfiguration::levelWithoutIdentityIsNotAvailable()
{
    QFETCH(int, level);
    dialog->selectLevel(level);
    QCOMPARE(dialog->selectedLevel(), level);
    QCOMPARE(child<QLabel>("label")->text(), QStringLiteral("n.A."));
    QVERIFY(child<QLabel>("label")->isEnabled());
    QVERIFY(child<QLabel>("lblValTxt")->isEnabled());
    QVERIFY(!child<QDialogButtonBox>("buttonBox")->isEnabled());

    // Back to all devices: saving is possible again.
    dialog->selectLevel(0);
    QVERIFY(child<QDialogButtonBox>("buttonBox")->isEnabled());
}

void tst_DialogConfiguration::levelShowsIdentity()
{
    config->setFirmwareName(QStringLiteral("E08C2"));
    config->setSerialNumber(4711);
    dialog->selectLevel(1);
    QCOMPARE(child<QLabel>("label")->text(), QStringLiteral("E08C2"));
    QVERIFY(child<QDialogButtonBox>("buttonBox")->isEnabled());
    dialog->selectLevel(2);
    QCOMPARE(child<QLabel>("label")->text(), QStringLiteral("4711"));
    QVERIFY(child<QDialogButtonBox>("buttonBox")->isEnabled());
}

void tst_DialogConfiguration::allDevicesClearsLabel()
{
    config->setSerialNumber(4711);
    dialog->selectLevel(2);
    dialog->selectLevel(0);
    QCOMPARE(dialog->selectedLevel(), 0);
    QCOMPARE(child<QLabel>("label")->text(), QString());
    QVERIFY(!child<QLabel>("label")->isEnabled());
    QVERIFY(!child<QLabel>("lblValTxt")->isEnabled());
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
    TemporaryStore::write(
        QStringLiteral("E08C2"), QStringLiteral("currentUnit"), QStringLiteral("uA"));
    TemporaryStore::write(
        QStringLiteral("E08C2"), QStringLiteral("voltageUnit"), QStringLiteral("kV"));
    TemporaryStore::write(QStringLiteral("E08C2"), QStringLiteral("voltagePrecision"), 3);
    TemporaryStore::write(QStringLiteral("E08C2"), QStringLiteral("colPower"), 0);
    config->setFirmwareName(QStringLiteral("E08C2"));
    config->load();
    dialog->takeFromConfiguration();
    QCOMPARE(dialog->selectedLevel(), 1);
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
    QCOMPARE(config->currentPrecision(), 4);
    QCOMPARE(config->sourceLevel(), 2);
    QCOMPARE(TemporaryStore::read(QStringLiteral("4711"), QStringLiteral("currentUnit")),
        QVariant(QStringLiteral("\u00B5A")));
    QCOMPARE(TemporaryStore::read(QStringLiteral("4711"), QStringLiteral("colVbnd")).toInt(), 0);
    QVERIFY(!TemporaryStore::groups().contains(QStringLiteral("default")));
    QCOMPARE(table->horizontalHeaderItem(0)->text(), QStringLiteral("Vset (kV)"));
    QVERIFY(table->isColumnHidden(2));
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
