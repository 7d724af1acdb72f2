#pragma once

#include <QObject>
#include <QTimer>

class QLabel;

/// Shows a count that changes with every answer (the answer counter) in a label, written at
/// most once per interval. A label lays its text out anew on every change, which at the answer
/// rate costs more than the rest of a refresh; nobody reads a number faster than the window is
/// painted. The first count is shown at once, and the last one always.
class ThrottledCount : public QObject
{
    Q_OBJECT

public:
    /// \a label is not owned and must outlive this object.
    ThrottledCount(QLabel *label, int intervalMs, QObject *parent = nullptr);

    void show(int count);

private:
    void write();

    QLabel *m_label;
    QTimer m_interval;
    int m_count = 0;
    bool m_pending = false;
};
