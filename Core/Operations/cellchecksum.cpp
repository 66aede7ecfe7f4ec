#include "Core/Operations/cellchecksum.h"

#include "Core/Operations/striprunner.h"
#include "Model/Automaton/totalvolume.h"
#include "Model/Automaton/voxel.h"

#include <vector>

namespace Core {
namespace Operations {

quint64 CellChecksum::ofMaterials(Model::Automaton::TotalVolume &volume)
{
    const quint64 column = quint64(volume.getCellsY()) * volume.getCellsZ();
    const StripRunner runner(volume.getCellsX(), 2);
    // A sum of per-cell hashes: strips add up in any order to the same value.
    std::vector<quint64> sums(size_t(runner.getStripCount()), 0);
    const Model::Automaton::Voxel *cells = volume.lockCells();
    runner.runPhase([&](int strip) {
        const quint64 end = runner.getEndX(strip) * column;
        quint64 sum = 0;
        for (quint64 i = runner.getFirstX(strip) * column; i < end; ++i)
            sum += cellHash(i, cells[i].getMaterial());
        sums[size_t(strip)] = sum;
    });
    volume.releaseCells();
    quint64 total = 0;
    for (quint64 s : sums)
        total += s;
    return total;
}

} // namespace Operations
} // namespace Core
