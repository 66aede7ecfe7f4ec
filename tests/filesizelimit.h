#ifndef CELVANE_TESTS_FILESIZELIMIT_H
#define CELVANE_TESTS_FILESIZELIMIT_H

#include <csignal>
#include <sys/resource.h>

/// While it lives, files may not grow beyond limit bytes: writes past it fail with "File too
/// large" the way they fail on a full disk, for root as for anyone (a read-only folder does
/// not stop root).
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t limit)
    {
        getrlimit(RLIMIT_FSIZE, &saved);
        // The failed write is to be an error, not the signal that ends the process.
        previous = std::signal(SIGXFSZ, SIG_IGN);
        rlimit lowered = saved;
        lowered.rlim_cur = limit;
        setrlimit(RLIMIT_FSIZE, &lowered);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, previous);
    }
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

private:
    rlimit saved;
    void (*previous)(int);
};

#endif
