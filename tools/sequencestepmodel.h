#pragma once

#include "sequence.h"

#include <QAbstractTableModel>
#include <QList>

/// The steps of a sequence as an editable table: one row per step; numbers in the locale's
/// format, an empty cell for a value the step leaves as it is (ramp speed, current, time-out).
/// Two columns are check boxes: the target in percent of nominal, and "until stable". An entry
/// is read by readOperatorNumber(); one that is no number in the locale's notation (also one
/// with a thousands separator), or out of range, is refused with entryRefused() and the cell
/// keeps its value.
class SequenceStepModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column {
        Voltage,
        Percent,
        RampSpeed,
        Current,
        Hold,
        UntilStable,
        Tolerance,
        CurrentChange,
        Window,
        Timeout,
        ColumnCount
    };

    explicit SequenceStepModel(QObject *parent = nullptr);

    void setSteps(const QList<SequenceStep> &steps);
    const QList<SequenceStep> &steps() const { return m_steps; }
    /// Adds a copy of the step before \a row (or a default step) after \a row.
    void insertStep(int row);
    void removeStep(int row);
    /// While a sequence runs the table is read-only and the running step is marked.
    void setRunning(bool running, int step);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

signals:
    /// An entry was refused; \a why tells the operator the step, the column and the reason.
    void entryRefused(const QString &why);

private:
    QList<SequenceStep> m_steps;
    bool m_running = false;
    int m_activeStep = -1;
};
