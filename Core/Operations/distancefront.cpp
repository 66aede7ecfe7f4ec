#include "Core/Operations/distancefront.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace Core {
namespace Operations {

DistanceFront::DistanceFront(float stepX, float stepY, float stepZ)
{
    const float size[3] = {stepX, stepY, stepZ};
    for (int k = 0; k < CellNeighborhood::FaceCount; ++k) {
        for (int a = 0; a < 3; ++a)
            stepVectors[k][a] = steps[k][a] = float(CellNeighborhood::faceOffsets[k][a]) * size[a];
        stepVectors[k][3] = 0.0f;
    }
}

bool DistanceFront::validCellSizes(float cellSizeX, float cellSizeY, float cellSizeZ)
{
    return std::isfinite(cellSizeX) && std::isfinite(cellSizeY) && std::isfinite(cellSizeZ) &&
           cellSizeX > 0.0f && cellSizeY > 0.0f && cellSizeZ > 0.0f;
}

quint64 DistanceFront::passCount(float thickness, float cellSizeX, float cellSizeY, float cellSizeZ)
{
    if (!(thickness > 0.0f) || !validCellSizes(cellSizeX, cellSizeY, cellSizeZ))
        return 0;
    const float m = std::min(cellSizeX, std::min(cellSizeY, cellSizeZ));
    const float layers = std::ceil(thickness / m);
    // The front advances one face step per pass; the factor leaves room for the longer
    // face-step paths of diagonal directions.
    const double passes = double(layers) * (1.0 + 1.0 / std::sqrt(2.0));
    if (!(passes < 9.0e18))
        return std::numeric_limits<quint64>::max();
    return quint64(passes);
}

} // namespace Operations
} // namespace Core
