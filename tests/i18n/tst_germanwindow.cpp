// The panel under a German locale: its language choice, the main window's menus and shortcuts,
// and a connected window with German status text and state word, numbers with a decimal comma
// and a German question box.
#include "ethcontrol.h"
#include "commandinputs.h"
#include "frontends/tcpfrontend.h"
#include "hvtable.h"
#include "modalwatch.h"
#include "model/simmodule.h"
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
        // The percent ramp speed and the increment step with a decimal comma too.
        QVERIFY(spinUntil(
            [&] {
                return window.findChild<QLabel *>(QStringLiteral("lblVRampSpeed"))->text()
                    == QStringLiteral("5,000 %/s");
            },
            5000));
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
