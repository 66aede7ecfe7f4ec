#include "Util/largememory.h"

#include <cstdlib>
#include <sys/mman.h>

namespace Util {

namespace {
const std::size_t hugePage = std::size_t(2) << 20;
}

void *LargeMemory::allocate(std::size_t bytes)
{
    if (bytes == 0)
        bytes = 1;
    if (bytes < hugePage)
        return std::malloc(bytes);
    const std::size_t rounded = (bytes + hugePage - 1) / hugePage * hugePage;
    if (rounded < bytes)
        return nullptr;
    void *block = std::aligned_alloc(hugePage, rounded);
#ifdef MADV_HUGEPAGE
    if (block)
        madvise(block, rounded, MADV_HUGEPAGE); // advice only: failure is harmless
#endif
    return block;
}

void LargeMemory::release(void *block)
{
    std::free(block);
}

} // namespace Util
