#include "configtestsupport.h"
#include "configuration.h"
#include "displayrefresh.h"
#include "hvtable.h"

#include <QtTest>

namespace {
const QString micro = QStringLiteral("\u00B5A");
}

class tst_Configuration : public QObject
{
    Q_OBJECT

    std::unique_ptr<TemporaryStore> store;
    std::unique_ptr<HvTable> table;
    std::unique_ptr<Configuration> config;
    std::unique_ptr<DisplayRefresh> display;

    // Identifies the module as serial number 4711 with firmware E08C2 and loads.
    void loadFor4711()
    {
        config->setSerialNumber(4711);
        config->setFirmwareName(QStringLiteral("E08C2"));
        config->load();
    }

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void init()
    {
        store = std::make_unique<TemporaryStore>();
        QVERIFY(store->isValid());
        table = std::make_unique<HvTable>();
        table->setColumnCount(12);
        config = std::make_unique<Configuration>(nullptr, QStringLiteral("Vornwerk GmbH"));
        display = std::make_unique<DisplayRefresh>(
            DisplayRefresh::Widgets { table.get() }, config.get(), nullptr);
        // As the window wires them: a saved configuration is shown at once.
        connect(config.get(), &Configuration::saved, display.get(),
            &DisplayRefresh::applyConfiguration);
    }

    void cleanup()
    {
        display.reset();
        config.reset();
        table.reset();
        store.reset();
    }

    void emptyStoreGivesDefaults()
    {
        config->load();
        const Configuration &c = *config;
        QCOMPARE((QVariantList { c.voltageUnit(), c.currentUnit(), c.voltagePrecision(),
                     c.currentPrecision(), c.showVoltageBounds(), c.showCurrentBounds(),
                     c.showPower(), c.sourceLevel() }),
            (QVariantList { "V", "mA", 2, 2, true, true, true, 0 }));
    }

    void lookupAcrossLevels_data()
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

    void lookupAcrossLevels()
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

    void oddStoredValues_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QVariant>("read");
        QTest::newRow("ascii micro") << "currentUnit"
                                     << "uA" << QVariant(micro);
        QTest::newRow("precision no number") << "voltagePrecision"
                                             << "three" << QVariant(0);
        // Regression: a huge precision made every value text billions of digits long, which
        // froze the program on its first refresh.
        QTest::newRow("precision huge") << "voltagePrecision"
                                        << "2147483647" << QVariant(10);
        QTest::newRow("current precision huge") << "currentPrecision"
                                                << "2147483647" << QVariant(10);
        QTest::newRow("precision negative") << "currentPrecision"
                                            << "-3" << QVariant(0);
        QTest::newRow("largest precision") << "voltagePrecision"
                                           << "10" << QVariant(10);
        QTest::newRow("flag no number") << "colIbnd"
                                        << "yes" << QVariant(false);
        QTest::newRow("flag any number") << "colVbnd"
                                         << "7" << QVariant(true);
    }
    void oddStoredValues()
    {
        QFETCH(QString, key);
        QFETCH(QString, stored);
        TemporaryStore::write("default", key, stored);
        config->load();
        const QHash<QString, QVariant> read { { "currentUnit", config->currentUnit() },
            { "voltagePrecision", config->voltagePrecision() },
            { "currentPrecision", config->currentPrecision() },
            { "colIbnd", config->showCurrentBounds() },
            { "colVbnd", config->showVoltageBounds() } };
        QTEST(read.value(key), "read");
        QVERIFY(config->voltageText(1.5f).size() <= 12);
        QVERIFY(config->currentText(1.5f).size() <= 16);
    }

    void saveForAllDevicesRemovesSpecificGroups()
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
        Configuration other(nullptr, QStringLiteral("Vornwerk GmbH"));
        other.setSerialNumber(1234);
        other.setFirmwareName(QStringLiteral("E08C2"));
        other.load();
        QCOMPARE(other.voltageUnit(), QStringLiteral("kV"));
        QCOMPARE(other.voltagePrecision(), 4);
    }

    void saveForSerialLeavesOtherGroups()
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

    void saveRejectsUnknownLevel()
    {
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("no settings level 3"));
        config->save(3);
        QVERIFY(TemporaryStore::groups().isEmpty());
        QCOMPARE(config->sourceLevel(), 0);
    }

    void saveWithoutFirmwareKeepsOtherGroups()
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

    void appliedToTableHeadersAndColumns()
    {
        config->setVoltageUnit(QStringLiteral("kV"));
        config->setCurrentUnit(micro);
        config->setShowVoltageBounds(false);
        config->setShowPower(false);
        display->applyConfiguration();
        const QStringList expected = { "Vset (kV)", "Vmeas (kV)", "Vbounds (kV)", "Vnominal (kV)",
            "Iset (µA)", "Imeas (µA)", "Ibounds (µA)", "Inominal (µA)" };
        for (int column = 0; column < expected.size(); ++column)
            QCOMPARE(table->horizontalHeaderItem(column)->text(), expected.at(column));
        QVERIFY(table->isColumnHidden(2));
        QVERIFY(!table->isColumnHidden(6));
        QVERIFY(table->isColumnHidden(8));
    }

    void appliedToTableWidthSharedAmongVisibleColumns()
    {
        // Regression: hiding or showing columns kept the old widths until the window was resized,
        // leaving a gap beside the table or pushing CV and CC out of view.
        table->resize(650, 300);
        config->setShowPower(false);
        display->applyConfiguration();
        QCOMPARE(table->columnWidth(0), 66);
        QCOMPARE(table->columnWidth(10), 25);
    }

    void valueTexts_data()
    {
        QTest::addColumn<bool>("voltage");
        QTest::addColumn<QString>("unit");
        QTest::addColumn<int>("precision");
        QTest::addColumn<float>("si");
        QTest::addColumn<QString>("text");
        QTest::addColumn<float>("entered");
        QTest::addColumn<float>("enteredSi");
        QTest::addColumn<QLocale>("locale");
        const QLocale en(QLocale::English, QLocale::UnitedStates);
        QTest::newRow("V") << true << "V" << 2 << 2500.0f << "2,500.00" << 12.5f << 12.5f << en;
        QTest::newRow("kV") << true << "kV" << 3 << 2500.0f << "2.500" << 1.2f << 1200.0f << en;
        QTest::newRow("kV negative")
            << true << "kV" << 1 << -3000.0f << "-3.0" << -0.5f << -500.0f << en;
        QTest::newRow("unknown unit is volts")
            << true << "mV" << 0 << 10.0f << "10" << 3.0f << 3.0f << en;
        QTest::newRow("A") << false << "A" << 4 << 0.0125f << "0.0125" << 0.5f << 0.5f << en;
        QTest::newRow("mA") << false << "mA" << 2 << 0.0125f << "12.50" << 3.0f << 0.003f << en;
        QTest::newRow("uA") << false << micro << 1 << 0.0000125f << "12.5" << 250.0f << 0.00025f
                            << en;
        QTest::newRow("uA thousands")
            << false << micro << 0 << 0.0025f << "2,500" << 1.0f << 1e-6f << en;
        QTest::newRow("unknown unit is amperes")
            << false << "nA" << 1 << 2.0f << "2.0" << 2.0f << 2.0f << en;
        QTest::newRow("follows the default locale") << true << "V" << 1 << 12345.5f << "12.345,5"
                                                    << 1.0f << 1.0f << QLocale(QLocale::German);
    }

    void valueTexts()
    {
        QFETCH(QLocale, locale);
        QLocale::setDefault(locale);
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
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    }
};

QTEST_MAIN(tst_Configuration)
#include "tst_configuration.moc"
