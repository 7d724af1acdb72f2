#include "stattablech.h"
#include "stattablemod.h"
#include "tablestatitem.h"

#include <QLineEdit>
#include <QtTest>

namespace {
const QColor lightGray(192, 192, 192);
const QColor white(255, 255, 255);
const QColor red(255, 0, 0);
const QColor green(0, 255, 0);
const QColor yellow(255, 255, 0);
const QColor orange(255, 160, 60);
constexpr bool Ch = false;
constexpr bool Mod = true;

// Set up as the main window's form does: a double-click would open an editor if the table let
// the base handling run.
template <typename Table> std::unique_ptr<Table> makeTable()
{
    auto table = std::make_unique<Table>();
    table->setEditTriggers(QAbstractItemView::DoubleClicked);
    table->setSelectionMode(QAbstractItemView::NoSelection);
    table->setTabKeyNavigation(false);
    table->resize(1200, 300);
    table->initTable();
    return table;
}

template <typename Table> void fillRow(Table &table, int row, quint16 word)
{
    switch (row) {
    case 0:
        return table.updateControl(word);
    case 1:
        return table.updateStatus(word);
    case 2:
        return table.updateEventStatus(word);
    default:
        return table.updateEventMask(word);
    }
}
}

class tst_StatTable : public QObject
{
    Q_OBJECT

    std::unique_ptr<StatTableCh> ch;
    std::unique_ptr<StatTableMod> mod;

    StatTable &table(bool module) { return module ? static_cast<StatTable &>(*mod) : *ch; }
    void write(bool module, int row, quint16 word)
    {
        module ? ::fillRow(*mod, row, word) : ::fillRow(*ch, row, word);
    }
    void doubleClick(int row, int column)
    {
        ch->show();
        QVERIFY(QTest::qWaitForWindowExposed(ch.get()));
        // A real double-click starts with a press, which makes the cell current.
        const QPoint centre = ch->visualItemRect(ch->item(row, column)).center();
        QTest::mouseClick(ch->viewport(), Qt::LeftButton, {}, centre);
        QTest::mouseDClick(ch->viewport(), Qt::LeftButton, {}, centre);
    }

private slots:
    void init()
    {
        ch = makeTable<StatTableCh>();
        mod = makeTable<StatTableMod>();
    }
    void cleanup()
    {
        ch.reset();
        mod.reset();
    }

    void initTableGivesCaptionsAndGreyCells()
    {
        const QStringList captions = { "Control", "Status ", "Event Status", "Event Mask" };
        QCOMPARE(ch->rowCount(), 4);
        QCOMPARE(ch->columnCount(), 17);
        for (int row = 0; row < 4; ++row) {
            QCOMPARE(ch->item(row, 0)->text(), captions.at(row));
            for (int column = 1; column < 17; ++column) {
                QVERIFY(dynamic_cast<TableStatItem *>(ch->item(row, column)));
                QCOMPARE(ch->item(row, column)->background().color(), lightGray);
            }
        }
        // Regression: the caption column lost its width when the table was laid out.
        ch->resize(1100, 82);
        ch->show();
        QVERIFY(QTest::qWaitForWindowExposed(ch.get()));
        QCOMPARE(ch->columnWidth(0), 104);
    }

