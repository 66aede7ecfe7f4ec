#ifndef CELVANE_BENCH_PILLARVOLUME_H
#define CELVANE_BENCH_PILLARVOLUME_H

#include <QtGlobal>

/// The film workers' yardstick, 200 x 200 x 100 cells of size 1: silicon 40 cells thick, cut by
/// trenches 20 wide and 20 deep along y on a 40-cell pitch in x, with 20 x 20 pillars 20 high
/// on a 40-cell pitch standing on the ridges between them. Returns the material of a cell.
namespace PillarVolume {

const quint32 cellsX = 200;
const quint32 cellsY = 200;
const quint32 cellsZ = 100;

inline quint32 material(quint32 x, quint32 y, quint32 z)
{
    const bool trench = x % 40 >= 20;
    if (z < 20 || (z < 40 && !trench))
        return 1;
    if (z >= 40 && z < 60 && !trench && y % 40 < 20)
        return 1;
    return 0;
}

} // namespace PillarVolume

#endif
