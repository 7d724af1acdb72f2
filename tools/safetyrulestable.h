#pragma once

#include "sequence.h"

#include <QObject>

class QComboBox;
class QDoubleSpinBox;
class QSpinBox;
class QTableWidget;

/// The safety rules of a sequence in a table: one row per condition, a check box that watches
/// it, the action, and the limits of the current and arc-count rules.
class SafetyRulesTable : public QObject
{
    Q_OBJECT

public:
    /// Fills \a table (not owned; the widgets it gets become its children).
    explicit SafetyRulesTable(QTableWidget *table, QObject *parent = nullptr);

    void show(const Sequence &sequence);
    /// Writes the rules as the table shows them into \a sequence.
    void apply(Sequence *sequence) const;
    void setEditable(bool editable);

private:
    QTableWidget *m_table;
    QComboBox *m_actions[SafetyConditionCount] = {};
    QDoubleSpinBox *m_currentLimit = nullptr;
    QSpinBox *m_arcCount = nullptr;
    QDoubleSpinBox *m_arcMinutes = nullptr;
};

/// Fills \a box with the actions hold, ramp down and off, in the order of SafetyAction.
void addSafetyActions(QComboBox *box);