    void fill_data()
    {
        QTest::addColumn<bool>("module");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("word");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QColor>("colour");
        QTest::addColumn<QString>("toolTip");
        const struct
        {
            bool module;
            int row, word, column;
            const char *text;
            QColor colour;
            const char *toolTip;
        } cells[] = {
            { Ch, 0, 0x0008, 4, "setON", green, "set Channel on" },
            { Ch, 0, 0x0000, 4, "Ch. off", lightGray, "set Channel off" },
            { Ch, 0, 0x0020, 6, "setEMCY", red, "set Channel Emergency" },
            { Ch, 1, 0x0001, 1, "isPos", lightGray, "Channel is positive" },
            { Ch, 1, 0x0000, 1, "isNEG", lightGray, "Channel is negative" },
            { Ch, 1, 0x0008, 4, "isON", green, "Channel is on" },
            { Ch, 1, 0x0002, 2, "isARC", orange, "an Arc is detected" },
            { Ch, 1, 0x8000, 16, "isVLIM", red, "Voltage limit is exceeded" },
            { Ch, 2, 0x0002, 2, "EARC", orange, "Event Arc Detected" },
            { Ch, 2, 0x8000, 16, "EVLIM", red, "Event Voltage Limit exceeded" },
            { Ch, 2, 0x0000, 4, "", lightGray, "" },
            { Ch, 3, 0x0002, 2, "MEARC", white, "Mask Event Arc is active" },
            { Ch, 3, 0x0000, 2, "MEARC", lightGray, "Mask Event Arc is inactive" },
            { Mod, 0, 0x0020, 6, "setILK", red, "Set Interlock" },
            { Mod, 0, 0x0000, 6, "noILK", lightGray, "Unset Interlock" },
            { Mod, 0, 0x0040, 7, "doCLEAR", green, "Clear all Events" },
            { Mod, 0, 0x0000, 12, "little ENDN", lightGray, "Set Little Endian order" },
            { Mod, 1, 0x0008, 4, "isHVon", green, "High Voltage is on" },
            { Mod, 1, 0x0000, 4, "", lightGray, "" },
            { Mod, 1, 0x0010, 5, "isSrvc", red, "Device in bad condition, service is needed!" },
            // The module's health bits are 1 when healthy.
            { Mod, 1, 0x0100, 9, "isnoSERR", lightGray, "no Sum Error" },
            { Mod, 1, 0x0000, 9, "SERR", red, "Sum Error occured!" },
            { Mod, 1, 0x0000, 10, "RAMP", yellow, "at least one Channel is ramping" },
            { Mod, 1, 0x0800, 12, "isEVNTact", green, "one or more Events are active" },
            { Mod, 1, 0x8000, 16, "isKILena", red, "Kill Enable active!" },
            { Mod, 2, 0x0004, 3, "ELVINS", orange, "Event Live Insertion" },
            { Mod, 2, 0x0010, 5, "ESrvc", red, "Event Service Needed" },
            { Mod, 3, 0x0040, 7, "MEIERR", white, "Mask Event Input Error is active" },
        };
        for (const auto &c : cells) {
            QTest::addRow(
                "%s row %d word %04x column %d", c.module ? "mod" : "ch", c.row, c.word, c.column)
                << c.module << c.row << c.word << c.column << QString::fromLatin1(c.text)
                << c.colour << QString::fromLatin1(c.toolTip);
        }
    }
    void fill()
    {
        QFETCH(bool, module);
        QFETCH(int, row);
        QFETCH(int, word);
        QFETCH(int, column);
        write(module, row, quint16(~word)); // the opposite word first, so the cell must change
        write(module, row, quint16(word));
        const QTableWidgetItem *cell = table(module).item(row, column);
        QTEST(cell->text(), "text");
        QTEST(cell->background().color(), "colour");
        QCOMPARE(cell->background().style(), Qt::SolidPattern);
        QTEST(cell->toolTip(), "toolTip");
    }

