#ifndef CELVANE_UI_OPERATIONS_ISOTROPICETCHINGDIALOG_H
#define CELVANE_UI_OPERATIONS_ISOTROPICETCHINGDIALOG_H

#include "Model/Process/process.h"

#include <QDialog>

namespace Ui {
class IsotropicEtchingDialogForm;
}

namespace Ui {
namespace Operations {

/// Depth and material of an isotropic etch.
class IsotropicEtchingDialog : public QDialog
{
    Q_OBJECT

public:
    explicit IsotropicEtchingDialog(QWidget *parent = nullptr);
    ~IsotropicEtchingDialog() override;

    Ui::IsotropicEtchingDialogForm *form() const { return ui; }

    /// Titles the dialog after the process and offers its compatible materials.
    void setProcess(const Model::Process::Process &process);
    double getDepth() const;
    quint32 getMaterialId() const;
    /// Offers material id first when the process can etch it.
    void setMaterialId(quint32 id);

private:
    Ui::IsotropicEtchingDialogForm *ui;
};

} // namespace Operations
} // namespace Ui

#endif
