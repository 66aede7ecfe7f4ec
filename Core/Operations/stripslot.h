#ifndef CELVANE_CORE_OPERATIONS_STRIPSLOT_H
#define CELVANE_CORE_OPERATIONS_STRIPSLOT_H

namespace Core {
namespace Operations {

/// A strip's own object (its list of changes, its next front), on cache lines of its own: the
/// strips write theirs at the same time, and two of them on one cache line would make the cores
/// pass that line back and forth on every write.
template <class T> struct alignas(64) StripSlot
{
    T value;
};

} // namespace Operations
} // namespace Core

#endif
