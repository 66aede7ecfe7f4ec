#ifndef CELVANE_BENCH_TRENCHVOLUME_H
#define CELVANE_BENCH_TRENCHVOLUME_H

#include "Model/Automaton/totalvolume.h"

/// A 200 x 200 x 100 silicon substrate with oxide on top and empty trenches.
inline Model::Automaton::TotalVolume::Ptr makeTrenchVolume()
{
    using Model::Automaton::TotalVolume;
    TotalVolume::Ptr v = TotalVolume::createFilled(200, 200, 100, 1, 1, 1, Util::Vector3D(), 0);
    Model::Automaton::Voxel *cells = v->lockCells();
    for (quint32 x = 0; x < 200; ++x)
        for (quint32 y = 0; y < 200; ++y)
            for (quint32 z = 0; z < 60; ++z) {
                const bool trench = (x / 20) % 2 == 1 && z >= 40;
                cells[v->getCellIndex(x, y, z)].material = trench ? 0 : (z < 50 ? 1 : 3);
            }
    v->releaseCells();
    return v;
}

#endif
