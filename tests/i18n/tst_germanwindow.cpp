// The panel under a German locale: its language choice, the main window's menus and shortcuts,
// a connected window with German status text and state word, numbers with a decimal comma
// and a German question box, and the history's and sequences' sentences as they are composed.
#include "commandinputs.h"
#include "ethcontrol.h"
#include "eventtext.h"
#include "frontends/tcpfrontend.h"
#include "historyformat.h"
#include "hvtable.h"
#include "linkreason.h"
#include "modalwatch.h"
#include "model/simmodule.h"
#include "sequencefile.h"
#include "spin.h"
#include "translations.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTextStream>
#include <QTranslator>
#include <QtTest>

namespace {
QString statusText(EthControl &window)
{
    const QList<QLabel *> labels = window.statusBar()->findChildren<QLabel *>();
    return labels.isEmpty() ? QString() : labels.constFirst()->text();
}
} // namespace

class TstGermanWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QCOMPARE(Translations::install(*QCoreApplication::instance()), QStringLiteral("de"));
    }

    void languageFor()
    {
        QCOMPARE(Translations::languageFor(QLocale(QStringLiteral("de_AT"))), QStringLiteral("de"));
        QCOMPARE(Translations::languageFor(QLocale(QStringLiteral("en_US"))), QString());
        QCOMPARE(Translations::languageFor(QLocale(QStringLiteral("fr_FR"))), QString());
        // English is built in, but for the plural forms of texts with a count.
        QTranslator english;
        QVERIFY(english.load(QStringLiteral("vorn_en"), QStringLiteral(":/i18n")));
        QCOMPARE(english.translate("SequenceRunner",
                     "%n arcs within %L1 min, the last on channel %2", nullptr, 1),
            QStringLiteral("%n arc within %L1 min, on channel %2"));
    }

    void composedTexts_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("german");
        HistoryEntry lost;
        lost.link = QStringLiteral("lost");
        lost.reason = LinkReason::timeout(132);
        // Regression: "Verbindung verloren: Connection lost due to timeout while requesting 132".
        QTest::newRow("lost link") << EventText::describe(lost, true)
                                   << "Verbindung verloren: Zeitüberschreitung bei Anfrage 132";
        lost.reason = QStringLiteral("Connection lost due to timeout while requesting 132");
        QTest::newRow("an older file's reason as stored") << EventText::describe(lost,
            true) << "Verbindung verloren: Connection lost due to timeout while requesting 132";
        HistoryEntry cleared;
        cleared.channel = 3;
        cleared.fell = QStringList { "EARC", "ETRP" };
        QTest::newRow("events by their nouns") << EventText::describe(cleared, true)
                                               << "Kanal 3 Ereignisse gelöscht: Überschlag, Trip";
        QString csv;
        QTextStream out(&csv);
        HistoryFormat::writeCsv(out, {});
        out.flush();
        QTest::newRow("CSV header")
            << csv
            << "Zeit,Seriennummer,Quelle,Schweregrad,Ereignis,Spannung (V),Strom (A),"
               "Gesetzte Bits,Gelöschte Bits\n";
        QTest::newRow("one arc") << QCoreApplication::translate(
            "SequenceRunner", "%n arcs within %L1 min, the last on channel %2", nullptr, 1)
                                        .arg(2.5)
                                        .arg(3)
                                 << "1 Überschlag innerhalb von 2,5 min, an Kanal 3";
        QTest::newRow("one channel") << QCoreApplication::translate(
            "SequenceRunner", "channel %1 is not there: the module has %n channels", nullptr, 1)
                                            .arg(7)
                                     << "Kanal 7 gibt es nicht: das Modul hat 1 Kanal";
        QTest::newRow("all channels")
            << onChannelsText({ 0, 1, 2, 3 }, true) << "auf allen Kanälen";
        QTest::newRow("current") << milliampereText(0.0005) << "0,500 mA";
        Sequence sequence;
        QTest::newRow("step in a file error") << SequenceFile::parse(
            R"({ "version": 1, "steps": [ { "voltage": 1 }, { "voltage": 2, "hodl": 5 } ] })",
            &sequence) << "steps[1] (Schritt 2).hodl: unbekannter Schlüssel";
    }
    void composedTexts()
    {
        QFETCH(QString, text);
        QTEST(text, "german");
    }

    void menusAndShortcuts()
    {
        EthControl window;
        QStringList titles;
        for (const QAction *menu : window.menuBar()->actions())
            titles.append(menu->text());
        QCOMPARE(titles, QStringList({ "&Datei", "&Modul", "&Kanal", "&Hilfe" }));
        // Action, text, shortcut; the modifier's name comes from Qt's own German texts.
        const char *const actions[][3] = { { "actionSetVset", "Spannung einstellen...", "V" },
            { "actionSetAllChannelsOn", "Einschalten", "Strg+O" },
            { "actionSetChannelEmergencyOff", "Not-Aus auslösen", "Y" },
            { "actionScanForIpAddress", "IP-Adresse &suchen...", "" } };
        for (const auto &action : actions) {
            const QAction *found = window.findChild<QAction *>(QLatin1String(action[0]));
            QVERIFY2(found, action[0]);
            QCOMPARE(found->text(), QString::fromUtf8(action[1]));
            QCOMPARE(found->shortcut().toString(QKeySequence::NativeText), action[2]);
        }
    }

    void connectedWindow()
    {
        auto sim = vornsim::SimModule::fromPreset(QStringLiteral("KA2F"));
        sim->setNoise(false);
        vornsim::TcpFrontEnd server(sim.get());
        QVERIFY(server.listen(QHostAddress::LocalHost, 0));
        EthControl window;
        window.findChild<QTabWidget *>(QStringLiteral("tabInterfaces"))->setCurrentIndex(1);
        window.findChild<QLineEdit *>(QStringLiteral("edtIpAddress"))->setText("127.0.0.1");
        window.findChild<QLineEdit *>(QStringLiteral("edtPort"))
            ->setText(QString::number(server.serverPort()));
        window.findChild<QPushButton *>(QStringLiteral("buttonConnect"))->click();
        QVERIFY(spinUntil(
            [&] { return statusText(window).startsWith(QStringLiteral("Verbunden mit: ")); },
            20000));
        // Nominal voltage 6000 V with two decimals, German digit grouping and decimal comma.
        const auto *table = window.findChild<HvTable *>(QStringLiteral("table"));
        QVERIFY(spinUntil(
            [&] { return table->item(0, 3) && !table->item(0, 3)->text().isEmpty(); }, 20000));
        QCOMPARE(table->item(0, 3)->text(), QStringLiteral("6.000,00"));
        QCOMPARE(table->item(0, 9)->text(), QStringLiteral("Aus"));
        // The increment step with a decimal comma too; the percent ramp speeds keep their point
        // (regression: "5,000 %/s"), as does the entered percent value.
        QVERIFY(spinUntil(
            [&] {
                return window.findChild<QLabel *>(QStringLiteral("lblVRampSpeed"))->text()
                    == QStringLiteral("5.000 %/s");
            },
            5000));
        QCOMPARE(
            CommandInputs::rampLabel(true, 12.5, QString(), QString()), QStringLiteral("12.5 %/s"));
        QCOMPARE(CommandInputs::incrementLabel(0.5f),
            QStringLiteral("Schrittweite der Spannung: 0,5 Volt"));

        QString question;
        QStringList buttons;
        ModalWatch<QMessageBox> watch([&](QMessageBox *box) {
            question = box->text();
            for (auto button : { QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel })
                buttons.append(box->button(button)->text());
            box->button(QMessageBox::No)->click();
        });
        window.findChild<QPushButton *>(QStringLiteral("buttonDisconnect"))->click();
        QVERIFY(watch.seen);
        QCOMPARE(question, QStringLiteral("Alle Hochspannungen herunterfahren?"));
        QCOMPARE(buttons, (QStringList { "&Ja", "&Nein", "Abbrechen" }));
        QVERIFY(spinUntil(
            [&] { return statusText(window) == QStringLiteral("Nicht verbunden."); }, 5000));
    }
};

QTEST_MAIN(TstGermanWindow)
#include "tst_germanwindow.moc"
