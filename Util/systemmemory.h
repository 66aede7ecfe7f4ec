#ifndef CELVANE_UTIL_SYSTEMMEMORY_H
#define CELVANE_UTIL_SYSTEMMEMORY_H

#include <QString>
#include <QtGlobal>

namespace Util {

/// What the machine can still give this process. Linux overcommits, so a large allocation may
/// succeed and the process be killed later when the pages are touched: callers that allocate
/// big arrays ask here first.
class SystemMemory
{
public:
    /// Bytes available now (MemAvailable, lowered by a cgroup limit when one is set);
    /// 0 when it cannot be told.
    static quint64 availableBytes();
    /// Overrides availableBytes() for tests; 0 restores the real value.
    static void setAvailableBytesOverride(quint64 bytes);
    /// "1.5 GB", "320 MB", "12 KB".
    static QString formatBytes(double bytes);
};

} // namespace Util

#endif
