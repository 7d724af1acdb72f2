#include "translations.h"

#include <QLocale>
#include <QtTest>

class TstGermanWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void languageFor_data();
    void languageFor();
};

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

QTEST_MAIN(TstGermanWindow)
#include "tst_germanwindow.moc"
