#include "dialogchannelcontrol.h"
#include "ui_dialogchannelcontrol.h"

#include <QEvent>

DialogChannelControl::DialogChannelControl(QWidget *parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::DialogChannelControl>())
{
    ui->setupUi(this);
    statusBoxes = { { ui->chk_isVLIM, 15 }, { ui->chk_isILIM, 14 }, { ui->chk_isTRIP, 13 },
        { ui->chk_isEINH, 12 }, { ui->chk_isVBNDs, 11 }, { ui->chk_isIBNDs, 10 },
        { ui->chk_isCV, 7 }, { ui->chk_isCC, 6 }, { ui->chk_isEMCY, 5 }, { ui->chk_isRAMP, 4 },
        { ui->chk_isON, 3 }, { ui->chk_isIERR, 2 } };
    eventStatusBoxes = { { ui->chk_EVLIM, 15 }, { ui->chk_EILIM, 14 }, { ui->chk_ETRIP, 13 },
        { ui->chk_EEINH, 12 }, { ui->chk_EVBNDs, 11 }, { ui->chk_EIBNDs, 10 }, { ui->chk_ECV, 7 },
        { ui->chk_ECC, 6 }, { ui->chk_EEMCY, 5 }, { ui->chk_EEOR, 4 }, { ui->chk_EON2OFF, 3 },
        { ui->chk_EIERR, 2 } };
    eventMaskBoxes = { { ui->chk_MEVLIM, 15 }, { ui->chk_MEILIM, 14 }, { ui->chk_METRIP, 13 },
        { ui->chk_MEEINH, 12 }, { ui->chk_MEVBNDs, 11 }, { ui->chk_MEIBNDs, 10 },
        { ui->chk_MECV, 7 }, { ui->chk_MECC, 6 }, { ui->chk_MEEMCY, 5 }, { ui->chk_MEEOR, 4 },
        { ui->chk_MEON2OFF, 3 }, { ui->chk_MEIERR, 2 } };
    controlBoxes = { { ui->chk_setEMCY, 5 }, { ui->chk_setON, 3 } };
}

DialogChannelControl::~DialogChannelControl() = default;

void DialogChannelControl::updateTitle()
{
    if (channel != -1)
        setWindowTitle(tr("Channel %1 Status / Control").arg(channel));
}

void DialogChannelControl::updateChannelControlStatus(int channel, quint16 control, quint16 status,
    quint16 eventstatus, quint16 eventmask, float vnom, float inom)
{
    Q_UNUSED(vnom)
    Q_UNUSED(inom)
    if (channel != this->channel) {
        this->channel = channel;
        updateTitle();
    }
    statusBoxes.show(status);
    eventStatusBoxes.show(eventstatus);
    eventMaskBoxes.show(eventmask);
    controlBoxes.show(control);
}

void DialogChannelControl::on_btnSetControl_clicked()
{
    emit setChannelControl(static_cast<quint16>(channel), controlBoxes.read());
}

void DialogChannelControl::on_btnClearEvents_clicked()
{
    emit clearChannelEvents(static_cast<quint16>(channel));
}

void DialogChannelControl::on_btnSetMask_clicked()
{
    emit setChannelEventMask(static_cast<quint16>(channel), eventMaskBoxes.read());
}

void DialogChannelControl::changeEvent(QEvent *event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
        updateTitle();
    }
}
