#pragma once

#include "wordboxes.h"

#include <QDialog>

#include <memory>

namespace Ui {
class DialogChannelControl;
}

/// Shows the status, event status and event mask words of one channel as check boxes, lets
/// the operator edit the event mask and the two writable control bits, and hands the edits on
/// as signals. A group of boxes is rewritten only when the module reports a different word, so
/// unsent ticks survive the periodic updates. Modeless and reused; closing only hides it.
class DialogChannelControl : public QDialog
{
    Q_OBJECT

public:
    explicit DialogChannelControl(QWidget *parent = nullptr);
    ~DialogChannelControl() override;

signals:
    void setChannelControl(quint16 channel, quint16 control);
    void clearChannelEvents(quint16 channel);
    void setChannelEventMask(quint16 channel, quint16 eventmask);

public slots:
    /// Takes the words of the channel selected in the main window; \a vnom and \a inom are
    /// not used.
    void updateChannelControlStatus(int channel, quint16 control, quint16 status,
        quint16 eventstatus, quint16 eventmask, float vnom, float inom);

protected:
    void changeEvent(QEvent *event) override;

private slots:
    void on_btnSetControl_clicked();
    void on_btnClearEvents_clicked();
    void on_btnSetMask_clicked();

private:
    void updateTitle();

    std::unique_ptr<Ui::DialogChannelControl> ui;
    WordBoxes statusBoxes;
    WordBoxes eventStatusBoxes;
    WordBoxes eventMaskBoxes;
    WordBoxes controlBoxes;
    int channel = -1;
};
