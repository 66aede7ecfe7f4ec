#ifndef CELVANE_MODEL_PERSISTENCE_PROCESSARCHIVER_H
#define CELVANE_MODEL_PERSISTENCE_PROCESSARCHIVER_H

#include "Model/Process/process.h"

#include <QList>

class QXmlStreamReader;
class QXmlStreamWriter;

namespace Model {
namespace Persistence {

/// Reads and writes one Process as the XML element "Process" with its "CompatibleMaterials".
class ProcessArchiver
{
public:
    /// Reads the element the reader stands on; the empty process and ok = false when it is
    /// not a "Process", has a missing, zero or non-numeric id, or no name.
    static Process::Process loadProcess(QXmlStreamReader *reader, bool *ok = nullptr);
    /// Reads the "CompatibleMaterials" child: ids joined by ";", empty and unreadable parts
    /// dropped, a repeated id kept at its first place. An element without that child yields
    /// an empty list.
    static QList<quint32> loadCompatibleMaterials(QXmlStreamReader *reader);
    static bool saveProcess(QXmlStreamWriter *writer, const Process::Process &process);
};

} // namespace Persistence
} // namespace Model

#endif
