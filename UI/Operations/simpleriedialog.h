#ifndef CELVANE_UI_OPERATIONS_SIMPLERIEDIALOG_H
#define CELVANE_UI_OPERATIONS_SIMPLERIEDIALOG_H

#include <QDialog>

namespace Ui {
class SimpleRIEDialogForm;
}

namespace Ui {
namespace Operations {

/// Depth, material and direction of a simple reactive-ion etch.
class SimpleRIEDialog : public QDialog
{
    Q_OBJECT

public:
    explicit SimpleRIEDialog(QWidget *parent = nullptr);
    ~SimpleRIEDialog() override;

    Ui::SimpleRIEDialogForm *form() const { return ui; }

    quint32 getDepth() const;
    quint32 getMaterialId() const;
    bool etchFromBelow() const;
    bool etchFromTop() const;

private:
    Ui::SimpleRIEDialogForm *ui;
};

} // namespace Operations
} // namespace Ui

#endif
