#ifndef CELVANE_UI_EDITCOMPATIBLEMATERIALSDIALOG_H
#define CELVANE_UI_EDITCOMPATIBLEMATERIALSDIALOG_H

#include "Model/Process/process.h"

#include <QDialog>
#include <QList>

namespace Ui {
class EditCompatibleMaterialsDialogForm;
}

namespace Ui {

/// "Edit Compatible Materials": moves materials between the available and the compatible
/// list of each process. Works on a copy of the process catalogue, handed to the presenter on
/// OK.
class EditCompatibleMaterialsDialog : public QDialog
{
    Q_OBJECT

public:
    explicit EditCompatibleMaterialsDialog(QWidget *parent = nullptr);
    ~EditCompatibleMaterialsDialog() override;

    Ui::EditCompatibleMaterialsDialogForm *form() const { return ui; }
    /// Every process, as edited.
    QList<Model::Process::Process> getProcesses() const { return processes; }

private Q_SLOTS:
    void on_cbxProcess_currentIndexChanged(int index);
    void on_btnInsert_clicked();
    void on_btnRemove_clicked();

private:
    /// The process shown now, or null before one is chosen.
    Model::Process::Process *currentProcess();
    void refreshLists();

    Ui::EditCompatibleMaterialsDialogForm *ui;
    QList<Model::Process::Process> processes;
    int current;
};

} // namespace Ui

#endif
