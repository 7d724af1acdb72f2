#include "throttledcount.h"

#include <QLabel>

ThrottledCount::ThrottledCount(QLabel *label, int intervalMs, QObject *parent)
    : QObject(parent)
    , m_label(label)
{
    m_interval.setSingleShot(true);
    m_interval.setInterval(intervalMs);
    connect(&m_interval, &QTimer::timeout, this, [this] {
        if (m_pending)
            write();
    });
}

void ThrottledCount::show(int count)
{
    m_count = count;
    if (m_interval.isActive()) {
        m_pending = true;
        return;
    }
    write();
}

void ThrottledCount::write()
{
    m_pending = false;
    m_label->setText(QString::number(m_count));
    m_interval.start();
}
