// The statistic dialog: the measurement file it writes, its modes, and write failures.
#include "dialogstatistic.h"
#include "dialogtestsupport.h"
#include "measurementlog.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QtTest>

class tst_DialogStatistic : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }
    void init()
    {
        QTest::failOnWarning(QRegularExpression(QStringLiteral("connectSlotsByName")));
        path = dir.filePath(QStringLiteral("%1.csv").arg(QTest::currentDataTag()));
        QFile::remove(path);
        dialog = std::make_unique<DialogStatistic>(12345);
        dialog->setChannelCount(2);
    }

    void lineFormat()
    {
        QCOMPARE(MeasurementLog::headerLine({ 3 }, { false, true, true }),
            QStringLiteral("Date;Time;Serial no.;Imeasure3;Status3;EventStatus3;Temperature"));
        const QDateTime when(QDate(2026, 1, 2), QTime(3, 4, 5, 67));
        QCOMPARE(MeasurementLog::dataLine(when, 7, QStringLiteral("1;"), 25.04f),
            QStringLiteral("2026-01-02;03:04:05.067;7;1;25.0"));
        struct German
        {
            German() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }
            ~German() { QLocale::setDefault(QLocale::c()); }
        } german;
        QCOMPARE(MeasurementLog::valueField(0.000123456f), QStringLiteral("0,000123456;"));
        QCOMPARE(MeasurementLog::valueField(1234.567f), QStringLiteral("1.234,57;"));
        QCOMPARE(MeasurementLog::dataLine(when, 7, QString(), 25.06f).section(';', 3),
            QStringLiteral("25,1"));
        // The file always ends in .csv, in any case.
        QCOMPARE(MeasurementLog::withCsvSuffix("/tmp/run"), QStringLiteral("/tmp/run.csv"));
        QCOMPARE(MeasurementLog::withCsvSuffix("/tmp/run.txt"), QStringLiteral("/tmp/run.txt.csv"));
        QCOMPARE(MeasurementLog::withCsvSuffix("/tmp/run.CsV"), QStringLiteral("/tmp/run.CsV"));
    }
    void twoChannelsReadBack_data()
    {
        QTest::addColumn<bool>("status");
        QTest::addColumn<QString>("header");
        QTest::addColumn<QString>("values");
        QTest::newRow("measured") << false << "Vmeasure0;Imeasure0;Vmeasure1;Imeasure1"
                                  << "100;0.5;101;1.5";
        QTest::newRow("status") << true
                                << "Vmeasure0;Imeasure0;Status0;EventStatus0;"
                                   "Vmeasure1;Imeasure1;Status1;EventStatus1"
                                << "100;0.5;8;0;101;1.5;9;16";
    }
    void twoChannelsReadBack()
    {
        QFETCH(bool, status);
        QFETCH(QString, header);
        QFETCH(QString, values);
        child<QCheckBox>("writeStatus")->setChecked(status);
        start(path);
        QVERIFY(dialog->isLogging());
        QVERIFY(!child<QPushButton>("btnStart")->isEnabled());
        refresh(12345, 2, 100.0f, 31.24f); // the temperature arrives after the line is written
        refresh(12345, 2, 100.0f, 31.24f);
        child<QPushButton>("btnStop")->click();
        QVERIFY(!dialog->isLogging());

        const QStringList lines = fileLines();
        QCOMPARE(lines.size(), 4); // header, two lines, nothing after the last line feed
        QCOMPARE(lines.at(0), "Date;Time;Serial no.;" + header + ";Temperature");
        const QRegularExpression stamp(
            QStringLiteral("^\\d{4}-\\d\\d-\\d\\d;\\d\\d:\\d\\d:\\d\\d\\.\\d{3};"));
        QVERIFY2(stamp.match(lines.at(1)).hasMatch(), qPrintable(lines.at(1)));
        QCOMPARE(lines.at(1).section(';', 2), "12345;" + values + ";0.0");
        QCOMPARE(lines.at(2).section(';', 2), "12345;" + values + ";31.2");
        QCOMPARE(lines.at(3), QString());
        QCOMPARE(dialog->linesWritten(), 2);
        QCOMPARE(child<QLineEdit>("txtLinesWritten")->text(), QStringLiteral("2"));
    }
    void singleChannel()
    {
        dialog->setChannelCount(4);
        child<QRadioButton>("chkSingleChannel")->click();
        QVERIFY(child<QSpinBox>("spbChannelNumber")->isEnabled());
        child<QSpinBox>("spbChannelNumber")->setValue(3);
        start(path);
        refresh(12345, 4, 10.0f, 20.0f);
        dialog->updateChannelStatus(12345, 3, 0, 0); // a line at every status of channel 3
        dialog->updateChannelVoltageMeasure(12345, 96, 1.0f); // no channel has this number
        child<QPushButton>("btnStop")->click();
        const QStringList lines = fileLines();
        QCOMPARE(
            lines.at(0), QStringLiteral("Date;Time;Serial no.;Vmeasure3;Imeasure3;Temperature"));
        QCOMPARE(lines.at(1).section(';', 2), QStringLiteral("12345;13;3.5;0.0"));
        QCOMPARE(lines.at(2).section(';', 2), QStringLiteral("12345;13;3.5;20.0"));
        QCOMPARE(lines.size(), 4);
    }
    void delayDropsLines()
    {
        child<QSpinBox>("delaySpinBox")->setValue(100000);
        start(path);
        refresh(12345, 2, 1.0f, 20.0f);
        QCOMPARE(dialog->linesWritten(), 0);
        child<QSpinBox>("delaySpinBox")->setValue(0);
        refresh(12345, 2, 1.0f, 20.0f);
        QCOMPARE(dialog->linesWritten(), 1);
        child<QPushButton>("btnStop")->click();
        QCOMPARE(fileLines().size(), 3);
    }
    void onceAndStartTwice()
    {
        child<QLineEdit>("txtFilename")->setText(path);
        child<QPushButton>("pushButtonOnce")->click();
        QVERIFY(!dialog->isLogging());
        refresh(12345, 2, 1.0f, 20.0f);
        QVERIFY(!dialog->isLogging());
        refresh(12345, 2, 1.0f, 20.0f); // Once is over: nothing more
        QCOMPARE(fileLines().size(), 3);

        for (int run = 0; run < 2; ++run) {
            child<QPushButton>("btnStart")->click();
            QVERIFY(!child<QPushButton>("pushButtonOnce")->isEnabled());
            refresh(12345, 2, 1.0f, 20.0f);
            child<QPushButton>("btnStop")->click();
            QVERIFY(child<QPushButton>("pushButtonOnce")->isEnabled());
        }
        const QStringList lines = fileLines();
        QCOMPARE(lines.size(), 7);
        QCOMPARE(lines.filter(QStringLiteral("Date;Time")).size(), 3);
    }
    void failureStopsAndWarns_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("reason");
        QTest::newRow("missing folder")
            << dir.filePath(QStringLiteral("missing-folder/x.csv")) << QString();
        // Every write to /dev/full fails as a full disk would.
        QTest::newRow("disk full") << "/dev/full"
                                   << "No space left on device";
    }
    void failureStopsAndWarns()
    {
        QFETCH(QString, file);
        QFETCH(QString, reason);
        // The file name the dialog proposes comes from the serial number.
        QCOMPARE(child<QLineEdit>("txtFilename")->text(),
            QDir::toNativeSeparators(QDir::currentPath() + "/12345.csv"));
        start(file);
        QVERIFY(!dialog->isLogging());
        auto *box = dialog->findChild<QMessageBox *>();
        QVERIFY(box);
        QCOMPARE(box->windowTitle(), QStringLiteral("Vorn SCPI Control"));
        QVERIFY2(
            box->text().contains(file) && box->text().contains(reason), qPrintable(box->text()));
        QVERIFY(child<QPushButton>("btnStart")->isEnabled());
        QVERIFY(!child<QPushButton>("btnStop")->isEnabled());
        QVERIFY(child<QLineEdit>("txtFilename")->isEnabled());
        refresh(12345, 2, 1.0f, 20.0f); // updates without a file write nothing and do not fail
        QCOMPARE(dialog->linesWritten(), 0);
    }

