// The family table: which family an identity gets, and each simulator preset polled by its
// family's plans. The simulator keeps its own rules of what a module answers.
#include "enginedriver.h"
#include "model/family.h"
#include "model/simmodule.h"

#include <QSignalSpy>
#include <QTest>

namespace {

/// Brings \a link through the identity and firmware answers of a module.
void identify(FakeLink &link, const QByteArray &device, const QByteArray &firmware,
    const QByteArray &release, int channels)
{
    link.connectDevice();
    link.requestIdentity();
    link.restartFullRead();
    link.feed(EngineDriver::identity(device, release, channels));
    link.feed(firmware + ";" + release + "\r\n");
}

} // namespace

class tst_ModuleFamily : public QObject
{
    Q_OBJECT

private slots:
    void namesAreUnique()
    {
        for (const ModuleFamily &family : ModuleFamily::table())
            QCOMPARE(ModuleFamily::byName(family.name), &family);
        QCOMPARE(ModuleFamily::byName(QString()), &ModuleFamily::unknown());
        QVERIFY(!ModuleFamily::byName(QStringLiteral("no such family")));
    }

    void identification_data()
    {
        QTest::addColumn<QByteArray>("device");
        QTest::addColumn<QByteArray>("firmware");
        QTest::addColumn<QByteArray>("release");
        QTest::addColumn<int>("channels");
        QTest::addColumn<QString>("family");
        QTest::addColumn<QString>("traits");
        auto row = [](const char *device, const char *firmware, const char *release, int channels,
                       const char *family, const char *traits) {
            QTest::addRow("%s %s %s %d", device, firmware, release, channels)
                << QByteArray(device) << QByteArray(firmware) << QByteArray(release) << channels
                << family << traits;
        };
        // "based": values in percent of the nominal ones; "list": one channel takes a list too.
        row("X", "KA3F1", "0.99", 4, "KA3F1", "based");
        row("X", "KA3F1", "1.0", 4, "KA3F1", "based percent");
        row("X", "ka2F8", "3.0", 4, "", "");
        row("X", "KA2F8", "2.04", 4, "KA2F8", "based");
        row("X", "KA2F8", "2.05", 4, "KA2F8", "based percent");
        row("X", "KA2F8X", "3.0", 4, "KA", "based"); // a longer name is another family
        row("X", "DRSB", "3.99", 1, "DRS", "based list");
        row("X", "DRSB", "4.00", 1, "DRS", "based list newepu");
        row("X", "DRSB", "4.08", 1, "DRS", "based percent list newepu");
        row("X", "DRSB", "v5", 1, "DRS", "based list"); // a release that is no number counts as 0
        row("X", "GLW802", "2.09", 1, "GLW802", "units");
        row("X", "GLW802", "2.1", 1, "GLW802", "units mode");
        row("X", "TX01B1", "2.25", 2, "TX01B1", "units");
        row("X", "TX01B1", "2.26", 2, "TX01B1", "units mode");
        row("X", "TX02B0", "1.30", 1, "TX02B0-1", "units echo");
        row("X", "TX02B0", "3.09", 1, "TX02B0-1", "units");
        row("X", "TX02B0", "3.1", 2, "TX02B0", "based units mode");
        row("X", "TX01B0", "5.0", 2, "TX01B0", "units echo");
        row("X", "tx01b0", "5.0", 1, "", "");
        row("X", "WD7A0", "0.1", 1, "WD7A0", "echo");
        row("TQ88812p0010", "F", "1", 1, "TQ88812p00", "io");
        row("TQ88812p0000", "F", "1", 1, "TQ88812p0000", "io emission");
        row("TQ88812P0000", "F", "1", 1, "", "");
    }
    void identification()
    {
        QFETCH(QByteArray, device);
        QFETCH(QByteArray, firmware);
        QFETCH(QByteArray, release);
        QFETCH(int, channels);
        FakeLink link;
        identify(link, device, firmware, release, channels);
        const ModuleFamily &family = link.family();
        QTEST(family.name, "family");
        QCOMPARE(link.module().isPercentBased(), family.percentBased);
        QStringList traits;
        const QList<QPair<bool, const char *>> tests { { family.percentBased, "based" },
            { link.supportsPercentLimits(), "percent" }, { link.supportsUnitLimits(), "units" },
            { link.hasInputOutput(), "io" }, { link.hasEmissionControl(), "emission" },
            { link.supportsInterfaceMode(), "mode" }, { family.listAlways, "list" },
            { family.applies(PlannedQuery::NewEpu, QString::fromLatin1(release).toDouble()),
                "newepu" },
            { link.echoChoices.value(0), "echo" } };
        for (const auto &test : tests) {
            if (test.first)
                traits << QString::fromLatin1(test.second);
        }
        QTEST(traits.join(' '), "traits");
    }

