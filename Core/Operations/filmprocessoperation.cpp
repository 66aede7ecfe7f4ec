#include "Core/Operations/filmprocessoperation.h"

namespace Core {
namespace Operations {

FilmProcessOperation::FilmProcessOperation(Workspace &workspace, const std::string &name,
                                           quint32 id, const QString &key, int requiredInputs)
    : UndoableProcessOperation(workspace, name, id, key), material(0), amount(0.0f),
      requiredInputs(requiredInputs)
{}

} // namespace Operations
} // namespace Core
