#include "configtestsupport.h"
#include "configuration.h"
#include "hvtable.h"

#include <QtTest>

namespace {
const QString organization = QStringLiteral("Vornwerk GmbH");
const QString micro = QStringLiteral("\u00B5A");
}

class tst_Configuration : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void emptyStoreGivesDefaults();
    void lookupAcrossLevels_data();
    void lookupAcrossLevels();
    void emptyFirmwareReadsTopLevel();
    void asciiMicroReadAsMicro();
    void badStoredNumbers();
    void outOfRangePrecisionIsClamped_data();
    void outOfRangePrecisionIsClamped();
    void saveForAllDevicesRemovesSpecificGroups();
    void saveForSerialLeavesOtherGroups();
    void saveRejectsUnknownLevel();
    void saveWithoutFirmwareKeepsOtherGroups();
    void applyToTableSetsHeadersAndColumns();
    void applyToTableSharesWidthAmongVisibleColumns();
    void voltage_data();
    void voltage();
    void current_data();
    void current();
    void textsFollowDefaultLocale();

private:
    std::unique_ptr<TemporaryStore> store;
    std::unique_ptr<HvTable> table;
    std::unique_ptr<Configuration> config;
};

void tst_Configuration::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

void tst_Configuration::init()
{
    store = std::make_unique<TemporaryStore>();
    QVERIFY(store->isValid());
    table = std::make_unique<HvTable>();
    table->setColumnCount(12);
    config = std::make_unique<Configuration>(nullptr, organization, table.get());
}

void tst_Configuration::cleanup()
{
    config.reset();
    table.reset();
    store.reset();
}

void tst_Configuration::emptyStoreGivesDefaults()
{
    config->load();
    QCOMPARE(config->voltageUnit(), QStringLiteral("V"));
    QCOMPARE(config->currentUnit(), QStringLiteral("mA"));
    QCOMPARE(config->voltagePrecision(), 2);
    QCOMPARE(config->currentPrecision(), 2);
    QVERIFY(config->showVoltageBounds());
    QVERIFY(config->showCurrentBounds());
    QVERIFY(config->showPower());
    QCOMPARE(config->sourceLevel(), 0);
}

void tst_Configuration::lookupAcrossLevels_data()
{
    QTest::addColumn<QString>("serialUnit");
    QTest::addColumn<QString>("firmwareUnit");
    QTest::addColumn<QString>("defaultUnit");
    QTest::addColumn<QString>("unit");
    QTest::addColumn<int>("powerLevel");

    // The Power column key is written at the same level as the unit, so sourceLevel, which
    // follows the last key read, tells where the unit came from.
    QTest::newRow("serial wins") << "kV"
                                 << "V"
                                 << "V"
                                 << "kV" << 2;
    QTest::newRow("firmware next") << ""
                                   << "kV"
                                   << "V"
                                   << "kV" << 1;
    QTest::newRow("default last") << ""
                                  << ""
                                  << "kV"
                                  << "kV" << 0;
    QTest::newRow("built-in") << ""
                              << ""
                              << ""
                              << "V" << 0;
}

void tst_Configuration::lookupAcrossLevels()
{
    QFETCH(QString, serialUnit);
    QFETCH(QString, firmwareUnit);
    QFETCH(QString, defaultUnit);
    QFETCH(QString, unit);
    QFETCH(int, powerLevel);

    const QString groups[]
        = { QStringLiteral("default"), QStringLiteral("E08C2"), QStringLiteral("4711") };
    const QString units[] = { defaultUnit, firmwareUnit, serialUnit };
    for (int level = 0; level < 3; ++level) {
        if (units[level].isEmpty())
            continue;
        TemporaryStore::write(groups[level], QStringLiteral("voltageUnit"), units[level]);
        TemporaryStore::write(groups[level], QStringLiteral("colPower"), level == 2 ? 0 : 1);
    }
    // Another device's group must not be consulted.
    TemporaryStore::write(
        QStringLiteral("999"), QStringLiteral("voltageUnit"), QStringLiteral("other"));

    config->setSerialNumber(4711);
    config->setFirmwareName(QStringLiteral("E08C2"));
    config->load();
    QCOMPARE(config->voltageUnit(), unit);
    QCOMPARE(config->sourceLevel(), powerLevel);
    QCOMPARE(config->showPower(), powerLevel != 2);
}