    // Each preset, identified, configured and polled for three cycles by its family's plans,
    // against the simulator: no request is refused, and what the family says of the module is
    // what the simulator's own rules say.
    void presets_data()
    {
        QTest::addColumn<QString>("preset");
        QTest::addColumn<QString>("family");
        const QHash<QString, QString> families { { "KA2F", "KA2F8" }, { "TX01B0", "TX01B0" },
            { "TX01B1", "TX01B1" }, { "TX02B0", "TX02B0" }, { "DRSB", "DRS" },
            { "GLW802", "GLW802" }, { "WD7A0", "WD7A0" }, { "TQ88812p0000", "TQ88812p0000" } };
        for (const QString &preset : vornsim::presetNames())
            QTest::newRow(qPrintable(preset)) << preset << families.value(preset);
    }
    void presets()
    {
        QFETCH(QString, preset);
        const std::unique_ptr<vornsim::SimModule> sim = vornsim::SimModule::fromPreset(preset);
        QVERIFY(sim);
        const vornsim::Identity &id = sim->identity();
        FakeLink link;
        QSignalSpy cycles(&link, &SCPI_Parser::cycleStarting);
        QVERIFY(cycles.isValid());
        link.connectDevice();
        link.requestIdentity();
        link.restartFullRead();
        QStringList refused;
        while (cycles.count() < 4 && link.sent.size() < 200) {
            const QString line = link.lastSent().trimmed();
            const QByteArray answer = sim->handleLine(line.toLatin1());
            QVERIFY2(!answer.isEmpty(), qPrintable(line));
            if (answer.trimmed().split(';').contains("ERROR"))
                refused << line;
            link.feed(answer);
        }
        QCOMPARE(cycles.count(), 4);
        QVERIFY2(refused.isEmpty(), qPrintable(refused.join(QStringLiteral(" | "))));
        QVERIFY2(sim->errorQueue().isEmpty(), sim->errorQueue().join(' ').constData());
        QCOMPARE(link.lastCode(), quint16(SCPI_Parser::ReadVoltageSet));

        const ModuleFamily &family = link.family();
        QTEST(family.name, "family");
        namespace rules = vornsim::family;
        QCOMPARE(family.percentBased, rules::percentBased(id.firmwareName, id.channels));
        QCOMPARE(link.supportsUnitLimits(), rules::limitsInUnits(id.firmwareName));
        QCOMPARE(
            link.echoChoices, QList<bool> { rules::byteEcho(id.firmwareName, id.firmwareRelease) });
        QCOMPARE(link.hasInputOutput(), rules::hasInputOutput(id.deviceName));
        QCOMPARE(link.hasEmissionControl(), rules::hasEmission(id.deviceName));
        QCOMPARE(link.channelList(id.channels, false).isEmpty(),
            rules::listOptional(id.firmwareName, id.channels));
    }
};

QTEST_GUILESS_MAIN(tst_ModuleFamily)
#include "tst_modulefamily.moc"