    // Every bit of every word, set and clear, against the colour the table is meant to show:
    // one letter per bit, bit 0 first. g green, r red, o orange, y yellow, w white, - light grey;
    // . the fill leaves that cell as it was.
    void everyBitColour_data()
    {
        QTest::addColumn<bool>("module");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("whenSet");
        QTest::addColumn<QString>("whenClear");
        const struct
        {
            const char *name;
            bool module;
            int row;
            const char *whenSet, *whenClear;
        } words[] = {
            { "ch control", Ch, 0, "...g.r..........", "...-.-.........." },
            { "ch status", Ch, 1, "-ooggrgggroororr", "----------------" },
            { "ch event status", Ch, 2, ".ooggrgg.roororr", "----------------" },
            { "ch event mask", Ch, 3, ".wwwwwww.wwwwwww", ".-------.-------" },
            { "mod control", Mod, 0, ".....rg....gg.r.", ".....--....--.-." },
            { "mod status", Mod, 1, "g.ggr.g.---g---r", "-.---.-.ryr-rrr-" },
            { "mod event status", Mod, 2, "..o.r.o...r..rr.", "----------------" },
            { "mod event mask", Mod, 3, "......w...w..ww.", "......-...-..--." },
        };
        for (const auto &w : words) {
            QTest::newRow(w.name) << w.module << w.row << QString::fromLatin1(w.whenSet)
                                  << QString::fromLatin1(w.whenClear);
        }
    }
    void everyBitColour()
    {
        QFETCH(bool, module);
        QFETCH(int, row);
        const QHash<QRgb, QChar> letters
            = { { green.rgb(), u'g' }, { red.rgb(), u'r' }, { orange.rgb(), u'o' },
                  { yellow.rgb(), u'y' }, { white.rgb(), u'w' }, { lightGray.rgb(), u'-' } };
        const QString mark = QStringLiteral("before");
        QString whenSet, whenClear;
        for (int bit = 0; bit < 16; ++bit) {
            for (const bool set : { true, false }) {
                QTableWidgetItem *cell = table(module).item(row, bit + 1);
                cell->setText(mark);
                cell->setBackground(QColor(Qt::blue));
                write(module, row, set ? quint16(1u << bit) : quint16(~(1u << bit)));
                const QColor shown = cell->background().color();
                (set ? whenSet : whenClear) += cell->text() == mark && shown == QColor(Qt::blue)
                    ? u'.'
                    : letters.value(shown.rgb(), u'?');
            }
        }
        QTEST(whenSet, "whenSet");
        QTEST(whenClear, "whenClear");
    }

    void onlyMaskCellsAreToggleable_data()
    {
        QTest::addColumn<bool>("module");
        QTest::addColumn<QList<int>>("columns");
        QTest::newRow("channel") << Ch
                                 << QList<int>({ 2, 3, 4, 5, 6, 7, 8, 10, 11, 12, 13, 14, 15, 16 });
        QTest::newRow("module") << Mod << QList<int>({ 5, 6, 7, 11, 14, 15 });
    }
    void onlyMaskCellsAreToggleable()
    {
        QFETCH(bool, module);
        QFETCH(QList<int>, columns);
        for (int row = 0; row < 4; ++row) {
            for (int column = 0; column < 17; ++column) {
                const bool expected = row == 3 && columns.contains(column);
                QVERIFY2(table(module).isToggleable(table(module).item(row, column)) == expected,
                    qPrintable(QStringLiteral("row %1 column %2").arg(row).arg(column)));
            }
        }
    }

    void doubleClickFlipsOnlyToggleableCells()
    {
        ch->updateEventMask(0x0000);
        doubleClick(3, 1);
        QCOMPARE(ch->item(3, 1)->background().color(), lightGray);
        QTableWidgetItem *cell = ch->item(3, 2);
        doubleClick(3, 2);
        QCOMPARE(ch->currentItem(), cell);
        QCOMPARE(cell->background().color(), white);
        QCOMPARE(cell->toolTip(), QStringLiteral("Mask Event Arc is inactive"));
        QVERIFY(!ch->findChild<QLineEdit *>());
        doubleClick(3, 2);
        QCOMPARE(cell->background().color(), lightGray);
        // A flip is only a local mark: the next fill shows the module's real mask again.
        doubleClick(3, 2);
        ch->updateEventMask(0x0000);
        QCOMPARE(cell->background().color(), lightGray);
    }

    void fillWithoutInitWarnsAndSurvives()
    {
        StatTableCh bare;
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("StatTableCh has no cell items"));
        bare.updateStatus(0x0008);
        QVERIFY(!bare.item(1, 4));
    }
};

QTEST_MAIN(tst_StatTable)
#include "tst_stattable.moc"
