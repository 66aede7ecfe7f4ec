#include "Core/Operations/ifiledialogs.h"

namespace Core {
namespace Operations {

namespace {
boost::shared_ptr<IFileDialogs> &current()
{
    static boost::shared_ptr<IFileDialogs> dialogs;
    return dialogs;
}
} // namespace

boost::shared_ptr<IFileDialogs> IFileDialogs::instance()
{
    return current();
}

void IFileDialogs::setInstance(const boost::shared_ptr<IFileDialogs> &dialogs)
{
    current() = dialogs;
}

} // namespace Operations
} // namespace Core
