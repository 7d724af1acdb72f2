#include "configuration.h"
#include "numbertexts.h"
#include "refreshtexts.h"

#include <QLocale>
#include <QTest>

#include <cmath>

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
        // Regression: a German locale showed "12,500 %/s"; the percent ramp keeps its point.
        QCOMPARE(RefreshTexts::percentRampText(12.5f), QStringLiteral("12.500 %/s"));
        QLocale::setDefault(QLocale::c());
        QCOMPARE(RefreshTexts::lowCurrentRangeText(0.0000012f), QString::fromUtf8("1.2000 µA"));
        QCOMPARE(RefreshTexts::unitRampText(QStringLiteral("2.50"), QStringLiteral("V")),
            QStringLiteral("2.50 V/s"));
        // Regression: a small negative value lost its sign; "%L1" shows "-0.0".
        QCOMPARE(RefreshTexts::powerText(-1.0f, 0.01f), QStringLiteral("-0.0"));
    }

    void numberKeys_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("unit");
        QTest::addColumn<int>("precision");
        QTest::addColumn<QList<float>>("values");
        const QLocale c = QLocale::c(), german(QLocale::German, QLocale::Germany);
        const QList<float> volts = { 0.125f, 0.005f, 0.004f, 1000.005f, 5999.995f, 0.0f, 2.5f,
            12345.678f, 1e30f, NAN, INFINITY };
        QTest::newRow("volts") << c << "V" << 2 << volts;
        QTest::newRow("kilovolts, German") << german << "kV" << 3 << volts;
        QTest::newRow("volts, no decimals") << c << "V" << 0 << volts;
        const QList<float> amperes = { 0.000125f, 1.2e-6f, 3e-9f, 0.0005f, 0.0f, 0.00415f };
        QTest::newRow("milliamperes") << c << "mA" << 2 << amperes;
        QTest::newRow("microamperes, German") << german << QString::fromUtf8("µA") << 1 << amperes;
        QTest::newRow("amperes, ten decimals") << c << "A" << 10 << amperes;
    }

    // Values near rounding ties, either side of zero, a few units in the last place apart:
    // whatever has the same key shows the same text, and a negative value that rounds to zero
    // shows its sign as the format gives it.
    void numberKeys()
    {
        QFETCH(QLocale, locale);
        QFETCH(QString, unit);
        QFETCH(int, precision);
        QFETCH(QList<float>, values);
        QLocale::setDefault(locale);
        Configuration config(nullptr, QStringLiteral("test"));
        const bool volts = unit.endsWith(u'V');
        config.setVoltageUnit(unit);
        config.setCurrentUnit(unit);
        config.setVoltagePrecision(precision);
        config.setCurrentPrecision(precision);
        const auto text = [&](float value) {
            return volts ? config.voltageText(value) : config.currentText(value);
        };
        const double scale = unit == QLatin1String("kV") ? 1e-3
            : unit == QLatin1String("mA")                ? 1e3
            : unit.startsWith(QChar(0x00B5))             ? 1e6
                                                         : 1.0;
        NumberTexts texts;
        texts.setFormat(scale, precision, text);
        QList<float> near;
        for (float value : values) {
            for (float sign : { 1.0f, -1.0f }) {
                float below = sign * value, above = sign * value;
                near << below;
                for (int step = 0; step < 3; ++step)
                    near << (below = std::nextafter(below, -INFINITY))
                         << (above = std::nextafter(above, INFINITY));
            }
        }
        QHash<quint64, QString> seen;
        for (float value : near) {
            const quint64 key = texts.key(value);
            QCOMPARE(texts.text(key, value), text(value));
            QCOMPARE(seen.value(key, text(value)), text(value));
            seen.insert(key, text(value));
        }
        QVERIFY(seen.size() < near.size());
        QLocale::setDefault(QLocale::c());
    }
};

QTEST_APPLESS_MAIN(TestRefreshTexts)
#include "tst_refreshtexts.moc"
