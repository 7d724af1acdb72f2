#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <functional>

/// Waits for the first modal dialog or pop-up menu of type \a Widget while the code under test
/// runs its event loop, and hands it to a test function, which must close it. Stops watching
/// when it goes out of scope, so a dialog that never came cannot be answered by a later case.
template <typename Widget> class ModalWatch
{
public:
    explicit ModalWatch(std::function<void(Widget *)> answer)
    {
        QObject::connect(&timer, &QTimer::timeout, &timer, [this, answer] {
            QWidget *shown = QApplication::activeModalWidget();
            if (!shown)
                shown = QApplication::activePopupWidget();
            if (auto *widget = qobject_cast<Widget *>(shown)) {
                timer.stop();
                seen = true;
                answer(widget);
            }
        });
        timer.start(5);
    }

    bool seen = false;

private:
    QTimer timer;
};
