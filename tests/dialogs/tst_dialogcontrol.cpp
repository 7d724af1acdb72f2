// The channel and module control dialogs: which boxes an update rewrites, and the words the
// buttons send.
#include "dialogchannelcontrol.h"
#include "dialogmodulecontrol.h"
#include "dialogtestsupport.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>
#include <QtTest>

namespace {
QCheckBox *box(QObject *dialog, const QString &name)
{
    return child<QCheckBox>(dialog, name);
}
void click(QObject *dialog, const char *button)
{
    child<QPushButton>(dialog, QLatin1String(button))->click();
}
} // namespace

class tst_DialogControl : public QObject
{
    Q_OBJECT

private slots:
    void init() { QTest::failOnWarning(QRegularExpression(QStringLiteral("connectSlotsByName"))); }

    void channelRewritesOnlyChangedGroups()
    {
        DialogChannelControl dialog;
        for (const char *group : { "grpStatus", "grpEventStatus", "grpEventMask", "grpControl" })
            QCOMPARE(child<QGroupBox>(&dialog, group)->minimumSize(), QSize(119, 385));
        dialog.updateChannelControlStatus(2, 0, 0x0008, 0, 0x8000, 0, 0);
        QVERIFY(box(&dialog, "chk_isON")->isChecked());
        QVERIFY(box(&dialog, "chk_MEVLIM")->isChecked());
        // The operator's unsent ticks survive an update with a new status but the same mask.
        box(&dialog, "chk_METRIP")->setChecked(true);
        box(&dialog, "chk_setON")->setChecked(true);
        dialog.updateChannelControlStatus(2, 0, 0x0010, 0, 0x8000, 0, 0);
        QVERIFY(!box(&dialog, "chk_isON")->isChecked());
        QVERIFY(box(&dialog, "chk_isRAMP")->isChecked());
        QVERIFY(box(&dialog, "chk_METRIP")->isChecked());
        QVERIFY(box(&dialog, "chk_setON")->isChecked());
        // A new mask from the module replaces them.
        dialog.updateChannelControlStatus(2, 0x0020, 0x0010, 0, 0x4000, 0, 0);
        QVERIFY(!box(&dialog, "chk_METRIP")->isChecked());
        QVERIFY(box(&dialog, "chk_MEILIM")->isChecked());
        QVERIFY(box(&dialog, "chk_setEMCY")->isChecked());
        QVERIFY(!box(&dialog, "chk_setON")->isChecked());
    }

    void channelSendsWordsKeepingUnshownBits()
    {
        DialogChannelControl dialog;
        QSignalSpy mask(&dialog, &DialogChannelControl::setChannelEventMask);
        QSignalSpy control(&dialog, &DialogChannelControl::setChannelControl);
        QSignalSpy clear(&dialog, &DialogChannelControl::clearChannelEvents);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Channel Control / Status"));
        click(&dialog, "btnClearEvents"); // before the first update: no channel yet
        QCOMPARE(clear.at(0).at(0).value<quint16>(), quint16(65535));

        dialog.updateChannelControlStatus(5, 0x0400, 0, 0, 0x0381, 0, 0);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Channel 5 Status / Control"));
        box(&dialog, "chk_MECV")->setChecked(false);
        click(&dialog, "btnSetMask");
        QCOMPARE(mask.size(), 1);
        QCOMPARE(mask.at(0).at(0).value<quint16>(), quint16(5));
        QCOMPARE(mask.at(0).at(1).value<quint16>(), quint16(0x0301));
        box(&dialog, "chk_setON")->setChecked(true);
        click(&dialog, "btnSetControl");
        QCOMPARE(control.size(), 1);
        QCOMPARE(control.at(0).at(1).value<quint16>(), quint16(0x0408));
    }

