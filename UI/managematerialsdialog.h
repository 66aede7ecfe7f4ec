#ifndef CELVANE_UI_MANAGEMATERIALSDIALOG_H
#define CELVANE_UI_MANAGEMATERIALSDIALOG_H

#include "Model/Materials/material.h"

#include <QDialog>
#include <QList>

namespace Ui {
class ManageMaterialsDialogForm;
}

namespace Ui {

class ColorItemDelegate;
class MaterialTableViewItem;

/// "Manage Materials": the material catalogue as a table of names and colours, with room for
/// new materials. Edits stay in the dialog's copy until the presenter takes them on OK.
class ManageMaterialsDialog : public QDialog
{
    Q_OBJECT

public:
    explicit ManageMaterialsDialog(QWidget *parent = nullptr);
    ~ManageMaterialsDialog() override;

    Ui::ManageMaterialsDialogForm *form() const { return ui; }
    MaterialTableViewItem *model() const { return table; }
    /// The materials as edited, new ones included.
    QList<Model::Materials::Material> getMaterials() const;

private Q_SLOTS:
    void on_btnAddMaterial_clicked();

private:
    Ui::ManageMaterialsDialogForm *ui;
    MaterialTableViewItem *table;
    ColorItemDelegate *colorDelegate;
};

} // namespace Ui

#endif
