// The Sequence window without a module: the shipped example shown, step cells that refuse what
// is no value for them, a channel list that is no list, a file that is refused with its key.
#include "modulesession.h"
#include "sequencestepmodel.h"
#include "modulecontroller.h"
#include "sequencewindow.h"

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

class tst_SequenceWindow : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void stepCells_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("shown"); // what the cell shows afterwards
        QTest::addColumn<QString>("told"); // what the operator is told
        const auto row = [](const char *name, const char *locale, int column, const char *entry,
                             const char *shown, const char *told = "") {
            QTest::newRow(name) << locale << column << entry << shown << told;
        };
        const int target = SequenceStepModel::Voltage;
        const int current = SequenceStepModel::Current;
        const QString separator
            = QStringLiteral("Step 1, Iset (A): \"%1\" holds the thousands separator \"%2\": "
                             "write the decimal separator \"%3\" and no thousands separator.");
        row("target", "C", target, "1500", "1500");
        row("no number", "C", target, "12x", "250", "Step 1, Target: \"12x\" is no number.");
        row("negative hold", "C", SequenceStepModel::Hold, "-5", "60",
            "Step 1, Hold (s): -5 is less than 0.");
        row("ramp left as it is", "C", SequenceStepModel::RampSpeed, "", "");
        row("tolerance above 0", "C", SequenceStepModel::Tolerance, "0", "5",
            "Step 1, Tol. (V): 0 is less than 1e-06.");
        row("empty target", "de_DE", target, " ", "250", "Step 1, Target: no number given.");
        // Before, German "0.500" became 500 A: the point was read as a thousands separator.
        row("German point", "de_DE", current, "0.500", "",
            qPrintable(
                separator.arg(QStringLiteral("0.500"), QStringLiteral("."), QStringLiteral(","))));
        row("German comma", "de_DE", current, "0,500", "0,5");
        row("English point", "en_US", current, "0.500", "0.5");
        row("English comma", "en_US", current, "1,000", "",
            qPrintable(
                separator.arg(QStringLiteral("1,000"), QStringLiteral(","), QStringLiteral("."))));
        // Regression: shown as "1E-07".
        row("current change in fixed notation", "C", SequenceStepModel::CurrentChange,
            "0.0000001", "0.0000001");
    }
    void stepCells()
    {
        QFETCH(QString, locale);
        QFETCH(int, column);
        QFETCH(QString, entry);
        QFETCH(QString, shown);
        QFETCH(QString, told);
        QLocale::setDefault(QLocale(locale));
        ModuleController controller;
        SequenceWindow window(&controller);
        auto *model = window.findChild<SequenceStepModel *>();
        QCOMPARE(model->rowCount(), 8); // the example: to 2 kV in 250 V steps
        QSignalSpy refused(model, &SequenceStepModel::entryRefused);
        QVERIFY(refused.isValid());
        const QModelIndex cell = model->index(0, column);
        model->setData(cell, entry, Qt::EditRole);
        QCOMPARE(model->data(cell, Qt::DisplayRole).toString(), shown);
        QCOMPARE(refused.value(0).value(0).toString(), told);
        Sequence s;
        QString error;
        QVERIFY(window.sequence(&s, &error));
    }

    void badChannelsAndFiles()
    {
        ModuleController controller;
        SequenceWindow window(&controller);
        window.findChild<QLineEdit *>(QStringLiteral("edtChannels"))
            ->setText(QStringLiteral("0-x"));
        Sequence s;
        QString error;
        QVERIFY(!window.sequence(&s, &error));
        QCOMPARE(
            error, QStringLiteral("Channels: \"0-x\" is no channel number or range from 0 to 63"));
        QVERIFY(!window.findChild<QPushButton *>(QStringLiteral("btnStart"))->isEnabled());

        QTemporaryDir dir;
        QFile file(dir.filePath(QStringLiteral("bad.json")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(R"({ "version": 1, "steps": [ { "voltage": 1, "timeout": "soon" } ] })");
        file.close();
        QString said;
        QTimer::singleShot(0, this, [&said] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                said = box->text();
                box->accept();
            }
        });
        QVERIFY(!window.loadFile(file.fileName()));
        QVERIFY2(said.endsWith(QLatin1String("steps[0] (step 1).timeout: must be a number")),
            qPrintable(said));
    }
};

QTEST_MAIN(tst_SequenceWindow)
#include "tst_sequencewindow.moc"