    void moduleEnableChannelBoxes_data()
    {
        QTest::addColumn<QList<int>>("counts");
        QTest::addColumn<int>("enabled");
        QTest::newRow("3") << QList<int> { 3 } << 0;
        QTest::newRow("8") << QList<int> { 8 } << 8;
        QTest::newRow("16") << QList<int> { 16 } << 12;
        QTest::newRow("24") << QList<int> { 24 } << 24;
        QTest::newRow("32") << QList<int> { 32 } << 12;
        QTest::newRow("24 then 3 keeps all") << QList<int> { 24, 3 } << 24;
    }
    void moduleEnableChannelBoxes()
    {
        QFETCH(QList<int>, counts);
        QFETCH(int, enabled);
        DialogModuleControl dialog;
        for (int count : counts)
            dialog.enableChannelBoxes(count);
        for (int i = 0; i < 32; ++i)
            QCOMPARE(box(&dialog, QStringLiteral("chk_ECM%1").arg(i))->isEnabled(), i < enabled);
    }

    void moduleSelectAllChannels()
    {
        DialogModuleControl dialog;
        dialog.enableChannelBoxes(8);
        auto *select = child<QPushButton>(&dialog, QStringLiteral("btnSelectECM"));
        select->click();
        for (int i = 0; i < 24; ++i)
            QCOMPARE(box(&dialog, QStringLiteral("chk_ECM%1").arg(i))->isChecked(), i < 8);
        QCOMPARE(select->text(), QStringLiteral("Unselect All"));
        select->click();
        for (int i = 0; i < 8; ++i)
            QVERIFY(!box(&dialog, QStringLiteral("chk_ECM%1").arg(i))->isChecked());
        QCOMPARE(select->text(), QStringLiteral("Select All"));
    }

    void moduleStatusBits()
    {
        DialogModuleControl dialog;
        dialog.updateModuleControlStatus(0, 0x8001, 0, 0);
        const auto boxes = child<QGroupBox>(&dialog, "grpStatus")->findChildren<QCheckBox *>();
        QCOMPARE(boxes.size(), 16);
        for (QCheckBox *b : boxes) {
            const bool expected
                = b->objectName() == "chk_isKILLena" || b->objectName() == "chk_isADJ";
            QVERIFY2(b->isChecked() == expected, qPrintable(b->objectName()));
        }
        // An unchanged word touches no box, so an operator tick in the mask group stays.
        box(&dialog, "chk_MEIERR")->setChecked(true);
        dialog.updateModuleControlStatus(0, 0x8001, 0, 0);
        QVERIFY(box(&dialog, "chk_MEIERR")->isChecked());
    }

    void moduleSendsWords()
    {
        DialogModuleControl dialog;
        QSignalSpy control(&dialog, &DialogModuleControl::setModuleControl);
        QSignalSpy channels(&dialog, &DialogModuleControl::setModuleEventChannelMask);
        QSignalSpy groups(&dialog, &DialogModuleControl::setModuleEventGroupMask);
        // Clear is one shot: sent once, then unticked.
        dialog.updateModuleControlStatus(0x0100, 0, 0, 0);
        box(&dialog, "chk_doCLEAR")->setChecked(true);
        click(&dialog, "btnSetControl");
        QCOMPARE(control.at(0).at(0).value<quint16>(), quint16(0x0140));
        QVERIFY(!box(&dialog, "chk_doCLEAR")->isChecked());

        dialog.enableChannelBoxes(24);
        box(&dialog, "chk_ECM5")->setChecked(true);
        box(&dialog, "chk_ECM23")->setChecked(true);
        box(&dialog, "chk_ECM31")->setChecked(true); // beyond any channel: never sent
        click(&dialog, "btnSetECM");
        QCOMPARE(channels.at(0).at(0).value<quint32>(), quint32(0x00800020));
        box(&dialog, "chk_EGM31")->setChecked(true);
        click(&dialog, "btnSetEGM");
        QCOMPARE(groups.at(0).at(0).value<quint32>(), quint32(0x80000000));
    }
};

QTEST_MAIN(tst_DialogControl)
#include "tst_dialogcontrol.moc"
