#ifndef CELVANE_MODEL_PROCESS_PROCESSFACTORY_H
#define CELVANE_MODEL_PROCESS_PROCESSFACTORY_H

#include "Model/Process/process.h"

#include <QList>
#include <boost/shared_ptr.hpp>

namespace Model {
namespace Process {

/// The process-wide process catalogue. Every public operation holds one non-recursive mutex
/// for its whole duration and hands out copies.
class ProcessFactory
{
public:
    typedef boost::shared_ptr<ProcessFactory> Ptr;

    /// The one catalogue; the first call runs the start-up sequence (see initialize()).
    static Ptr instance();

    /// The start-up sequence on an empty catalogue: read processes.xml; when that fails, keep an
    /// existing but unreadable file as processes.xml.bak, load the built-in table and write it.
    void initialize();

    Process getProcess(quint32 id) const;
    /// The first entry in ascending id order whose name matches exactly (case-sensitive).
    Process getProcess(const QString &name) const;
    QList<Process> getProcesses() const;
    /// Inserts or replaces name and list by id; false and no change for id 0.
    bool setProcess(const Process &process);

    bool loadProcesses();
    bool saveProcesses() const;
    /// Empties the catalogue and inserts the fourteen built-in processes.
    void loadDefaultProcesses();

    static QString readPath();

private:
    ProcessFactory();
};

} // namespace Process
} // namespace Model

#endif
