#ifndef CELVANE_UI_OPERATIONS_DOPINGOPTIONSDIALOG_H
#define CELVANE_UI_OPERATIONS_DOPINGOPTIONSDIALOG_H

#include "Model/Materials/material.h"

#include <QDialog>
#include <QList>

namespace Ui {
class DopingOptionsDialogForm;
}

namespace Ui {
namespace Operations {

/// Doped material and depth of a doping.
class DopingOptionsDialog : public QDialog
{
    Q_OBJECT

public:
    /// Offers the compatible materials of the process "Simple Doping".
    explicit DopingOptionsDialog(QWidget *parent = nullptr);
    ~DopingOptionsDialog() override;

    Ui::DopingOptionsDialogForm *form() const { return ui; }

    void setMaterials(const QList<Model::Materials::Material> &materials);
    double getDepth() const;
    quint32 getMaterialId() const;

private:
    Ui::DopingOptionsDialogForm *ui;
};

} // namespace Operations
} // namespace Ui

#endif
