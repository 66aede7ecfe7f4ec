#ifndef CELVANE_UI_EXPORTSURFACEDIALOG_H
#define CELVANE_UI_EXPORTSURFACEDIALOG_H

#include <QDialog>

namespace Ui {
class ExportSurfaceDialogForm;
}

namespace Ui {

/// The "Export Surface" dialog: one STL file or one per material, and the scale of the file's
/// units to the volume's world units.
class ExportSurfaceDialog : public QDialog
{
    Q_OBJECT

public:
    explicit ExportSurfaceDialog(QWidget *parent = nullptr);
    ~ExportSurfaceDialog() override;

    Ui::ExportSurfaceDialogForm *form() const { return ui; }

    bool isFilePerMaterial() const;
    double getScale() const;

private:
    Ui::ExportSurfaceDialogForm *ui;
};

} // namespace Ui

#endif
