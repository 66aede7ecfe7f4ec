#ifndef CELVANE_CORE_OPERATIONS_DOCUMENTFILE_H
#define CELVANE_CORE_OPERATIONS_DOCUMENTFILE_H

#include "Model/Persistence/objectarchiver.h"

#include <QString>

class QIODevice;
#include <QStringList>

namespace Core {
namespace Operations {

class Workspace;

/// The ".clv" document: the materials of the catalogue and every object of the scene, as XML.
class DocumentFile
{
public:
    /// How a read ended.
    enum ReadResult
    {
        Read,         ///< read (problems with single objects or materials are in warnings)
        NotOpened,    ///< the file could not be opened; error says why
        NotADocument, ///< no Document and Header at the start
        Refused,      ///< crafted beyond what the reader takes on (see XmlGuard); error says why
    };

    /// Writes the document of the workspace through a temporary file renamed over the target,
    /// so a failed save never destroys the previous file. On success the document takes the
    /// file name; on failure error says why and nothing changes.
    static bool writeDocument(const QString &fileName, Workspace &workspace,
                              QString *error = nullptr);

    /// Reads a document into the workspace: materials are reconciled with the catalogue,
    /// objects added to the current layer. Objects that cannot be built (absurd sizes, cell
    /// states that are not numbers, too little memory) are skipped with a warning each.
    static ReadResult readDocument(const QString &fileName, Workspace &workspace,
                                   QString *error = nullptr, QStringList *warnings = nullptr);

    /// As readDocument(fileName, ...), from an open device; fileName names the document.
    static ReadResult readDocument(QIODevice &device, const QString &fileName, Workspace &workspace,
                                   QString *error = nullptr, QStringList *warnings = nullptr);

    /// Stored material id -> id in the running catalogue, shared by every document of the run.
    static Model::Persistence::MaterialIdMap &materialIdMap();

private:
    /// The file of writeDocument, without touching the document's name or state (it may run on
    /// a worker thread).
    static bool writeFile(const QString &fileName, Workspace &workspace, QString *error);
};

} // namespace Operations
} // namespace Core

#endif
