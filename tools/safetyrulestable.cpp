#include "safetyrulestable.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QHeaderView>
#include <QSpinBox>
#include <QTableWidget>

namespace {
enum Column { Condition, Action, Limit, Within, Columns };

/// A rule that may not be ignored keeps its check mark.
Qt::ItemFlags checkFlags(SafetyCondition condition, bool editable)
{
    return editable && safetyConditionMayIgnore(condition)
        ? Qt::ItemIsEnabled | Qt::ItemIsUserCheckable
        : Qt::ItemIsEnabled;
}
} // namespace

void addSafetyActions(QComboBox *box)
{
    for (SafetyAction action : { SafetyAction::Hold, SafetyAction::RampDown, SafetyAction::Off })
        box->addItem(safetyActionText(action));
}

SafetyRulesTable::SafetyRulesTable(QTableWidget *table, QObject *parent)
    : QObject(parent)
    , m_table(table)
{
    table->setColumnCount(Columns);
    table->setRowCount(SafetyConditionCount);
    table->setHorizontalHeaderLabels({ tr("Condition"), tr("Action"), tr("Limit"), tr("Within") });
    table->verticalHeader()->hide();
    for (int row = 0; row < SafetyConditionCount; ++row) {
        auto *item = new QTableWidgetItem(safetyConditionText(SafetyCondition(row)));
        item->setToolTip(item->text());
        item->setFlags(checkFlags(SafetyCondition(row), true));
        table->setItem(row, Condition, item);
        m_actions[row] = new QComboBox(table);
        addSafetyActions(m_actions[row]);
        table->setCellWidget(row, Action, m_actions[row]);
    }
    // The limit is shown in mA, as detector currents are.
    m_currentLimit = new QDoubleSpinBox(table);
    m_currentLimit->setDecimals(3);
    m_currentLimit->setRange(0, 1000);
    m_currentLimit->setSingleStep(0.1);
    m_currentLimit->setSuffix(QStringLiteral(" mA"));
    table->setCellWidget(int(SafetyCondition::CurrentAbove), Limit, m_currentLimit);
    m_arcCount = new QSpinBox(table);
    m_arcCount->setRange(1, 1000);
    table->setCellWidget(int(SafetyCondition::Arcs), Limit, m_arcCount);
    m_arcMinutes = new QDoubleSpinBox(table);
    m_arcMinutes->setRange(0.01, 24 * 60);
    m_arcMinutes->setSuffix(tr(" min"));
    // Only the bridge has a broker; the rule travels with the file and is always watched there.
    table->item(int(SafetyCondition::BrokerLost), Condition)
        ->setToolTip(tr("Taken by the module bridge when it loses its MQTT broker for a few "
                        "seconds; always watched there. The panel has no broker."));
    table->setCellWidget(int(SafetyCondition::Arcs), Within, m_arcMinutes);
    // A condition wider than its column wraps rather than being cut.
    table->setWordWrap(true);
    QHeaderView *header = table->horizontalHeader();
    // The limits get what their numbers need; the condition takes the rest.
    header->setSectionResizeMode(Condition, QHeaderView::Stretch);
    header->setSectionResizeMode(Action, QHeaderView::ResizeToContents);
    for (int column : { int(Limit), int(Within) }) {
        header->setSectionResizeMode(column, QHeaderView::Fixed);
        header->resizeSection(
            column, table->fontMetrics().horizontalAdvance(QStringLiteral("000.000 mA")) + 24);
    }
    table->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
}

void SafetyRulesTable::show(const Sequence &sequence)
{
    for (int row = 0; row < SafetyConditionCount; ++row) {
        const SafetyRule &rule = sequence.rule(SafetyCondition(row));
        m_table->item(row, Condition)->setCheckState(rule.enabled ? Qt::Checked : Qt::Unchecked);
        m_actions[row]->setCurrentIndex(int(rule.action));
    }
    m_currentLimit->setValue(sequence.rule(SafetyCondition::CurrentAbove).limit * 1000);
    const SafetyRule &arcs = sequence.rule(SafetyCondition::Arcs);
    m_arcCount->setValue(qMax(1, arcs.count));
    m_arcMinutes->setValue(arcs.minutes > 0 ? arcs.minutes : 10);
}

void SafetyRulesTable::apply(Sequence *sequence) const
{
    for (int row = 0; row < SafetyConditionCount; ++row) {
        SafetyRule &rule = sequence->rule(SafetyCondition(row));
        rule.enabled = m_table->item(row, Condition)->checkState() == Qt::Checked
            || !safetyConditionMayIgnore(SafetyCondition(row));
        rule.action = SafetyAction(m_actions[row]->currentIndex());
    }
    sequence->rule(SafetyCondition::CurrentAbove).limit = m_currentLimit->value() / 1000;
    SafetyRule &arcs = sequence->rule(SafetyCondition::Arcs);
    arcs.count = m_arcCount->value();
    arcs.minutes = m_arcMinutes->value();
}

void SafetyRulesTable::setEditable(bool editable)
{
    for (int row = 0; row < SafetyConditionCount; ++row) {
        QTableWidgetItem *item = m_table->item(row, Condition);
        item->setFlags(checkFlags(SafetyCondition(row), editable));
        m_actions[row]->setEnabled(editable);
    }
    m_currentLimit->setEnabled(editable);
    m_arcCount->setEnabled(editable);
    m_arcMinutes->setEnabled(editable);
}
