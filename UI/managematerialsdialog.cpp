#include "UI/managematerialsdialog.h"

#include "UI/coloritemdelegate.h"
#include "UI/materialtableviewitem.h"
#include "ui_managematerialsdialog.h"

#include <QHeaderView>

namespace Ui {

ManageMaterialsDialog::ManageMaterialsDialog(QWidget *parent)
    : QDialog(parent), ui(new Ui::ManageMaterialsDialogForm())
{
    ui->setupUi(this);
    resize(1038, 636);
    table = new MaterialTableViewItem(this);
    colorDelegate = new ColorItemDelegate(this);
    ui->tvwMaterials->setModel(table);
    ui->tvwMaterials->setItemDelegateForColumn(MaterialTableViewItem::ColorColumn, colorDelegate);
    ui->tvwMaterials->horizontalHeader()->setSectionResizeMode(MaterialTableViewItem::NameColumn,
                                                               QHeaderView::Stretch);
}

ManageMaterialsDialog::~ManageMaterialsDialog()
{
    delete ui;
}

QList<Model::Materials::Material> ManageMaterialsDialog::getMaterials() const
{
    return table->getMaterials();
}

void ManageMaterialsDialog::on_btnAddMaterial_clicked()
{
    table->insertRows(table->rowCount(), 1);
    ui->tvwMaterials->scrollToBottom();
}

} // namespace Ui
