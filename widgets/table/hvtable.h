#pragma once

#include <QList>
#include <QTableWidget>

#include <memory>

class HvTableItemDelegate;

/// The channel table: one row per channel, twelve columns (0 Vset, 1 Vmeas, 2 Vbounds,
/// 3 Vnominal, 4 Iset, 5 Imeas, 6 Ibounds, 7 Inominal, 8 Power, 9 Status, 10 CV, 11 CC).
/// Columns 0, 2, 4 and 6 can be edited in place with F2 or a double-click; a committed edit
/// leaves as cellDataChanged() with the text as the operator typed it, unchecked. While a cell
/// is being edited, setCell() leaves that one cell alone so the refresh does not overwrite the
/// operator's input.
class HvTable : public QTableWidget
{
    Q_OBJECT

public:
    enum Column {
        VoltageSet,
        VoltageMeasured,
        VoltageBounds,
        VoltageNominal,
        CurrentSet,
        CurrentMeasured,
        CurrentBounds,
        CurrentNominal,
        Power,
        Status,
        ConstantVoltage,
        ConstantCurrent
    };

    explicit HvTable(QWidget *parent = nullptr);
    ~HvTable() override;

    /// Sets the number of rows. New rows get the header "Channel <index>" and a height of
    /// 20 pixels; the per-channel flag lists grow as needed and never shrink.
    void setChannelCount(int count);
    /// Writes one cell's text and solid background, and the row channel's marker flag for
    /// columns 4 and 5. Does nothing for the cell under edit, or for a cell outside the table.
    void setCell(int row, int column, const QString &text, const QColor &background);
    /// Stored for \a channel; shown as the "L" marker at the next setCell() of column 5.
    void setLowCurrentRange(int channel, bool on);
    /// Stored for \a channel; shown as the "T" marker at the next setCell() of column 4.
    void setDelayedTrip(int channel, bool on);
    /// Creates the column's header item if it has none, then sets its text.
    void setHeaderText(int column, const QString &text);
    /// Writes the units into the headers of columns 0 to 7 ("Vset (kV)"), shows or hides the
    /// bounds and power columns and shares the width out again.
    void showUnitsAndColumns(const QString &voltageUnit, const QString &currentUnit,
        bool voltageBounds, bool currentBounds, bool power);
    /// Marks the row header of \a channel with an alarm sign in red, or takes the mark away;
    /// stored for a row that does not exist yet.
    void setRowAlarm(int channel, bool on);
    bool rowAlarm(int channel) const
    {
        return channel >= 0 && channel < rowAlarms.size() && rowAlarms.at(channel);
    }

    /// The cell under edit, -1 when none.
    int editingRow() const { return editRow; }
    int editingColumn() const { return editColumn; }

public slots:
    void dataEntered(int row, int column, QString text);
    void dataDiscarded();
    /// Columns 10 and 11 are 25 pixels wide; the visible columns among 0 to 9 share the rest,
    /// except that the Status column is never narrower than its widest state word.
    void resizeEvent(QResizeEvent *event) override;

signals:
    void cellDataChanged(int row, int column, QString data);

protected:
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    /// Records the current cell as the one under edit and strips the locale's group separator
    /// from its text; false when the current column is not editable.
    bool beginEdit();
    /// Clears the edit mark when the default handling opened no editor after beginEdit().
    void endEditWithoutEditor();
    /// Lays the columns out for a table \a tableWidth pixels wide (see resizeEvent()).
    void applyWidthRule(int tableWidth);
    /// Width the Status column needs to show \a text whole; 0 for an empty text.
    int statusTextWidth(const QString &text) const;
    void showRowAlarm(int row);

    std::unique_ptr<HvTableItemDelegate> delegate;
    int editRow = -1;
    int editColumn = -1;
    QList<bool> lowCurrentRange;
    QList<bool> delayedTrip;
    QList<bool> rowAlarms;
    int layoutWidth = -1; ///< width of the last resize, -1 before the first
};
