#ifndef CELVANE_TESTS_FAKEFILEDIALOGS_H
#define CELVANE_TESTS_FAKEFILEDIALOGS_H

#include "Core/Operations/ifiledialogs.h"

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

#endif
