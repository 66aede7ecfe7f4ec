#ifndef CELVANE_UI_OPERATIONS_IONIMPLANTATIONOPTIONSDIALOG_H
#define CELVANE_UI_OPERATIONS_IONIMPLANTATIONOPTIONSDIALOG_H

#include "Model/Materials/material.h"

#include <QDialog>
#include <QList>

namespace Ui {
class IonImplantationOptionsDialogForm;
}

namespace Ui {
namespace Operations {

/// Doped material, implantation depth and annealing distance of an ion implantation.
class IonImplantationOptionsDialog : public QDialog
{
    Q_OBJECT

public:
    /// Offers the compatible materials of the process "Ion Implantation".
    explicit IonImplantationOptionsDialog(QWidget *parent = nullptr);
    ~IonImplantationOptionsDialog() override;

    Ui::IonImplantationOptionsDialogForm *form() const { return ui; }

    void setMaterials(const QList<Model::Materials::Material> &materials);
    double getImplantationDepth() const;
    double getAnnealingDistance() const;
    quint32 getMaterialId() const;

private:
    Ui::IonImplantationOptionsDialogForm *ui;
};

} // namespace Operations
} // namespace Ui

#endif
