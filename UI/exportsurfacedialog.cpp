#include "UI/exportsurfacedialog.h"

#include "ui_exportsurfacedialog.h"

namespace Ui {

ExportSurfaceDialog::ExportSurfaceDialog(QWidget *parent)
    : QDialog(parent), ui(new Ui::ExportSurfaceDialogForm())
{
    ui->setupUi(this);
}

ExportSurfaceDialog::~ExportSurfaceDialog()
{
    delete ui;
}

bool ExportSurfaceDialog::isFilePerMaterial() const
{
    return ui->rbtFilePerMaterial->isChecked();
}

double ExportSurfaceDialog::getScale() const
{
    return ui->dbxScale->value();
}

} // namespace Ui
