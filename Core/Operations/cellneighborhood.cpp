#include "Core/Operations/cellneighborhood.h"

namespace Core {
namespace Operations {

const qint32 CellNeighborhood::faceOffsets[FaceCount][3] = {{0, 0, -1}, {0, 0, 1},  {0, -1, 0},
                                                            {0, 1, 0},  {-1, 0, 0}, {1, 0, 0}};

const qint32 CellNeighborhood::mooreOffsets[MooreCount][3] = {
    {-1, -1, -1}, {-1, -1, 0}, {-1, -1, 1}, {-1, 0, -1}, {-1, 0, 0}, {-1, 0, 1}, {-1, 1, -1},
    {-1, 1, 0},   {-1, 1, 1},  {0, -1, -1}, {0, -1, 0},  {0, -1, 1}, {0, 0, -1}, {0, 0, 1},
    {0, 1, -1},   {0, 1, 0},   {0, 1, 1},   {1, -1, -1}, {1, -1, 0}, {1, -1, 1}, {1, 0, -1},
    {1, 0, 0},    {1, 0, 1},   {1, 1, -1},  {1, 1, 0},   {1, 1, 1}};

CellNeighborhood::CellNeighborhood(quint32 cellsX, quint32 cellsY, quint32 cellsZ)
    : cellsX(cellsX), cellsY(cellsY), cellsZ(cellsZ), columnCells(CellIndex(cellsY) * cellsZ)
{
    const qint64 dx = qint64(cellsY) * cellsZ;
    const qint64 dy = cellsZ;
    for (int k = 0; k < FaceCount; ++k)
        faceDelta[k] = faceOffsets[k][0] * dx + faceOffsets[k][1] * dy + faceOffsets[k][2];
    for (int k = 0; k < MooreCount; ++k)
        mooreDelta[k] = mooreOffsets[k][0] * dx + mooreOffsets[k][1] * dy + mooreOffsets[k][2];
}

} // namespace Operations
} // namespace Core
