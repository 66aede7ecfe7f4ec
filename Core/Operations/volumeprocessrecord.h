#ifndef CELVANE_CORE_OPERATIONS_VOLUMEPROCESSRECORD_H
#define CELVANE_CORE_OPERATIONS_VOLUMEPROCESSRECORD_H

#include <QMap>
#include <QtGlobal>

namespace Core {
namespace Operations {

/// Per cell volume (by picking number): must its silicon lattice be rebuilt? A volume
/// without entry reads as stale.
class VolumeProcessRecord
{
public:
    bool isLatticeStale(quint32 volumeId) const { return latticeStale.value(volumeId, true); }
    void setLatticeStale(quint32 volumeId, bool stale) { latticeStale.insert(volumeId, stale); }
    void clear() { latticeStale.clear(); }

private:
    QMap<quint32, bool> latticeStale;
};

} // namespace Operations
} // namespace Core

#endif
