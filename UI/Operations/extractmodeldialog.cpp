#include "UI/Operations/extractmodeldialog.h"

#include "Core/Operations/ifiledialogs.h"
#include "ui_extractmodeldialog.h"

#include <QMessageBox>

namespace Ui {
namespace Operations {

using Core::Operations::RunModelExtraction;

ExtractModelDialog::ExtractModelDialog(const boost::shared_ptr<RunModelExtraction> &operation,
                                       QWidget *parent)
    : QDialog(parent), ui(new Ui::ExtractModelForm()), operation(operation)
{
    ui->setupUi(this);
    setModal(false);
    setAttribute(Qt::WA_DeleteOnClose);
}

ExtractModelDialog::~ExtractModelDialog()
{
    delete ui;
}

QString &ExtractModelDialog::netlistPath()
{
    static QString path;
    return path;
}

boost::shared_ptr<RunModelExtraction> ExtractModelDialog::lockOperation() const
{
    return operation.lock();
}

void ExtractModelDialog::on_btnRunStep1_clicked()
{
    if (const auto op = lockOperation())
        op->runPreprocessing();
}

void ExtractModelDialog::on_btnRunStep2_clicked()
{
    if (const auto op = lockOperation())
        op->runFeatureDetection();
}

void ExtractModelDialog::on_btnRunStep3_clicked()
{
    const auto op = lockOperation();
    if (!op)
        return;
    const QString text = op->prepareNetlist();
    if (text.isEmpty()) {
        QMessageBox::information(this, QStringLiteral("No model data"),
                                 QStringLiteral("No model data was extracted."));
        return;
    }
    const boost::shared_ptr<Core::Operations::IFileDialogs> dialogs =
        Core::Operations::IFileDialogs::instance();
    const QString fileName =
        dialogs ? dialogs->getSaveFileName(QStringLiteral("Save netlist"), netlistPath(),
                                           QStringLiteral("Circuit files *.cir"))
                : QString();
    if (fileName.isEmpty())
        return;
    netlistPath() = fileName;
    if (!RunModelExtraction::writeNetlist(fileName, text))
        QMessageBox::warning(this, QStringLiteral("File Error"),
                             QStringLiteral("Unable to save to selected file!"));
}

} // namespace Operations
} // namespace Ui
