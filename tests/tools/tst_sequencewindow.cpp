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
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

class tst_SequenceWindow : public QObject
{
    Q_OBJECT

private slots:
    void stepCells_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("shown"); // what the cell shows afterwards
        QTest::newRow("target") << int(SequenceStepModel::Voltage) << "1500"
                                << "1500";
        QTest::newRow("no number") << int(SequenceStepModel::Voltage) << "12x"
                                   << "250";
        QTest::newRow("negative hold") << int(SequenceStepModel::Hold) << "-5"
                                       << "60";
        QTest::newRow("ramp left as it is") << int(SequenceStepModel::RampSpeed) << ""
                                            << "";
        QTest::newRow("current needs a value") << int(SequenceStepModel::Current) << "0.002"
                                               << "0.002";
        QTest::newRow("tolerance above 0") << int(SequenceStepModel::Tolerance) << "0"
                                           << "5";
        // Regression: shown as "1E-07".
        QTest::newRow("current change in fixed notation")
            << int(SequenceStepModel::CurrentChange) << "0.0000001"
            << "0.0000001";
    }
    void stepCells()
    {
        QFETCH(int, column);
        QFETCH(QString, entry);
        QFETCH(QString, shown);
        QLocale::setDefault(QLocale::c());
        ModuleController controller;
        SequenceWindow window(&controller);
        auto *model = window.findChild<SequenceStepModel *>();
        QCOMPARE(model->rowCount(), 8); // the example: to 2 kV in 250 V steps
        const QModelIndex cell = model->index(0, column);
        model->setData(cell, entry, Qt::EditRole);
        QCOMPARE(model->data(cell, Qt::DisplayRole).toString(), shown);
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
