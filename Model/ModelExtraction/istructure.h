#ifndef CELVANE_MODEL_MODELEXTRACTION_ISTRUCTURE_H
#define CELVANE_MODEL_MODELEXTRACTION_ISTRUCTURE_H

#include <QString>
#include <QStringList>
#include <boost/shared_ptr.hpp>

namespace Model {
namespace ModelExtraction {

/// A mechanical structure found in an extracted model, able to describe itself as a circuit.
class IStructure
{
public:
    typedef boost::shared_ptr<IStructure> Ptr;
    virtual ~IStructure() = default;
    /// The circuit netlist of the structure.
    virtual QString getNetlist() const = 0;
    /// What the netlist had to leave out, one sentence each (empty when nothing).
    virtual QStringList getProblems() const { return QStringList(); }
};

} // namespace ModelExtraction
} // namespace Model

#endif
