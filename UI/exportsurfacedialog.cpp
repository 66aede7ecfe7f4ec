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

void ExportSurfaceDialog::setSmooth(bool smooth)
{
    if (smooth)
        ui->rbtOneFile->setChecked(true);
    ui->rbtFilePerMaterial->setEnabled(!smooth);
    ui->rbtFilePerMaterial->setToolTip(
        smooth ? QStringLiteral("The smooth surface encloses all materials at once.") : QString());
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
