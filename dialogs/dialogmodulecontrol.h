#pragma once

#include "wordboxes.h"

#include <QDialog>

#include <array>
#include <memory>

class QCheckBox;
class QGroupBox;

namespace Ui {
class DialogModuleControl;
}

/// Shows the module status and event status words as check boxes, lets the operator edit the
/// module event mask and control word, and offers 32-bit event masks per channel and per
/// channel group on two tabs. Like the channel dialog it rewrites a group of boxes only when
/// the module reports a different word. The 4 x 32 boxes of the two event tabs are created in
/// code (`chk_ECS0` .. `chk_EGM31`) below their number labels. Modeless and reused.
class DialogModuleControl : public QDialog
{
    Q_OBJECT

public:
    explicit DialogModuleControl(QWidget *parent = nullptr);
    ~DialogModuleControl() override;

    /// Enables the event-channel mask boxes a module with \a channelCount channels has (in
    /// blocks of four up to 12, all 24 for exactly 24). Never disables a box.
    void enableChannelBoxes(int channelCount);

signals:
    void clearModuleEvents();
    void setModuleControl(quint16 control);
    void setModuleEventMask(quint16 eventmask);
    void clearModuleEventChannelStatus();
    void setModuleEventChannelMask(quint32 mask);
    void clearModuleEventGroupStatus();
    void setModuleEventGroupMask(quint32 mask);

public slots:
    void updateModuleControlStatus(
        quint16 control, quint16 status, quint16 eventstatus, quint16 eventmask);
    void updateModuleEventChannelStatusMask(quint32 status, quint32 mask);
    void updateModuleEventGroupStatusMask(quint32 status, quint32 mask);

protected:
    void changeEvent(QEvent *event) override;

private slots:
    void on_btnSetEGM_clicked();
    void on_btnSelectEGM_clicked();
    void on_btnClearEGS_clicked();
    void on_btnSetECM_clicked();
    void on_btnClearECS_clicked();
    void on_btnSelectECM_clicked();
    void on_btnSetControl_clicked();
    void on_btnSetMask_clicked();
    void on_btnClearEvents_clicked();

private:
    using BoxRow = std::array<QCheckBox *, 32>;
    BoxRow createBoxes(QGroupBox *group, const QString &prefix, bool groupLabels, bool enabled);
    void retranslateSelectButtons();

    std::unique_ptr<Ui::DialogModuleControl> ui;
    WordBoxes statusBoxes;
    WordBoxes eventStatusBoxes;
    WordBoxes eventMaskBoxes;
    WordBoxes controlBoxes;
    BoxRow channelStatusBoxes {};
    BoxRow channelMaskBoxes {};
    BoxRow groupStatusBoxes {};
    BoxRow groupMaskBoxes {};

    quint32 eventChannelStatus = 0;
    quint32 eventChannelMask = 0;
    quint32 eventGroupStatus = 0;
    quint32 eventGroupMask = 0;

    /// One flag per "Select All" button: what its next click does is the opposite. The
    /// window keeps one dialog for the program's run, so the flags last as long.
    bool selectAllChannels = false;
    bool selectAllGroups = false;
};
