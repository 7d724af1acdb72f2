#include "alarmindicator.h"

#include <QContextMenuEvent>
#include <QMenu>

AlarmIndicator::AlarmIndicator(QWidget *parent)
    : QToolButton(parent)
{
    setObjectName(QStringLiteral("btnAlarms"));
    setAutoRaise(true);
    setToolTip(tr("Unacknowledged alarms; click to open the event history"));
    setCount(0);
}

void AlarmIndicator::setCount(int count)
{
    if (count == m_count)
        return;
    m_count = count;
    if (count > 0) {
        setText(tr("Alarms: %1").arg(count));
        setStyleSheet(QStringLiteral("QToolButton { background-color: #d00000; color: white; "
                                     "font-weight: bold; border-radius: 3px; padding: 1px 8px; }"));
    } else {
        setText(tr("No alarms"));
        setStyleSheet(QStringLiteral("QToolButton { color: gray; padding: 1px 8px; }"));
    }
}

void AlarmIndicator::contextMenuEvent(QContextMenuEvent *event)
{
    QMenu menu(this);
    QAction *acknowledge = menu.addAction(tr("Acknowledge All"));
    acknowledge->setEnabled(m_count > 0);
    if (menu.exec(event->globalPos()) == acknowledge)
        emit acknowledgeRequested();
}
