// The trend: the bounded ring buffer, min/max decimation, units from the display configuration,
// and the window's sampling and export.
#include "configuration.h"
#include "enginedriver.h"
#include "fakesession.h"
#include "trendexport.h"
#include "trendplot.h"
#include "trendwindow.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

namespace {

void appendOne(TrendBuffer &buffer, qint64 t, float v, float i = 0.0f)
{
    buffer.append(t, &v, &i, 1);
}

} // namespace

class tst_Trend : public QObject
{
    Q_OBJECT

private slots:
    void ringBufferIsBounded()
    {
        TrendBuffer buffer(2, 5);
        for (int t = 0; t < 12; ++t)
            appendOne(buffer, t, float(t));
        QCOMPARE(buffer.size(), 5);
        QCOMPARE(buffer.time(0), qint64(7));
        QCOMPARE(buffer.time(4), qint64(11));
        QCOMPARE(buffer.value(TrendBuffer::Voltage, 0, 0), 7.0f);
        // Channel 1 was never given a value.
        QVERIFY(std::isnan(buffer.value(TrendBuffer::Voltage, 1, 4)));
        QCOMPARE(buffer.lowerBound(9), 2);
        QCOMPARE(buffer.lowerBound(100), 5);
    }

    void decimationKeepsMinimumAndMaximum()
    {
        TrendBuffer buffer(2, 100);
        const float values[] = { 1, 5, -2, 3, 0, 0, 9, 0, 4, 4 };
        for (int k = 0; k < 10; ++k)
            appendOne(buffer, k * 100, values[k]);
        std::vector<TrendBuffer::Range> out;
        buffer.decimate(TrendBuffer::Voltage, 0, 0, 1000, 2, out);
        QCOMPARE(out.size(), size_t(2));
        QCOMPARE(out[0].min, -2.0f);
        QCOMPARE(out[0].max, 5.0f);
        QCOMPARE(out[1].min, 0.0f);
        QCOMPARE(out[1].max, 9.0f);

        // Columns without samples stay empty, so the plot breaks its line there.
        buffer.decimate(TrendBuffer::Voltage, 0, -1000, 1000, 4, out);
        QVERIFY(out[0].isEmpty() && out[1].isEmpty() && !out[2].isEmpty());
        buffer.decimate(TrendBuffer::Voltage, 1, 0, 1000, 2, out);
        QVERIFY(out[0].isEmpty() && out[1].isEmpty());
    }

    void shortGapsAreBridged_data()
    {
        // Columns as text: a digit is a filled column (min = max = digit), "." an empty one.
        QTest::addColumn<QString>("columns");
        QTest::addColumn<QString>("drawn");
        QTest::newRow("short gap drawn across") << "0..3"
                                                << "0123";
        QTest::newRow("gap too long breaks") << "0...4"
                                             << "0...4";
        QTest::newRow("edges stay empty") << "..2.4.."
                                          << "..234..";
    }
    void shortGapsAreBridged()
    {
        QFETCH(QString, columns);
        std::vector<TrendBuffer::Range> out(size_t(columns.size()));
        for (qsizetype c = 0; c < columns.size(); ++c) {
            if (columns.at(c).isDigit())
                out[size_t(c)]
                    = { float(columns.at(c).digitValue()), float(columns.at(c).digitValue()) };
        }
        TrendBuffer::bridgeShortGaps(out, 2);
        QString drawn;
        for (const auto &r : out)
            drawn += r.isEmpty() ? QChar(u'.') : QChar(u'0' + int(std::lround(r.min)));
        QTEST(drawn, "drawn");
    }

    void decimationFindsSpikeAcrossTheWrap()
    {
        // One hour at 10/s plus some, so the ring has wrapped; one spike in 36000 samples.
        TrendBuffer buffer(1, TrendBuffer::DefaultCapacity);
        for (int k = 0; k < TrendBuffer::DefaultCapacity + 5000; ++k)
            appendOne(buffer, qint64(k) * 100, k == 30000 ? 1000.0f : (k == 31000 ? -7.0f : 1.0f));
        std::vector<TrendBuffer::Range> out;
        buffer.decimate(
            TrendBuffer::Voltage, 0, buffer.time(0), buffer.time(buffer.size() - 1) + 1, 800, out);
        float high = 0, low = 0;
        int filled = 0;
        for (const auto &r : out) {
            filled += r.isEmpty() ? 0 : 1;
            high = std::max(high, r.max);
            low = std::min(low, r.min);
        }
        QCOMPARE(filled, 800);
        QCOMPARE(high, 1000.0f);
        QCOMPARE(low, -7.0f);
    }

