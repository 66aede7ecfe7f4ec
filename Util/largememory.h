#ifndef CELVANE_UTIL_LARGEMEMORY_H
#define CELVANE_UTIL_LARGEMEMORY_H

#include <cstddef>

namespace Util {

/// Allocation of big arrays (cell arrays of hundreds of megabytes). Faulting in 4 KiB pages
/// one by one dominates filling such arrays, so big blocks are aligned to 2 MiB and offered
/// to the kernel for transparent huge pages. Returns nullptr on failure, never throws.
class LargeMemory
{
public:
    static void *allocate(std::size_t bytes);
    static void release(void *block);

    /// Deleter for std::unique_ptr<T[], LargeMemory::Deleter>; T must be trivially destructible.
    struct Deleter
    {
        void operator()(void *block) const { LargeMemory::release(block); }
    };
};

} // namespace Util

#endif
