#ifndef CELVANE_CORE_OPERATIONS_IFILEDIALOGS_H
#define CELVANE_CORE_OPERATIONS_IFILEDIALOGS_H

#include <QString>
#include <boost/shared_ptr.hpp>

namespace Core {
namespace Operations {

/// How operations ask the user for a file name. The window layer installs the real dialogs;
/// tests and the command line install their own answers. An empty result means cancelled.
class IFileDialogs
{
public:
    virtual ~IFileDialogs() = default;
    virtual QString getSaveFileName(const QString &caption, const QString &directory,
                                    const QString &filter) = 0;
    virtual QString getOpenFileName(const QString &caption, const QString &directory,
                                    const QString &filter) = 0;

    /// The dialogs in use; may be empty (then every question counts as cancelled).
    static boost::shared_ptr<IFileDialogs> instance();
    static void setInstance(const boost::shared_ptr<IFileDialogs> &dialogs);
};

} // namespace Operations
} // namespace Core

#endif
