#include "UI/Input/zoomdialog.h"

#include "ui_zoomdialog.h"

namespace Ui {
namespace Input {

ZoomDialog::ZoomDialog(QWidget *parent) : QDialog(parent), ui(new Ui::ZoomDialogForm())
{
    ui->setupUi(this);
}

ZoomDialog::~ZoomDialog()
{
    delete ui;
}

double ZoomDialog::getPercent() const
{
    return ui->dbxZoom->value();
}

void ZoomDialog::setPercent(double value)
{
    ui->dbxZoom->setValue(value);
}

} // namespace Input
} // namespace Ui
