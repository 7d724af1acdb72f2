#include "dialogsuppliestemplimits.h"
#include "ui_dialogsuppliestemplimits.h"

#include <QEvent>

DialogSuppliesTempLimits::DialogSuppliesTempLimits(QWidget *parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::DialogSuppliesTempLimits>())
{
    ui->setupUi(this);
}

DialogSuppliesTempLimits::~DialogSuppliesTempLimits() = default;

void DialogSuppliesTempLimits::updateSuppliesTempLimits(double sp5, double sp24, double sp12,
    double sn12, double temp, double vmax, double imax, QString fname)
{
    ui->lcdP5->display(sp5);
    ui->lcdP24->display(sp24);
    ui->lcdP12->display(sp12);
    ui->lcdN12->display(sn12);
    ui->lcdTemp->display(temp);
    ui->lcdVoltageLimit->display(vmax);
    ui->lcdCurrentLimit->display(imax);

    // DRSB modules have a second +24 V supply where others have +12 V; KA2F modules have
    // +24 V and -24 V in place of both 12 V supplies.
    if (fname.contains(QLatin1String("DRSB"))) {
        ui->lblP12->setText(tr("Vcc +24 (V)"));
    } else if (fname.startsWith(QLatin1String("KA2F"))) {
        ui->lblP12->setText(tr("Vcc +24 (V)"));
        ui->lblN12->setText(tr("Vcc -24 (V)"));
    }
}

void DialogSuppliesTempLimits::changeEvent(QEvent *event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::LanguageChange)
        ui->retranslateUi(this);
}
