#include "configtestsupport.h"
#include "configuration.h"
#include "hvtable.h"

#include <QtTest>

namespace {
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
    void valueTexts_data();
    void valueTexts();
    void textsFollowDefaultLocale();

private:
    // Identifies the module as serial number 4711 with firmware E08C2 and loads.
    void loadFor4711();

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
    config = std::make_unique<Configuration>(nullptr, QStringLiteral("Vornwerk GmbH"), table.get());
}

void tst_Configuration::cleanup()
{
    config.reset();
    table.reset();
    store.reset();
}

void tst_Configuration::loadFor4711()
{
    config->setSerialNumber(4711);
    config->setFirmwareName(QStringLiteral("E08C2"));
    config->load();
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
    // Voltage unit stored in the groups default, E08C2 and 4711; empty: not stored there.
    QTest::addColumn<QStringList>("stored");
    QTest::addColumn<QString>("unit");
    QTest::addColumn<int>("level");
    QTest::newRow("serial wins") << QStringList({ "V", "V", "kV" }) << "kV" << 2;
    QTest::newRow("firmware next") << QStringList({ "V", "kV", "" }) << "kV" << 1;
    QTest::newRow("default last") << QStringList({ "kV", "", "" }) << "kV" << 0;
    QTest::newRow("built-in") << QStringList({ "", "", "" }) << "V" << 0;
}

void tst_Configuration::lookupAcrossLevels()
{
    QFETCH(QStringList, stored);
    QFETCH(QString, unit);
    QFETCH(int, level);
    const QStringList groups = { "default", "E08C2", "4711" };
    for (int i = 0; i < 3; ++i) {
        if (stored.at(i).isEmpty())
            continue;
        TemporaryStore::write(groups.at(i), "voltageUnit", stored.at(i));
        // The Power column key sits beside the unit, so sourceLevel, which follows the last
        // key read, tells where the unit came from.
        TemporaryStore::write(groups.at(i), "colPower", i == 2 ? 0 : 1);
    }
    // Another device's group must not be consulted.
    TemporaryStore::write("999", "voltageUnit", "other");
    loadFor4711();
    QCOMPARE(config->voltageUnit(), unit);
    QCOMPARE(config->sourceLevel(), level);
    QCOMPARE(config->showPower(), level != 2);
}

void tst_Configuration::asciiMicroReadAsMicro()
{
    TemporaryStore::write("default", "currentUnit", "uA");
    config->load();
    QCOMPARE(config->currentUnit(), micro);
    QCOMPARE(config->currentText(0.0000012f), QStringLiteral("1.20"));
    config->applyToTable();
    QCOMPARE(table->horizontalHeaderItem(4)->text(), QStringLiteral("Iset (%1)").arg(micro));
}

void tst_Configuration::badStoredNumbers()
{
    TemporaryStore::write("default", "voltagePrecision", "three");
    TemporaryStore::write("default", "colIbnd", "yes");
    TemporaryStore::write("default", "colVbnd", "7");
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
    TemporaryStore::write("default", "voltagePrecision", stored);
    TemporaryStore::write("default", "currentPrecision", stored);
    config->load();
    QCOMPARE(config->voltagePrecision(), precision);
    QCOMPARE(config->currentPrecision(), precision);
    QCOMPARE(config->voltageText(1.5f).size(), precision == 0 ? 1 : 2 + precision);
}

void tst_Configuration::saveForAllDevicesRemovesSpecificGroups()
{
    TemporaryStore::write("4711", "voltageUnit", "kV");
    TemporaryStore::write("4711", "colPower", 1);
    TemporaryStore::write("E08C2", "currentUnit", "A");
    TemporaryStore::write("4712", "voltageUnit", "V");
    loadFor4711();
    QCOMPARE(config->sourceLevel(), 2);

    config->setVoltagePrecision(4);
    config->save(0);
    QCOMPARE(config->sourceLevel(), 0);
    const QStringList groups = TemporaryStore::groups();
    QCOMPARE(groups, QStringList({ "4712", "default" }));
    QCOMPARE(TemporaryStore::read("default", "voltageUnit"), QVariant("kV"));
    QCOMPARE(TemporaryStore::read("default", "currentUnit"), QVariant("A"));

    // A device without a group of its own now shows the new settings.
    Configuration other(nullptr, QStringLiteral("Vornwerk GmbH"), nullptr);
    other.setSerialNumber(1234);
    other.setFirmwareName(QStringLiteral("E08C2"));
    other.load();
    QCOMPARE(other.voltageUnit(), QStringLiteral("kV"));
    QCOMPARE(other.voltagePrecision(), 4);
}

