#ifndef CELVANE_CORE_OPERATIONS_IOPERATIONFACTORY_H
#define CELVANE_CORE_OPERATIONS_IOPERATIONFACTORY_H

#include <QtGlobal>
#include <boost/shared_ptr.hpp>

namespace Core {
namespace Operations {

class Operation;

/// Turns an operation id into a new operation with its observer attached.
class IOperationFactory
{
public:
    virtual ~IOperationFactory() = default;
    /// An empty pointer for an id without entry.
    virtual boost::shared_ptr<Operation> createOperation(quint32 id) = 0;
};

} // namespace Operations
} // namespace Core

#endif
