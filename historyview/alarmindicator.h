#pragma once

#include <QToolButton>

/// The alarm indicator of the status bar: "No alarms" while there is none to acknowledge, red
/// with "Alarms: 3" while there are. A click asks for the history (clicked()); its context
/// menu offers "Acknowledge All" (acknowledgeRequested()).
class AlarmIndicator : public QToolButton
{
    Q_OBJECT

public:
    explicit AlarmIndicator(QWidget *parent = nullptr);

    void setCount(int count);
    int count() const { return m_count; }

signals:
    void acknowledgeRequested();

protected:
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    int m_count = -1;
};
