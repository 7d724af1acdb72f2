#include "repaintlimiter.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

RepaintLimiter::RepaintLimiter(QWidget *window, int intervalMs)
    : QObject(window)
    , window(window)
    , interval(intervalMs)
{
    held.setSingleShot(true);
    connect(&held, &QTimer::timeout, this, &RepaintLimiter::deliverHeldRequest);
    window->installEventFilter(this);
}

bool RepaintLimiter::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != window || event->type() != QEvent::UpdateRequest || delivering)
        return false;
    if (held.isActive())
        return true;
    if (lastPaint.isValid() && lastPaint.elapsed() < interval) {
        held.start(static_cast<int>(interval - lastPaint.elapsed()));
        return true;
    }
    lastPaint.start();
    return false;
}

void RepaintLimiter::deliverHeldRequest()
{
    lastPaint.start();
    delivering = true;
    QEvent request(QEvent::UpdateRequest);
    QCoreApplication::sendEvent(window, &request);
    delivering = false;
}
