#ifndef CELVANE_UI_INPUT_ZOOMDIALOG_H
#define CELVANE_UI_INPUT_ZOOMDIALOG_H

#include <QDialog>

namespace Ui {
class ZoomDialogForm;
}

namespace Ui {
namespace Input {

/// The "Set Zoom" dialog: the magnification in percent, 100 showing one world unit per pixel.
class ZoomDialog : public QDialog
{
    Q_OBJECT

public:
    explicit ZoomDialog(QWidget *parent = nullptr);
    ~ZoomDialog() override;

    Ui::ZoomDialogForm *form() const { return ui; }

    double getPercent() const;
    void setPercent(double value);

private:
    Ui::ZoomDialogForm *ui;
};

} // namespace Input
} // namespace Ui

#endif