void tst_Configuration::emptyFirmwareReadsTopLevel()
{
    TemporaryStore::write(QString(), QStringLiteral("currentPrecision"), 5);
    config->load();
    QCOMPARE(config->currentPrecision(), 5);
}

void tst_Configuration::asciiMicroReadAsMicro()
{
    TemporaryStore::write(
        QStringLiteral("default"), QStringLiteral("currentUnit"), QStringLiteral("uA"));
    config->load();
    QCOMPARE(config->currentUnit(), micro);
    QCOMPARE(config->currentText(0.0000012f), QStringLiteral("1.20"));
    config->applyToTable();
    QCOMPARE(table->horizontalHeaderItem(4)->text(), QStringLiteral("Iset (%1)").arg(micro));

    config->setCurrentUnit(QStringLiteral("uA"));
    QCOMPARE(config->currentUnit(), micro);
}

void tst_Configuration::badStoredNumbers()
{
    TemporaryStore::write(
        QStringLiteral("default"), QStringLiteral("voltagePrecision"), QStringLiteral("three"));
    TemporaryStore::write(
        QStringLiteral("default"), QStringLiteral("colIbnd"), QStringLiteral("yes"));
    TemporaryStore::write(
        QStringLiteral("default"), QStringLiteral("colVbnd"), QStringLiteral("7"));
    config->load();
    QCOMPARE(config->voltagePrecision(), 0);
    QVERIFY(!config->showCurrentBounds());
    QVERIFY(config->showVoltageBounds());
    QCOMPARE(config->voltageText(12.6f), QStringLiteral("13"));
}

void tst_Configuration::outOfRangePrecisionIsClamped_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("precision");
    QTest::newRow("huge") << "2147483647" << 10;
    QTest::newRow("negative") << "-3" << 0;
    QTest::newRow("largest offered") << "10" << 10;
}

void tst_Configuration::outOfRangePrecisionIsClamped()
{
    // Regression: a hand-edited store with a huge precision made every value text billions of
    // digits long, which froze the program on its first refresh.
    QFETCH(QString, stored);
    QFETCH(int, precision);
    TemporaryStore::write(QStringLiteral("default"), QStringLiteral("voltagePrecision"), stored);
    TemporaryStore::write(QStringLiteral("default"), QStringLiteral("currentPrecision"), stored);
    config->load();
    QCOMPARE(config->voltagePrecision(), precision);
    QCOMPARE(config->currentPrecision(), precision);
    const QString text = config->voltageText(1.5f);
    QCOMPARE(text.size(), precision == 0 ? 1 : 2 + precision);
}

void tst_Configuration::saveForAllDevicesRemovesSpecificGroups()
{
    TemporaryStore::write(
        QStringLiteral("4711"), QStringLiteral("voltageUnit"), QStringLiteral("kV"));
    TemporaryStore::write(QStringLiteral("4711"), QStringLiteral("colPower"), 1);
    TemporaryStore::write(
        QStringLiteral("E08C2"), QStringLiteral("currentUnit"), QStringLiteral("A"));
    TemporaryStore::write(
        QStringLiteral("4712"), QStringLiteral("voltageUnit"), QStringLiteral("V"));
    config->setSerialNumber(4711);
    config->setFirmwareName(QStringLiteral("E08C2"));
    config->load();
    QCOMPARE(config->sourceLevel(), 2);

    config->setVoltagePrecision(4);
    config->save(0);
    QCOMPARE(config->sourceLevel(), 0);
    const QStringList groups = TemporaryStore::groups();
    QVERIFY2(!groups.contains(QStringLiteral("4711")), qPrintable(groups.join(u' ')));
    QVERIFY(!groups.contains(QStringLiteral("E08C2")));
    // Other devices keep their own settings.
    QVERIFY(groups.contains(QStringLiteral("4712")));
    QCOMPARE(TemporaryStore::read(QStringLiteral("default"), QStringLiteral("voltageUnit")),
        QVariant(QStringLiteral("kV")));
    QCOMPARE(
        TemporaryStore::read(QStringLiteral("default"), QStringLiteral("voltagePrecision")).toInt(),
        4);
    QCOMPARE(TemporaryStore::read(QStringLiteral("default"), QStringLiteral("currentUnit")),
        QVariant(QStringLiteral("A")));

    // A device without a group of its own now shows the new settings.
    Configuration other(nullptr, organization, nullptr);
    other.setSerialNumber(1234);
    other.setFirmwareName(QStringLiteral("E08C2"));
    other.load();
    QCOMPARE(other.voltageUnit(), QStringLiteral("kV"));
    QCOMPARE(other.voltagePrecision(), 4);
}

