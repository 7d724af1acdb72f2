#include "dialogchannelcontrol.h"
#include "ui_dialogchannelcontrol.h"

#include "czelkchannelstatusbits.h"

#include <QEvent>

DialogChannelControl::DialogChannelControl(QWidget *parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::DialogChannelControl>())
{
    ui->setupUi(this);
    using Ch = CZelkChannelStatusBits;
    statusBoxes = { { ui->chk_isVLIM, Ch::VoltageLimit }, { ui->chk_isILIM, Ch::CurrentLimit },
        { ui->chk_isTRIP, Ch::Trip }, { ui->chk_isEINH, Ch::Inhibit },
        { ui->chk_isVBNDs, Ch::VoltageBounds }, { ui->chk_isIBNDs, Ch::CurrentBounds },
        { ui->chk_isCV, Ch::ConstantVoltage }, { ui->chk_isCC, Ch::ConstantCurrent },
        { ui->chk_isEMCY, Ch::Emergency }, { ui->chk_isRAMP, Ch::Ramp }, { ui->chk_isON, Ch::On },
        { ui->chk_isIERR, Ch::InputError } };
    eventStatusBoxes = { { ui->chk_EVLIM, Ch::EventVoltageLimit },
        { ui->chk_EILIM, Ch::EventCurrentLimit }, { ui->chk_ETRIP, Ch::EventTrip },
        { ui->chk_EEINH, Ch::EventInhibit }, { ui->chk_EVBNDs, Ch::EventVoltageBounds },
        { ui->chk_EIBNDs, Ch::EventCurrentBounds }, { ui->chk_ECV, Ch::EventConstantVoltage },
        { ui->chk_ECC, Ch::EventConstantCurrent }, { ui->chk_EEMCY, Ch::EventEmergency },
        { ui->chk_EEOR, Ch::EventEndOfRamp }, { ui->chk_EON2OFF, Ch::EventSwitchedOff },
        { ui->chk_EIERR, Ch::EventInputError } };
    // The event mask word enables the events at their positions.
    eventMaskBoxes = { { ui->chk_MEVLIM, Ch::EventVoltageLimit },
        { ui->chk_MEILIM, Ch::EventCurrentLimit }, { ui->chk_METRIP, Ch::EventTrip },
        { ui->chk_MEEINH, Ch::EventInhibit }, { ui->chk_MEVBNDs, Ch::EventVoltageBounds },
        { ui->chk_MEIBNDs, Ch::EventCurrentBounds }, { ui->chk_MECV, Ch::EventConstantVoltage },
        { ui->chk_MECC, Ch::EventConstantCurrent }, { ui->chk_MEEMCY, Ch::EventEmergency },
        { ui->chk_MEEOR, Ch::EventEndOfRamp }, { ui->chk_MEON2OFF, Ch::EventSwitchedOff },
        { ui->chk_MEIERR, Ch::EventInputError } };
    controlBoxes = { { ui->chk_setEMCY, Ch::SetEmergency }, { ui->chk_setON, Ch::SetOn } };
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
