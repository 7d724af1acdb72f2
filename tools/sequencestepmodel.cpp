#include "sequencestepmodel.h"

#include "operatornumber.h"

#include <QBrush>
#include <QLocale>
#include <QPalette>

#include <cmath>

namespace {

/// The field a number column edits, whether an empty cell means "not set", and its range.
struct NumberColumn
{
    double SequenceStep::*field;
    bool optional;
    double unset;
    double minimum;
};

const NumberColumn *numberColumn(int column)
{
    static const NumberColumn columns[] = {
        { &SequenceStep::voltage, false, 0, -1e6 },
        { nullptr, false, 0, 0 },
        { &SequenceStep::rampSpeed, true, 0, 0 },
        { &SequenceStep::current, true, -1, 0 },
        { &SequenceStep::holdSeconds, false, 0, 0 },
        { nullptr, false, 0, 0 },
        { &SequenceStep::tolerance, false, 0, 1e-6 },
        { &SequenceStep::currentChange, false, 0, 0 },
        { &SequenceStep::windowSeconds, false, 0, 0.1 },
        { &SequenceStep::timeoutSeconds, true, 0, 0 },
    };
    return column >= 0 && column < SequenceStepModel::ColumnCount && columns[column].field
        ? &columns[column]
        : nullptr;
}

bool isCheckColumn(int column)
{
    return column == SequenceStepModel::Percent || column == SequenceStepModel::UntilStable;
}

} // namespace

SequenceStepModel::SequenceStepModel(QObject *parent)
    : QAbstractTableModel(parent)
{
}

void SequenceStepModel::setSteps(const QList<SequenceStep> &steps)
{
    beginResetModel();
    m_steps = steps;
    endResetModel();
}

void SequenceStepModel::insertStep(int row)
{
    const int at = qBound(0, row + 1, int(m_steps.size()));
    SequenceStep step = at > 0 ? m_steps.at(at - 1) : SequenceStep();
    beginInsertRows(QModelIndex(), at, at);
    m_steps.insert(at, step);
    endInsertRows();
}

void SequenceStepModel::removeStep(int row)
{
    if (row < 0 || row >= m_steps.size())
        return;
    beginRemoveRows(QModelIndex(), row, row);
    m_steps.removeAt(row);
    endRemoveRows();
}

void SequenceStepModel::setRunning(bool running, int step)
{
    if (running == m_running && step == m_activeStep)
        return;
    m_running = running;
    m_activeStep = running ? step : -1;
    if (!m_steps.isEmpty())
        emit dataChanged(index(0, 0), index(int(m_steps.size()) - 1, ColumnCount - 1));
}

int SequenceStepModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_steps.size());
}

int SequenceStepModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant SequenceStepModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_steps.size())
        return QVariant();
    const SequenceStep &step = m_steps.at(index.row());
    const int column = index.column();
    if (role == Qt::BackgroundRole && index.row() == m_activeStep)
        return QBrush(QPalette().color(QPalette::Highlight).lighter(170));
    if (role == Qt::ForegroundRole && !step.untilStable
        && (column == CurrentChange || column == Window))
        return QBrush(QPalette().color(QPalette::Disabled, QPalette::Text));
    if (role == Qt::CheckStateRole && isCheckColumn(column))
        return (column == Percent ? step.percent : step.untilStable) ? Qt::Checked : Qt::Unchecked;
    if (role == Qt::TextAlignmentRole && !isCheckColumn(column))
        return int(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return QVariant();
    const NumberColumn *number = numberColumn(column);
    if (!number)
        return QVariant();
    const double value = step.*(number->field);
    if (number->optional && value == number->unset)
        return QString();
    // Fixed notation with the digits the value needs: a current change of 1e-7 A/min reads
    // "0.0000001", not "1E-07".
    return QLocale().toString(value, 'f', QLocale::FloatingPointShortest);
}

bool SequenceStepModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || index.row() >= m_steps.size() || m_running)
        return false;
    SequenceStep &step = m_steps[index.row()];
    const int column = index.column();
    if (role == Qt::CheckStateRole && isCheckColumn(column)) {
        const bool on = value.toInt() == Qt::Checked;
        if (column == Percent) {
            // A target beyond 100 % does not become one by a click.
            if (on && std::abs(step.voltage) > 100)
                step.voltage = 100;
            step.percent = on;
        } else {
            step.untilStable = on;
        }
        emit dataChanged(this->index(index.row(), 0), this->index(index.row(), ColumnCount - 1));
        return true;
    }
    const NumberColumn *number = numberColumn(column);
    if (role != Qt::EditRole || !number)
        return false;
    const QString text = value.toString().trimmed();
    double v = number->unset;
    if (!text.isEmpty() || !number->optional) {
        QString why;
        const std::optional<double> typed = readOperatorNumber(text, &why);
        const double maximum = column == Voltage && step.percent ? 100.0 : 1e6;
        const double minimum = column == Voltage && step.percent ? -100.0 : number->minimum;
        if (typed && *typed < minimum)
            why = tr("%1 is less than %2").arg(text, QLocale().toString(minimum));
        else if (typed && *typed > maximum)
            why = tr("%1 is more than %2").arg(text, QLocale().toString(maximum));
        else if (typed)
            v = *typed;
        if (!why.isEmpty()) {
            emit entryRefused(
                tr("Step %1, %2: %3.")
                    .arg(index.row() + 1)
                    .arg(headerData(column, Qt::Horizontal, Qt::DisplayRole).toString(), why));
            return false;
        }
    }
    step.*(number->field) = v;
    emit dataChanged(index, index);
    return true;
}

Qt::ItemFlags SequenceStepModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (m_running || !index.isValid())
        return flags;
    return flags | (isCheckColumn(index.column()) ? Qt::ItemIsUserCheckable : Qt::ItemIsEditable);
}

QVariant SequenceStepModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return QVariant();
    if (orientation == Qt::Vertical)
        return section + 1;
    switch (section) {
    case Voltage:
        return tr("Target");
    case Percent:
        return tr("% Vnom");
    case RampSpeed:
        return tr("Ramp (V/s)");
    case Current:
        return tr("Iset (A)");
    case Hold:
        return tr("Hold (s)");
    case UntilStable:
        return tr("Stable");
    case Tolerance:
        return tr("Tol. (V)");
    case CurrentChange:
        return tr("\u0394I (A/min)");
    case Window:
        return tr("Window (s)");
    case Timeout:
        return tr("Time-out (s)");
    default:
        return QVariant();
    }
}
