#ifndef CELVANE_UI_OPERATIONS_ISOTROPICDEPOSITIONDIALOG_H
#define CELVANE_UI_OPERATIONS_ISOTROPICDEPOSITIONDIALOG_H

#include "Model/Materials/material.h"

#include <QDialog>
#include <QList>

namespace Ui {
class IsotropicDepositionDialogForm;
}

namespace Ui {
namespace Operations {

/// Thickness and material of an isotropic film deposition.
class IsotropicDepositionDialog : public QDialog
{
    Q_OBJECT

public:
    explicit IsotropicDepositionDialog(QWidget *parent = nullptr);
    ~IsotropicDepositionDialog() override;

    Ui::IsotropicDepositionDialogForm *form() const { return ui; }

    /// Offers the compatible materials of a process ("CVD" for deposition).
    void setMaterials(const QList<Model::Materials::Material> &materials);
    double getThickness() const;
    quint32 getMaterialId() const;

private:
    Ui::IsotropicDepositionDialogForm *ui;
};

} // namespace Operations
} // namespace Ui

#endif