    /// Units and scales for 1500 V and 2 mA; unknown unit texts count as V and A.
    void units()
    {
        const auto check = [](const char *voltage, const QString &current, const char *shownV,
                               const QString &shownI, double volts, double amperes) {
            Configuration configuration(nullptr, QStringLiteral("Vornwerk GmbH"));
            configuration.setVoltageUnit(QLatin1String(voltage));
            configuration.setCurrentUnit(current);
            const TrendUnits units = trendUnits(configuration);
            return units.voltageUnit == QLatin1String(shownV) && units.currentUnit == shownI
                && std::abs(1500.0 * units.voltageScale - volts) < 1e-9 * volts
                && std::abs(0.002 * units.currentScale - amperes) < 1e-6 * amperes;
        };
        QVERIFY(check("V", "mA", "V", "mA", 1500.0, 2.0));
        QVERIFY(check("kV", "uA", "kV", Configuration::microAmpere(), 1.5, 2000.0));
        QVERIFY(check("mV", "nA", "V", "A", 1500.0, 0.002));
    }

    void windowSamplesFollowsLinkAndExports()
    {
        Configuration configuration(nullptr, QStringLiteral("Vornwerk GmbH"));
        configuration.setVoltageUnit(QStringLiteral("kV"));
        FakeSession session;
        FakeLink &first = session.connectFake();
        EngineDriver::start(first, "KA2F0", "KA2F", "2.10", 4);
        for (int ch = 0; ch < 4; ++ch) {
            first.module().channel(ch).setVoltageMeasure(1000.0f * ch);
            first.module().channel(ch).setCurrentMeasure(0.001f * ch);
        }
        TrendWindow window(&session, &configuration);
        const qint64 t0 = 1'700'000'000'000;
        window.sample(t0);
        window.sample(t0 + 100);
        // The link is deleted at once after a lost connection: no samples, and no access to it.
        session.disconnectFromModule();
        window.sample(t0 + 200);
        QCOMPARE(window.buffer().size(), 2);
        // A new connection with two channels: sampling follows it.
        FakeLink &second = session.connectFake();
        EngineDriver::start(second, "KA2F0", "KA2F", "2.10", 2);
        second.module().channel(1).setVoltageMeasure(2500.0f);
        window.sample(t0 + 300);
        QCOMPARE(window.buffer().size(), 3);
        QCOMPARE(window.plot()->channelMask(), quint64(3));

        QTemporaryDir dir;
        QString error;
        const QString csv = dir.filePath(QStringLiteral("trend.csv"));
        QVERIFY2(window.exportCsv(csv, &error), qPrintable(error));
        QFile file(csv);
        QVERIFY(file.open(QIODevice::ReadOnly | QIODevice::Text));
        const QStringList lines
            = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 4);
        QCOMPARE(lines.at(0), QStringLiteral("Time,U0 (kV),I0 (mA),U1 (kV),I1 (mA)"));
        QCOMPARE(lines.at(1).section(QLatin1Char(','), 1), QStringLiteral("0,0,1,1"));
        QCOMPARE(lines.at(3).section(QLatin1Char(','), 1), QStringLiteral("0,0,2.5,0"));

        window.resize(640, 400);
        window.show();
        const QString png = dir.filePath(QStringLiteral("trend.png"));
        QVERIFY(window.exportPng(png));
        QVERIFY(!QImage(png).isNull());
        QVERIFY(!window.exportCsv(dir.filePath(QStringLiteral("missing/trend.csv")), &error));
        QVERIFY(!error.isEmpty());
    }
};

QTEST_MAIN(tst_Trend)
#include "tst_trend.moc"