void tst_Configuration::saveForSerialLeavesOtherGroups()
{
    TemporaryStore::write(
        QStringLiteral("default"), QStringLiteral("voltageUnit"), QStringLiteral("kV"));
    TemporaryStore::write(QStringLiteral("default"), QStringLiteral("colPower"), 1);
    TemporaryStore::write(
        QStringLiteral("E08C2"), QStringLiteral("currentUnit"), QStringLiteral("A"));
    config->setSerialNumber(4711);
    config->setFirmwareName(QStringLiteral("E08C2"));
    config->load();
    QCOMPARE(config->sourceLevel(), 0);

    config->setShowPower(false);
    config->save(2);
    QCOMPARE(config->sourceLevel(), 2);
    QCOMPARE(
        TemporaryStore::read(QStringLiteral("default"), QStringLiteral("colPower")).toInt(), 1);
    QCOMPARE(TemporaryStore::read(QStringLiteral("E08C2"), QStringLiteral("currentUnit")),
        QVariant(QStringLiteral("A")));
    QCOMPARE(TemporaryStore::read(QStringLiteral("4711"), QStringLiteral("colPower")).toInt(), 0);
    QCOMPARE(TemporaryStore::read(QStringLiteral("4711"), QStringLiteral("voltageUnit")),
        QVariant(QStringLiteral("kV")));
    QVERIFY(table->isColumnHidden(8));
}

void tst_Configuration::saveRejectsUnknownLevel()
{
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("no settings level 3")));
    config->save(3);
    QVERIFY(TemporaryStore::groups().isEmpty());
    QCOMPARE(config->sourceLevel(), 0);
}

void tst_Configuration::saveWithoutFirmwareKeepsOtherGroups()
{
    // Without a firmware name its "group" is the top level of the store, which also holds
    // every other group; only the plain keys there may go.
    TemporaryStore::write(QString(), QStringLiteral("colPower"), 0);
    TemporaryStore::write(
        QStringLiteral("4712"), QStringLiteral("voltageUnit"), QStringLiteral("kV"));
    config->load();
    QCOMPARE(config->sourceLevel(), 1);
    QVERIFY(!config->showPower());
    config->save(0);
    QVERIFY(!TemporaryStore::read(QString(), QStringLiteral("colPower")).isValid());
    QCOMPARE(TemporaryStore::read(QStringLiteral("4712"), QStringLiteral("voltageUnit")),
        QVariant(QStringLiteral("kV")));
    QCOMPARE(
        TemporaryStore::read(QStringLiteral("default"), QStringLiteral("colPower")).toInt(), 0);
}

void tst_Configuration::applyToTableSetsHeadersAndColumns()
{
    config->setVoltageUnit(QStringLiteral("kV"));
    config->setCurrentUnit(QStringLiteral("A"));
    config->setShowVoltageBounds(false);
    config->setShowCurrentBounds(true);
    config->setShowPower(false);
    config->applyToTable();
    const QStringList expected = { "Vset (kV)", "Vmeas (kV)", "Vbounds (kV)", "Vnominal (kV)",
        "Iset (A)", "Imeas (A)", "Ibounds (A)", "Inominal (A)" };
    for (int column = 0; column < expected.size(); ++column)
        QCOMPARE(table->horizontalHeaderItem(column)->text(), expected.at(column));
    QVERIFY(table->isColumnHidden(2));
    QVERIFY(!table->isColumnHidden(6));
    QVERIFY(table->isColumnHidden(8));

    config->setShowPower(true);
    config->applyToTable();
    QVERIFY(!table->isColumnHidden(8));
}

