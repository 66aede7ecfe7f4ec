#ifndef CELVANE_CORE_OPERATIONS_OPENDOCUMENTOPERATION_H
#define CELVANE_CORE_OPERATIONS_OPENDOCUMENTOPERATION_H

#include "Core/Operations/operation.h"

#include <QDir>
#include <QString>

namespace Core {
namespace Operations {

/// Asks for a document; its observer opens it in a new main window.
class OpenDocumentOperation : public Operation
{
public:
    explicit OpenDocumentOperation(Workspace &workspace);

    void execute() override;
    void cancel() override;
    void end() override;

    /// The document chosen last, for the observer.
    static QString getFileName();
    /// Where the next question starts.
    static QDir getLastLocation();
    /// The observer shared by every open operation.
    static void setObserver(const Util::ObserverPtr &observer);

private:
    static QString &fileName();
    static QDir &lastLocation();
    static Util::ObserverPtr &observer();
};

} // namespace Operations
} // namespace Core

#endif
