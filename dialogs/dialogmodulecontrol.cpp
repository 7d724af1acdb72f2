#include "dialogmodulecontrol.h"
#include "ui_dialogmodulecontrol.h"

#include "czelkmodulestatusbits.h"

#include <QEvent>
#include <QGridLayout>
#include <QLabel>

namespace {

// Only the first 24 event-channel bits belong to channels a module can have.
constexpr int ShownChannelBits = 24;

void showBits(const std::array<QCheckBox *, 32> &boxes, int count, quint32 word)
{
    for (int i = 0; i < count; ++i)
        boxes[static_cast<size_t>(i)]->setChecked(word & (1u << i));
}

quint32 readBits(const std::array<QCheckBox *, 32> &boxes, int count)
{
    quint32 word = 0;
    for (int i = 0; i < count; ++i) {
        if (boxes[static_cast<size_t>(i)]->isChecked())
            word |= 1u << i;
    }
    return word;
}

} // namespace

DialogModuleControl::DialogModuleControl(QWidget *parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::DialogModuleControl>())
{
    ui->setupUi(this);
    using Mod = CZelkModuleStatusBits;
    statusBoxes
        = { { ui->chk_isKILLena, Mod::KillEnable }, { ui->chk_isTEMPgd, Mod::TemperatureGood },
              { ui->chk_isSPLYgd, Mod::SupplyGood }, { ui->chk_isMODgd, Mod::ModuleGood },
              { ui->chk_isEVNTact, Mod::EventActive }, { ui->chk_isSFLPgd, Mod::SafetyLoopGood },
              { ui->chk_isnoRAMP, Mod::NoRamp }, { ui->chk_isnoSERR, Mod::NoSumError },
              { ui->chk_isCCMPL, Mod::CommandComplete }, { ui->chk_isIERR, Mod::InputError },
              { ui->chk_isSRVC, Mod::Service }, { ui->chk_isADJ, Mod::Adjust } };
    eventStatusBoxes = { { ui->chk_ETEMPngd, Mod::EventTemperatureNotGood },
        { ui->chk_ESPLYngd, Mod::EventSupplyNotGood },
        { ui->chk_ESFLPngd, Mod::EventSafetyLoopNotGood }, { ui->chk_EIERR, Mod::EventInputError },
        { ui->chk_ESRVC, Mod::EventService } };
    // The event mask word enables the events at their positions.
    eventMaskBoxes = { { ui->chk_METEMPngd, Mod::EventTemperatureNotGood },
        { ui->chk_MESPLYngd, Mod::EventSupplyNotGood },
        { ui->chk_MESFLPngd, Mod::EventSafetyLoopNotGood },
        { ui->chk_MEIERR, Mod::EventInputError }, { ui->chk_MESRVC, Mod::EventService } };
    controlBoxes
        = { { ui->chk_doSVSV, Mod::DoSaveValues }, { ui->chk_setKILLena, Mod::SetKillEnable },
              { ui->chk_setADJ, Mod::SetAdjust }, { ui->chk_doCLEAR, Mod::DoClear } };

    channelStatusBoxes
        = createBoxes(ui->grpEventChannelStatus, QStringLiteral("ECS"), false, false);
    channelMaskBoxes = createBoxes(ui->grpEventChannelMask, QStringLiteral("ECM"), false, false);
    groupStatusBoxes = createBoxes(ui->grpEventGroupStatus, QStringLiteral("EGS"), true, false);
    groupMaskBoxes = createBoxes(ui->grpEventGroupMask, QStringLiteral("EGM"), true, true);
    retranslateSelectButtons();
}

DialogModuleControl::~DialogModuleControl() = default;

DialogModuleControl::BoxRow DialogModuleControl::createBoxes(
    QGroupBox *group, const QString &prefix, bool groupLabels, bool enabled)
{
    // Four rows of eight: a number label above each box.
    auto *grid = qobject_cast<QGridLayout *>(group->layout());
    BoxRow boxes {};
    for (int i = 0; i < 32; ++i) {
        const QString number = groupLabels ? QStringLiteral("G%1").arg(i)
                                           : QStringLiteral("%1").arg(i, 2, 10, QLatin1Char('0'));
        auto *label = new QLabel(number, group);
        label->setAlignment(Qt::AlignCenter);
        auto *box = new QCheckBox(group);
        box->setObjectName(QStringLiteral("chk_%1%2").arg(prefix).arg(i));
        box->setEnabled(enabled);
        grid->addWidget(label, (i / 8) * 2, i % 8, Qt::AlignCenter);
        grid->addWidget(box, (i / 8) * 2 + 1, i % 8, Qt::AlignCenter);
        boxes[static_cast<size_t>(i)] = box;
    }
    return boxes;
}

