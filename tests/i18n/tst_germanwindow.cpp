// The panel under a German locale: its language choice, the main window's menus and shortcuts,
// and a connected window with German status text and state word, a number with a decimal comma
// and a German question box.
#include "ethcontrol.h"
#include "hvtable.h"
#include "modalwatch.h"
#include "model/simmodule.h"
#include "spin.h"
#include "frontends/tcpfrontend.h"
#include "translations.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QtTest>

class TstGermanWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void languageFor_data();
    void languageFor();
    void menus();
    void actions_data();
    void actions();
    void connectedWindow();
};

static QString statusText(EthControl &window)
{
    const QList<QLabel *> labels = window.statusBar()->findChildren<QLabel *>();
    return labels.isEmpty() ? QString() : labels.constFirst()->text();
}

void TstGermanWindow::initTestCase()
{
    QCOMPARE(Translations::install(*QCoreApplication::instance()), QStringLiteral("de"));
}

void TstGermanWindow::languageFor_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("language");
    QTest::newRow("Germany") << "de_DE"
                             << "de";
    QTest::newRow("Switzerland") << "de_CH"
                                 << "de";
    QTest::newRow("Austria") << "de_AT"
                             << "de";
    QTest::newRow("US English") << "en_US"
                                << "";
    QTest::newRow("French") << "fr_FR"
                            << "";
    QTest::newRow("C") << "C"
                       << "";
}

void TstGermanWindow::languageFor()
{
    QFETCH(QString, locale);
    QFETCH(QString, language);
    QCOMPARE(Translations::languageFor(QLocale(locale)), language);
}

void TstGermanWindow::menus()
{
    EthControl window;
    QStringList titles;
    const QList<QAction *> menus = window.menuBar()->actions();
    for (const QAction *menu : menus)
        titles.append(menu->text());
    for (const char *title : { "&Datei", "&Modul", "&Kanal", "&Hilfe" })
        QVERIFY2(titles.contains(QString::fromUtf8(title)), qPrintable(titles.join(u' ')));
}

void TstGermanWindow::actions_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shortcut");
    QTest::newRow("set voltage") << "actionSetVset"
                                 << "Spannung einstellen..."
                                 << "V";
    QTest::newRow("all on") << "actionSetAllChannelsOn"
                            << "Einschalten"
                            << "Strg+O";
    QTest::newRow("emergency off") << "actionSetChannelEmergencyOff"
                                   << "Not-Aus auslösen"
                                   << "Y";
    QTest::newRow("scan") << "actionScanForIpAddress"
                          << "IP-Adresse &suchen..."
                          << "";
}

void TstGermanWindow::actions()
{
    QFETCH(QString, action);
    QFETCH(QString, text);
    QFETCH(QString, shortcut);
    EthControl window;
    const QAction *found = window.findChild<QAction *>(action);
    QVERIFY(found);
    QCOMPARE(found->text(), text);
    // The modifier's name comes from Qt's own German texts.
    QCOMPARE(found->shortcut().toString(QKeySequence::NativeText), shortcut);
}

void TstGermanWindow::connectedWindow()
{
    auto sim = vornsim::SimModule::fromPreset(QStringLiteral("KA2F"));
    sim->setNoise(false);
    vornsim::TcpFrontEnd server(sim.get());
    QVERIFY(server.listen(QHostAddress::LocalHost, 0));

    EthControl window;
    window.findChild<QTabWidget *>(QStringLiteral("tabInterfaces"))->setCurrentIndex(1);
    window.findChild<QLineEdit *>(QStringLiteral("edtIpAddress"))
        ->setText(QStringLiteral("127.0.0.1"));
    window.findChild<QLineEdit *>(QStringLiteral("edtPort"))
        ->setText(QString::number(server.serverPort()));
    window.findChild<QPushButton *>(QStringLiteral("buttonConnect"))->click();
    QVERIFY(spinUntil(
        [&] { return statusText(window).startsWith(QStringLiteral("Verbunden mit: ")); }, 20000));

    // Nominal voltage 6000 V with two decimals, German digit grouping and decimal comma.
    const auto *table = window.findChild<HvTable *>(QStringLiteral("table"));
    QVERIFY(spinUntil(
        [&] { return table->item(0, 3) && !table->item(0, 3)->text().isEmpty(); }, 20000));
    QCOMPARE(table->item(0, 3)->text(), QStringLiteral("6.000,00"));
    QCOMPARE(table->item(0, 9)->text(), QStringLiteral("Aus"));
    // For a look at the German window: german_window.png in the test's build folder.
    window.show();
    spinFor(300);
    QVERIFY(window.grab().save(QStringLiteral("german_window.png")));

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
    QVERIFY(
        spinUntil([&] { return statusText(window) == QStringLiteral("Nicht verbunden."); }, 5000));
}

QTEST_MAIN(TstGermanWindow)
#include "tst_germanwindow.moc"
