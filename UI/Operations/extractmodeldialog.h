#ifndef CELVANE_UI_OPERATIONS_EXTRACTMODELDIALOG_H
#define CELVANE_UI_OPERATIONS_EXTRACTMODELDIALOG_H

#include "Core/Operations/ModelExtraction/runmodelextraction.h"

#include <QDialog>
#include <boost/weak_ptr.hpp>

namespace Ui {
class ExtractModelForm;
}

namespace Ui {
namespace Operations {

/// The three steps of a model extraction, run one after another while the dialog stays open
/// beside the view; closing it ends the extraction.
class ExtractModelDialog : public QDialog
{
    Q_OBJECT

public:
    ExtractModelDialog(const boost::shared_ptr<Core::Operations::RunModelExtraction> &operation,
                       QWidget *parent = nullptr);
    ~ExtractModelDialog() override;

    Ui::ExtractModelForm *form() const { return ui; }

    /// The folder and name last chosen for a netlist while the program runs.
    static QString &netlistPath();

private Q_SLOTS:
    void on_btnRunStep1_clicked();
    void on_btnRunStep2_clicked();
    void on_btnRunStep3_clicked();

private:
    boost::shared_ptr<Core::Operations::RunModelExtraction> lockOperation() const;

    Ui::ExtractModelForm *ui;
    boost::weak_ptr<Core::Operations::RunModelExtraction> operation;
};

} // namespace Operations
} // namespace Ui

#endif
