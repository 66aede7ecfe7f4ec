#include "UI/filedialogs.h"

#include <QFileDialog>
#include <QRegularExpression>

namespace Ui {

QString FileDialogs::getSaveFileName(const QString &caption, const QString &directory,
                                     const QString &filter)
{
    QFileDialog dialog(nullptr, caption, directory, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    // "Celvane file (*.clv)" -> "clv"
    const QRegularExpressionMatch match =
        QRegularExpression(QStringLiteral("\\*\\.(\\w+)")).match(filter);
    if (match.hasMatch())
        dialog.setDefaultSuffix(match.captured(1));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().first();
}

QString FileDialogs::getOpenFileName(const QString &caption, const QString &directory,
                                     const QString &filter)
{
    return QFileDialog::getOpenFileName(nullptr, caption, directory, filter);
}

void FileDialogs::installDefault()
{
    if (!Core::Operations::IFileDialogs::instance())
        Core::Operations::IFileDialogs::setInstance(
            boost::shared_ptr<Core::Operations::IFileDialogs>(new FileDialogs()));
}

} // namespace Ui
