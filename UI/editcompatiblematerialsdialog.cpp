#include "UI/editcompatiblematerialsdialog.h"

#include "Model/Materials/materialfactory.h"
#include "Model/Process/processfactory.h"
#include "ui_editcompatiblematerialsdialog.h"

#include <QListWidgetItem>

#include <set>

namespace Ui {

using Model::Materials::Material;

namespace {
void addMaterialItem(QListWidget *list, const Material &material)
{
    QListWidgetItem *item = new QListWidgetItem(material.getName(), list);
    item->setData(Qt::UserRole, material.getId());
}
} // namespace

EditCompatibleMaterialsDialog::EditCompatibleMaterialsDialog(QWidget *parent)
    : QDialog(parent), ui(new Ui::EditCompatibleMaterialsDialogForm()),
      processes(Model::Process::ProcessFactory::instance()->getProcesses()), current(-1)
{
    ui->setupUi(this);
    // The first entry becomes current as it is added, which shows its lists.
    for (const Model::Process::Process &process : processes)
        ui->cbxProcess->addItem(process.getName(), process.getId());
}

EditCompatibleMaterialsDialog::~EditCompatibleMaterialsDialog()
{
    delete ui;
}

Model::Process::Process *EditCompatibleMaterialsDialog::currentProcess()
{
    if (current < 0 || current >= processes.size() || processes[current].getId() == 0)
        return nullptr;
    return &processes[current];
}

void EditCompatibleMaterialsDialog::on_cbxProcess_currentIndexChanged(int index)
{
    current = -1;
    if (index >= 0) {
        const quint32 id = ui->cbxProcess->itemData(index).toUInt();
        for (int i = 0; i < processes.size(); ++i) {
            if (processes[i].getId() == id) {
                current = i;
                break;
            }
        }
    }
    refreshLists();
}

void EditCompatibleMaterialsDialog::refreshLists()
{
    const Model::Process::Process *process = currentProcess();
    if (!process)
        return;
    ui->listCompatibleMaterials->clear();
    std::set<quint32> compatible;
    for (const Material &material : process->resolveCompatibleMaterials()) {
        compatible.insert(material.getId());
        addMaterialItem(ui->listCompatibleMaterials, material);
    }
    ui->listAvailableMaterials->clear();
    for (const Material &material : Model::Materials::MaterialFactory::instance()->getMaterials()) {
        if (!compatible.count(material.getId()))
            addMaterialItem(ui->listAvailableMaterials, material);
    }
}

void EditCompatibleMaterialsDialog::on_btnInsert_clicked()
{
    Model::Process::Process *process = currentProcess();
    if (!process)
        return;
    // In list order, whatever order the items were selected in.
    for (int row = 0; row < ui->listAvailableMaterials->count(); ++row) {
        const QListWidgetItem *item = ui->listAvailableMaterials->item(row);
        if (item->isSelected())
            process->addCompatibleMaterial(item->data(Qt::UserRole).toUInt());
    }
    ui->listAvailableMaterials->clearSelection();
    ui->listCompatibleMaterials->clearSelection();
    refreshLists();
}

void EditCompatibleMaterialsDialog::on_btnRemove_clicked()
{
    Model::Process::Process *process = currentProcess();
    if (!process)
        return;
    for (const QListWidgetItem *item : ui->listCompatibleMaterials->selectedItems())
        process->removeCompatibleMaterial(item->data(Qt::UserRole).toUInt());
    ui->listAvailableMaterials->clearSelection();
    ui->listCompatibleMaterials->clearSelection();
    refreshLists();
}

} // namespace Ui