private:
    template <typename T> T *child(const char *name) const
    {
        return ::child<T>(dialog.get(), QString::fromLatin1(name));
    }
    void start(const QString &fileName)
    {
        child<QLineEdit>("txtFilename")->setText(fileName);
        child<QPushButton>("btnStart")->click();
    }
    /// One display refresh of a module, in the main window's calling order.
    void refresh(int serial, int channels, float base, float temperature)
    {
        dialog->updateAllModulesStarted();
        for (int n = 0; n < channels; ++n) {
            dialog->updateChannelVoltageMeasure(serial, n, base + n);
            dialog->updateChannelCurrentMeasure(serial, n, 0.5f + n);
            dialog->updateChannelStatus(serial, n, 8 + n, 16u * n);
        }
        dialog->updateModuleTemperature(serial, 0, temperature);
        dialog->updateModuleTemperature(serial, 1, 99.0f); // other indexes are ignored
        dialog->updateAllModulesCompleted();
    }
    QStringList fileLines() const
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        const QString text = QString::fromLocal8Bit(file.readAll());
        return text.split(QLatin1Char('\n'));
    }

    QTemporaryDir dir;
    QString path;
    std::unique_ptr<DialogStatistic> dialog;
};

QTEST_MAIN(tst_DialogStatistic)
#include "tst_dialogstatistic.moc"
