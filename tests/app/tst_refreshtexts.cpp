#include "refreshtexts.h"

#include <QLocale>
#include <QTest>

class TestRefreshTexts : public QObject
{
    Q_OBJECT

private slots:
    void stateWord_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<int>("control");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QColor>("background");
        const auto bits = [](std::initializer_list<int> list) {
            int word = 0;
            for (int b : list)
                word |= 1 << b;
            return word;
        };
        QTest::newRow("emergency beats on")
            << bits({ 5, 3 }) << 0 << "Emergency" << QColor(Qt::red);
        QTest::newRow("inhibit beats voltage bounds")
            << bits({ 12, 11 }) << 0 << "External Inhibit" << QColor(Qt::red);
        QTest::newRow("voltage bounds beat trip")
            << bits({ 11, 13 }) << 0 << "Voltage Bounds" << QColor(Qt::red);
        QTest::newRow("trip beats current bounds")
            << bits({ 13, 10 }) << 0 << "Trip" << QColor(Qt::red);
        QTest::newRow("current bounds beat ramp")
            << bits({ 10, 4 }) << 0 << "Current Bounds" << QColor(Qt::red);
        QTest::newRow("ramp beats constant current")
            << bits({ 4, 6 }) << 0 << "Ramp" << QColor(Qt::green);
        QTest::newRow("constant current beats constant voltage")
            << bits({ 6, 7 }) << 0 << "Constant Current" << QColor(Qt::green);
        QTest::newRow("constant voltage beats on")
            << bits({ 7, 3 }) << 0 << "Constant Voltage" << QColor(Qt::green);
        QTest::newRow("on") << bits({ 3 }) << bits({ 3 }) << "On" << QColor(Qt::green);
        QTest::newRow("switched on, not yet on") << 0 << bits({ 3 }) << "On" << QColor(Qt::yellow);
        QTest::newRow("off, other bits ignored")
            << bits({ 0, 1, 2, 8, 9, 14, 15 }) << bits({ 5 }) << "Off" << QColor(Qt::lightGray);
    }

    void stateWord()
    {
        QFETCH(int, status);
        QFETCH(int, control);
        QFETCH(QString, text);
        QFETCH(QColor, background);
        const RefreshTexts::StateWord word
            = RefreshTexts::stateWord(static_cast<quint16>(status), static_cast<quint16>(control));
        QCOMPARE(word.text, text);
        QCOMPARE(word.background, background);
    }

    void numbers()
    {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        QCOMPARE(RefreshTexts::lowCurrentRangeText(0.0000012f), QString::fromUtf8("1,2000 µA"));
        QCOMPARE(RefreshTexts::powerText(1500.0f, 0.002f), QStringLiteral("3,0"));
        QCOMPARE(RefreshTexts::percentRampText(12.5f), QStringLiteral("12,500 %/s"));
        QLocale::setDefault(QLocale::c());
        QCOMPARE(RefreshTexts::percentRampText(12.5f), QStringLiteral("12.500 %/s"));
        QCOMPARE(RefreshTexts::lowCurrentRangeText(0.0000012f), QString::fromUtf8("1.2000 µA"));
        QCOMPARE(RefreshTexts::unitRampText(QStringLiteral("2.50"), QStringLiteral("V")),
            QStringLiteral("2.50 V/s"));
        // A small negative power is formatted with its sign; the table drops it.
        QCOMPARE(RefreshTexts::powerText(-1.0f, 0.01f), QStringLiteral("-0.0"));
        QCOMPARE(RefreshTexts::withoutNegativeZero(RefreshTexts::powerText(-1.0f, 0.01f)),
            QStringLiteral("0.0"));
    }

    void withoutNegativeZero_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("shown");
        const char *rows[][3] = { { "current rounding to zero", "-0.00", "0.00" },
            { "power rounding to zero", "-0,0", "0,0" },
            { "low current range", "-0.0000 µA", "0.0000 µA" },
            { "real negative value", "-0.01", "-0.01" },
            { "negative with group separator", "-1,000.00", "-1,000.00" },
            { "no digits", "-nan", "-nan" } };
        for (const auto &row : rows)
            QTest::newRow(row[0]) << QString::fromUtf8(row[1]) << QString::fromUtf8(row[2]);
        QTest::newRow("empty") << QString() << QString();
    }

    void withoutNegativeZero()
    {
        QFETCH(QString, text);
        QFETCH(QString, shown);
        QCOMPARE(RefreshTexts::withoutNegativeZero(text), shown);
    }
};

QTEST_APPLESS_MAIN(TestRefreshTexts)
#include "tst_refreshtexts.moc"
