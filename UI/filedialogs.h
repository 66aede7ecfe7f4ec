#ifndef CELVANE_UI_FILEDIALOGS_H
#define CELVANE_UI_FILEDIALOGS_H

#include "Core/Operations/ifiledialogs.h"

namespace Ui {

/// The toolkit's file dialogs. A name saved without an extension gets the filter's one.
class FileDialogs : public Core::Operations::IFileDialogs
{
public:
    QString getSaveFileName(const QString &caption, const QString &directory,
                            const QString &filter) override;
    QString getOpenFileName(const QString &caption, const QString &directory,
                            const QString &filter) override;

    /// Installs these dialogs unless others (a test's) are installed already.
    static void installDefault();
};

} // namespace Ui

#endif
