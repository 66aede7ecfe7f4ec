#ifndef CELVANE_CORE_OPERATIONS_SAVEDOCUMENTOPERATION_H
#define CELVANE_CORE_OPERATIONS_SAVEDOCUMENTOPERATION_H

#include "Core/Operations/operation.h"

#include <QString>

namespace Core {
namespace Operations {

/// Saves the document under its name, asking for one the first time.
class SaveDocumentOperation : public Operation
{
public:
    explicit SaveDocumentOperation(Workspace &workspace);

    void execute() override;
    void cancel() override;
    void end() override;

    void setObserver(const Util::ObserverPtr &observer) { this->observer = observer; }
    QString getFileName() const { return fileName; }
    /// Why the last write failed; empty after a successful one.
    QString getError() const { return error; }

protected:
    SaveDocumentOperation(Workspace &workspace, const std::string &name, quint32 id);
    /// Asks for a file name; empty when the user cancelled.
    QString askFileName() const;
    /// Writes the document and tells the observer (which reports a failure).
    void write();

    QString fileName;
    QString error;
    Util::ObserverPtr observer;
};

} // namespace Operations
} // namespace Core

#endif
