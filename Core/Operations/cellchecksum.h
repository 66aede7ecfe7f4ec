#ifndef CELVANE_CORE_OPERATIONS_CELLCHECKSUM_H
#define CELVANE_CORE_OPERATIONS_CELLCHECKSUM_H

#include <QtGlobal>

namespace Model {
namespace Automaton {
class TotalVolume;
}
} // namespace Model

namespace Core {
namespace Operations {

/// A 64-bit fingerprint of the materials of a cell volume and where they lie: two fingerprints
/// differ when any cell changed its material (barring a 2^-64 coincidence). It tells whether a
/// step changed anything without keeping a copy of a volume that may fill most of the memory.
class CellChecksum
{
public:
    /// Reads the volume's cells under their lock, in strips on the global thread pool; the
    /// value does not depend on the thread count.
    static quint64 ofMaterials(Model::Automaton::TotalVolume &volume);
    /// The contribution of one cell: a well-mixed function of its index and material.
    static quint64 cellHash(quint64 index, quint32 material)
    {
        quint64 x = (index * 0x9E3779B97F4A7C15ull) ^ (quint64(material) << 17) ^ material;
        x ^= x >> 30;
        x *= 0xBF58476D1CE4E5B9ull;
        x ^= x >> 27;
        x *= 0x94D049BB133111EBull;
        x ^= x >> 31;
        return x;
    }
};

} // namespace Operations
} // namespace Core

#endif