void tst_Configuration::saveForSerialLeavesOtherGroups()
{
    TemporaryStore::write("default", "voltageUnit", "kV");
    TemporaryStore::write("default", "colPower", 1);
    TemporaryStore::write("E08C2", "currentUnit", "A");
    loadFor4711();
    QCOMPARE(config->sourceLevel(), 0);

    config->setShowPower(false);
    config->save(2);
    QCOMPARE(config->sourceLevel(), 2);
    QCOMPARE(TemporaryStore::read("default", "colPower").toInt(), 1);
    QCOMPARE(TemporaryStore::read("E08C2", "currentUnit"), QVariant("A"));
    QCOMPARE(TemporaryStore::read("4711", "colPower").toInt(), 0);
    QCOMPARE(TemporaryStore::read("4711", "voltageUnit"), QVariant("kV"));
    QVERIFY(table->isColumnHidden(8));
}

void tst_Configuration::saveRejectsUnknownLevel()
{
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("no settings level 3"));
    config->save(3);
    QVERIFY(TemporaryStore::groups().isEmpty());
    QCOMPARE(config->sourceLevel(), 0);
}

void tst_Configuration::saveWithoutFirmwareKeepsOtherGroups()
{
    // Without a firmware name its "group" is the top level of the store, which also holds
    // every other group; only the plain keys there may go.
    TemporaryStore::write(QString(), "colPower", 0);
    TemporaryStore::write("4712", "voltageUnit", "kV");
    config->load();
    QCOMPARE(config->sourceLevel(), 1);
    QVERIFY(!config->showPower());
    config->save(0);
    QVERIFY(!TemporaryStore::read(QString(), "colPower").isValid());
    QCOMPARE(TemporaryStore::read("4712", "voltageUnit"), QVariant("kV"));
    QCOMPARE(TemporaryStore::read("default", "colPower").toInt(), 0);
}

void tst_Configuration::applyToTableSetsHeadersAndColumns()
{
    config->setVoltageUnit(QStringLiteral("kV"));
    config->setCurrentUnit(QStringLiteral("A"));
    config->setShowVoltageBounds(false);
    config->setShowPower(false);
    config->applyToTable();
    const QStringList expected = { "Vset (kV)", "Vmeas (kV)", "Vbounds (kV)", "Vnominal (kV)",
        "Iset (A)", "Imeas (A)", "Ibounds (A)", "Inominal (A)" };
    for (int column = 0; column < expected.size(); ++column)
        QCOMPARE(table->horizontalHeaderItem(column)->text(), expected.at(column));
    QVERIFY(table->isColumnHidden(2));
    QVERIFY(!table->isColumnHidden(6));
    QVERIFY(table->isColumnHidden(8));
}

void tst_Configuration::applyToTableSharesWidthAmongVisibleColumns()
{
    // Regression: hiding or showing columns kept the old widths until the window was resized,
    // leaving a gap beside the table or pushing CV and CC out of view.
    table->resize(650, 300);
    config->setShowPower(false);
    config->applyToTable();
    QCOMPARE(table->columnWidth(0), 66);
    QCOMPARE(table->columnWidth(10), 25);
}

void tst_Configuration::valueTexts_data()
{
    QTest::addColumn<bool>("voltage");
    QTest::addColumn<QString>("unit");
    QTest::addColumn<int>("precision");
    QTest::addColumn<float>("si");
    QTest::addColumn<QString>("text");
    QTest::addColumn<float>("entered");
    QTest::addColumn<float>("enteredSi");
    QTest::newRow("V") << true << "V" << 2 << 2500.0f << "2,500.00" << 12.5f << 12.5f;
    QTest::newRow("kV") << true << "kV" << 3 << 2500.0f << "2.500" << 1.2f << 1200.0f;
    QTest::newRow("kV negative") << true << "kV" << 1 << -3000.0f << "-3.0" << -0.5f << -500.0f;
    QTest::newRow("unknown unit is volts") << true << "mV" << 0 << 10.0f << "10" << 3.0f << 3.0f;
    QTest::newRow("A") << false << "A" << 4 << 0.0125f << "0.0125" << 0.5f << 0.5f;
    QTest::newRow("mA") << false << "mA" << 2 << 0.0125f << "12.50" << 3.0f << 0.003f;
    QTest::newRow("uA") << false << micro << 1 << 0.0000125f << "12.5" << 250.0f << 0.00025f;
    QTest::newRow("uA thousands") << false << micro << 0 << 0.0025f << "2,500" << 1.0f << 1e-6f;
    QTest::newRow("unknown unit is amperes") << false << "nA" << 1 << 2.0f << "2.0" << 2.0f << 2.0f;
}

void tst_Configuration::valueTexts()
{
    QFETCH(bool, voltage);
    QFETCH(QString, unit);
    QFETCH(int, precision);
    QFETCH(float, si);
    QFETCH(QString, text);
    QFETCH(float, entered);
    QFETCH(float, enteredSi);
    if (voltage) {
        config->setVoltageUnit(unit);
        config->setVoltagePrecision(precision);
        QCOMPARE(config->voltageText(si), text);
        QCOMPARE(config->voltageToSI(entered), enteredSi);
    } else {
        config->setCurrentUnit(unit);
        config->setCurrentPrecision(precision);
        QCOMPARE(config->currentText(si), text);
        QCOMPARE(config->currentToSI(entered), enteredSi);
    }
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
