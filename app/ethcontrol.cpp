// Construction of the main window.
#include "ethcontrol.h"

#include "ui_ethcontrol.h"

EthControl::EthControl(QWidget *parent)
    : QMainWindow(parent)
    , ui(std::make_unique<Ui::EthControl>())
{
    ui->setupUi(this);
}

EthControl::~EthControl() = default;
