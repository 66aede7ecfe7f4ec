#ifndef CELVANE_MODEL_AUTOMATON_VOLUMEMETROLOGY_H
#define CELVANE_MODEL_AUTOMATON_VOLUMEMETROLOGY_H

#include "Model/Automaton/totalvolume.h"

#include <QList>
#include <QtGlobal>

namespace Model {
namespace Automaton {

/// Virtual metrology of a cell volume: the figures a process engineer measures on a wafer
/// (amounts of material, film stacks, surface heights, opening widths), taken from the cells.
/// Lengths are in world units (cell counts times the cell sizes); heights are measured from
/// the bottom face of the volume. Each call reads the current cells under the volume's lock.
class VolumeMetrology
{
public:
    struct MaterialAmount
    {
        quint32 material;
        quint64 cells;
        /// cells times the volume of one cell
        double volume;
    };

    /// One run of cells of one material along a vertical line: cells firstCell to
    /// endCell - 1, that is from height bottom to height top.
    struct Range
    {
        quint32 material;
        quint32 firstCell;
        quint32 endCell;
        double bottom;
        double top;
    };

    /// Heights of the top surface: of each column, the top of its highest filled cell (0 for
    /// an empty column).
    struct SurfaceStatistics
    {
        double minimum = 0.0;
        double maximum = 0.0;
        double mean = 0.0;
    };

    /// Openings of a material along one axis in one cell layer: runs of cells of other
    /// materials (or empty) with the material on both ends. A run that reaches the side of the
    /// volume is open to one side and not counted.
    struct Openings
    {
        quint64 count = 0;
        quint32 minimumCells = 0;
        quint32 maximumCells = 0;
        /// In world units; all 0 when count is 0.
        double minimum = 0.0;
        double maximum = 0.0;
        double mean = 0.0;
    };

    explicit VolumeMetrology(TotalVolume &volume) : volume(volume) {}

    /// Every material present (empty space, id 0, included), in ascending id order.
    QList<MaterialAmount> materialAmounts();
    /// The runs of filled cells along column (x, y), bottom up; empty cells are gaps.
    /// Empty for a column outside the volume.
    QList<Range> column(quint32 x, quint32 y);
    SurfaceStatistics topSurface();
    /// The material that tops most columns (the lowest id on a tie); 0 for an empty volume.
    quint32 topMaterial();
    /// Openings of material in layer z along x (each line of constant y) or along y (each line
    /// of constant x). Nothing for a layer outside the volume.
    Openings openingsAlongX(quint32 material, quint32 z);
    Openings openingsAlongY(quint32 material, quint32 z);

private:
    Openings openings(quint32 material, quint32 z, bool alongX);

    TotalVolume &volume;
};

} // namespace Automaton
} // namespace Model

#endif
