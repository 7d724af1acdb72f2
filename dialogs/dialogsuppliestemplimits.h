#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class DialogSuppliesTempLimits;
}

/// Shows the module's internal supplies, its temperature and its voltage and current limits
/// on seven-segment displays. Display only; it sends nothing.
class DialogSuppliesTempLimits : public QDialog
{
    Q_OBJECT

public:
    explicit DialogSuppliesTempLimits(QWidget *parent = nullptr);
    ~DialogSuppliesTempLimits() override;

public slots:
    /// \a fname is the module's firmware name; families with 24 V supplies relabel the
    /// 12 V displays.
    void updateSuppliesTempLimits(double sp5, double sp24, double sp12, double sn12, double temp,
        double vmax, double imax, QString fname);

protected:
    void changeEvent(QEvent *event) override;

private:
    std::unique_ptr<Ui::DialogSuppliesTempLimits> ui;
};
