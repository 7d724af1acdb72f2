#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

class QWidget;

/// Paints a window at most once per interval. Every processed answer rewrites the channel
/// table, and painting at the answer rate (hundreds per second) would cost more than the
/// polling itself; the operator sees no difference above the screen's useful rate.
///
/// Works on the window's update requests: one that comes too soon after the last paint is held
/// back and delivered when the interval is over, so the last state is always painted.
class RepaintLimiter : public QObject
{
    Q_OBJECT

public:
    /// Installs itself on \a window (not owned; the limiter is its child).
    RepaintLimiter(QWidget *window, int intervalMs);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void deliverHeldRequest();

    QWidget *window;
    int interval;
    QElapsedTimer lastPaint;
    QTimer held;
    bool delivering = false;
};