void DialogModuleControl::enableChannelBoxes(int channelCount)
{
    int enable = 0;
    if (channelCount == 24)
        enable = 24;
    else if (channelCount >= 12)
        enable = 12;
    else if (channelCount >= 8)
        enable = 8;
    else if (channelCount >= 4)
        enable = 4;
    for (int i = 0; i < enable; ++i)
        channelMaskBoxes[static_cast<size_t>(i)]->setEnabled(true);
}

void DialogModuleControl::updateModuleControlStatus(
    quint16 control, quint16 status, quint16 eventstatus, quint16 eventmask)
{
    statusBoxes.show(status);
    eventStatusBoxes.show(eventstatus);
    eventMaskBoxes.show(eventmask);
    controlBoxes.show(control);
}

void DialogModuleControl::updateModuleEventChannelStatusMask(quint32 status, quint32 mask)
{
    if (status != eventChannelStatus) {
        eventChannelStatus = status;
        showBits(channelStatusBoxes, ShownChannelBits, status);
    }
    if (mask != eventChannelMask) {
        eventChannelMask = mask;
        showBits(channelMaskBoxes, ShownChannelBits, mask);
    }
}

void DialogModuleControl::updateModuleEventGroupStatusMask(quint32 status, quint32 mask)
{
    if (status != eventGroupStatus) {
        eventGroupStatus = status;
        showBits(groupStatusBoxes, 32, status);
    }
    if (mask != eventGroupMask) {
        eventGroupMask = mask;
        showBits(groupMaskBoxes, 32, mask);
    }
}

void DialogModuleControl::on_btnSetEGM_clicked()
{
    eventGroupMask = readBits(groupMaskBoxes, 32);
    emit setModuleEventGroupMask(eventGroupMask);
}

void DialogModuleControl::on_btnSelectEGM_clicked()
{
    selectAllGroups = !selectAllGroups;
    for (QCheckBox *box : groupMaskBoxes)
        box->setChecked(selectAllGroups);
    retranslateSelectButtons();
}

void DialogModuleControl::on_btnClearEGS_clicked()
{
    emit clearModuleEventGroupStatus();
}

void DialogModuleControl::on_btnSetECM_clicked()
{
    eventChannelMask = readBits(channelMaskBoxes, ShownChannelBits);
    emit setModuleEventChannelMask(eventChannelMask);
}

void DialogModuleControl::on_btnClearECS_clicked()
{
    emit clearModuleEventChannelStatus();
}

void DialogModuleControl::on_btnSelectECM_clicked()
{
    selectAllChannels = !selectAllChannels;
    // The first block of four is set even while disabled; the others only where enabled.
    for (int i = 0; i < ShownChannelBits; ++i) {
        QCheckBox *box = channelMaskBoxes[static_cast<size_t>(i)];
        if (i < 4 || box->isEnabled())
            box->setChecked(selectAllChannels);
    }
    retranslateSelectButtons();
}

void DialogModuleControl::on_btnSetControl_clicked()
{
    emit setModuleControl(controlBoxes.read());
    ui->chk_doCLEAR->setChecked(false);
}

void DialogModuleControl::on_btnSetMask_clicked()
{
    emit setModuleEventMask(eventMaskBoxes.read());
}

void DialogModuleControl::on_btnClearEvents_clicked()
{
    emit clearModuleEvents();
}

void DialogModuleControl::retranslateSelectButtons()
{
    ui->btnSelectECM->setText(selectAllChannels ? tr("Unselect All") : tr("Select All"));
    ui->btnSelectEGM->setText(selectAllGroups ? tr("Unselect All") : tr("Select All"));
}

void DialogModuleControl::changeEvent(QEvent *event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
        retranslateSelectButtons();
    }
}
