#ifndef CELVANE_UI_INPUT_VIEWANGLEDIALOG_H
#define CELVANE_UI_INPUT_VIEWANGLEDIALOG_H

#include <QDialog>

namespace Ui {
class ViewAngleDialogForm;
}

namespace Ui {
namespace Input {

/// The "Set Viewing Angle" dialog: rotations about x, then y, then z, in degrees.
class ViewAngleDialog : public QDialog
{
    Q_OBJECT

public:
    explicit ViewAngleDialog(QWidget *parent = nullptr);
    ~ViewAngleDialog() override;

    Ui::ViewAngleDialogForm *form() const { return ui; }

    double getAngleX() const;
    void setAngleX(double value);
    double getAngleY() const;
    void setAngleY(double value);
    double getAngleZ() const;
    void setAngleZ(double value);

private:
    Ui::ViewAngleDialogForm *ui;
};

} // namespace Input
} // namespace Ui

#endif
