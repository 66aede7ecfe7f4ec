#ifndef CELVANE_TESTS_FAKEFILEDIALOGS_H
#define CELVANE_TESTS_FAKEFILEDIALOGS_H

#include "Core/Operations/ifiledialogs.h"

#include <boost/make_shared.hpp>

/// Answers file questions with prepared names and counts them.
class FakeDialogs : public Core::Operations::IFileDialogs
{
public:
    QString getSaveFileName(const QString &caption, const QString &directory,
                            const QString &filter) override
    {
        ++saveAsked;
        lastCaption = caption;
        lastDirectory = directory;
        lastFilter = filter;
        return saveAnswer;
    }
    QString getOpenFileName(const QString &caption, const QString &directory,
                            const QString &filter) override
    {
        ++openAsked;
        lastCaption = caption;
        lastDirectory = directory;
        lastFilter = filter;
        return openAnswer;
    }
    QString saveAnswer, openAnswer, lastCaption, lastDirectory, lastFilter;
    int saveAsked = 0;
    int openAsked = 0;
};

/// Installs fresh answers for the file questions (each one cancelled until the test sets an
/// answer) and returns them.
inline boost::shared_ptr<FakeDialogs> installFakeDialogs()
{
    const boost::shared_ptr<FakeDialogs> dialogs = boost::make_shared<FakeDialogs>();
    Core::Operations::IFileDialogs::setInstance(dialogs);
    return dialogs;
}

#endif