void tst_Configuration::applyToTableSharesWidthAmongVisibleColumns()
{
    // Regression: hiding or showing columns kept the old widths until the window was resized,
    // leaving a gap beside the table or pushing CV and CC out of view.
    table->resize(650, 300);
    QResizeEvent resized(table->size(), QSize());
    table->resizeEvent(&resized);
    QCOMPARE(table->columnWidth(0), 60);
    config->setShowVoltageBounds(false);
    config->setShowCurrentBounds(false);
    config->setShowPower(false);
    config->applyToTable();
    for (int column : { 0, 1, 3, 4, 5, 7, 9 })
        QCOMPARE(table->columnWidth(column), 85);
    QCOMPARE(table->columnWidth(10), 25);
    config->setShowPower(true);
    config->applyToTable();
    QCOMPARE(table->columnWidth(8), 75);
}

void tst_Configuration::voltage_data()
{
    QTest::addColumn<QString>("unit");
    QTest::addColumn<int>("precision");
    QTest::addColumn<float>("volts");
    QTest::addColumn<QString>("text");
    QTest::addColumn<float>("entered");
    QTest::addColumn<float>("enteredVolts");
    QTest::newRow("V") << "V" << 2 << 2500.0f << "2,500.00" << 12.5f << 12.5f;
    QTest::newRow("kV") << "kV" << 3 << 2500.0f << "2.500" << 1.2f << 1200.0f;
    QTest::newRow("kV negative") << "kV" << 1 << -3000.0f << "-3.0" << -0.5f << -500.0f;
    QTest::newRow("unknown unit is volts") << "mV" << 0 << 10.0f << "10" << 3.0f << 3.0f;
}

void tst_Configuration::voltage()
{
    QFETCH(QString, unit);
    QFETCH(int, precision);
    QFETCH(float, volts);
    QFETCH(QString, text);
    QFETCH(float, entered);
    QFETCH(float, enteredVolts);
    config->setVoltageUnit(unit);
    config->setVoltagePrecision(precision);
    QCOMPARE(config->voltageText(volts), text);
    QCOMPARE(config->voltageToSI(entered), enteredVolts);
}

void tst_Configuration::current_data()
{
    QTest::addColumn<QString>("unit");
    QTest::addColumn<int>("precision");
    QTest::addColumn<float>("amperes");
    QTest::addColumn<QString>("text");
    QTest::addColumn<float>("entered");
    QTest::addColumn<float>("enteredAmperes");
    QTest::newRow("A") << "A" << 4 << 0.0125f << "0.0125" << 0.5f << 0.5f;
    QTest::newRow("mA") << "mA" << 2 << 0.0125f << "12.50" << 3.0f << 0.003f;
    QTest::newRow("uA") << micro << 1 << 0.0000125f << "12.5" << 250.0f << 0.00025f;
    QTest::newRow("uA thousands") << micro << 0 << 0.0025f << "2,500" << 1.0f << 0.000001f;
    QTest::newRow("unknown unit is amperes") << "nA" << 1 << 2.0f << "2.0" << 2.0f << 2.0f;
}

void tst_Configuration::current()
{
    QFETCH(QString, unit);
    QFETCH(int, precision);
    QFETCH(float, amperes);
    QFETCH(QString, text);
    QFETCH(float, entered);
    QFETCH(float, enteredAmperes);
    config->setCurrentUnit(unit);
    config->setCurrentPrecision(precision);
    QCOMPARE(config->currentText(amperes), text);
    QCOMPARE(config->currentToSI(entered), enteredAmperes);
}

void tst_Configuration::textsFollowDefaultLocale()
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    config->setVoltagePrecision(1);
    const QString text = config->voltageText(12345.5f);
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    QCOMPARE(text, QStringLiteral("12.345,5"));
}

QTEST_MAIN(tst_Configuration)
#include "tst_configuration.moc"
